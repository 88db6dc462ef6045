// The attach and the stock clock's return, for the shared flows' desk and
// the scenarios of dialwick.exe.
#include "tests/e2e/e2e_scenarios.h"

#include "tools/standin/taskbar_rects.h"

#include <stdio.h>
#include <string.h>

bool AttachScenario(const ScenarioArgs &args, FaceRun *run, StockClock *stock)
{
    *run = FaceRun{args.OutDir, args.SkinsDir, args.Skin, args.Options, args.TaskbarHeight, args.Windows10, {}, {}, 0};
    if (!Check(FindTaskbar(&run->Bar, 10000), "no stand-in taskbar appeared"))
        return false;
    if (stock) {
        stock->Rects = DescribeTaskbarRects(run->Bar.Tray);
        GetLocalTime(&stock->Time);
        if (!Check(CaptureWindow(run->Bar.Clock, &stock->Pixels), "cannot read the stock clock"))
            return false;
    }
    if (!LoadClockLibrary(args.Dll.c_str()))
        return false;
    std::string host = args.SkinsDir + "\\README.md";
    LONG attached = AttachClock(host.c_str());
    NoteSnapshot(run);
    Check(attached == -1, "SetClockOnTray attach returned %ld, not -1 (a skin shows)", attached);
    Check(ProcessHasModule(run->Bar.ProcessId, "dialwick.dll"), "the library is not mapped into the stand-in");
    return attached == -1;
}

bool CheckStockClock(const FaceRun &run, const StockClock *stock)
{
    DWORD want = MAKELONG(StandinStockClockWidth, run.TaskbarHeight);
    RECT rc{};
    bool sized = WaitUntil(3000, [&] {
        GetClientRect(run.Bar.Clock, &rc);
        return QueryClockSize(run.Bar.Clock) == want && rc.right == StandinStockClockWidth &&
               rc.bottom == run.TaskbarHeight;
    });
    if (!Check(sized, "the stock clock's size did not come back: answer %08lx, window %ldx%ld",
               QueryClockSize(run.Bar.Clock), rc.right, rc.bottom) ||
        !WaitWindows10Layout(run, StandinStockClockWidth, run.TaskbarHeight))
        return false;
    std::string rects;
    if (stock && !Check(WaitUntil(3000, [&] { return (rects = DescribeTaskbarRects(run.Bar.Tray)) == stock->Rects; }),
                        "the taskbar's windows did not go back: %s", rects.c_str()))
        return false;
    Capture now;
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    if (!Check(CaptureWindow(run.Bar.Clock, &now), "cannot read the clock after the detach"))
        return false;
    GetLocalTime(&after);
    int text = 0, other = 0;
    for (uint32_t p : now.Pixels)
        text += p == StandinStockTextColor, other += p != StandinStockTextColor && p != StandinClockColor;
    bool ok =
        Check(other == 0 && text > 0, "the stock clock is not painted: %d text and %d foreign pixels", text, other);
    bool sameMinute = stock && before.wHour == stock->Time.wHour && before.wMinute == stock->Time.wMinute &&
                      after.wMinute == before.wMinute;
    if (sameMinute)
        ok = Check(SameCapture(now, stock->Pixels), "the stock clock differs from before the attach") && ok;
    return ok;
}
