// Whether the taskbar clock is this controller's: Explorer's copy of the
// library names the controller it holds.
#pragma once

#include "platform/platform.h"

enum ClockHolder {
    ClockHeldHere,
    ClockHeldElsewhere,  // by another controller that runs: never fight it
    ClockFree,           // the face was lost: attach again
    ClockUnanswered,     // no taskbar (its restart announces itself), or a hung one
};

// One message to the clock window, given up after a second.
ClockHolder AskClockHolder(HWND controller);
