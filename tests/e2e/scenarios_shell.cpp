// Scenarios about the shell side: a language command, the popup menu driven
// by synthetic input, the exit command, detaching, and watching dialwick.exe
// from outside.
#include "tests/e2e/e2e_scenarios.h"

#include <stdio.h>
#include <string.h>

void ScenarioLanguage(const ScenarioArgs &args)
{
    FaceRun run;
    if (!AttachScenario(args, &run, nullptr) ||
        !SendCommand(run.Bar.Clock, FirstLanguageCommand + ExpectedLanguageIndex))
        return;
    CheckValue(SettingsKeyPath, "Lang", REG_DWORD, {ExpectedLanguageIndex, 0, 0, 0}, ExpectedLanguage);
    for (const auto &text : ExpectedTexts)
        CheckValue(SettingsKeyPath, text[0], REG_SZ, TextBytes(text[1]), ExpectedLanguage);
}

// Hand-shake with the runner, which owns the X display's synthetic input.
static bool WriteSignal(const ScenarioArgs &args, const char *name, const char *text)
{
    std::string path = args.OutDir + "\\" + name, part = path + ".part";
    FILE *f = fopen(part.c_str(), "w");
    if (!f)
        return false;
    fputs(text, f);
    fclose(f);
    return MoveFileA(part.c_str(), path.c_str()) != 0;
}

static bool SkinNameIs(const std::string &skin)
{
    DWORD type = 0;
    std::vector<uint8_t> data;
    return ReadValue(SettingsKeyPath, "SkinName", &type, &data) && data.size() > skin.size() &&
           memcmp(data.data(), skin.c_str(), skin.size() + 1) == 0;
}

static HWND VisibleMenu()
{
    HWND menu = FindWindowA("#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

void ScenarioMenu(const ScenarioArgs &args)
{
    FaceRun run;
    if (!AttachScenario(args, &run, nullptr) || !WaitClockSized(run) || !FreshSnapshot(&run))
        return;
    RECT clock = ScreenRect(run.Bar.Clock);
    char point[64];
    snprintf(point, sizeof(point), "%ld %ld\n", (clock.left + clock.right) / 2, (clock.top + clock.bottom) / 2);
    if (!Check(WriteSignal(args, "menu-click", point), "cannot signal the runner"))
        return;
    if (!Check(WaitUntil(10000, [] { return VisibleMenu() != nullptr; }), "no popup menu opened on the right click"))
        return;
    DWORD owner = 0;
    GetWindowThreadProcessId(VisibleMenu(), &owner);
    Check(owner == run.Bar.ProcessId, "the popup menu does not belong to the stand-in");
    WriteSignal(args, "menu-open", "\n");
    const std::string chosen = "Frost";
    if (!Check(WaitUntil(10000, [&] { return SkinNameIs(chosen); }), "choosing %s in the Skins submenu did not take",
               chosen.c_str()))
        return;
    Check(WaitUntil(3000, [] { return VisibleMenu() == nullptr; }), "the popup menu stayed open");
    run.Skin = chosen;
    ShootFace(&run, "menu-" + chosen);
}

void ScenarioExit(const ScenarioArgs &args)
{
    FaceRun run;
    StockClock stock;
    if (!AttachScenario(args, &run, &stock) || !WaitClockSized(run) || !SendCommand(run.Bar.Clock, ExitCommand))
        return;
    if (Check(WaitUntil(3000, [] { return ExitRequested(); }), "the exit command posted nothing to the controller"))
        CheckStockClock(run, &stock);
}

void ScenarioDetach(const ScenarioArgs &args)
{
    FaceRun run;
    StockClock stock;
    if (!AttachScenario(args, &run, &stock) || !WaitClockSized(run))
        return;
    LONG detached = DetachClock();
    Check(detached == -1, "SetClockOnTray detach returned %ld, not -1", detached);
    CheckStockClock(run, &stock);
    // The same mapped copy takes the clock again, and KillHooks gives it back.
    LONG attached = AttachClock((args.SkinsDir + "\\README.md").c_str());
    Check(attached == -1, "the second attach returned %ld", attached);
    WaitClockSized(run);
    Check(QueryClockSize(run.Bar.Clock) != (DWORD)MAKELONG(StandinStockClockWidth, run.TaskbarHeight),
          "the second attach shows no face");
    LONG killed = KillHooksNow();
    Check(killed == 0, "KillHooks returned %ld, not 0", killed);
    CheckStockClock(run, &stock);
}

void ScenarioWaitSkinned(const ScenarioArgs &args)
{
    FaceRun run;
    run.Windows10 = args.Windows10;
    Taskbar &bar = run.Bar;
    if (!Check(FindTaskbar(&bar, 10000), "no stand-in taskbar appeared"))
        return;
    DWORD start = GetTickCount();
    if (Check(WaitUntil(8000, [&] { return ClockSkinned(bar, args.TaskbarHeight); }),
              "the stand-in (process %lu) was not skinned within 8 seconds", bar.ProcessId) &&
        WaitClockSized(run))
        Say("note skinned %lu ms after the stand-in was found", GetTickCount() - start);
}

void ScenarioCloseController(const ScenarioArgs &args)
{
    FaceRun run;
    run.TaskbarHeight = args.TaskbarHeight;
    run.Windows10 = args.Windows10;
    if (!Check(FindTaskbar(&run.Bar, 5000), "no stand-in taskbar"))
        return;
    HWND controller = FindWindowA("ZantorDialwickController", nullptr);
    if (!Check(controller != nullptr, "dialwick.exe has no window"))
        return;
    PostMessageA(controller, WM_CLOSE, 0, 0);
    if (Check(WaitUntil(5000, [&] { return !IsWindow(controller); }), "dialwick.exe did not close"))
        CheckStockClock(run, nullptr);
}

void ScenarioWaitStock(const ScenarioArgs &args)
{
    FaceRun run;
    run.TaskbarHeight = args.TaskbarHeight;
    run.Windows10 = args.Windows10;
    if (Check(FindTaskbar(&run.Bar, 5000), "no stand-in taskbar"))
        CheckStockClock(run, nullptr);
}

void ScenarioHoldInstance(const ScenarioArgs &)
{
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "ZantorDialwickControllerInstance");
    if (!Check(mutex && GetLastError() != ERROR_ALREADY_EXISTS, "another dialwick.exe is running"))
        return;
    Say("holding");
    Sleep(30000);
    CloseHandle(mutex);
}

void ScenarioCommand(const ScenarioArgs &args)
{
    Taskbar bar;
    if (Check(FindTaskbar(&bar, 5000), "no stand-in taskbar"))
        SendCommand(bar.Clock, args.Command);
}

static bool ChildTextHas(HWND parent, const char *words)
{
    for (HWND c = FindWindowExA(parent, nullptr, nullptr, nullptr); c; c = FindWindowExA(parent, c, nullptr, nullptr)) {
        char text[1024];
        if (GetWindowTextA(c, text, sizeof(text)) > 0 && strstr(text, words))
            return true;
    }
    return false;
}

void ScenarioWindows11(const ScenarioArgs &args)
{
    HWND tray = nullptr;
    auto onScreen = [&] { return (tray = FindWindowA("Shell_TrayWnd", nullptr)) && IsWindowVisible(tray); };
    if (!Check(WaitUntil(10000, onScreen), "no stand-in taskbar appeared"))
        return;
    DWORD standin = 0;
    GetWindowThreadProcessId(tray, &standin);
    HWND notify = FindWindowExA(tray, nullptr, "TrayNotifyWnd", nullptr);
    Check(notify && !FindWindowExA(notify, nullptr, "TrayClockWClass", nullptr),
          "the stand-in has no notification area, or a clock window in it");
    if (!LoadClockLibrary(args.Dll.c_str()))
        return;
    LONG attached = AttachClock((args.SkinsDir + "\\README.md").c_str());
    Check(attached == 0, "SetClockOnTray attach returned %ld on a taskbar without a clock window", attached);
    HWND box = nullptr;
    bool shown = Check(WaitUntil(15000, [&] { return (box = FindWindowA("#32770", "Zantor Dialwick")) != nullptr; }),
                       "dialwick.exe showed no message box");
    Check(!ProcessHasModule(standin, "dialwick.dll"), "the library is mapped into the taskbar");
    DetachClock();
    if (!shown)
        return;
    Check(ChildTextHas(box, "classic"), "the message box does not speak of the classic clock");
    DWORD type = 0;
    std::vector<uint8_t> data;
    Check(ReadValue(SettingsKeyPath, "NoClassicClockShown", &type, &data) && type == REG_DWORD,
          "the settings do not remember that the message was shown");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    Check(WaitUntil(5000, [&] { return !IsWindow(box); }), "the message box did not close");
}
