// The skins we ship, at each scale they are drawn for: complete grids, the
// key colour in place, colon dots in the zero cell, and a face in every
// option combination that fills the taskbar as the 100 % face does.
#include "engine/face_layout.h"
#include "engine/glyphs.h"
#include "engine/skin_bitmaps.h"
#include "engine/time_snapshot.h"
#include "tests/engine/test_support.h"
#include "tools/standin/face_render.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char *const ShippedSkins[] = {"Herb", "Ember", "Frost"};
// 100, 150 and 200 %.
const UINT ShippedDpis[] = {96, 144, 192};

struct Shipped : ::testing::TestWithParam<const char *> {
    int StandinObjects = 0;
    // The skin loaded for the stand-in's clock window at a DPI.
    void LoadAt(UINT dpi, int taskbarHeight = 30)
    {
        SetUpTaskbar(taskbarHeight);
        StandinObjects = SimLiveGdiObjects();
        SimSetSystemDpi(dpi);
        snprintf(ClockState.SkinBaseDir, sizeof(ClockState.SkinBaseDir), "%s/skins", DIALWICK_SOURCE_DIR);
        ASSERT_EQ(LoadSkin(GetParam()), FlagTrue);
    }
    void TearDown() override { FreeSkinBitmaps(); }
};

// Whether any pixel of the rectangle differs from the key colour.
bool Drawn(const SimPixels &p, int x0, int y0, int w, int h, uint32_t key)
{
    for (int y = y0; y < y0 + h; y++)
        for (int x = x0; x < x0 + w; x++)
            if (p.At(x, y) != key)
                return true;
    return false;
}

void ExpectCompleteArtwork()
{
    SimPixels text = SimReadBitmapPixels(ClockState.TextBitmap);
    SimPixels numbers = SimReadBitmapPixels(ClockState.NumbersBitmap);
    uint32_t key = text.At(text.Width - 1, text.Height - 1);
    int tcw = ClockState.TextCellWidth, tch = ClockState.TextCellHeight, dw = ClockState.DigitWidth;
    EXPECT_EQ(text.Width, 30 * tcw);
    EXPECT_EQ(text.Height, 3 * tch);
    EXPECT_EQ(numbers.Width, 11 * dw);
    EXPECT_GE(ClockState.DigitHeight, 12 * ClockState.ArtScale / 100) << "legible at taskbar size";
    EXPECT_GE(tch, 7 * ClockState.ArtScale / 100);

    for (int c = 1; c < 256; c++) {
        int x, y;
        bool mapped = MapTextGlyph((unsigned char)c, &x, &y);
        if (mapped) {
            EXPECT_TRUE(Drawn(text, x, y, tcw, tch, key)) << "no glyph for '" << (char)c << "'";
        }
    }
    for (int column : {28, 29})
        EXPECT_FALSE(Drawn(text, column * tcw, 0, tcw, tch, key)) << "unused letter column " << column;
    for (int column : {10, 11, 15})
        EXPECT_FALSE(Drawn(text, column * tcw, tch, tcw, tch, key)) << "unused punctuation column " << column;
    for (int d = 0; d < 10; d++)
        EXPECT_TRUE(Drawn(numbers, d * dw, 0, dw, numbers.Height, key)) << "digit " << d;
    EXPECT_FALSE(Drawn(numbers, 10 * dw, 0, dw, numbers.Height, key)) << "the eleventh cell is background";

    // The colon dots are cut from the zero cell: that patch is one colour, not the key.
    int side = dw / 4, sx = dw / 3;
    ASSERT_GT(side, 0);
    uint32_t dot = numbers.At(sx, 0);
    EXPECT_NE(dot, key);
    for (int y = 0; y < side; y++)
        for (int x = sx; x < sx + side; x++)
            EXPECT_EQ(numbers.At(x, y), dot) << x << "," << y;
}

TEST_P(Shipped, EveryCellIsDrawnAndTheKeyColourIsTheBackground)
{
    for (UINT dpi : ShippedDpis) {
        SCOPED_TRACE(dpi);
        LoadAt(dpi);
        EXPECT_EQ(ClockState.ArtScale, (int)dpi * 100 / 96);
        EXPECT_EQ(ClockState.ArtEnlargement, 1) << "drawn for the scale, not enlarged";
        ExpectCompleteArtwork();
        FreeSkinBitmaps();
    }
}

// Every face paints, and at 150 and 200 % on a taskbar as much thicker it
// is the 100 % face grown by the scale, give or take the rounding of the
// cells and gaps (an 11-pixel cell is 16 at 150 %): the face fills the
// taskbar as it does at 96 DPI.
TEST_P(Shipped, RendersInEveryOptionCombinationAtEveryScale)
{
    for (unsigned options = 0; options < 64; options++)
        for (int height : {30, 48}) {
            SIZE at96{};
            for (UINT dpi : ShippedDpis) {
                SCOPED_TRACE(FormatFaceOptions(options) + ", taskbar " + std::to_string(height) + " at 100 %, DPI " +
                             std::to_string(dpi));
                LoadAt(dpi, height * (int)dpi / 96);
                SetOptions(options);
                SimSetLocalTime(2026, 9, 30, 23, 58, 47);  // a Wednesday: the longest weekday name
                SnapshotTime();
                SizeClock(StandinTaskbar{ClockState.TrayWnd, ClockState.NotifyWnd, ClockState.ClockWnd});
                PaintWholeClock();
                SimPixels p = SimReadWindowPixels(ClockState.ClockWnd);
                SimPixels text = SimReadBitmapPixels(ClockState.TextBitmap);
                uint32_t key = text.At(text.Width - 1, text.Height - 1);
                int glyphPixels = 0;
                for (uint32_t px : p.Pixels)
                    glyphPixels += px != key && px != StandinClockColor && px != 0;
                EXPECT_GT(glyphPixels, 100 * (int)(dpi * dpi) / (96 * 96));
                if (dpi == 96)
                    at96 = SIZE{FaceWidth(), FaceHeight()};
                EXPECT_NEAR(FaceWidth() * 96.0 / dpi / at96.cx, 1.0, 0.04);
                EXPECT_NEAR(FaceHeight() * 96.0 / dpi / at96.cy, 1.0, 0.04);
                FreeSkinBitmaps();
                EXPECT_EQ(SimLiveGdiObjects(), StandinObjects) << "only the stand-in's class brushes remain";
            }
            if (HasFailure())
                return;
        }
}

INSTANTIATE_TEST_SUITE_P(Skins, Shipped, ::testing::ValuesIn(ShippedSkins));

}  // namespace
