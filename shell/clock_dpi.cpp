// The clock on a monitor of another scale, or after the user changed it.
#include "shell/clock_dpi.h"

#include "engine/clock_state.h"
#include "engine/skin_bitmaps.h"
#include "shell/notify_layout.h"

void FollowClockDpi(HWND hwnd, bool askTaskbar)
{
    if (!FollowWindowDpi())
        return;
    InvalidateRect(hwnd, nullptr, TRUE);
    if (!askTaskbar)
        return;
    RelayoutTaskbar();
}
