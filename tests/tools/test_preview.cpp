// dialwick-preview as a user runs it: output files, --info, and its errors.
#include "platform/sim/sim_bmp_decode.h"
#include "tests/tools/tool_run.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string Skins() { return std::string("--skins ") + DIALWICK_SOURCE_DIR + "/skins"; }

TEST(Preview, InfoReportsFaceAndOrigin)
{
    ToolRun r = RunPreview(Skins() + " --skin Herb --time \"2026-12-06 10:00:00\" --options seconds --client 120x30 --info");
    EXPECT_EQ(r.Status, 0) << r.Out;
    // Herb: DW 10, DH 16: face 8 x 12 + 4 = 100 x 26; origin (16, 8).
    EXPECT_EQ(r.Out, "face: 100 x 26\norigin: 16, 8\n");
}

TEST(Preview, WritesBmpAndPngOfTheClientArea)
{
    std::string stem = testing::TempDir() + "preview-" + std::to_string(getpid());
    std::string bmp = stem + ".bmp", png = stem + ".png";
    ASSERT_EQ(RunPreview(Skins() + " --skin Ember --client 130x40 -o " + bmp).Status, 0);
    ASSERT_EQ(RunPreview(Skins() + " --skin Ember --client 130x40 -o " + png).Status, 0);
    std::vector<uint8_t> b = ReadFileBytes(bmp), p = ReadFileBytes(png);
    SimDecodedBitmap decoded;
    ASSERT_TRUE(SimDecodeBmp(b.data(), b.size(), &decoded));
    EXPECT_EQ(decoded.Width, 130);
    EXPECT_EQ(decoded.Height, 40);
    ASSERT_GE(p.size(), 8u);
    EXPECT_EQ(std::string(p.begin() + 1, p.begin() + 4), "PNG");
}

TEST(Preview, MissingSkinNamesTheFile)
{
    ToolRun r = RunPreview(Skins() + " --skin NoSuchSkin -o /tmp/x.png");
    EXPECT_EQ(r.Status, 1);
    EXPECT_NE(r.Out.find("NoSuchSkin\\NUMBERS.BMP"), std::string::npos) << r.Out;
    EXPECT_EQ(r.Out.find('\n'), r.Out.size() - 1) << "one line";
}

TEST(Preview, BadFlagsExitTwoWithUsage)
{
    for (const char *args : {"--bogus", "--skin", "--options seconds,sparkles", "--time 25:00",
                             "--client 0x10", "--taskbar-height -3", ""}) {
        ToolRun r = RunPreview(Skins() + " --skin Herb -o /tmp/x.png " + args);
        if (std::string(args).empty())
            r = RunPreview("--skin Herb");
        EXPECT_EQ(r.Status, 2) << args;
        EXPECT_NE(r.Out.find("usage: dialwick-preview"), std::string::npos) << args;
    }
}

}  // namespace
