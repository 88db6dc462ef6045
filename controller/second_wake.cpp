#include "controller/second_wake.h"

const uint64_t UnitsPerSecond = 10000000;
const uint64_t UnitsPerMillisecond = 10000;

unsigned DelayToNextSecond(uint64_t now)
{
    uint64_t left = UnitsPerSecond - now % UnitsPerSecond;
    // Rounded up: a wake-up a fraction of a millisecond early would still see the old second.
    return (unsigned)((left + UnitsPerMillisecond - 1) / UnitsPerMillisecond) + SecondMargin;
}

uint64_t NextTurn(uint64_t now) { return now - now % UnitsPerSecond + UnitsPerSecond; }

bool WokeOnTurn(uint64_t now, uint64_t due)
{
    return now >= due && now - due <= (uint64_t)(SecondMargin + SecondSlack) * UnitsPerMillisecond;
}
