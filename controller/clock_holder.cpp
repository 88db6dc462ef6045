#include "controller/clock_holder.h"

#include "shell/clock_messages.h"

#include <stdint.h>

static void FindClock(HolderQuery *query)
{
    HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
    HWND notify = tray ? FindWindowExA(tray, nullptr, "TrayNotifyWnd", nullptr) : nullptr;
    query->Clock = notify ? FindWindowExA(notify, nullptr, "TrayClockWClass", nullptr) : nullptr;
    query->ClockThread = query->Clock ? GetWindowThreadProcessId(query->Clock, nullptr) : 0;
}

static ClockHolder AskClock(HWND controller, const HolderQuery &query)
{
    DWORD_PTR answer = 0;
    if (!query.Clock || !query.Message ||
        !SendMessageTimeoutA(query.Clock, query.Message, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 1000, &answer))
        return ClockUnanswered;
    // Window handles are 32-bit significant, on 64-bit Windows too.
    HWND holder = (HWND)(LONG_PTR)(int32_t)(uint32_t)answer;
    if (holder == controller)
        return ClockHeldHere;
    return holder && IsWindow(holder) ? ClockHeldElsewhere : ClockFree;
}

ClockHolder AskClockHolder(HWND controller, HolderQuery *query)
{
    if (!query->Message)
        query->Message = RegisterWindowMessageA(ControllerQueryMessageName);
    if (!query->Clock)
        FindClock(query);
    ClockHolder holder = AskClock(controller, *query);
    // Only a clock this controller holds names it. Any other answer may come
    // from a window that was given the kept handle once the clock was gone:
    // its thread tells.
    if (holder == ClockHeldHere || GetWindowThreadProcessId(query->Clock, nullptr) == query->ClockThread)
        return holder;
    FindClock(query);
    return AskClock(controller, *query);
}
