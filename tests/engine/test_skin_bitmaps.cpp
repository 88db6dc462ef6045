// Skins refused: a failed reload, names and paths too long, failing calls.
#include "engine/skin_bitmaps.h"
#include "tests/engine/test_support.h"

#include <gtest/gtest.h>

#include <string.h>
#include <string>

namespace {

struct SkinTest : ::testing::Test {
    TestSkinDir Skins;
    void SetUp() override
    {
        SimReset();
        ResetClockState();
        snprintf(ClockState.SkinBaseDir, sizeof(ClockState.SkinBaseDir), "%s", Skins.Path.c_str());
    }
    void TearDown() override { FreeSkinBitmaps(); }
};

TEST_F(SkinTest, FailedReloadOfCurrentSkinEmptiesName)
{
    Skins.AddSkin("Herb");
    ASSERT_EQ(LoadSkin("Herb"), FlagTrue);
    Skins.Remove("Herb/NUMBERS.BMP");
    EXPECT_EQ(LoadSkin("Herb"), 0);
    EXPECT_STREQ(ClockState.CurrentSkinName, "");
}

TEST_F(SkinTest, OverlongNamesAndPathsAreRefused)
{
    std::string longName(200, 'n');
    EXPECT_EQ(LoadSkin(longName.c_str()), 0);
    std::string fits(199, 'n');
    EXPECT_EQ(LoadSkin(fits.c_str()), 0) << "the composed path exceeds 259 characters";
    EXPECT_EQ(strlen(ClockState.CurrentSkinName), 0u);

    // A base directory that fills the path buffer leaves no room for any skin.
    memset(ClockState.SkinBaseDir, 'd', PathSize - 1);
    ClockState.SkinBaseDir[PathSize - 1] = 0;
    EXPECT_EQ(LoadSkin("Herb"), 0);
    EXPECT_EQ(SimLiveGdiObjects(), 0);
}

TEST_F(SkinTest, FailingPlatformCallsNeverLeak)
{
    Skins.AddSkin("Herb");
    for (const char *call : {"LoadImageA", "GetObjectA"})
        for (int n = 1; n <= 2; n++) {
            SimFailCall(call, n);
            EXPECT_EQ(LoadSkin("Herb"), 0) << call << " #" << n;
            EXPECT_EQ(SimLiveGdiObjects(), 0) << call << " #" << n;
            SimClearFailures();
        }
    EXPECT_EQ(LoadSkin("Herb"), FlagTrue);
}

}  // namespace
