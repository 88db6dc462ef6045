#include "engine/date_words.h"

#include "engine/clock_state.h"

#include <string.h>

static const char *const Months[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
static const char *const Weekdays[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

const char *MonthAbbreviation()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    // A month outside 1..12 cannot come from the clock; show none rather than read astray.
    return now.wMonth >= 1 && now.wMonth <= 12 ? Months[now.wMonth - 1] : "";
}

const char *DayOfWeekName()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wDayOfWeek <= 6 ? Weekdays[now.wDayOfWeek] : "";
}

uint16_t DayOfWeekNameLength() { return (uint16_t)strlen(DayOfWeekName()); }
