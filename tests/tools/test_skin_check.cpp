// dialwick-preview --check on skins drawn to have one fault each, on broken
// files, and on the shipped skins: the line each fault gives, the summary
// and the exit code.
#include "tests/engine/test_support.h"
#include "tests/test_data.h"
#include "tests/tools/drawn_skin.h"
#include "tests/tools/tool_run.h"
#include "tools/common/image_write.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <stdio.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

ToolRun Check(const std::string &skinsDir, const std::string &skin)
{
    return RunCommand(std::string(DIALWICK_PREVIEW) + " --skins '" + skinsDir + "' --skin '" + skin +
                      "' --check 2>&1");
}

std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    size_t start = 0, end;
    while ((end = text.find('\n', start)) != std::string::npos) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The lines that start with the prefix.
std::vector<std::string> LinesStarting(const ToolRun &r, const std::string &prefix)
{
    std::vector<std::string> found;
    for (const std::string &line : Lines(r.Out))
        if (line.compare(0, prefix.size(), prefix) == 0)
            found.push_back(line);
    return found;
}

int Findings(const ToolRun &r) { return (int)(LinesStarting(r, "error:").size() + LinesStarting(r, "warning:").size()); }

std::string Summary(const ToolRun &r)
{
    std::vector<std::string> lines = Lines(r.Out);
    return lines.empty() ? "" : lines.back();
}

std::string ReadBytes(const std::string &path)
{
    std::string bytes;
    FILE *f = fopen(path.c_str(), "rb");
    if (!f)
        return bytes;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof(buf), f)) > 0)
        bytes.append(buf, n);
    fclose(f);
    return bytes;
}

std::string Suite(const std::string &file) { return TestDataPath("bmpsuite/" + file); }

struct SkinCheck : ::testing::Test {
    TestSkinDir Skins;
    DrawnSkin Skin = MakeDrawnSkin();
    ToolRun Run(const std::string &name = "Drawn")
    {
        WriteDrawnSkin(Skin, Skins.Path, name);
        return Check(Skins.Path, name);
    }
};

#define EXPECT_LINE(run, line)                                                                                     \
    EXPECT_EQ(LinesStarting(run, line).size(), 1u) << "no single line starting: " << (line) << "\n" << (run).Out

TEST(SkinCheckShipped, ShippedSkinsHaveNoFindings)
{
    for (const char *skin : {"Herb", "Ember", "Frost"}) {
        ToolRun r = Check(std::string(DIALWICK_SOURCE_DIR) + "/skins", skin);
        EXPECT_EQ(r.Status, 0) << skin << "\n" << r.Out;
        EXPECT_EQ(Findings(r), 0) << skin << "\n" << r.Out;
        EXPECT_EQ(Summary(r), "0 errors, 0 warnings") << skin;
    }
    ToolRun herb = Check(std::string(DIALWICK_SOURCE_DIR) + "/skins", "Herb");
    EXPECT_LINE(herb, "info: NUMBERS.BMP 110 x 16, digit cell 10 x 16");
    EXPECT_LINE(herb, "info: TEXT.BMP 180 x 24, text cell 6 x 8");
    EXPECT_LINE(herb, "info: key colour 22, 44, 30 (R, G, B of the bottom-right pixel of TEXT.BMP)");
}

TEST_F(SkinCheck, CleanSkinGivesItsMetricsAndKeyColourOnly)
{
    ToolRun r = Run();
    EXPECT_EQ(r.Status, 0);
    EXPECT_EQ(r.Out, "info: NUMBERS.BMP 88 x 12, digit cell 8 x 12\n"
                     "info: TEXT.BMP 150 x 21, text cell 5 x 7\n"
                     "info: key colour 30, 40, 50 (R, G, B of the bottom-right pixel of TEXT.BMP)\n"
                     "0 errors, 0 warnings\n");
}

// A scale folder is checked as the base is, and against it: the clock passes
// over artwork whose cells are not the base's grown by the scale, and a face
// keeps its background and its glyphs at every scale.
TEST_F(SkinCheck, ScaleFoldersAreCheckedAgainstTheBase)
{
    const struct {
        const char *Why;
        void (*Spoil)(DrawnSkin &);
        const char *Line;
        int Status;
    } cases[] = {
        {"drawn right", [](DrawnSkin &) {}, "info: 200/NUMBERS.BMP 176 x 24, digit cell 16 x 24", 0},
        {"cells not grown", [](DrawnSkin &s) { s = MakeDrawnSkin(17, 24, 10, 14); },
         "error: 200/NUMBERS.BMP digit cell 17 x 24 is not the base's 8 x 12 grown to 200 %: the clock passes the "
         "200 % artwork over",
         1},
        {"another key colour", [](DrawnSkin &s) { s.Text.At(s.Text.Width - 1, s.Text.Height - 1) = 0x0000FF; },
         "error: 200/TEXT.BMP key colour 255, 0, 0 is not the base's 30, 40, 50: the face's background changes with "
         "the scale",
         1},
        {"a digit missing", [](DrawnSkin &s) { s.FillDigit(3, DrawnKey); },
         "error: digits \"3\" have no glyph at 200 %: the time can't be read at every scale", 1},
        {"letters missing",
         [](DrawnSkin &s) {
             s.FillText(16, 0, DrawnKey);
             s.FillText(27, 0, DrawnKey);
         },
         "warning: characters \"Q\", \"@\" have no glyph at 200 %: they show at one scale and not at the other", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Why);
        TestSkinDir skins;
        WriteDrawnSkin(Skin, skins.Path, "Drawn");
        DrawnSkin big = MakeDrawnSkin(16, 24, 10, 14);
        c.Spoil(big);
        WriteDrawnSkin(big, skins.Path, "Drawn/200");
        ToolRun r = Check(skins.Path, "Drawn");
        EXPECT_EQ(r.Status, c.Status) << r.Out;
        EXPECT_LINE(r, c.Line);
    }
    // Folders the clock does not read as scales.
    Skins.WriteFile("Drawn/175", "a file");
    Skins.WriteFile("Drawn/110/NUMBERS.BMP", "");
    ToolRun r = Run();
    EXPECT_EQ(r.Status, 1);
    EXPECT_LINE(r, "error: 175/NUMBERS.BMP cannot be read: its scale folder is a file");
    EXPECT_LINE(r, "warning: folder 110 is not a scale the clock looks for");
}

TEST_F(SkinCheck, PixelsOutsideTheGridsAreCounted)
{
    Skin.Numbers.Grow(3, 0);
    Skin.Text.Grow(4, 1);
    ToolRun r = Run();
    EXPECT_EQ(r.Status, 0);
    EXPECT_LINE(r, "info: NUMBERS.BMP 91 x 12, digit cell 8 x 12");
    EXPECT_LINE(r, "warning: NUMBERS.BMP is 91 pixels wide, not a multiple of 11: 3 pixel columns right of the 11 "
                   "cells are never drawn");
    EXPECT_LINE(r, "warning: TEXT.BMP is 154 pixels wide, not a multiple of 30: 4 pixel columns right of the 30 "
                   "cells are never drawn");
    EXPECT_LINE(r, "warning: TEXT.BMP is 22 pixels high, not a multiple of 3: 1 pixel row below the 3 cell rows is "
                   "never drawn");
    EXPECT_EQ(Summary(r), "0 errors, 3 warnings");
}

TEST_F(SkinCheck, KeyColouredColonPatchIsAnError)
{
    Skin.Numbers.Fill(2, 0, 2, 2, DrawnKey);
    ToolRun r = Run();
    EXPECT_EQ(r.Status, 1);
    EXPECT_LINE(r, "error: NUMBERS.BMP colon patch (2 x 2 at 2, 0 in the \"0\" cell) is all key colour: the colons "
                   "are invisible");
    EXPECT_EQ(Summary(r), "1 error, 0 warnings");
}

TEST_F(SkinCheck, ColonPatchIsWhereTheClockCutsTheDots)
{
    // Digit cells 13 wide: dots of side 3 cut at (4, 0). Key pixels just
    // left, right and below the patch do not touch it; one inside does.
    Skin = MakeDrawnSkin(13, 16);
    Skin.Numbers.At(3, 0) = DrawnKey;
    Skin.Numbers.At(7, 0) = DrawnKey;
    Skin.Numbers.Fill(5, 3, 2, 1, DrawnKey);
    Skin.Numbers.At(6, 0) = DrawnKey;
    ToolRun r = Run();
    EXPECT_EQ(r.Status, 0);
    EXPECT_LINE(r, "warning: NUMBERS.BMP colon patch (3 x 3 at 4, 0 in the \"0\" cell) has 1 of its 9 pixels in the "
                   "key colour: the colon dots have holes");
    EXPECT_EQ(Summary(r), "0 errors, 1 warning");
}

TEST_F(SkinCheck, DigitCellsUnderFourWideHaveNoColons)
{
    Skin = MakeDrawnSkin(3, 12);
    ToolRun r = Run();
    EXPECT_EQ(r.Status, 1);
    EXPECT_LINE(r, "error: NUMBERS.BMP cells are 3 pixels wide, under 4: the colon dots have side 0");
    EXPECT_EQ(Summary(r), "1 error, 0 warnings");
}

TEST_F(SkinCheck, EmptyAndRepeatedDigitsAreErrors)
{
    Skin.FillDigit(5, DrawnKey);
    Skin.FillDigit(6, DrawnKey);
    Skin.FillDigit(7, DrawnDigitColour(1));
    Skin.FillDigit(9, DrawnDigitColour(1));
    Skin.FillDigit(10, DrawnDigitColour(3)); // the eleventh cell is never drawn
    ToolRun r = Run();
    EXPECT_EQ(r.Status, 1);
    EXPECT_LINE(r, "error: NUMBERS.BMP cell \"5\" is empty (all key colour): the time can't be read");
    EXPECT_LINE(r, "error: NUMBERS.BMP cell \"6\" is empty (all key colour)");
    EXPECT_LINE(r, "error: NUMBERS.BMP cell \"7\" is identical to cell \"1\": the time can't be read");
    EXPECT_LINE(r, "error: NUMBERS.BMP cell \"9\" is identical to cell \"1\"");
    EXPECT_EQ(Findings(r), 4) << "each pair once, empty cells not as pairs:\n" << r.Out;
    EXPECT_EQ(Summary(r), "4 errors, 0 warnings");
}

TEST_F(SkinCheck, EmptyAndRepeatedTextCellsAreWarnings)
{
    Skin.FillText(10, 0, DrawnKey);                    // K
    Skin.FillText(16, 0, DrawnTextColour(14, 0));      // Q as O
    Skin.FillText(0, 1, DrawnTextColour(14, 0));       // 0 as O
    Skin.FillText(27, 0, DrawnTextColour(26, 0));      // @ as "
    Skin.FillText(29, 1, DrawnTextColour(26, 1));      // $ as %
    Skin.FillText(28, 0, DrawnTextColour(0, 0));       // unused cells may repeat anything
    Skin.FillText(15, 1, DrawnKey);
    Skin.FillText(3, 2, DrawnTextColour(1, 0));
    ToolRun r = Run();
    EXPECT_EQ(r.Status, 0);
    EXPECT_LINE(r, "warning: TEXT.BMP cell \"K\" is empty (all key colour)");
    EXPECT_LINE(r, "warning: TEXT.BMP cell \"Q\" is identical to cell \"O\"");
    EXPECT_LINE(r, "warning: TEXT.BMP cell \"0\" is identical to cell \"O\"");
    EXPECT_LINE(r, "warning: TEXT.BMP cell \"@\" is identical to cell '\"'");
    EXPECT_LINE(r, "warning: TEXT.BMP cell \"$\" is identical to cell \"%\"");
    EXPECT_EQ(Summary(r), "0 errors, 5 warnings");
}

TEST_F(SkinCheck, PinHolesButNotCountersOrBackground)
{
    Skin.Numbers.At(8 * 8 + 3, 5) = DrawnKey;           // "8": one pixel inside its ink
    Skin.Numbers.Fill(3 * 8 + 2, 4, 2, 2, DrawnKey);    // "3": a counter
    Skin.Numbers.At(4 * 8 + 2, 3) = DrawnKey;           // "4": a counter running diagonally
    Skin.Numbers.At(4 * 8 + 3, 4) = DrawnKey;
    Skin.Numbers.At(2 * 8 + 6, 5) = DrawnKey;           // "2": a notch open to the background
    Skin.Text.At(1 * 5 + 1, 1) = DrawnKey;              // "B": two
    Skin.Text.At(1 * 5 + 2, 4) = DrawnKey;
    Skin.Text.At(7 * 5 + 2, 7 + 3) = DrawnKey;          // digit "7" of the text grid
    Skin.Text.At(26 * 5 + 2, 7 + 3) = DrawnKey;         // "%": punctuation is not looked at
    ToolRun r = Run();
    EXPECT_EQ(r.Status, 0);
    EXPECT_LINE(r, "warning: NUMBERS.BMP cell \"8\" has 1 pin-hole");
    EXPECT_LINE(r, "warning: TEXT.BMP cell \"B\" has 2 pin-holes");
    EXPECT_LINE(r, "warning: TEXT.BMP cell \"7\" has 1 pin-hole");
    EXPECT_EQ(Summary(r), "0 errors, 3 warnings");
}

TEST_F(SkinCheck, MissingFolderAndFilesAreNamed)
{
    ToolRun none = Check(Skins.Path, "Nowhere");
    EXPECT_EQ(none.Status, 1);
    EXPECT_EQ(none.Out, "error: skin folder " + Skins.Path + "/Nowhere is missing\n1 error, 0 warnings\n");

    WriteDrawnSkin(Skin, Skins.Path, "NoText");
    Skins.Remove("NoText/TEXT.BMP");
    ToolRun r = Check(Skins.Path, "NoText");
    EXPECT_EQ(r.Status, 1);
    EXPECT_LINE(r, "info: NUMBERS.BMP 88 x 12, digit cell 8 x 12");
    EXPECT_LINE(r, "error: TEXT.BMP is missing");
    EXPECT_LINE(r, "info: NUMBERS.BMP colon patch, empty cells and pin-holes not checked");
    EXPECT_EQ(Summary(r), "1 error, 0 warnings");
}

// Skin authors check on Linux what Windows will load: folder and file names
// in any case.
TEST_F(SkinCheck, NamesAreFoundInAnyCase)
{
    WriteDrawnSkin(Skin, Skins.Path, "Odd");
    ASSERT_EQ(rename((Skins.Path + "/Odd/NUMBERS.BMP").c_str(), (Skins.Path + "/Odd/numbers.bmp").c_str()), 0);
    ToolRun r = Check(Skins.Path, "odd");
    EXPECT_EQ(r.Status, 0) << r.Out;
    EXPECT_EQ(Summary(r), "0 errors, 0 warnings") << r.Out;
    EXPECT_EQ(RunPreview("--skins '" + Skins.Path + "' --skin odd --info").Status, 0);
}

TEST_F(SkinCheck, FilesThatAreNoBitmapsAreNamed)
{
    WriteDrawnSkin(Skin, Skins.Path, "Odd");
    uint32_t pixels[4] = {0, 0, 0, 0};
    ASSERT_TRUE(WritePng((Skins.Path + "/Odd/NUMBERS.BMP").c_str(), 2, 2, pixels));
    Skins.WriteFile("Odd/TEXT.BMP", "not a picture\n");
    ToolRun r = Check(Skins.Path, "Odd");
    EXPECT_EQ(r.Status, 1);
    EXPECT_LINE(r, "error: NUMBERS.BMP is not a bitmap file");
    EXPECT_LINE(r, "error: TEXT.BMP is not a bitmap file");
    EXPECT_EQ(Summary(r), "2 errors, 0 warnings");

    Skins.WriteFile("Odd/TEXT.BMP", "");
    EXPECT_LINE(Check(Skins.Path, "Odd"), "error: TEXT.BMP is not a bitmap file");
    Skins.Remove("Odd/TEXT.BMP");
    mkdir((Skins.Path + "/Odd/TEXT.BMP").c_str(), 0755);
    EXPECT_LINE(Check(Skins.Path, "Odd"), "error: TEXT.BMP is a folder, not a file");
}

TEST_F(SkinCheck, DamagedAndHugeBitmapsAreReportedNotLoaded)
{
    ASSERT_TRUE(HaveTestData("bmpsuite"));
    // A header claiming 60000 x 60000 pixels of 24 bits in a file of 60 bytes.
    std::string rgb24 = ReadBytes(Suite("g/rgb24.bmp"));
    ASSERT_GE(rgb24.size(), 4000u) << Suite("g/rgb24.bmp");
    std::string huge = rgb24.substr(0, 54) + std::string(6, '\0');
    for (int i = 0; i < 2; i++) {
        huge[18 + 4 * i] = (char)(60000 & 0xFF);
        huge[19 + 4 * i] = (char)(60000 >> 8);
    }
    std::vector<std::pair<std::string, std::string>> files = {
        {"huge header", huge},
        {"b/reallybig.bmp", ReadBytes(Suite("b/reallybig.bmp"))},
        {"b/shortfile.bmp", ReadBytes(Suite("b/shortfile.bmp"))},
        {"b/badbitssize.bmp", ReadBytes(Suite("b/badbitssize.bmp"))},
        {"b/badrle.bmp", ReadBytes(Suite("b/badrle.bmp"))},
        {"cut in half", rgb24.substr(0, 4000)},
    };
    WriteDrawnSkin(Skin, Skins.Path, "Bad");
    for (const auto &file : files) {
        ASSERT_GT(file.second.size(), 50u) << file.first;
        Skins.WriteFile("Bad/NUMBERS.BMP", file.second);
        ToolRun r = Check(Skins.Path, "Bad");
        EXPECT_EQ(r.Status, 1) << file.first;
        EXPECT_LINE(r, "error: NUMBERS.BMP is a bitmap the clock's loader refuses");
        EXPECT_EQ(Summary(r), "1 error, 0 warnings") << file.first;
    }
}

// Every file of the bitmap suite as both bitmaps of a skin: a report ending
// in the summary and exit code 0 or 1, whatever the file holds.
TEST_F(SkinCheck, EveryFileOfTheBitmapSuiteGetsAReport)
{
    ASSERT_TRUE(HaveTestData("bmpsuite"));
    int files = 0;
    for (const char *folder : {"g", "q", "b", "x"}) {
        std::string dir = Suite(folder);
        DIR *d = opendir(dir.c_str());
        ASSERT_NE(d, nullptr) << dir;
        while (dirent *e = readdir(d)) {
            std::string name = e->d_name;
            if (name.size() < 4 || name.substr(name.size() - 4) != ".bmp")
                continue;
            std::string bytes = ReadBytes(dir + "/" + name);
            Skins.WriteFile("Suite/NUMBERS.BMP", bytes);
            Skins.WriteFile("Suite/TEXT.BMP", bytes);
            ToolRun r = Check(Skins.Path, "Suite");
            std::string what = std::string(folder) + "/" + name;
            EXPECT_TRUE(r.Status == 0 || r.Status == 1) << what << "\n" << r.Out;
            EXPECT_NE(Summary(r).find(" error"), std::string::npos) << what << "\n" << r.Out;
            if (std::string(folder) == "b") {
                EXPECT_EQ(r.Status, 1) << what << "\n" << r.Out;
            }
            files++;
        }
        closedir(d);
    }
    EXPECT_GT(files, 80);
}

TEST_F(SkinCheck, BitmapsTooSmallForTheirCellsAreErrors)
{
    Skin.Numbers = Sheet{10, 12, std::vector<uint32_t>(120, DrawnDigitColour(0))};
    Skin.Text = Sheet{29, 2, std::vector<uint32_t>(58, DrawnKey)};
    ToolRun r = Run();
    EXPECT_EQ(r.Status, 1);
    EXPECT_LINE(r, "info: NUMBERS.BMP 10 x 12, digit cell 0 x 12");
    EXPECT_LINE(r, "info: TEXT.BMP 29 x 2, text cell 0 x 0");
    EXPECT_LINE(r, "error: NUMBERS.BMP is 10 pixels wide, fewer than its 11 cells: no digit can be drawn");
    EXPECT_LINE(r, "error: TEXT.BMP is 29 pixels wide, fewer than its 30 cells: no text can be drawn");
    EXPECT_LINE(r, "error: TEXT.BMP is 2 pixels high, fewer than its 3 cell rows: no text can be drawn");
    EXPECT_EQ(Summary(r), "3 errors, 0 warnings");
}

TEST(SkinCheckUsage, CheckWantsASkin)
{
    ToolRun r = RunCommand(std::string(DIALWICK_PREVIEW) + " --skins /tmp --check 2>&1");
    EXPECT_EQ(r.Status, 2);
    EXPECT_NE(r.Out.find("--check and --grid want --skins and --skin"), std::string::npos) << r.Out;
}

}  // namespace
