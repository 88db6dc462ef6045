// dialwick-preview as a user runs it: output files, --info, and its errors.
#include "platform/sim/sim_bmp_decode.h"
#include "tests/tools/tool_run.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string Skins() { return std::string("--skins ") + DIALWICK_SOURCE_DIR + "/skins"; }

// The DPI picks the artwork, and the taskbar grows with it unless given.
// Herb: DW 10, DH 16: face 8 x 12 + 4 = 100 x 26.
TEST(Preview, InfoReportsFaceOriginAndArtwork)
{
    const struct {
        const char *Args;
        const char *Info;
    } cases[] = {
        {"--time \"2026-12-06 10:00:00\" --client 120x30",
         "face: 100 x 26\norigin: 16, 8\ndpi: 96\nartwork: 100 %, the base\n"},
        {"--dpi 144", "face: 150 x 39\norigin: 9, 9\ndpi: 144\nartwork: 150 %, drawn for it\n"},
        {"--dpi 288", "face: 300 x 78\norigin: 18, 18\ndpi: 288\nartwork: 300 %, the base enlarged 3 times\n"},
        {"--dpi 10000", "face: 100 x 26\norigin: 6, 6\ndpi: 10000\nartwork: 100 %, the base\n"},
    };
    for (const auto &c : cases) {
        ToolRun r = RunPreview(Skins() + " --skin Herb --options seconds --info " + c.Args);
        EXPECT_EQ(r.Status, 0) << r.Out;
        EXPECT_EQ(r.Out, c.Info) << c.Args;
    }
}

TEST(Preview, WritesBmpAndPngOfTheClientArea)
{
    std::string stem = testing::TempDir() + "preview-" + std::to_string(getpid());
    const struct {
        const char *Args;
        int Width, Height;
    } cases[] = {{"--skin Ember --client 130x40", 130, 40}, {"--skin Herb --options seconds --dpi 192", 200, 52}};
    for (const auto &c : cases) {
        ASSERT_EQ(RunPreview(Skins() + " " + c.Args + " -o " + stem + ".bmp").Status, 0);
        std::vector<uint8_t> b = ReadFileBytes(stem + ".bmp");
        SimDecodedBitmap decoded;
        ASSERT_TRUE(SimDecodeBmp(b.data(), b.size(), &decoded));
        EXPECT_TRUE(decoded.Width == c.Width && decoded.Height == c.Height) << c.Args;
        remove((stem + ".bmp").c_str());
    }
    ASSERT_EQ(RunPreview(Skins() + " --skin Ember -o " + stem + ".png").Status, 0);
    std::vector<uint8_t> p = ReadFileBytes(stem + ".png");
    EXPECT_EQ(std::string(p.begin(), p.begin() + std::min<size_t>(p.size(), 4)), "\x89PNG");
    remove((stem + ".png").c_str());
}

TEST(Preview, BadArgumentsExitTwoWithUsageAndAMissingSkinOne)
{
    const struct {
        const char *Args;
        const char *Message;
    } cases[] = {
        {"--bogus", "unknown flag or missing value: --bogus"},
        {"--skin", "unknown flag or missing value: --skin"},
        {"--options seconds,sparkles", "unknown option in --options"},
        {"--time 25:00", "--time wants \"YYYY-MM-DD HH:MM:SS\""},
        {"--time \"2023-02-29 10:00:00\"", "--time: 2023-02-29 is not a date"},
        {"--time \"2024-02-30 10:00:00\"", "--time: 2024-02-30 is not a date"},
        {"--time \"2100-02-29 10:00:00\"", "--time: 2100-02-29 is not a date"},
        {"--time \"2026-04-31 10:00:00\"", "--time: 2026-04-31 is not a date"},
        {"--time \"2026-13-01 10:00:00\"", "--time: 2026-13-01 is not a date"},
        {"--time \"1600-12-31 23:59:59\"", "--time: 1600-12-31 is not a date"},
        {"--time \"2026-12-06 24:00:00\"", "--time: 24:00:00 is not a time of day"},
        {"--time \"2026-12-06 10:00:60\"", "--time: 10:00:60 is not a time of day"},
        {"--client 0x10", "--client wants WxH"},
        {"--taskbar-height -3", "--taskbar-height wants a positive number"},
        {"--dpi 96dpi", "--dpi wants a number from 0 to 100000"},
        {"", "--skins, --skin and -o are required"},
    };
    for (const auto &c : cases) {
        ToolRun r = *c.Args ? RunPreview(Skins() + " --skin Herb -o /tmp/x.png " + c.Args) : RunPreview("--skin Herb");
        EXPECT_EQ(r.Status, 2) << c.Args;
        EXPECT_EQ(r.Out.rfind(std::string("dialwick-preview: ") + c.Message, 0), 0u) << c.Args << "\n" << r.Out;
        EXPECT_NE(r.Out.find("usage: dialwick-preview"), std::string::npos) << c.Args;
    }
    // The last day of February in a leap year, and the century rule's exception.
    for (const char *day : {"2024-02-29", "2000-02-29"})
        EXPECT_EQ(RunPreview(Skins() + " --skin Herb --info --time \"" + day + " 23:59:59\"").Status, 0) << day;
    ToolRun r = RunPreview(Skins() + " --skin NoSuchSkin -o /tmp/x.png");
    EXPECT_EQ(r.Status, 1);
    EXPECT_NE(r.Out.find("NoSuchSkin\\NUMBERS.BMP"), std::string::npos) << r.Out;
    EXPECT_EQ(r.Out.find('\n'), r.Out.size() - 1) << "one line";
}

}  // namespace
