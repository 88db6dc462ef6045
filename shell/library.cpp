// The controller's side: the exports that install and remove the hook and
// hand the controller's data over to Explorer's copy of the library.
#include "shell/library.h"

#include "engine/clock_attach.h"
#include "settings/context_menu.h"
#include "shell/clock_wndproc.h"
#include "shell/containment.h"
#include "shell/hook_subclass.h"
#include "shell/host_lookup.h"
#include "shell/notify_layout.h"

#include <string.h>

HINSTANCE LibraryInstance;
ProcessNotifyHandler ModuleNotifyHandler;

void LibraryStartup()
{
    StartClockBlink();
    InitClockHost(nullptr);
    ClockState.PreviousNotifyHandler = ModuleNotifyHandler;
    ModuleNotifyHandler = LibraryDetach;
}

void LibraryDetach(DWORD reason)
{
    if (reason == DLL_PROCESS_DETACH)
        SetClockOnTray(nullptr, 0, nullptr, nullptr);
    if (ClockState.PreviousNotifyHandler)
        ClockState.PreviousNotifyHandler(reason);
}

// A registration that failed at load is tried again: without the ids the
// other copy could be neither reached nor released.
static void EnsureMessages()
{
    if (!ClockState.PaintClockMsg || !ClockState.UnsubclassMsg || !ClockState.SubclassMsg)
        RegisterClockMessages();
}

static LONG Detach()
{
    EnsureMessages();
    DestroyMenus();
    // Explorer's copy gives the clock back only to the controller it holds.
    SendMessageA(ClockState.ClockWnd, ClockState.UnsubclassMsg, (WPARAM)ClockState.ControllerWnd, 0);
    SendMessageA(ClockState.NotifyWnd, ClockState.UnsubclassMsg, (WPARAM)ClockState.ControllerWnd, 0);
    if (ClockState.HookHandle)
        UnhookWindowsHookEx(ClockState.HookHandle);
    ClockState.HookHandle = nullptr;
    // A taskbar without the classic clock never had anything of ours.
    if (ClockState.ClockWnd)
        RelayoutTaskbar();
    ClockState.ControllerWnd = nullptr;
    return -1;
}

static LONG Attach(HWND controller, LPCSTR hostPath, LPCSTR reservedText)
{
    // A path that does not fit the record would name another folder once cut.
    if (!hostPath || strlen(hostPath) >= (size_t)HandOverHostPathSize)
        return 0;
    // Attaching twice keeps one hook, not two.
    if (ClockState.HookHandle) {
        UnhookWindowsHookEx(ClockState.HookHandle);
        ClockState.HookHandle = nullptr;
    }
    EnsureMessages();
    ClockState.ControllerWnd = controller;
    // Without a taskbar there is no thread to hook; a thread id of 0 would
    // hook every program of the desktop instead.
    DWORD thread = GetWindowThreadProcessId(ClockState.TrayWnd, nullptr);
    if (!thread)
        return 0;
    // A taskbar without the classic clock window (Windows 11's) has nothing
    // to take over: it is refused before anything is hooked.
    if (!ClockState.ClockWnd)
        return 0;
    ClockState.HookHandle = SetWindowsHookExA(WH_CALLWNDPROC, ClockHookProc, LibraryInstance, thread);
    SendMessageA(ClockState.TrayWnd, ClockState.SubclassMsg, 0, 0);

    HandOverRecord record;
    memset(&record, 0, sizeof(record));
    memcpy(record.HostPath, hostPath, strlen(hostPath) + 1);
    if (reservedText)
        strncpy(record.ReservedText, reservedText, sizeof(record.ReservedText) - 1);
    record.ControllerWnd = (uint32_t)(uintptr_t)controller;
    COPYDATASTRUCT data;
    data.dwData = 0;
    data.cbData = sizeof(record);
    data.lpData = &record;
    LRESULT loaded = SendMessageA(ClockState.ClockWnd, WM_COPYDATA, (WPARAM)controller, (LPARAM)&data);

    RelayoutTaskbar();
    // Explorer's copy answers with the skin's load result: non-zero when a skin shows.
    return loaded ? -1 : 0;
}

extern "C" LONG WINAPI SetClockOnTray(HWND controller, LONG attach, LPCSTR hostPath, LPCSTR reservedText)
{
    return Contain([&] { return attach ? Attach(controller, hostPath, reservedText) : Detach(); },
                   [] { return (LONG)0; });
}

extern "C" BOOL WINAPI RepaintClock() { return PostMessageA(ClockState.ClockWnd, ClockState.PaintClockMsg, 0, 0); }

extern "C" LONG WINAPI KillHooks(HWND controller)
{
    SetClockOnTray(controller, 0, nullptr, nullptr);
    return 0;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    return Contain(
        [&]() -> BOOL {
            if (reason == DLL_PROCESS_ATTACH) {
                LibraryInstance = instance;
                LibraryStartup();
                return TRUE;
            }
            if (ModuleNotifyHandler)
                ModuleNotifyHandler(reason);
            return TRUE;
        },
        []() -> BOOL { return TRUE; });
}
