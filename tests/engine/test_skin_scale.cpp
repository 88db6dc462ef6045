// The artwork a skin shows at each DPI: drawn for the scale, the base
// enlarged by a whole factor, or the base; and skins refused: a failed
// reload, names and paths too long, failing calls.
#include "engine/face_layout.h"
#include "engine/skin_bitmaps.h"
#include "tests/engine/test_support.h"
#include "tools/common/image_write.h"
#include "tools/standin/face_options.h"

#include <gtest/gtest.h>

#include <string.h>
#include <string>
#include <vector>

namespace {

// Loads a skin with the stand-in's clock window at the given DPIs.
void LoadAtDpi(const std::string &skins, const char *skin, UINT systemDpi, UINT monitorDpi = 0, bool api = true)
{
    StandinTaskbar taskbar = SetUpTaskbar();
    SimSetSystemDpi(systemDpi);
    if (monitorDpi)
        SimSetMonitorDpi(taskbar.Tray, monitorDpi);
    SimSetDpiApiAvailable(api);
    snprintf(ClockState.SkinBaseDir, sizeof(ClockState.SkinBaseDir), "%s", skins.c_str());
    ASSERT_EQ(LoadSkin(skin), FlagTrue);
}

TEST(SkinScale, EachDpiGetsTheLargestArtworkNotAboveIt)
{
    TestSkinDir skins;
    skins.AddSkin("Plain");
    skins.AddSkin("Drawn");
    skins.AddSkin("Drawn/150", TestSkinShape{14, 21, 9, 12});
    skins.AddSkin("Drawn/125", TestSkinShape{11, 18, 8, 10});
    skins.AddSkin("Drawn/225", TestSkinShape{20, 32, 14, 18});
    const struct {
        const char *Skin;
        UINT SystemDpi, MonitorDpi;
        bool Api;
        int Scale, Enlargement, DigitWidth, TextCellHeight;
    } cases[] = {
        {"Plain", 96, 0, true, 100, 1, 9, 8},
        {"Plain", 0, 0, true, 100, 1, 9, 8},
        {"Plain", 1, 0, true, 100, 1, 9, 8},
        {"Plain", 10000, 0, true, 100, 1, 9, 8},
        {"Plain", 481, 0, true, 100, 1, 9, 8},
        {"Plain", 144, 0, true, 100, 1, 9, 8},  // 1.5 is no whole factor
        {"Plain", 192, 0, true, 200, 2, 18, 16},
        {"Plain", 288, 0, true, 300, 3, 27, 24},
        {"Plain", 480, 0, true, 500, 5, 45, 40},
        {"Drawn", 96, 0, true, 100, 1, 9, 8},
        {"Drawn", 120, 0, true, 125, 1, 11, 10},
        {"Drawn", 144, 0, true, 150, 1, 14, 12},
        {"Drawn", 168, 0, true, 150, 1, 14, 12},  // no 175 % artwork
        {"Drawn", 192, 0, true, 200, 2, 18, 16},  // the base enlarged beats smaller drawn artwork
        {"Drawn", 216, 0, true, 225, 1, 20, 18},
        {"Drawn", 96, 144, true, 150, 1, 14, 12},  // the monitor's DPI, not the system's
        {"Drawn", 96, 144, false, 100, 1, 9, 8},   // before GetDpiForWindow: the system DPI
        {"Drawn", 192, 144, false, 200, 2, 18, 16},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.Skin) + " at system DPI " + std::to_string(c.SystemDpi) + ", monitor " +
                     std::to_string(c.MonitorDpi) + (c.Api ? "" : " without GetDpiForWindow"));
        LoadAtDpi(skins.Path, c.Skin, c.SystemDpi, c.MonitorDpi, c.Api);
        EXPECT_EQ(ClockState.ArtScale, c.Scale);
        EXPECT_EQ(ClockState.ArtEnlargement, c.Enlargement);
        EXPECT_EQ(ClockState.DigitWidth, c.DigitWidth);
        EXPECT_EQ(ClockState.TextCellHeight, c.TextCellHeight);
        EXPECT_EQ(ClockState.SkinDpi, c.Api && c.MonitorDpi ? c.MonitorDpi : c.SystemDpi);
        EXPECT_EQ(SimLiveObjects(SimBitmaps), 2);
        EXPECT_EQ(SimLiveObjects(SimDCs), 0);
        FreeSkinBitmaps();
    }
}

void ExpectBlocks(const SimPixels &big, const SimPixels &base, int factor)
{
    ASSERT_EQ(big.Width, base.Width * factor);
    ASSERT_EQ(big.Height, base.Height * factor);
    int wrong = 0;
    for (int y = 0; y < big.Height; y++)
        for (int x = 0; x < big.Width; x++)
            wrong += big.At(x, y) != base.At(x / factor, y / factor);
    EXPECT_EQ(wrong, 0);
}

// With cells whose halves, thirds and quarters are whole at both scales, and
// every face size even, each distance of the face doubles exactly: the face
// at 192 DPI on a taskbar twice as thick is the 96 DPI face, pixel for pixel,
// each pixel a 2 x 2 block.
TEST(SkinScale, TheFaceAtTwiceTheDpiIsTheFaceEnlarged)
{
    TestSkinDir skins;
    skins.AddSkin("Even", TestSkinShape{8, 12, 6, 8});
    for (unsigned options = 0; options < 64; options++)
        for (int height : {30, 48}) {
            SCOPED_TRACE(FormatFaceOptions(options) + ", taskbar " + std::to_string(height));
            SimPixels faces[2];
            for (int factor : {1, 2}) {
                StandinTaskbar taskbar = SetUpTaskbar(height * factor);
                SimSetSystemDpi(96 * factor);
                ShowFace(taskbar, skins.Path, "Even", options, 23, 58, 47);
                faces[factor - 1] = SimReadWindowPixels(taskbar.Clock);
                FreeSkinBitmaps();
            }
            ExpectBlocks(faces[1], faces[0], 2);
            if (HasFailure())
                return;
        }
}

void WriteSolid(const std::string &path, int width, int height)
{
    std::vector<uint32_t> pixels((size_t)width * height, RGB(90, 90, 90));
    pixels.back() = TestKeyColor;
    ASSERT_TRUE(WriteBmp24(path.c_str(), width, height, pixels.data()));
}

TEST(SkinScale, BadScaleArtworkIsPassedOver)
{
    const struct {
        const char *Why;
        UINT Dpi;
        void (*Spoil)(TestSkinDir &);
        int Scale;
    } cases[] = {
        {"digit cells not grown by the scale", 144,
         [](TestSkinDir &d) {
             d.AddSkin("Bad/150", {16, 21, 9, 12});
         },
         100},
        {"text cells not grown by the scale", 144,
         [](TestSkinDir &d) {
             d.AddSkin("Bad/150", {14, 21, 9, 15});
         },
         100},
        {"a damaged NUMBERS.BMP", 144,
         [](TestSkinDir &d) {
             d.AddSkin("Bad/150", {14, 21, 9, 12});
             d.WriteFile("Bad/150/NUMBERS.BMP", "BM and no more");
         },
         100},
        {"200 % artwork drawn at 100 %", 192, [](TestSkinDir &d) { d.AddSkin("Bad/200"); }, 200},
        {"a face of 65,536 pixels and more when enlarged", 192,
         [](TestSkinDir &d) { WriteSolid(d.Path + "/Bad/NUMBERS.BMP", 11 * 4100, 3); }, 100},
        {"a face 65,536 pixels tall when enlarged, the date and weekday rows counted", 192,
         [](TestSkinDir &d) { WriteSolid(d.Path + "/Bad/NUMBERS.BMP", 11, 32740); }, 100},
        // Three rows of text cells a third of TEXT.BMP high each: too tall
        // enlarged, and just short enough.
        {"text rows too tall when enlarged", 192,
         [](TestSkinDir &d) { WriteSolid(d.Path + "/Bad/TEXT.BMP", 30, 32760); }, 100},
        {"text rows that fit when enlarged", 192,
         [](TestSkinDir &d) { WriteSolid(d.Path + "/Bad/TEXT.BMP", 30, 30000); }, 200},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Why);
        TestSkinDir skins;
        skins.AddSkin("Bad");
        c.Spoil(skins);
        LoadAtDpi(skins.Path, "Bad", c.Dpi);
        EXPECT_EQ(ClockState.ArtScale, c.Scale);
        EXPECT_EQ(SimLiveObjects(SimBitmaps), 2);
        EXPECT_EQ(SimLiveObjects(SimDCs), 0);
        FreeSkinBitmaps();
    }
}

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
    // Enlarged at 200 %, each bitmap the enlargement makes failing in turn:
    // the base is shown, and nothing made on the way is left.
    for (int n = 1; n <= 4; n++) {
        FreeSkinBitmaps();
        LoadAtDpi(Skins.Path, "Herb", 192);
        EXPECT_EQ(ClockState.ArtScale, 200);
        FreeSkinBitmaps();
        SimFailCall("CreateCompatibleBitmap", n);
        EXPECT_EQ(LoadSkin("Herb"), FlagTrue);
        EXPECT_EQ(ClockState.ArtScale, 100) << "CreateCompatibleBitmap #" << n;
        EXPECT_EQ(SimLiveObjects(SimBitmaps), 2) << "CreateCompatibleBitmap #" << n;
        SimClearFailures();
    }
}

}  // namespace
