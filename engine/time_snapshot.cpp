// The time as six display digits, the morning flag and the colon blink.
#include "engine/time_snapshot.h"

#include "engine/clock_state.h"

static void SplitTwoDigits(int value, uint8_t *tens, uint8_t *ones)
{
    int t = (int)((double)value / 10.0);
    *tens = (uint8_t)t;
    *ones = (uint8_t)(value - 10 * t);
}

// The colons show for TickStep seconds from LastTickSecond, then hide for one
// second; a second that went back (turn of the minute, clock change) starts a
// new visible phase.
static void UpdateColonBlink(int second)
{
    uint8_t step = ClockState.TickStep;
    if (ClockState.LastTickSecond == -1)
        ClockState.LastTickSecond = second;
    int next = (uint8_t)(ClockState.LastTickSecond + step);
    if (next > 59)
        next -= 60;
    if (second + step < next) {
        ClockState.LastTickSecond = second;
        next = (uint8_t)(second + step);
    }
    if (next > second) {
        ClockState.ColonVisible = FlagTrue;
    } else if (next == second) {
        ClockState.ColonVisible = 0;
    } else {
        ClockState.LastTickSecond = second;
        ClockState.ColonVisible = FlagTrue;
    }
}

void SnapshotTime()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    int hour = now.wHour, minute = now.wMinute, second = now.wSecond;

    ClockState.IsMorning = hour < 12 ? FlagTrue : 0;
    if (ClockState.EnglishTime) {
        if (hour > 12)
            hour -= 12;
        if (hour == 0)
            hour = 12;
    }
    uint8_t *d = ClockState.CurrentDigits;
    SplitTwoDigits(hour, &d[HourTens], &d[HourOnes]);
    SplitTwoDigits(minute, &d[MinuteTens], &d[MinuteOnes]);
    SplitTwoDigits(second, &d[SecondTens], &d[SecondOnes]);
    for (int i = 0; i < DigitCount; i++)
        if (d[i] > 9)
            d[i] = 0;

    UpdateColonBlink(second);
}
