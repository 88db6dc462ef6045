// The controller's next wake-up: the margin past the next turn of the second,
// from anywhere in the second, never before the turn nor a second late; and
// which wake-ups leave a repeating timer be.
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

// A timer left to repeat never shows a second before its turn, nor lets a
// drift grow past the slack.
TEST(SecondWake, WakeUpsOnTheTurn)
{
    const uint64_t due = 134410860000000000ull;
    const uint64_t last = (uint64_t)(SecondMargin + SecondSlack) * 10000;
    struct Case {
        uint64_t Now;
        bool Want;
    } cases[] = {
        {due - 1, false},  // early: the old second still shows
        {due, true},
        {due + last, true},
        {due + last + 1, false},  // drifted late: set afresh
        {due + 10000000, false},  // a whole second late
    };
    for (const Case &c : cases)
        EXPECT_EQ(WokeOnTurn(c.Now, due), c.Want) << (int64_t)(c.Now - due) << " units past the turn";
}

}  // namespace
