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

#include "settings/context_menu.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <sys/stat.h>

static const int Ticks = 100;
static volatile int Sink;

enum TickKind { ClockOnly, NoChange, OneDigit, FullPaint };

// Kept out of line so callgrind can collect exactly this function; the kind
// is decided before the loop so the loop costs nothing of its own.
__attribute__((noinline)) void MeasuredTicks(TickKind kind)
{
    switch (kind) {
    case ClockOnly:
        for (int i = 0; i < Ticks; i++) {
            SYSTEMTIME now;
            GetLocalTime(&now);
            Sink = now.wSecond;
        }
        return;
    case NoChange:
        for (int i = 0; i < Ticks; i++)
            RepaintTick();
        return;
    case OneDigit:
        for (int i = 0; i < Ticks; i++) {
            SimAdvanceTime(1000);
            RepaintTick();
        }
        return;
    case FullPaint:
        for (int i = 0; i < Ticks; i++)
            PaintWholeClock();
        return;
    }
}

// Builds the popup menu once with the given number of skin folders.
__attribute__((noinline)) void MeasuredMenuBuild() { BuildMainMenu(); }

static int MenuBuild(int folders)
{
    SetUpTaskbar(30);
    TestSkinDir skins;
    for (int i = 0; i < folders; i++)
        mkdir((skins.Path + "/skin" + std::to_string(i)).c_str(), 0755);
    snprintf(ClockState.SkinBaseDir, sizeof(ClockState.SkinBaseDir), "%s", skins.Path.c_str());
    MeasuredMenuBuild();
    printf("menu: %d skin folders\n", folders);
    DestroyMenus();
    return 0;
}

// An hour of one-second ticks with seconds shown, across the turn of the
// hour: the pixels written per tick against a full-face repaint.
static int Hour()
{
    StandinTaskbar t = SetUpTaskbar(30);
    ShowFace(t, std::string(DIALWICK_SOURCE_DIR) + "/skins", "Herb", OptSeconds, 10, 30, 0);
    SimResetWindowPixelsWritten();
    InvalidateRect(ClockState.ClockWnd, nullptr, FALSE);
    PaintClock(ClockState.ClockWnd);
    double full = (double)SimWindowPixelsWritten();
    SimResetWindowPixelsWritten();
    for (int i = 0; i < 3600; i++) {
        SimAdvanceTime(1000);
        RepaintTick();
    }
    double perTick = (double)SimWindowPixelsWritten() / 3600;
    printf("hour: %.1f window pixels written per tick, full-face repaint %.0f: %.1f %%\n", perTick, full,
           100 * perTick / full);
    FreeSkinBitmaps();
    return 0;
}

int main(int argc, char **argv)
{
    if (argc == 3 && strcmp(argv[1], "menu") == 0)
        return MenuBuild(atoi(argv[2]));
    if (argc == 2 && strcmp(argv[1], "hour") == 0)
        return Hour();
    static const struct {
        const char *Name;
        TickKind Kind;
    } kinds[] = {{"clock", ClockOnly}, {"none", NoChange}, {"digit", OneDigit}, {"full", FullPaint}};
    const char *kind = argc > 1 ? argv[1] : "none";
    int chosen = -1;
    for (int i = 0; i < 4; i++)
        if (strcmp(kind, kinds[i].Name) == 0)
            chosen = i;
    int cellWidth = 0, cellHeight = 0;
    if (chosen < 0 || (argc == 3 && sscanf(argv[2], "%dx%d", &cellWidth, &cellHeight) != 2)) {
        fprintf(stderr, "usage: dialwick-tickcount clock|none|digit|full [DIGITWxH] | hour | menu FOLDERS\n");
        return 2;
    }
    // A taskbar tall enough that no cell is clipped away.
    StandinTaskbar t = SetUpTaskbar(cellHeight > 0 ? 2 * cellHeight + 40 : 30);
    // The shipped default skin, or a test skin with digit cells of the given size.
    TestSkinDir skins;
    if (cellWidth > 0) {
        skins.AddSkin("Sized", TestSkinShape{cellWidth, cellHeight, cellWidth * 2 / 3, cellHeight / 2});
        ShowFace(t, skins.Path, "Sized", OptSeconds, 10, 15, 0);
    } else {
        ShowFace(t, std::string(DIALWICK_SOURCE_DIR) + "/skins", "Herb", OptSeconds, 10, 15, 0);
    }
    SimResetWindowPixelsWritten();
    MeasuredTicks(kinds[chosen].Kind);
    int64_t cell = (int64_t)ClockState.DigitWidth * ClockState.DigitHeight;
    int64_t face = (int64_t)FaceWidth() * FaceHeight();
    printf("%s: %.1f window pixels written per tick; digit cell %lld, face %lld\n", kind,
           (double)SimWindowPixelsWritten() / Ticks, (long long)cell, (long long)face);
    FreeSkinBitmaps();
    return 0;
}
