// A fixed number of repaint ticks of one kind, for callgrind to count the
// instructions of: only MeasuredTicks is collected (--toggle-collect).
// Prints the window pixels written per tick and the area of the changed cells.
#include "engine/face_layout.h"
#include "engine/paint_clock.h"
#include "engine/repaint_tick.h"
#include "engine/skin_bitmaps.h"
#include "engine/time_snapshot.h"
#include "tests/engine/test_support.h"
#include "tools/standin/face_render.h"

#include <stdio.h>
#include <string.h>

static const int Ticks = 100;
static int Second = 0;

// Kept out of line so callgrind can collect exactly this function.
__attribute__((noinline)) void MeasuredTicks(const char *kind)
{
    for (int i = 0; i < Ticks; i++) {
        if (strcmp(kind, "full") == 0) {
            PaintWholeClock();
            continue;
        }
        if (strcmp(kind, "digit") == 0)
            SimSetLocalTime(2026, 12, 6, 10, 15, Second ^= 1);
        RepaintTick();
    }
}

int main(int argc, char **argv)
{
    const char *kind = argc > 1 ? argv[1] : "none";
    if (strcmp(kind, "none") && strcmp(kind, "digit") && strcmp(kind, "full")) {
        fprintf(stderr, "usage: dialwick-tickcount none|digit|full\n");
        return 2;
    }
    StandinTaskbar t = SetUpTaskbar(30);
    snprintf(ClockState.SkinBaseDir, sizeof(ClockState.SkinBaseDir), "%s/skins", DIALWICK_SOURCE_DIR);
    LoadSkin("Herb");
    SetOptions(OptSeconds);
    SimSetLocalTime(2026, 12, 6, 10, 15, 0);
    SnapshotTime();
    SizeClock(t);
    PaintWholeClock();
    SimResetWindowPixelsWritten();
    MeasuredTicks(kind);
    int64_t cell = (int64_t)ClockState.DigitWidth * ClockState.DigitHeight;
    int64_t face = (int64_t)FaceWidth() * FaceHeight();
    printf("%s: %.1f window pixels written per tick; digit cell %lld, face %lld\n", kind,
           (double)SimWindowPixelsWritten() / Ticks, (long long)cell, (long long)face);
    FreeSkinBitmaps();
    return 0;
}
