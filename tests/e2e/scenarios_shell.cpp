// Scenarios that watch dialwick.exe from outside, send the clock one
// command, and meet the Windows 11 taskbar.
#include "tests/e2e/e2e_scenarios.h"

#include <stdio.h>
#include <string.h>

void ScenarioWaitSkinned(const ScenarioArgs &args)
{
    FaceRun run;
    run.TaskbarHeight = args.TaskbarHeight;
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
