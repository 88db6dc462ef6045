// The attach and the stock clock's return, which the shared flows' desk
// uses too, and the face ticking in real time.
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

// Waits for the start of a second other than the given one, early enough
// that a request posted now is handled within it.
static SYSTEMTIME NextSecondStart(const SYSTEMTIME &last)
{
    SYSTEMTIME now;
    WaitUntil(3000, [&] {
        GetLocalTime(&now);
        return !SameSecond(now, last) && now.wMilliseconds < 300;
    });
    return now;
}

void ScenarioTicking(const ScenarioArgs &args)
{
    FaceRun run;
    TimeCells cells;
    if (!Check((args.Options & OptSeconds) && !(args.Options & (OptLeft | Opt12h)),
               "ticking wants seconds without the date left and without 12-hour time") ||
        !AttachScenario(args, &run, nullptr) || !FreshSnapshot(&run) || !ShootFace(&run, "tick-0") ||
        !TimeRowCells(run, &cells))
        return;
    // Only the time row is read per second, to keep up with the clock.
    int top = cells.Colon[0].top, bottom = cells.Colon[0].bottom;
    for (RECT *r : {&cells.Colon[0], &cells.Colon[1]})
        OffsetRect(r, 0, -top);
    Capture previous;
    if (!CaptureRows(run.Bar.Clock, top, bottom, &previous))
        return;
    SYSTEMTIME previousTime = run.FaceTime;
    int frames = 0, shown = 0, hidden = 0;
    bool lastShown = true;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 8000 && frames < 6) {
        SYSTEMTIME now = NextSecondStart(previousTime);
        Check(RepaintClockNow() != 0, "RepaintClock did not post its request");
        Capture frame;
        if (!Check(WaitUntil(900,
                             [&] {
                                 return CaptureRows(run.Bar.Clock, top, bottom, &frame) &&
                                        !SameCapture(frame, previous);
                             }),
                   "the face did not change after the repaint request at %s", FormatTime(now).c_str()))
            continue;
        // The first changed read may have caught the stand-in half way through its update.
        Capture again;
        for (int i = 0; i < 3 && CaptureRows(run.Bar.Clock, top, bottom, &again) && !SameCapture(again, frame); i++)
            frame = again;
        bool colons = !UniformRect(frame, cells.Colon[0]) && !UniformRect(frame, cells.Colon[1]);
        bool noColons = UniformRect(frame, cells.Colon[0]) && UniformRect(frame, cells.Colon[1]);
        Check(colons || noColons, "at %s one colon shows and the other not", FormatTime(now).c_str());
        // A request in the second right after the last one hides the colons, the next shows them.
        SYSTEMTIME next = previousTime;
        FILETIME f;
        SystemTimeToFileTime(&next, &f);
        ULARGE_INTEGER u{{f.dwLowDateTime, f.dwHighDateTime}};
        u.QuadPart += 10000000ULL;
        f.dwLowDateTime = u.LowPart;
        f.dwHighDateTime = u.HighPart;
        FileTimeToSystemTime(&f, &next);
        next.wMilliseconds = now.wMilliseconds;
        if (SameSecond(next, now))
            Check(colons != lastShown, "the colons did not blink at %s", FormatTime(now).c_str());
        else
            Check(colons, "the colons are hidden at %s, two seconds or more after the last request",
                  FormatTime(now).c_str());
        frames++;
        shown += colons;
        hidden += noColons;
        lastShown = colons;
        previous = frame;
        previousTime = now;
    }
    Check(frames >= 4, "only %d new seconds were painted in eight seconds", frames);
    Check(shown > 0 && hidden > 0, "the colons never blinked (%d shown, %d hidden)", shown, hidden);
}
