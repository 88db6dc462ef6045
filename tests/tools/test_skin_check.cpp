// dialwick-preview --check on skins drawn to have one fault each, on files
// the clock cannot load and on the shipped skins: the line each fault gives,
// the summary and the exit code.
#include "tests/engine/test_support.h"
#include "tests/test_data.h"
#include "tests/tools/drawn_skin.h"
#include "tests/tools/tool_run.h"
#include "tools/common/image_write.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

ToolRun Check(const std::string &skinsDir, const std::string &skin)
{
    return RunPreview("--skins '" + skinsDir + "' --skin '" + skin + "' --check");
}

// Exactly the expected findings, each the start of its "error:" or
// "warning:" line, the expected "info:" lines, the summary that counts the
// findings and exit code 1 when one is an error.
void ExpectReport(const ToolRun &r, std::vector<std::string> expected)
{
    std::vector<std::string> found, lines = Lines(r.Out);
    int errors = 0, warnings = 0;
    for (std::string line : lines) {
        for (const std::string &e : expected)
            line = line.rfind(e, 0) == 0 ? e : line;
        if (line.rfind("error:", 0) == 0 || line.rfind("warning:", 0) == 0 ||
            std::count(expected.begin(), expected.end(), line))
            found.push_back(line);
        errors += line.rfind("error:", 0) == 0;
        warnings += line.rfind("warning:", 0) == 0;
    }
    std::sort(expected.begin(), expected.end());
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, expected) << r.Out;
    EXPECT_EQ(lines.empty() ? "" : lines.back(), std::to_string(errors) + (errors == 1 ? " error, " : " errors, ") +
                                                     std::to_string(warnings) +
                                                     (warnings == 1 ? " warning" : " warnings"));
    EXPECT_EQ(r.Status, errors ? 1 : 0) << r.Out;
}

std::string ReadBytes(const std::string &path)
{
    std::vector<uint8_t> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

TEST(SkinCheck, ShippedSkinsHaveNoFindings)
{
    for (const char *skin : {"Herb", "Ember", "Frost"}) {
        SCOPED_TRACE(skin);
        ExpectReport(Check(std::string(DIALWICK_SOURCE_DIR) + "/skins", skin), {});
    }
}

DrawnSkin Scale200() { return MakeDrawnSkin(16, 24, 10, 14); }

// Each kind of finding, from a drawn skin spoiled one way and, where a row
// makes one, a 200 % folder drawn beside it: exactly these findings.
TEST(SkinCheck, EachFaultGivesItsLine)
{
    const struct {
        const char *Why;
        std::function<void(DrawnSkin &, std::optional<DrawnSkin> &)> Spoil;
        std::vector<std::string> Lines;
    } cases[] = {
        {"clean",
         [](auto &, auto &) {},
         {"info: NUMBERS.BMP 88 x 12, digit cell 8 x 12", "info: TEXT.BMP 150 x 21, text cell 5 x 7",
          "info: key colour 30, 40, 50 (R, G, B of the bottom-right pixel of TEXT.BMP)"}},
        {"pixels outside the grids",
         [](auto &s, auto &) { s.Numbers.Grow(3, 0), s.Text.Grow(4, 1); },
         {"warning: NUMBERS.BMP is 91 pixels wide, not a multiple of 11: 3 pixel columns right of the 11 cells",
          "warning: TEXT.BMP is 154 pixels wide, not a multiple of 30: 4 pixel columns right of the 30 cells",
          "warning: TEXT.BMP is 22 pixels high, not a multiple of 3: 1 pixel row below the 3 cell rows"}},
        {"a key-coloured colon patch",
         [](auto &s, auto &) { s.Numbers.Fill(2, 0, 2, 2, DrawnKey); },
         {"error: NUMBERS.BMP colon patch (2 x 2 at 2, 0 in the \"0\" cell) is all key colour: the colons"}},
        // Cells 13 wide: dots of side 3 cut at (4, 0). Key pixels just left,
        // right and below the patch do not touch it; one inside does.
        {"a hole in the colon patch",
         [](auto &s, auto &) {
             s = MakeDrawnSkin(13, 16);
             s.Numbers.At(3, 0) = s.Numbers.At(7, 0) = s.Numbers.At(6, 0) = DrawnKey;
             s.Numbers.Fill(5, 3, 2, 1, DrawnKey);
         },
         {"warning: NUMBERS.BMP colon patch (3 x 3 at 4, 0 in the \"0\" cell) has 1 of its 9 pixels in the key"}},
        {"digit cells under 4 wide",
         [](auto &s, auto &) { s = MakeDrawnSkin(3, 12); },
         {"error: NUMBERS.BMP cells are 3 pixels wide, under 4: the colon dots have side 0"}},
        // Each pair once, empty cells not as pairs; the eleventh cell is never drawn.
        {"empty and repeated digits",
         [](auto &s, auto &) {
             for (int cell : {5, 6, 7, 9, 10})
                 s.FillDigit(cell, cell < 7 ? DrawnKey : DrawnDigitColour(cell < 10 ? 1 : 3));
         },
         {"error: NUMBERS.BMP cell \"5\" is empty (all key colour): the time can't be read",
          "error: NUMBERS.BMP cell \"6\" is empty", "error: NUMBERS.BMP cell \"7\" is identical to cell \"1\"",
          "error: NUMBERS.BMP cell \"9\" is identical to cell \"1\""}},
        // K empty, Q and 0 as O, @ as ", $ as %; unused cells may repeat anything.
        {"empty and repeated text cells",
         [](auto &s, auto &) {
             const int cells[][4] = {{10, 0, -1, 0}, {16, 0, 14, 0}, {0, 1, 14, 0},  {27, 0, 26, 0},
                                     {29, 1, 26, 1}, {28, 0, 0, 0},  {15, 1, -1, 0}, {3, 2, 1, 0}};
             for (const auto &c : cells)
                 s.FillText(c[0], c[1], c[2] < 0 ? DrawnKey : DrawnTextColour(c[2], c[3]));
         },
         {"warning: TEXT.BMP cell \"K\" is empty (all key colour)",
          "warning: TEXT.BMP cell \"Q\" is identical to cell \"O\"",
          "warning: TEXT.BMP cell \"@\" is identical to cell '\"'",
          "warning: TEXT.BMP cell \"0\" is identical to cell \"O\"",
          "warning: TEXT.BMP cell \"$\" is identical to cell \"%\""}},
        // One pixel inside the ink of "8", two of "B" and of the text grid's
        // "7"; not the counters of "3" and "4", a notch of "2", punctuation.
        {"pin-holes",
         [](auto &s, auto &) {
             s.Numbers.At(8 * 8 + 3, 5) = s.Numbers.At(4 * 8 + 2, 3) = s.Numbers.At(4 * 8 + 3, 4) = DrawnKey;
             s.Numbers.At(2 * 8 + 6, 5) = DrawnKey;
             s.Numbers.Fill(3 * 8 + 2, 4, 2, 2, DrawnKey);
             s.Text.At(1 * 5 + 1, 1) = s.Text.At(1 * 5 + 2, 4) = DrawnKey;
             s.Text.At(7 * 5 + 2, 7 + 3) = s.Text.At(26 * 5 + 2, 7 + 3) = DrawnKey;
         },
         {"warning: NUMBERS.BMP cell \"8\" has 1 pin-hole", "warning: TEXT.BMP cell \"B\" has 2 pin-holes",
          "warning: TEXT.BMP cell \"7\" has 1 pin-hole"}},
        {"bitmaps too small for their cells",
         [](auto &s, auto &) {
             s.Numbers = Sheet{10, 12, std::vector<uint32_t>(120, DrawnDigitColour(0))};
             s.Text = Sheet{29, 2, std::vector<uint32_t>(58, DrawnKey)};
         },
         {"info: NUMBERS.BMP 10 x 12, digit cell 0 x 12", "info: TEXT.BMP 29 x 2, text cell 0 x 0",
          "error: NUMBERS.BMP is 10 pixels wide, fewer than its 11 cells: no digit can be drawn",
          "error: TEXT.BMP is 29 pixels wide, fewer than its 30 cells: no text can be drawn",
          "error: TEXT.BMP is 2 pixels high, fewer than its 3 cell rows: no text can be drawn"}},
        // A scale folder is checked against the base: the clock passes over
        // artwork whose cells are not the base's grown by the scale.
        {"a scale drawn right",
         [](auto &, auto &b) { b = Scale200(); },
         {"info: 200/NUMBERS.BMP 176 x 24, digit cell 16 x 24"}},
        {"scale cells not grown",
         [](auto &, auto &b) { b = MakeDrawnSkin(17, 24, 10, 14); },
         {"error: 200/NUMBERS.BMP digit cell 17 x 24 is not the base's 8 x 12 grown to 200 %: the clock passes"}},
        {"another key colour",
         [](auto &, auto &b) { b = Scale200(), b->Text.At(299, 41) = 0x0000FF; },
         {"error: 200/TEXT.BMP key colour 255, 0, 0 is not the base's 30, 40, 50: the face's background changes"}},
        {"a digit missing at a scale",
         [](auto &, auto &b) { b = Scale200(), b->FillDigit(3, DrawnKey); },
         {"error: 200/NUMBERS.BMP cell \"3\" is empty", "error: digits \"3\" have no glyph at 200 %"}},
        {"letters missing at a scale",
         [](auto &, auto &b) { b = Scale200(), b->FillText(16, 0, DrawnKey), b->FillText(27, 0, DrawnKey); },
         {"warning: 200/TEXT.BMP cell \"Q\" is empty", "warning: 200/TEXT.BMP cell \"@\" is empty",
          "warning: characters \"Q\", \"@\" have no glyph at 200 %: they show at one scale and not at the other"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Why);
        TestSkinDir skins;
        DrawnSkin base = MakeDrawnSkin();
        std::optional<DrawnSkin> scale;
        c.Spoil(base, scale);
        WriteDrawnSkin(base, skins.Path, "Drawn");
        if (scale)
            WriteDrawnSkin(*scale, skins.Path, "Drawn/200");
        ExpectReport(Check(skins.Path, "Drawn"), c.Lines);
    }
}

// Files the clock cannot load, each as one bitmap of a drawn skin (or the
// folder, or a scale folder): the one error it gives.
TEST(SkinCheck, FilesTheClockCannotLoad)
{
    ASSERT_TRUE(HaveTestData("bmpsuite"));
    // A header claiming 60000 x 60000 pixels of 24 bits in a file of 60 bytes.
    std::string rgb24 = ReadBytes(TestDataPath("bmpsuite/g/rgb24.bmp")), huge = rgb24.substr(0, 54) + std::string(6, 0);
    ASSERT_GE(rgb24.size(), 4000u);
    huge[18] = huge[22] = (char)(60000 & 0xFF);
    huge[19] = huge[23] = (char)(60000 >> 8);
    uint32_t pixels[4] = {};
    const char *refused = "error: NUMBERS.BMP is a bitmap the clock's loader refuses";
    struct Case {
        const char *File;   // under the skin folder; "" for no skin folder at all
        std::string Bytes;  // "-" removes the file, "dir" makes it a folder, "png" a PNG
        std::vector<std::string> Lines;
    };
    std::vector<Case> cases = {
        {"", "-", {"error: skin folder"}},
        {"TEXT.BMP", "-", {"error: TEXT.BMP is missing"}},
        {"TEXT.BMP", "", {"error: TEXT.BMP is not a bitmap file"}},
        {"NUMBERS.BMP", "png", {"error: NUMBERS.BMP is not a bitmap file"}},
        {"TEXT.BMP", "not a picture\n", {"error: TEXT.BMP is not a bitmap file"}},
        {"TEXT.BMP", "dir", {"error: TEXT.BMP is a folder, not a file"}},
        {"175",
         "a file",
         {"error: 175/NUMBERS.BMP cannot be read: its scale folder is a file",
          "error: 175/TEXT.BMP cannot be read: its scale folder is a file"}},
        {"110/NUMBERS.BMP", "", {"warning: folder 110 is not a scale the clock looks for"}},
        {"NUMBERS.BMP", huge, {refused}},
        {"NUMBERS.BMP", rgb24.substr(0, 4000), {refused}},
    };
    for (const char *bad : {"reallybig", "shortfile", "badbitssize", "badrle"})
        cases.push_back({"NUMBERS.BMP", ReadBytes(TestDataPath(std::string("bmpsuite/b/") + bad + ".bmp")), {refused}});
    for (const auto &c : cases) {
        SCOPED_TRACE(c.File + (" " + c.Bytes.substr(0, 20)));
        TestSkinDir skins;
        std::string folder = skins.Path + "/Drawn/";
        if (*c.File)
            WriteDrawnSkin(MakeDrawnSkin(), skins.Path, "Drawn");
        if (c.Bytes == "png")
            ASSERT_TRUE(WritePng((folder + c.File).c_str(), 2, 2, pixels));
        else if (c.Bytes == "dir" || c.Bytes == "-")
            skins.Remove(std::string("Drawn/") + c.File);
        else
            skins.WriteFile(std::string("Drawn/") + c.File, c.Bytes);
        if (c.Bytes == "dir")
            mkdir((folder + c.File).c_str(), 0755);
        std::vector<std::string> lines = c.Lines;
        if (!*c.File)
            lines[0] = "error: skin folder " + skins.Path + "/Drawn is missing";
        ExpectReport(Check(skins.Path, "Drawn"), lines);
    }
}

// Skin authors check on Linux what Windows will load: names in any case.
TEST(SkinCheck, NamesAreFoundInAnyCaseAndASkinIsWanted)
{
    TestSkinDir skins;
    WriteDrawnSkin(MakeDrawnSkin(), skins.Path, "Odd");
    ASSERT_EQ(rename((skins.Path + "/Odd/NUMBERS.BMP").c_str(), (skins.Path + "/Odd/numbers.bmp").c_str()), 0);
    ToolRun r = Check(skins.Path, "odd");
    EXPECT_EQ(r.Status, 0) << r.Out;
    EXPECT_EQ(RunPreview("--skins '" + skins.Path + "' --skin odd --info").Status, 0);
    r = RunPreview("--skins /tmp --check");
    EXPECT_EQ(r.Status, 2);
    EXPECT_NE(r.Out.find("--check and --grid want --skins and --skin"), std::string::npos) << r.Out;
}

}  // namespace
