// The time as digits, the morning flag and the colon blink.
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

TEST(TimeSnapshot, SwitchingTwelveHourTakesEffectAtNextSnapshot)
{
    Fresh();
    SnapAt(15, 0, 0);
    EXPECT_EQ(Digits(), "150000");
    ClockState.EnglishTime = FlagTrue;
    EXPECT_EQ(Digits(), "150000");
    SnapshotTime();
    EXPECT_EQ(Digits(), "030000");
    EXPECT_EQ(ClockState.IsMorning, 0);
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

struct BlinkStep {
    int Second;
    bool Visible;
    int LastAfter;
};

void ExpectBlink(int lastBefore, std::initializer_list<BlinkStep> steps)
{
    Fresh();
    ClockState.LastTickSecond = lastBefore;
    for (const BlinkStep &s : steps) {
        SnapAt(10, 0, s.Second);
        EXPECT_EQ(ClockState.ColonVisible, s.Visible ? FlagTrue : 0) << "second " << s.Second;
        EXPECT_EQ(ClockState.LastTickSecond, s.LastAfter) << "second " << s.Second;
    }
}

TEST(TimeSnapshot, BlinkFromSecond58AcrossTheMinute)
{
    ExpectBlink(-1, {{58, true, 58}, {59, false, 58}, {0, true, 0}, {1, false, 0}, {2, true, 2}});
}

TEST(TimeSnapshot, BlinkFromSecond59)
{
    ExpectBlink(-1, {{59, true, 59}, {0, false, 59}, {1, true, 1}});
}

TEST(TimeSnapshot, BlinkIsStableWithinOneSecond)
{
    ExpectBlink(-1, {{20, true, 20}, {20, true, 20}, {21, false, 20}, {21, false, 20}, {22, true, 22}});
}

TEST(TimeSnapshot, ClockGoingBackStartsNewVisiblePhase) { ExpectBlink(40, {{20, true, 20}}); }

TEST(TimeSnapshot, SkippedSecondsStartNewVisiblePhase) { ExpectBlink(10, {{13, true, 13}}); }

TEST(TimeSnapshot, BlinkAlternatesForAWholeHour)
{
    Fresh();
    int visible = 0;
    for (int t = 0; t < 3600; t++) {
        SimSetLocalTime(2026, 3, 10, 10, t / 60, t % 60);
        SnapshotTime();
        EXPECT_EQ(ClockState.ColonVisible != 0, t % 2 == 0) << t;
        visible += ClockState.ColonVisible != 0;
    }
    EXPECT_EQ(visible, 1800);
}

}  // namespace
