// When the controller next wakes: just after the local clock's second turns,
// so that the face shows each second as soon as it begins and no sooner.
#pragma once

#include <stdint.h>

// Past the turn of the second: the delay is rounded up to the millisecond
// and one more. A timer that fires before the turn all the same is set again
// for the rest of the second by the controller, so no margin is needed
// against an early timer.
const unsigned SecondMargin = 1;

// Milliseconds from NOW, the system time in FILETIME's 100-ns units, to the
// margin past the next whole second. Local time turns its seconds with the
// system time: time zones differ by whole minutes.
unsigned DelayToNextSecond(uint64_t now);

// The turn of the second that a wake-up set at NOW is for, in the same units.
uint64_t NextTurn(uint64_t now);
