#include "engine/clock_attach.h"

void StartClockBlink()
{
    ClockState.TickStep = 1;
    ClockState.LastTickSecond = -1;
}

void AdoptClockWindows(HWND tray, HWND notify, HWND clock)
{
    ClockState.TrayWnd = tray;
    ClockState.NotifyWnd = notify;
    ClockState.ClockWnd = clock;
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    bool known = GetVersionExA(&version) != 0;
    ClockState.IsWindowsXP = known && version.dwMajorVersion == 5 && version.dwMinorVersion == 1 ? FlagTrue : 0;
}
