// Shared set-up for the engine tests: a fresh simulated Windows with the
// stand-in taskbar, the engine attached to it, and skins made for tests.
#pragma once

#include "engine/clock_state.h"
#include "platform/sim/sim_control.h"
#include "tools/standin/standin_windows.h"

#include <string>

// Cell sizes of a test skin.
struct TestSkinShape {
    int DigitWidth = 9;
    int DigitHeight = 14;
    int TextCellWidth = 6;
    int TextCellHeight = 8;
};

// Key colour of every test skin; no cell pixel uses it except each cell's
// top-left pixel, so transparent and opaque copies differ visibly.
constexpr COLORREF TestKeyColor = RGB(1, 2, 3);
// Unused rows have their own colour but for the bitmap's bottom-right pixel,
// which alone gives the key colour.
constexpr COLORREF TestUnusedColor = RGB(77, 77, 77);
// The colour of digit cell n, and of text cell (column, row).
COLORREF TestDigitColor(int digit);
COLORREF TestTextColor(int column, int row);

// A temporary folder holding skins; removed with the fixture.
struct TestSkinDir {
    std::string Path;
    TestSkinDir();
    ~TestSkinDir();
    // Writes name/NUMBERS.BMP and name/TEXT.BMP with one colour per cell.
    void AddSkin(const std::string &name, const TestSkinShape &shape = TestSkinShape());
    void WriteFile(const std::string &relative, const std::string &bytes);
    void Remove(const std::string &relative);
};

// Resets the simulation and the engine, creates the stand-in taskbar with the
// given height and points ClockState at it, as the library does on attach.
StandinTaskbar SetUpTaskbar(int taskbarHeight = 30, bool vertical = false, StandinMode mode = StandinClassic);

// Sets the six option flags from a mask of FaceOption bits.
void SetOptions(unsigned options);

// Gives the clock window the face's size, or the given client size.
void SizeClock(const StandinTaskbar &taskbar, int width = 0, int height = 0);

// Invalidates the whole clock with erasing and paints it with PaintClock.
void PaintWholeClock();

// Loads a skin from a folder of skins, sets the options and the time of
// 2026-12-06, takes a snapshot, sizes the clock to the face and paints it.
void ShowFace(const StandinTaskbar &taskbar, const std::string &skinsDir, const char *skin, unsigned options, int hour,
              int minute, int second);
