// The controller's next wake-up: the margin past the next turn of the second,
// from anywhere in the second, never before the turn nor a second late.
#include "controller/second_wake.h"

#include <gtest/gtest.h>

namespace {

TEST(SecondWake, DelaysAcrossTheTurnOfTheSecond)
{
    // 2026-12-07 03:00:00 UTC in FILETIME units: a whole second.
    const uint64_t second = 134410860000000000ull;
    const unsigned m = SecondMargin;
    struct Case {
        uint64_t Now;
        unsigned Want;
    } cases[] = {
        {second, 1000 + m},           // right on the turn: the next one
        {second + 1, 1000 + m},       // 100 ns past it: not the same second again
        {second + m * 10000, 1000},   // woken as planned, the margin past the turn
        {second + 4999999, 501 + m},  // a fraction is rounded up, never early
        {second + 5000000, 500 + m},
        {second + 9990000, 1 + m},  // a timer that fired early wakes again just past the turn
        {second + 9999999, 1 + m},
        {second + 10000000, 1000 + m},  // the next second
        {second - 1, 1 + m},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DelayToNextSecond(c.Now), c.Want) << "at " << c.Now % 10000000 << " units into the second";
}

}  // namespace
