// The repaint tick on the simulated platform: a tick that changes nothing,
// one that changes a second digit, one that changes the hour, a transparent
// one, and a full-face paint. Each reports the window pixels written per tick.
#include "engine/paint_clock.h"
#include "engine/repaint_tick.h"
#include "engine/skin_bitmaps.h"
#include "engine/time_snapshot.h"
#include "tests/engine/test_support.h"
#include "tools/standin/face_render.h"

#include <benchmark/benchmark.h>

#include <stdio.h>

namespace {

StandinTaskbar Attach(unsigned options)
{
    StandinTaskbar t = SetUpTaskbar(30);
    ShowFace(t, std::string(DIALWICK_SOURCE_DIR) + "/skins", "Herb", options, 10, 15, 0);
    return t;
}

void Finish(benchmark::State &state)
{
    state.counters["pixels/tick"] =
        benchmark::Counter((double)SimWindowPixelsWritten(), benchmark::Counter::kAvgIterations);
    FreeSkinBitmaps();
}

void TickNoChange(benchmark::State &state)
{
    Attach(OptSeconds);
    SimResetWindowPixelsWritten();
    for (auto _ : state)
        RepaintTick();
    Finish(state);
}
BENCHMARK(TickNoChange);

// Alternates between two seconds so every tick changes one digit.
void TickOneDigit(benchmark::State &state, unsigned options)
{
    Attach(options);
    SimResetWindowPixelsWritten();
    int second = 0;
    for (auto _ : state) {
        second ^= 1;
        SimSetLocalTime(2026, 12, 6, 10, 15, second);
        RepaintTick();
    }
    Finish(state);
}
BENCHMARK_CAPTURE(TickOneDigit, opaque, (unsigned)OptSeconds);
BENCHMARK_CAPTURE(TickOneDigit, transparent, (unsigned)(OptSeconds | OptTransparent));

void TickHourChange(benchmark::State &state)
{
    Attach(OptSeconds | OptDate | OptWeekday);
    SimResetWindowPixelsWritten();
    int hour = 10;
    for (auto _ : state) {
        hour = hour == 10 ? 11 : 10;
        SimSetLocalTime(2026, 12, 6, hour, 0, 0);
        RepaintTick();
    }
    Finish(state);
}
BENCHMARK(TickHourChange);

void FullPaint(benchmark::State &state)
{
    Attach(OptSeconds | OptDate | OptWeekday);
    SimResetWindowPixelsWritten();
    for (auto _ : state)
        PaintWholeClock();
    Finish(state);
}
BENCHMARK(FullPaint);

}  // namespace

BENCHMARK_MAIN();
