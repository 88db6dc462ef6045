// When the controller next wakes: just after the local clock's second turns,
// so that the face shows each second as soon as it begins and no sooner.
#pragma once

#include <stdint.h>

// Past the turn of the second: the delay is rounded up to the millisecond
// and one more. A timer that fires before the turn all the same is set again
// for the rest of the second by the controller, so no margin is needed
// against an early timer.
const unsigned SecondMargin = 1;

// A timer set at a turn is left to repeat every second while each wake-up
// comes at most this many milliseconds past the margin; setting it again is
// a round trip to the window server. A repeating timer keeps its own pace,
// but each wake-up comes a few milliseconds late on a busy machine: the
// slack lets that pass, and a wake-up later still (a drift of the timer
// against the clock) sets the timer afresh for the next turn.
const unsigned SecondSlack = 10;

// Milliseconds from NOW, the system time in FILETIME's 100-ns units, to the
// margin past the next whole second. Local time turns its seconds with the
// system time: time zones differ by whole minutes.
unsigned DelayToNextSecond(uint64_t now);

// The turn of the second that a wake-up set at NOW is for, in the same units.
uint64_t NextTurn(uint64_t now);

// Whether a wake-up at NOW came on the turn DUE: not before it, and within
// the margin and the slack past it.
bool WokeOnTurn(uint64_t now, uint64_t due);
