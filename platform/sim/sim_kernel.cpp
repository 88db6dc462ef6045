// The kernel calls: a settable local clock and a settable version.
#include "platform/sim/sim_internal.h"

#include <string.h>

// The clock is kept as Windows keeps it, a count of 100-nanosecond ticks
// since 1601-01-01, here already in local time; GetLocalTime converts it
// to calendar fields on every call.
static const int64_t TicksPerSecond = 10000000;
static const int64_t DaysFrom1601To1970 = 134774;

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
static int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    unsigned yoe = (unsigned)(y - era * 400);
    unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + (int64_t)doe - 719468;
}

static void CivilFromDays(int64_t z, int *year, unsigned *month, unsigned *day)
{
    z += 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    unsigned doe = (unsigned)(z - era * 146097);
    unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    unsigned mp = (5 * doy + 2) / 153;
    *day = doy - (153 * mp + 2) / 5 + 1;
    *month = mp < 10 ? mp + 3 : mp - 9;
    *year = (int)(yoe + era * 400 + (*month <= 2));
}

void SimSetLocalTime(const SYSTEMTIME &time)
{
    Sim().TimeIsRaw = true;
    Sim().RawTime = time;
}

void SimSetLocalTime(int year, int month, int day, int hour, int minute, int second)
{
    int64_t days = DaysFromCivil(year, (unsigned)month, (unsigned)day) + DaysFrom1601To1970;
    Sim().TimeIsRaw = false;
    Sim().LocalTicks = ((days * 86400) + hour * 3600 + minute * 60 + second) * TicksPerSecond;
}

void SimAdvanceTime(int64_t milliseconds)
{
    Sim().TimeIsRaw = false;
    Sim().LocalTicks += milliseconds * (TicksPerSecond / 1000);
}

void GetLocalTime(LPSYSTEMTIME time)
{
    if (!time)
        return;
    if (Sim().TimeIsRaw) {
        *time = Sim().RawTime;
        return;
    }
    int64_t ticks = Sim().LocalTicks;
    int64_t seconds = ticks / TicksPerSecond;
    int64_t days = seconds / 86400;
    int secondOfDay = (int)(seconds % 86400);
    int year;
    unsigned month, day;
    CivilFromDays(days - DaysFrom1601To1970, &year, &month, &day);
    time->wYear = (WORD)year;
    time->wMonth = (WORD)month;
    time->wDay = (WORD)day;
    time->wDayOfWeek = (WORD)((days + 1) % 7);  // 1601-01-01 was a Monday
    time->wHour = (WORD)(secondOfDay / 3600);
    time->wMinute = (WORD)(secondOfDay / 60 % 60);
    time->wSecond = (WORD)(secondOfDay % 60);
    time->wMilliseconds = (WORD)(ticks / (TicksPerSecond / 1000) % 1000);
}

void SimSetVersion(DWORD major, DWORD minor)
{
    Sim().VersionMajor = major;
    Sim().VersionMinor = minor;
}

BOOL GetVersionExA(LPOSVERSIONINFOA info)
{
    if (!info || info->dwOSVersionInfoSize < sizeof(OSVERSIONINFOA)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    info->dwMajorVersion = Sim().VersionMajor;
    info->dwMinorVersion = Sim().VersionMinor;
    info->dwBuildNumber = Sim().VersionMajor == 5 ? 2600 : 7601;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    memset(info->szCSDVersion, 0, sizeof(info->szCSDVersion));
    return TRUE;
}

static UINT CodePage = 1252;

void SimSetCodePage(UINT codePage) { CodePage = codePage; }

UINT GetACP(void) { return CodePage; }

BOOL IsDBCSLeadByte(BYTE c)
{
    switch (CodePage) {
    case 932:
        return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    case 936:
    case 949:
    case 950:
        return c >= 0x81 && c <= 0xFE;
    default:
        return FALSE;
    }
}
