#include "shell/controller_watch.h"

#include "engine/clock_state.h"
#include "shell/library.h"

// A window's handle may be given to a new window once it is gone; the thread
// that owns it tells the two apart.
static bool ControllerRunning()
{
    return ClockState.ControllerWnd && ClockState.ControllerThread &&
           GetWindowThreadProcessId(ClockState.ControllerWnd, nullptr) == ClockState.ControllerThread;
}

void HoldController(HWND controller)
{
    ClockState.ControllerWnd = controller;
    ClockState.ControllerThread = GetWindowThreadProcessId(controller, nullptr);
    SetTimer(ClockState.ClockWnd, ControllerWatchTimer, ControllerWatchInterval, nullptr);
}

void HeardFromController()
{
    if (ClockState.ControllerWnd)
        SetTimer(ClockState.ClockWnd, ControllerWatchTimer, ControllerWatchInterval, nullptr);
}

void ReleaseController()
{
    KillTimer(ClockState.ClockWnd, ControllerWatchTimer);
    if (ClockState.ControllerWnd && ClockState.ClockReleasedMsg)
        PostMessageA(ClockState.ControllerWnd, ClockState.ClockReleasedMsg, 0, 0);
    ClockState.ControllerWnd = nullptr;
    ClockState.ControllerThread = 0;
}

bool ActsForController(HWND sender) { return !ControllerRunning() || sender == ClockState.ControllerWnd; }

void WatchController()
{
    // The popup menu's loop runs this timer too: the next round detaches,
    // not this one, which would destroy the menu on screen.
    if (ControllerRunning() || ClockState.MenuTracking)
        return;
    SetClockOnTray(nullptr, 0, nullptr, nullptr);
}
