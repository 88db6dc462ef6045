// The time as digits, the morning flag and the colon blink.
#include "engine/clock_attach.h"
#include "engine/time_snapshot.h"
#include "tests/engine/test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

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

// The colons show on the first snapshot and on every second second after it;
// a second that does not follow the last visible one starts a new phase.
TEST(TimeSnapshot, Blink)
{
    const struct {
        const char *Why;
        int LastBefore;
        std::vector<std::array<int, 3>> Steps;  // second, visible, last visible second after
    } cases[] = {
        {"from second 58 across the minute", -1, {{58, 1, 58}, {59, 0, 58}, {0, 1, 0}, {1, 0, 0}, {2, 1, 2}}},
        {"from second 59", -1, {{59, 1, 59}, {0, 0, 59}, {1, 1, 1}}},
        {"stable within one second", -1, {{20, 1, 20}, {20, 1, 20}, {21, 0, 20}, {21, 0, 20}, {22, 1, 22}}},
        {"the clock going back", 40, {{20, 1, 20}}},
        {"skipped seconds", 10, {{13, 1, 13}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Why);
        Fresh();
        ClockState.LastTickSecond = c.LastBefore;
        for (const auto &s : c.Steps) {
            SnapAt(10, 0, s[0]);
            EXPECT_EQ(ClockState.ColonVisible, s[1] ? FlagTrue : 0) << "second " << s[0];
            EXPECT_EQ(ClockState.LastTickSecond, s[2]) << "second " << s[0];
        }
    }
}

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
