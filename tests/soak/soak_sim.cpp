// dialwick-soak: the attached clock ticking once a second for a number of
// simulated hours (168, a week, by default: 604,800 repaint requests), starting three
// days before a new year so that the run crosses midnights, a month end and
// the year end. Every hour an option is toggled through the popup menu,
// 12/24-hour time among them, and every sixth hour the skin changes. Each
// hour live GDI objects, open keys, menus, listings and heap use are sampled;
// after the first hour they must stay flat.
// usage: dialwick-soak [hours]
#include "engine/clock_state.h"
#include "fuzz/fuzz_desktop.h"
#include "settings/menu_commands.h"
#include "shell/library.h"

#include <malloc.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <vector>

namespace {

struct Sample {
    int Gdi, Keys, Menus, Finds;
    size_t Heap;
};

// The skin's DCs and their split bitmaps are made at the first paint, the
// split ones only for a transparent face, and held as long as the skin: they
// and their pixels are counted apart from what must stay flat.
struct Held {
    int Objects = 0;
    size_t Bytes = 0;
};

Held HeldBySkin()
{
    Held held;
    for (const SkinDC *d : {&ClockState.NumbersDC, &ClockState.TextDC, &ClockState.NumbersMask, &ClockState.NumbersInk,
                            &ClockState.TextMask, &ClockState.TextInk}) {
        held.Objects += (d->DC != nullptr) + (d->Made != nullptr);
        BITMAP info;
        if (d->Made && GetObjectA(d->Made, sizeof(info), &info))
            held.Bytes += (size_t)info.bmWidth * info.bmHeight * sizeof(uint32_t);
    }
    return held;
}

Sample Take(DWORD explorer)
{
    Held held;
    SimInProcess(explorer, [&] { held = HeldBySkin(); });
    // Under the sanitizers' allocator mallinfo2 counts nothing.
    struct mallinfo2 m = mallinfo2();
    size_t heap = m.uordblks + m.hblkhd;
    return Sample{SimLiveGdiObjects() - held.Objects, SimOpenRegistryKeys(), SimLiveMenus(), SimOpenFindHandles(),
                  heap > held.Bytes ? heap - held.Bytes : 0};
}

void SetClock(time_t t)
{
    struct tm c;
    gmtime_r(&t, &c);
    SimSetLocalTime(c.tm_year + 1900, c.tm_mon + 1, c.tm_mday, c.tm_hour, c.tm_min, c.tm_sec);
}

const UINT HourlyToggles[] = {ShowSecondsCommand,   EnglishTimeCommand,      ShowDateCommand,   DateIsLeftCommand,
                              ShowDayOfWeekCommand, TransparentClockCommand, EnglishTimeCommand};

}  // namespace

int main(int argc, char **argv)
{
    long hoursToRun = argc > 1 ? atol(argv[1]) : 168;
    if (hoursToRun <= 0)
        return 2;
    const long seconds = hoursToRun * 3600;
    const time_t start = 1798502400;  // 2026-12-29 00:00:00, read as local time

    FuzzDesktop desktop;
    StartDesktop(&desktop);
    SetClock(start);
    if (SetClockOnTray(desktop.ControllerWindow, 1, FuzzHostPath().c_str(), "") != -1) {
        fprintf(stderr, "soak: the clock did not attach\n");
        return 1;
    }
    SimPumpMessages();

    Sample first{}, low{}, high{};
    std::vector<size_t> midnights;
    long paints = 0, hours = 0, twelveHourTicks = 0;
    for (long i = 1; i <= seconds; i++) {
        SetClock(start + i);
        SimResetWindowPixelsWritten();
        RepaintClock();
        SimPumpMessages();
        if (SimWindowPixelsWritten() > 0)
            paints++;
        if (i % 3600 != 0)
            continue;
        hours++;
        UINT command = HourlyToggles[hours % (sizeof(HourlyToggles) / sizeof(HourlyToggles[0]))];
        if (hours % 6 == 0)
            command = FirstSkinCommand + (hours / 6) % 2;
        SimSetMenuChoice(command);
        SimInProcess(desktop.Explorer,
                     [&] { SendMessageA(desktop.Taskbar.Clock, WM_RBUTTONDOWN, 0, MAKELPARAM(3, 3)); });
        SimPumpMessages();
        SimInProcess(desktop.Explorer, [&] {
            if (ClockState.EnglishTime)
                twelveHourTicks += 3600;
        });
        Sample s = Take(desktop.Explorer);
        if (hours == 1) {
            first = low = high = s;
            continue;
        }
        if (s.Gdi != first.Gdi || s.Keys != first.Keys || s.Menus != first.Menus || s.Finds != first.Finds) {
            fprintf(stderr,
                    "soak: hour %ld: %d GDI objects, %d keys, %d menus, %d listings; hour 1 had %d, %d, %d, %d\n",
                    hours, s.Gdi, s.Keys, s.Menus, s.Finds, first.Gdi, first.Keys, first.Menus, first.Finds);
            return 1;
        }
        if (hours % 24 == 0)
            midnights.push_back(s.Heap);
        low.Heap = s.Heap < low.Heap ? s.Heap : low.Heap;
        high.Heap = s.Heap > high.Heap ? s.Heap : high.Heap;
    }
    EndDesktop(&desktop);

    size_t spread = high.Heap - low.Heap;
    printf("soak: %ld hours, %ld repaint requests, %ld of them repainted digits, %ld ticks in 12-hour time\n", hours,
           seconds, paints, twelveHourTicks);
    printf("soak: hourly after hour 1: GDI objects %d, open keys %d, menus %d, listings %d (constant)\n", first.Gdi,
           first.Keys, first.Menus, first.Finds);
    printf("soak: heap in use %zu..%zu bytes (spread %zu); at each midnight:", low.Heap, high.Heap, spread);
    for (size_t heap : midnights)
        printf(" %zu", heap);
    printf("\n");
    // Allocator bookkeeping may move by a few blocks; growth per tick would show as megabytes.
    if (spread > 64 * 1024) {
        fprintf(stderr, "soak: heap use is not flat\n");
        return 1;
    }
    return 0;
}
