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
    // A transparent face without the XP background copy needs the erase to
    // clear the old glyphs.
    BOOL erase = !ClockState.IsWindowsXP && ClockState.TransparentClock;
    InvalidateRgn(ClockState.ClockWnd, changed, erase);
    PaintClock(ClockState.ClockWnd);
    if (changed)
        DeleteObject(changed);
}
