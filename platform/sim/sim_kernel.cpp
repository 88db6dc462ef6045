// The kernel calls: a settable local clock and a settable version.
#include "platform/sim/sim_internal.h"

#include <string.h>

// Day of the week, 0 = Sunday, for the proleptic Gregorian calendar.
static int Weekday(int year, int month, int day)
{
    static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3)
        year -= 1;
    return (year + year / 4 - year / 100 + year / 400 + offsets[(month - 1) % 12] + day) % 7;
}

void SimSetLocalTime(const SYSTEMTIME &time) { Sim().Time = time; }

void SimSetLocalTime(int year, int month, int day, int hour, int minute, int second)
{
    SYSTEMTIME t{};
    t.wYear = (WORD)year;
    t.wMonth = (WORD)month;
    t.wDay = (WORD)day;
    t.wDayOfWeek = (WORD)Weekday(year, month, day);
    t.wHour = (WORD)hour;
    t.wMinute = (WORD)minute;
    t.wSecond = (WORD)second;
    Sim().Time = t;
}

void GetLocalTime(LPSYSTEMTIME time)
{
    if (time)
        *time = Sim().Time;
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
