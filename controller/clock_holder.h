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

// What the question needs, kept between asks: each look-up and each
// registration is a round trip to the window server. Emptied when a new
// taskbar announces itself.
struct HolderQuery {
    UINT Message;
    HWND Clock;
    DWORD ClockThread;
};

// One message to the clock window, given up after a second.
ClockHolder AskClockHolder(HWND controller, HolderQuery *query);
