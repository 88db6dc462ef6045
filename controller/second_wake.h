// When the controller next wakes: just after the local clock's second turns,
// so that the face shows each second as soon as it begins and no sooner.
#pragma once

#include <stdint.h>

// Past the turn of the second, so that a timer a little early or a clock a
// little behind still finds the new second.
const unsigned SecondMargin = 5;

// Milliseconds from NOW, the system time in FILETIME's 100-ns units, to the
// margin past the next whole second. Local time turns its seconds with the
// system time: time zones differ by whole minutes.
unsigned DelayToNextSecond(uint64_t now);
