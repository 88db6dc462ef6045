// The clock on a monitor of another scale, or after the user changed it.
#include "shell/clock_dpi.h"

#include "engine/clock_state.h"
#include "engine/skin_bitmaps.h"

void FollowClockDpi(HWND hwnd, bool askTaskbar)
{
    if (!FollowWindowDpi())
        return;
    InvalidateRect(hwnd, nullptr, TRUE);
    if (!askTaskbar)
        return;
    PostMessageA(ClockState.TrayWnd, WM_EXITSIZEMOVE, 0, 0);
    PostMessageA(ClockState.TrayWnd, WM_SIZE, 0, 0);
}
