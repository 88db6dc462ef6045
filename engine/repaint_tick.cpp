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
    // No erase here: a transparent face erases behind itself as it paints.
    InvalidateRgn(ClockState.ClockWnd, changed, FALSE);
    PaintClock(ClockState.ClockWnd);
    if (changed)
        DeleteObject(changed);
}
