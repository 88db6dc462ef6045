#pragma once

#include "engine/clock_state.h"

// Paints the whole skinned face into ClockWnd through BeginPaint/EndPaint, so
// it covers exactly the invalid part of the window. hwnd is tested for visibility.
void PaintClock(HWND hwnd);

// Paints the face's cells within the region cells (client coordinates) at
// once, through a DC clipped to them: nothing is invalidated or validated.
void PaintClockCells(HWND hwnd, HRGN cells);

// Invalidates all of hwnd, erasing its background when erase is set, and paints the face.
void RepaintWholeFace(HWND hwnd, BOOL erase);
