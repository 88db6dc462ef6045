// The skins we ship, at each scale they are drawn for: the artwork drawn for
// the scale is chosen, and a face in every option combination fills the
// taskbar as the 100 % face does. (The skin checker's test holds their grids.)
#include "engine/face_layout.h"
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
                EXPECT_EQ(ClockState.ArtScale, (int)dpi * 100 / 96);
                EXPECT_EQ(ClockState.ArtEnlargement, 1) << "drawn for the scale, not enlarged";
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
