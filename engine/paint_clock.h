#pragma once

#include "engine/clock_state.h"

// Paints the whole skinned face into ClockWnd through BeginPaint/EndPaint, so
// it covers exactly the invalid part of the window. hwnd is tested for visibility.
void PaintClock(HWND hwnd);
