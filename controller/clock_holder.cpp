#include "controller/clock_holder.h"

#include "shell/clock_messages.h"

#include <stdint.h>

ClockHolder AskClockHolder(HWND controller)
{
    HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
    HWND notify = tray ? FindWindowExA(tray, nullptr, "TrayNotifyWnd", nullptr) : nullptr;
    HWND clock = notify ? FindWindowExA(notify, nullptr, "TrayClockWClass", nullptr) : nullptr;
    UINT query = RegisterWindowMessageA(ControllerQueryMessageName);
    DWORD_PTR answer = 0;
    if (!clock || !query || !SendMessageTimeoutA(clock, query, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 1000, &answer))
        return ClockUnanswered;
    // Window handles are 32-bit significant, on 64-bit Windows too.
    HWND holder = (HWND)(LONG_PTR)(int32_t)(uint32_t)answer;
    if (holder == controller)
        return ClockHeldHere;
    return holder && IsWindow(holder) ? ClockHeldElsewhere : ClockFree;
}
