#include "engine/repaint_tick.h"

#include "engine/clock_state.h"
#include "engine/face_layout.h"
#include "engine/paint_clock.h"
#include "engine/time_snapshot.h"

#include <string.h>

void RepaintTick()
{
    SnapshotTime();
    if (memcmp(ClockState.CurrentDigits, ClockState.ShownDigits, DigitCount) == 0)
        return;
    HRGN changed = BuildChangedDigitsRegion();
    if (!changed) {
        RepaintWholeFace(ClockState.ClockWnd, FALSE);
        return;
    }
    // Painted at once through a DC clipped to the cells, not invalidated:
    // BeginPaint and EndPaint would cost Windows more round trips than the
    // cells need (under Wine, four requests to its server every second).
    PaintClockCells(ClockState.ClockWnd, changed);
    DeleteObject(changed);
}
