// Loading, rejecting and releasing skins.
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

// A bitmap of the given size, one colour, as a BMP file.
std::string SolidBmp(int w, int h, BYTE r = 9, BYTE g = 9, BYTE b = 9)
{
    int stride = (w * 3 + 3) & ~3;
    int size = 54 + stride * h;
    std::string f(size, '\0');
    auto put32 = [&](int at, uint32_t v) { memcpy(&f[at], &v, 4); };
    auto put16 = [&](int at, uint16_t v) { memcpy(&f[at], &v, 2); };
    f[0] = 'B';
    f[1] = 'M';
    put32(2, size);
    put32(10, 54);
    put32(14, 40);
    put32(18, w);
    put32(22, h);
    put16(26, 1);
    put16(28, 24);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            f[54 + y * stride + x * 3] = (char)b;
            f[54 + y * stride + x * 3 + 1] = (char)g;
            f[54 + y * stride + x * 3 + 2] = (char)r;
        }
    return f;
}

// Cells are an eleventh of NUMBERS.BMP's width and a thirtieth and a third of
// TEXT.BMP's, truncated.
TEST_F(SkinTest, MetricsComeFromBothBitmaps)
{
    const struct {
        int NumbersW, NumbersH, TextW, TextH;
        int DigitWidth, DigitHeight, TextCellWidth, TextCellHeight;
    } cases[] = {
        {220, 30, 300, 45, 20, 30, 10, 15},
        {230, 30, 301, 47, 20, 30, 10, 15},
        {10, 5, 29, 2, 0, 5, 0, 0},  // too narrow for a cell, and still loaded
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.NumbersW);
        Skins.WriteFile("S/NUMBERS.BMP", SolidBmp(c.NumbersW, c.NumbersH));
        Skins.WriteFile("S/TEXT.BMP", SolidBmp(c.TextW, c.TextH, 1, 2, 3));
        EXPECT_EQ(LoadSkin("S"), FlagTrue);
        EXPECT_EQ(ClockState.SkinLoaded, FlagTrue);
        EXPECT_EQ(ClockState.DigitWidth, c.DigitWidth);
        EXPECT_EQ(ClockState.DigitHeight, c.DigitHeight);
        EXPECT_EQ(ClockState.TextCellWidth, c.TextCellWidth);
        EXPECT_EQ(ClockState.TextCellHeight, c.TextCellHeight);
        EXPECT_EQ(ClockState.TextBitmapWidth, c.TextW);
        EXPECT_EQ(ClockState.TextBitmapHeight, c.TextH);
        EXPECT_STREQ(ClockState.CurrentSkinName, "S");
        EXPECT_EQ(SimLiveObjects(SimBitmaps), 2);
    }
}

TEST_F(SkinTest, NullNameChangesNothing)
{
    Skins.AddSkin("Herb");
    ASSERT_EQ(LoadSkin("Herb"), FlagTrue);
    HBITMAP numbers = ClockState.NumbersBitmap;
    EXPECT_EQ(LoadSkin(nullptr), 0);
    EXPECT_EQ(ClockState.SkinLoaded, FlagTrue);
    EXPECT_EQ(ClockState.NumbersBitmap, numbers);
    EXPECT_STREQ(ClockState.CurrentSkinName, "Herb");
}

TEST_F(SkinTest, MissingTextKeepsOldPairAndLeavesNewMetrics)
{
    Skins.AddSkin("Herb");
    TestSkinShape big;
    big.DigitWidth = 15;
    big.DigitHeight = 25;
    Skins.AddSkin("Half", big);
    Skins.Remove("Half/TEXT.BMP");
    ASSERT_EQ(LoadSkin("Herb"), FlagTrue);
    HBITMAP numbers = ClockState.NumbersBitmap, text = ClockState.TextBitmap;

    EXPECT_EQ(LoadSkin("Half"), 0);
    EXPECT_EQ(ClockState.SkinLoaded, 0);
    EXPECT_EQ(ClockState.DigitWidth, 15) << "the rejected NUMBERS.BMP leaves its metrics";
    EXPECT_EQ(ClockState.DigitHeight, 25);
    EXPECT_EQ(ClockState.NumbersBitmap, numbers) << "the previous pair is still held";
    EXPECT_EQ(ClockState.TextBitmap, text);
    EXPECT_STREQ(ClockState.CurrentSkinName, "Herb") << "another name's failure keeps the current name";
    EXPECT_EQ(SimLiveObjects(SimBitmaps), 2) << "the new numbers bitmap was deleted";
}

TEST_F(SkinTest, MissingNumbersIsRejectedWithTextMetrics)
{
    TestSkinShape shape;
    shape.TextCellWidth = 8;
    shape.TextCellHeight = 11;
    Skins.AddSkin("NoNumbers", shape);
    Skins.Remove("NoNumbers/NUMBERS.BMP");
    EXPECT_EQ(LoadSkin("NoNumbers"), 0);
    EXPECT_EQ(ClockState.TextCellWidth, 8);
    EXPECT_EQ(ClockState.TextCellHeight, 11);
    EXPECT_EQ(SimLiveObjects(SimBitmaps), 0);
}

TEST_F(SkinTest, FailedReloadOfCurrentSkinEmptiesName)
{
    Skins.AddSkin("Herb");
    ASSERT_EQ(LoadSkin("Herb"), FlagTrue);
    Skins.Remove("Herb/NUMBERS.BMP");
    EXPECT_EQ(LoadSkin("Herb"), 0);
    EXPECT_STREQ(ClockState.CurrentSkinName, "");
}

TEST_F(SkinTest, NameComparisonIsCaseSensitive)
{
    Skins.AddSkin("Herb");
    ASSERT_EQ(LoadSkin("Herb"), FlagTrue);
    EXPECT_EQ(LoadSkin("HERB-missing"), 0);
    EXPECT_EQ(LoadSkin("herb"), FlagTrue) << "Windows finds the folder and its files in any case";
    EXPECT_STREQ(ClockState.CurrentSkinName, "herb");
    Skins.Remove("Herb/TEXT.BMP");
    EXPECT_EQ(LoadSkin("HERB"), 0);
    EXPECT_STREQ(ClockState.CurrentSkinName, "herb") << "a failed load of a name differing in case only";
}

TEST_F(SkinTest, ReloadingTheSameSkinReplacesThePair)
{
    Skins.AddSkin("Herb");
    ASSERT_EQ(LoadSkin("Herb"), FlagTrue);
    HBITMAP numbers = ClockState.NumbersBitmap;
    ASSERT_EQ(LoadSkin("Herb"), FlagTrue);
    EXPECT_NE(ClockState.NumbersBitmap, numbers);
    EXPECT_EQ(SimLiveObjects(SimBitmaps), 2);
    EXPECT_STREQ(ClockState.CurrentSkinName, "Herb");
}

TEST_F(SkinTest, FreeReleasesBothAndKeepsTheRest)
{
    Skins.AddSkin("Herb");
    ASSERT_EQ(LoadSkin("Herb"), FlagTrue);
    FreeSkinBitmaps();
    EXPECT_EQ(ClockState.NumbersBitmap, nullptr);
    EXPECT_EQ(ClockState.TextBitmap, nullptr);
    EXPECT_EQ(ClockState.SkinLoaded, FlagTrue);
    EXPECT_STREQ(ClockState.CurrentSkinName, "Herb");
    EXPECT_EQ(SimLiveGdiObjects(), 0);
    FreeSkinBitmaps();
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

TEST_F(SkinTest, CorruptFilesAreRejectedCleanly)
{
    Skins.AddSkin("Bad");
    std::string good = SolidBmp(99, 14);
    const std::string corrupt[] = {
        "",
        "BM",
        good.substr(0, 60),
        std::string("XM") + good.substr(2),
        [&] { std::string s = good; int32_t w = 100000; memcpy(&s[18], &w, 4); return s; }(),
        [&] { std::string s = good; int32_t h = -100000; memcpy(&s[22], &h, 4); return s; }(),
    };
    for (const std::string &bytes : corrupt) {
        Skins.WriteFile("Bad/NUMBERS.BMP", bytes);
        EXPECT_EQ(LoadSkin("Bad"), 0) << bytes.size();
        EXPECT_EQ(SimLiveGdiObjects(), 0);
    }
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
