// The shared flows' desk under Wine: this program is the controller of the
// real library, and the stand-in taskbar runs in another process.
#include "tests/e2e/e2e_scenarios.h"
#include "tests/scenarios/flows.h"

#include <stdio.h>
#include <string.h>

static ScenarioArgs Args;
static FaceRun Run;
static StockClock Stock;
static bool AttachedOnce;
// The ticking flow reads only the time row, to keep up with the clock.
static TimeCells Colons;
static int RowTop, RowBottom;
static Capture LastRow;

void RunFlow(const Flow &flow, const ScenarioArgs &args)
{
    Args = args;
    FlowFace start;
    start.Skin = args.Skin;
    start.Options = args.Options;
    flow.Run(start);
}

void DeskFail(const char *message) { Check(false, "%s", message); }

LONG DeskAttach()
{
    if (!AttachedOnce) {
        AttachedOnce = true;
        return AttachScenario(Args, &Run, &Stock) && WaitClockSized(Run) ? -1 : 0;
    }
    LONG attached = AttachClock((Args.SkinsDir + "\\README.md").c_str());
    NoteSnapshot(&Run);
    return WaitClockSized(Run) ? attached : 0;
}

LONG DeskDetach() { return DetachClock(); }

LONG DeskKillHooks() { return KillHooksNow(); }

bool DeskCommand(UINT id) { return SendCommand(Run.Bar.Clock, id); }

// Hand-shake with the runner, which owns the X display's synthetic input.
static bool WriteSignal(const char *name, const char *text)
{
    std::string path = Args.OutDir + "\\" + name, part = path + ".part";
    FILE *f = fopen(part.c_str(), "w");
    if (!f)
        return false;
    fputs(text, f);
    fclose(f);
    return MoveFileA(part.c_str(), path.c_str()) != 0;
}

static bool SkinNameIs(const char *skin)
{
    DWORD type = 0;
    std::vector<uint8_t> data;
    size_t n = strlen(skin) + 1;
    return ReadValue(SettingsKeyPath, "SkinName", &type, &data) && data.size() >= n &&
           memcmp(data.data(), skin, n) == 0;
}

static HWND VisibleMenu()
{
    HWND menu = FindWindowA("#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

bool DeskChooseSkinByMenu(const char *skin)
{
    RECT clock = ScreenRect(Run.Bar.Clock);
    char point[64];
    snprintf(point, sizeof(point), "%ld %ld\n", (clock.left + clock.right) / 2, (clock.top + clock.bottom) / 2);
    if (!Check(WriteSignal("menu-click", point), "cannot signal the runner") ||
        !Check(WaitUntil(10000, [] { return VisibleMenu() != nullptr; }), "no popup menu opened on the right click"))
        return false;
    DWORD owner = 0;
    GetWindowThreadProcessId(VisibleMenu(), &owner);
    Check(owner == Run.Bar.ProcessId, "the popup menu does not belong to the stand-in");
    WriteSignal("menu-open", "\n");
    return Check(WaitUntil(10000, [&] { return SkinNameIs(skin); }), "choosing %s in the Skins submenu did not take",
                 skin) &&
           Check(WaitUntil(3000, [] { return VisibleMenu() == nullptr; }), "the popup menu stayed open");
}

bool DeskExitRequested()
{
    return Check(WaitUntil(3000, [] { return ExitRequested(); }), "the exit command posted nothing to the controller");
}

bool DeskSendMalformedHandOvers()
{
    char command[1024];
    snprintf(command, sizeof(command), "\"%s\" %llu", Args.Helper.c_str(),
             (unsigned long long)(uintptr_t)Run.Bar.Clock);
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!Check(CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != 0,
               "cannot start %s", Args.Helper.c_str()))
        return false;
    DWORD code = 1;
    bool ended = WaitUntil(15000, [&] { return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; });
    if (!ended)
        TerminateProcess(pi.hProcess, 1);
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return Check(ended && code == 0, "the sender of malformed hand-overs failed (exit %lu)", code) &&
           Check(IsWindow(Run.Bar.Clock) && ProcessHasModule(Run.Bar.ProcessId, "dialwick.dll"),
                 "the stand-in did not survive");
}

bool DeskTaskbarLayered(BYTE *alpha)
{
    DWORD flags = 0;
    return GetLayeredWindowAttributes(Run.Bar.Tray, nullptr, alpha, &flags) && (flags & LWA_ALPHA);
}

bool DeskNewSnapshot() { return FreshSnapshot(&Run); }

bool DeskFaceShows(const std::string &name, const FlowFace &face)
{
    Run.Skin = face.Skin;
    Run.Options = face.Options;
    return ShootFace(&Run, name);
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

static bool SecondAfter(const SYSTEMTIME &last, const SYSTEMTIME &now)
{
    FILETIME f;
    SystemTimeToFileTime(&last, &f);
    ULARGE_INTEGER u{{f.dwLowDateTime, f.dwHighDateTime}};
    u.QuadPart += 10000000ULL;
    f.dwLowDateTime = u.LowPart;
    f.dwHighDateTime = u.HighPart;
    SYSTEMTIME next;
    FileTimeToSystemTime(&f, &next);
    return SameSecond(next, now);
}

bool DeskNextTick(DeskTick *tick)
{
    if (LastRow.Pixels.empty()) {
        if (!TimeRowCells(Run, &Colons))
            return false;
        RowTop = Colons.Colon[0].top, RowBottom = Colons.Colon[0].bottom;
        for (RECT *r : {&Colons.Colon[0], &Colons.Colon[1]})
            OffsetRect(r, 0, -RowTop);
        if (!CaptureRows(Run.Bar.Clock, RowTop, RowBottom, &LastRow))
            return false;
    }
    SYSTEMTIME now = NextSecondStart(Run.FaceTime);
    tick->Time = FormatTime(now);
    Check(RepaintClockNow() != 0, "RepaintClock did not post its request");
    Capture frame;
    if (!Check(WaitUntil(900,
                         [&] {
                             return CaptureRows(Run.Bar.Clock, RowTop, RowBottom, &frame) &&
                                    !SameCapture(frame, LastRow);
                         }),
               "the face did not change after the repaint request at %s", tick->Time.c_str()))
        return false;
    // The first changed read may have caught the stand-in half way through its update.
    Capture again;
    for (int i = 0; i < 3 && CaptureRows(Run.Bar.Clock, RowTop, RowBottom, &again) && !SameCapture(again, frame); i++)
        frame = again;
    tick->ColonsShown = !UniformRect(frame, Colons.Colon[0]) && !UniformRect(frame, Colons.Colon[1]);
    tick->ColonsHidden = UniformRect(frame, Colons.Colon[0]) && UniformRect(frame, Colons.Colon[1]);
    tick->FollowsLast = SecondAfter(Run.FaceTime, now);
    LastRow = frame;
    Run.FaceTime = now;
    return true;
}

bool DeskStockClockBack() { return CheckStockClock(Run, &Stock); }

bool DeskValue(const char *key, const char *name, DWORD *type, std::vector<uint8_t> *data)
{
    return ReadValue(key, name, type, data);
}

std::string DeskAutostartLine() { return Args.Dll.substr(0, Args.Dll.rfind('\\')) + "\\dialwick.exe"; }
