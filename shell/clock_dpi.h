#pragma once

#include "platform/platform.h"

// The clock after its DPI may have changed: when it has, the face is laid
// out for the new DPI and repainted whole, and, when askTaskbar is set, the
// taskbar is made to ask for the clock's size again.
void FollowClockDpi(HWND hwnd, bool askTaskbar);
