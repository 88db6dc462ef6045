// Scenarios about who holds the clock, with dialwick.exe itself: it never
// takes the clock from a controller that runs and takes it once it is free;
// the intrusions of the shared table neither knock its face out nor take it,
// and a forged detach is noticed and the clock attached again; a killed
// dialwick.exe gives the stand-in its own clock back.
#include "tests/e2e/e2e_scenarios.h"

#include "shell/clock_messages.h"
#include "tests/scenarios/scenarios.h"

#include <string>
#include <vector>

namespace {

struct Dialwick {
    PROCESS_INFORMATION Process{};
    HWND Window = nullptr;
};

// dialwick.exe from the folder of the library under test.
bool StartDialwick(const ScenarioArgs &args, Dialwick *d)
{
    std::string command = "\"" + args.Dll.substr(0, args.Dll.rfind('\\')) + "\\dialwick.exe\"";
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    if (!Check(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &d->Process),
               "cannot start %s", command.c_str()))
        return false;
    return Check(WaitUntil(10000, [&] { return (d->Window = FindWindowA("ZantorDialwickController", nullptr)); }),
                 "dialwick.exe shows no window");
}

bool Ended(const Dialwick &d) { return WaitForSingleObject(d.Process.hProcess, 0) == WAIT_OBJECT_0; }

// Closes dialwick.exe as the installer does, or ends it when it does not listen.
void EndDialwick(Dialwick *d)
{
    if (!d->Process.hProcess)
        return;
    if (IsWindow(d->Window))
        PostMessageA(d->Window, WM_CLOSE, 0, 0);
    if (!Check(WaitUntil(5000, [&] { return Ended(*d); }), "dialwick.exe did not end on WM_CLOSE")) {
        TerminateProcess(d->Process.hProcess, 1);
        WaitForSingleObject(d->Process.hProcess, 5000);
    }
    CloseHandle(d->Process.hProcess);
    CloseHandle(d->Process.hThread);
    d->Process = PROCESS_INFORMATION{};
}

// The controller window the library in the stand-in holds; none when it holds none.
HWND ClockHolder(HWND clock)
{
    DWORD_PTR answer = 0;
    UINT query = RegisterWindowMessageA(ControllerQueryMessageName);
    if (!SendMessageTimeoutA(clock, query, 0, 0, SMTO_BLOCK, 2000, &answer))
        return nullptr;
    return (HWND)(LONG_PTR)(int32_t)(uint32_t)answer;
}

// Waits up to ms for the face of dialwick.exe and notes how long it took.
bool WaitDialwickFace(const FaceRun &run, const Dialwick &d, const char *what, DWORD ms = 10000)
{
    DWORD start = GetTickCount();
    bool held = WaitUntil(
        ms, [&] { return ClockSkinned(run.Bar, run.TaskbarHeight) && ClockHolder(run.Bar.Clock) == d.Window; });
    if (held)
        Say("note %s: dialwick.exe showed its face after %lu ms", what, GetTickCount() - start);
    return Check(held, "%s: dialwick.exe did not show its face within %lu ms (skinned %d, holder %p, its window %p)",
                 what, ms, ClockSkinned(run.Bar, run.TaskbarHeight), (void *)ClockHolder(run.Bar.Clock),
                 (void *)d.Window);
}

// Finds the stand-in and starts dialwick.exe, which shows its face; ends
// dialwick.exe again when it does not.
bool StartDialwickFace(const ScenarioArgs &args, FaceRun *run, Dialwick *d)
{
    run->TaskbarHeight = args.TaskbarHeight;
    if (Check(FindTaskbar(&run->Bar, 10000), "no stand-in taskbar appeared") && StartDialwick(args, d) &&
        WaitDialwickFace(*run, *d, "start"))
        return true;
    EndDialwick(d);
    return false;
}

void Send(HWND to, UINT msg, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR answer;
    SendMessageTimeoutA(to, msg, wParam, lParam, SMTO_BLOCK, 5000, &answer);
}

}  // namespace

void ScenarioRivals(const ScenarioArgs &args)
{
    FaceRun run;
    Dialwick d;
    if (!AttachScenario(args, &run, nullptr) || !WaitClockSized(run) || !StartDialwick(args, &d)) {
        EndDialwick(&d);
        return;
    }
    // dialwick.exe tries at its start and asks twice more in these five seconds.
    PumpFor(5000);
    Check(ClockSkinned(run.Bar, run.TaskbarHeight), "the face went while dialwick.exe started");
    Check(ClockHolder(run.Bar.Clock) == ControllerWindow(), "the clock names %p, not the controller that attached",
          (void *)ClockHolder(run.Bar.Clock));
    // The menu's Exit goes to the controller that attached, which detaches; then the clock is free.
    SendCommand(run.Bar.Clock, ExitCommand);
    Check(WaitUntil(3000, [] { return ExitRequested(); }), "Exit did not reach the controller that attached");
    Check(!Ended(d), "dialwick.exe ended on another controller's Exit");
    WaitDialwickFace(run, d, "free clock");
    EndDialwick(&d);
    CheckStockClock(run, nullptr);
}

void ScenarioIntruders(const ScenarioArgs &args)
{
    FaceRun run;
    Dialwick d;
    if (!StartDialwickFace(args, &run, &d))
        return;
    HWND own =
        CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    UINT unsubclass = RegisterWindowMessageA(UnsubclassMessageName);
    for (const Intrusion &i : Intrusions) {
        HWND sender = i.Kind == ForeignHandOver ? own : nullptr;
        HandOverRecord record = ForeignHandOverRecord(sender);
        COPYDATASTRUCT data{0, sizeof(record), &record};
        switch (i.Kind) {
        case ForeignHandOver:
        case HandOverNamingNone:
            Send(run.Bar.Clock, WM_COPYDATA, (WPARAM)sender, (LPARAM)&data);
            break;
        case Unsubclass:
            Send(run.Bar.Clock, unsubclass, 0, 0);
            Send(run.Bar.Notify, unsubclass, 0, 0);
            break;
        case LoadAndFree:
            FreeLibrary(LoadLibraryA(args.Dll.c_str()));
            break;
        case SecondController:
            if (LoadClockLibrary(args.Dll.c_str()))
                Check(AttachClock((args.SkinsDir + "\\README.md").c_str()) == 0, "a second controller's attach took");
            DetachClock();
            break;
        case UnsubclassAsHolder:
            // Taken for dialwick.exe: the face goes, and dialwick.exe, told
            // so, attaches again well before it would next ask.
            Send(run.Bar.Clock, unsubclass, (WPARAM)d.Window, 0);
            Check(!ClockSkinned(run.Bar, run.TaskbarHeight), "a detach in dialwick.exe's name was not taken");
            WaitDialwickFace(run, d, "lost clock", 4000);
            break;
        }
        Check(ClockSkinned(run.Bar, run.TaskbarHeight), "%s knocked the face out", i.What);
        Check(ClockHolder(run.Bar.Clock) == d.Window, "after %s the clock names %p, not dialwick.exe", i.What,
              (void *)ClockHolder(run.Bar.Clock));
    }
    DestroyWindow(own);
    EndDialwick(&d);
    CheckStockClock(run, nullptr);
}

void ScenarioKilled(const ScenarioArgs &args)
{
    FaceRun run;
    Dialwick d;
    if (!StartDialwickFace(args, &run, &d))
        return;
    TerminateProcess(d.Process.hProcess, 9);
    WaitForSingleObject(d.Process.hProcess, 5000);
    DWORD start = GetTickCount();
    DWORD stock = MAKELONG(StandinStockClockWidth, run.TaskbarHeight);
    if (Check(WaitUntil(10000, [&] { return QueryClockSize(run.Bar.Clock) == stock; }),
              "the face stayed 10 s after dialwick.exe was killed"))
        Say("note killed: the stand-in's own clock answered again after %lu ms", GetTickCount() - start);
    CloseHandle(d.Process.hProcess);
    CloseHandle(d.Process.hThread);
    CheckStockClock(run, nullptr);
}
