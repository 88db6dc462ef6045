// The time as digits and the morning flag, for any time Windows gives.
#include "engine/clock_attach.h"
#include "engine/time_snapshot.h"
#include "tests/engine/test_support.h"

#include <gtest/gtest.h>


namespace {

void Fresh()
{
    SimReset();
    ResetClockState();
    StartClockBlink();
}

void SnapAt(int hour, int minute, int second)
{
    SimSetLocalTime(2026, 3, 10, hour, minute, second);
    SnapshotTime();
}

std::string Digits()
{
    std::string s;
    for (int i = 0; i < DigitCount; i++)
        s += (char)('0' + ClockState.CurrentDigits[i]);
    return s;
}

TEST(TimeSnapshot, DigitTable)
{
    struct Case {
        int H, M, S;
        bool English;
        const char *Digits;
        bool Morning;
    } cases[] = {
        {0, 5, 9, false, "000509", true},   {0, 5, 9, true, "120509", true},   {12, 30, 0, true, "123000", false},
        {13, 7, 45, true, "010745", false}, {23, 59, 59, false, "235959", false}, {12, 0, 0, false, "120000", false},
        {11, 59, 59, true, "115959", true}, {1, 0, 0, true, "010000", true},
    };
    for (const Case &c : cases) {
        Fresh();
        ClockState.EnglishTime = c.English ? FlagTrue : 0;
        SnapAt(c.H, c.M, c.S);
        EXPECT_EQ(Digits(), c.Digits) << c.H << ":" << c.M << ":" << c.S << " english " << c.English;
        EXPECT_EQ(ClockState.IsMorning, c.Morning ? FlagTrue : 0) << c.H;
    }
}

TEST(TimeSnapshot, OutOfRangeTimeClampsDigits)
{
    Fresh();
    SYSTEMTIME t{};
    t.wYear = 2026;
    t.wMonth = 1;
    t.wDay = 1;
    t.wHour = 99;
    t.wMinute = 100;
    t.wSecond = 61;
    SimSetLocalTime(t);
    SnapshotTime();
    for (int i = 0; i < DigitCount; i++)
        EXPECT_LE(ClockState.CurrentDigits[i], 9) << i;
}

}  // namespace
