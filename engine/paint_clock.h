#pragma once

#include "engine/clock_state.h"

// Paints the whole skinned face into ClockWnd through BeginPaint/EndPaint, so
// it covers exactly the invalid part of the window. hwnd is tested for visibility.
void PaintClock(HWND hwnd);

// Invalidates all of hwnd, erasing its background when erase is set, and paints the face.
void RepaintWholeFace(HWND hwnd, BOOL erase);
