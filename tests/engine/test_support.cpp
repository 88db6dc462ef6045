#include "tests/engine/test_support.h"

#include "engine/face_layout.h"
#include "engine/paint_clock.h"
#include "engine/skin_bitmaps.h"
#include "engine/time_snapshot.h"
#include "tools/common/image_write.h"
#include "tools/standin/face_render.h"

#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <sys/stat.h>
#include <vector>

COLORREF TestDigitColor(int digit) { return RGB(200, 20 + 20 * digit, 40); }
COLORREF TestTextColor(int column, int row) { return RGB(10 + 8 * column, 120 + 50 * row, 220); }

static void WriteGrid(const std::string &path, int columns, int rows, int cellWidth, int cellHeight,
                      COLORREF (*color)(int column, int row), int usedRows)
{
    int w = columns * cellWidth, h = rows * cellHeight;
    std::vector<uint32_t> pixels((size_t)w * h, TestKeyColor);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            int column = x / cellWidth, row = y / cellHeight;
            bool cornerPixel = x % cellWidth == 0 && y % cellHeight == 0;
            if (row < usedRows && !cornerPixel)
                pixels[(size_t)y * w + x] = color(column, row);
            else if (row >= usedRows && (x < w - 1 || y < h - 1))
                pixels[(size_t)y * w + x] = TestUnusedColor;
        }
    if (!WriteBmp24(path.c_str(), w, h, pixels.data()))
        abort();
}

static COLORREF DigitCellColor(int column, int) { return TestDigitColor(column); }

TestSkinDir::TestSkinDir()
{
    char pattern[] = "/tmp/dialwick-skins-XXXXXX";
    if (!mkdtemp(pattern))
        abort();
    Path = pattern;
}

TestSkinDir::~TestSkinDir()
{
    std::string command = "rm -rf '" + Path + "'";
    if (system(command.c_str()) != 0)
        fprintf(stderr, "cannot remove %s\n", Path.c_str());
}

void TestSkinDir::AddSkin(const std::string &name, const TestSkinShape &shape)
{
    std::string dir = Path + "/" + name;
    mkdir(dir.c_str(), 0755);
    WriteGrid(dir + "/NUMBERS.BMP", 11, 1, shape.DigitWidth, shape.DigitHeight, DigitCellColor, 1);
    WriteGrid(dir + "/TEXT.BMP", 30, 3, shape.TextCellWidth, shape.TextCellHeight, TestTextColor, 2);
}

void TestSkinDir::WriteFile(const std::string &relative, const std::string &bytes)
{
    std::string path = Path + "/" + relative;
    std::string dir = path.substr(0, path.rfind('/'));
    mkdir(dir.c_str(), 0755);
    FILE *f = fopen(path.c_str(), "wb");
    if (!f)
        abort();
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

void TestSkinDir::Remove(const std::string &relative) { ::remove((Path + "/" + relative).c_str()); }

StandinTaskbar SetUpTaskbar(int taskbarHeight, bool vertical, StandinMode mode)
{
    SimReset();
    ResetClockState();
    RegisterStandinClasses(nullptr);
    StandinLayout layout;
    layout.TaskbarHeight = taskbarHeight;
    layout.Vertical = vertical;
    layout.Mode = mode;
    StandinTaskbar t = CreateStandinTaskbar(nullptr, layout);
    AdoptStandinTaskbar(t);
    SimPumpMessages();
    return t;
}

void SetOptions(unsigned options) { SetOptionFlags(options); }

void SizeClock(const StandinTaskbar &taskbar, int width, int height)
{
    PlaceStandinClock(taskbar, width ? width : FaceWidth(), height ? height : FaceHeight());
    SimPumpMessages();
}

void PaintWholeClock() { RepaintWholeFace(ClockState.ClockWnd, TRUE); }

void ShowFace(const StandinTaskbar &taskbar, const std::string &skinsDir, const char *skin, unsigned options, int hour,
              int minute, int second)
{
    snprintf(ClockState.SkinBaseDir, sizeof(ClockState.SkinBaseDir), "%s", skinsDir.c_str());
    LoadSkin(skin);
    SetOptions(options);
    SimSetLocalTime(2026, 12, 6, hour, minute, second);
    SnapshotTime();
    SizeClock(taskbar);
    PaintWholeClock();
}
