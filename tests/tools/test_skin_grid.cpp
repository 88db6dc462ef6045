// dialwick-preview --grid: the picture of a skin drawn with one colour per
// cell, found again by its colours: cells in a regular grid of lines, each
// labelled with its character, the cells the clock never draws marked.
#include "platform/sim/sim_bmp_decode.h"
#include "tests/engine/test_support.h"
#include "tests/tools/drawn_skin.h"
#include "tests/tools/tool_run.h"
#include "tools/skingen/pixel_font.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const uint32_t GridLine = 255 | 0 << 8 | 255 << 16;

struct Box {
    int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1, Count = 0;
};

// Where ink(x, y) holds in [x0, x1) x [y0, y1).
template <class Ink>
Box BoxOf(int x0, int x1, int y0, int y1, Ink ink)
{
    Box b;
    for (int y = y0; y < y1; y++)
        for (int x = x0; x < x1; x++)
            if (ink(x, y)) {
                b = {std::min(b.Left, x), std::min(b.Top, y), std::max(b.Right, x), std::max(b.Bottom, y), b.Count + 1};
            }
    return b;
}

uint32_t At(const SimDecodedBitmap &p, int x, int y) { return p.Pixels[(size_t)y * p.Width + x]; }

Box Find(const SimDecodedBitmap &p, uint32_t colour)
{
    return BoxOf(0, p.Width, 0, p.Height, [&](int x, int y) { return At(p, x, y) == colour; });
}

// The label above a cell whose picture spans x0 to x0 + width - 1 and starts
// at y0: the marks on the paper above it, up to the grid line above or a
// wider gap than a glyph has inside, are the pixel font's glyph of the
// character, enlarged evenly.
void ExpectLabel(const SimDecodedBitmap &p, int x0, int width, int y0, char c)
{
    auto ink = [&](int x, int y) { return At(p, x, y) != At(p, 0, 0) && At(p, x, y) != GridLine; };
    int top = y0, bottom = -1;
    for (int y = y0 - 1; y >= 0 && At(p, x0 + width / 2, y) != GridLine && (bottom < 0 || y >= top - 4); y--)
        if (BoxOf(x0, x0 + width, y, y + 1, ink).Count) {
            top = y;
            bottom = bottom < 0 ? y : bottom;
        }
    ASSERT_GE(bottom, 0) << "no label above " << c;
    Glyph g = TextGlyph(c);
    Box label = BoxOf(x0, x0 + width, top, bottom + 1, ink);
    Box glyph = BoxOf(0, g.width, 0, g.height, [&](int x, int y) { return GlyphInk(g, x, y); });
    int scale = (label.Bottom - label.Top + 1) / (glyph.Bottom - glyph.Top + 1);
    ASSERT_GE(scale, 1) << c;
    ASSERT_EQ(label.Bottom - label.Top + 1, (glyph.Bottom - glyph.Top + 1) * scale) << c;
    ASSERT_EQ(label.Right - label.Left + 1, (glyph.Right - glyph.Left + 1) * scale) << c;
    for (int y = label.Top; y <= label.Bottom; y++)
        for (int x = label.Left; x <= label.Right; x++)
            EXPECT_EQ(ink(x, y),
                      GlyphInk(g, glyph.Left + (x - label.Left) / scale, glyph.Top + (y - label.Top) / scale))
                << "label " << c << " at " << x - label.Left << "," << y - label.Top;
}

struct SkinGrid : ::testing::Test {
    TestSkinDir Skins;
    DrawnSkin Skin = MakeDrawnSkin();
    SimDecodedBitmap Picture;
    // Writes Skin as "Drawn", without the file named, and draws its grid into file.
    ToolRun Draw(const std::string &extra = "", const std::string &file = "grid.bmp", const char *without = "")
    {
        WriteDrawnSkin(Skin, Skins.Path, "Drawn");
        if (*without)
            Skins.Remove(std::string("Drawn/") + without);
        ToolRun r =
            RunPreview("--skins " + Skins.Path + " --skin Drawn --grid " + Skins.Path + "/" + file + " " + extra);
        std::vector<uint8_t> bytes = ReadFileBytes(Skins.Path + "/" + file);
        Picture = SimDecodedBitmap();
        SimDecodeBmp(bytes.data(), bytes.size(), &Picture);
        return r;
    }
};

// Each cell enlarged evenly one pixel inside its grid lines, the lines
// running on to the grid's ends, its character's label above it.
TEST_F(SkinGrid, CellsSitInAGridOfLinesUnderTheirLabels)
{
    ASSERT_EQ(Draw().Status, 0);
    const struct {
        char Character;
        int Column, Row;  // row -1: the digits
    } cells[] = {{'0', 0, -1}, {'4', 4, -1}, {'9', 9, -1}, {'A', 0, 0},  {'Q', 16, 0},
                 {'Z', 25, 0}, {'@', 27, 0}, {'0', 0, 1},  {':', 12, 1}, {'$', 29, 1}};
    for (const auto &c : cells) {
        SCOPED_TRACE(c.Character);
        bool digit = c.Row < 0;
        auto colour = [&](int column) { return digit ? DrawnDigitColour(column) : DrawnTextColour(column, c.Row); };
        int w = digit ? Skin.DigitWidth : Skin.TextCellWidth, h = digit ? Skin.DigitHeight : Skin.TextCellHeight;
        Box first = Find(Picture, colour(0)), second = Find(Picture, colour(1)), box = Find(Picture, colour(c.Column));
        int stride = second.Left - first.Left, scale = stride / w, gridLeft = first.Left - 1, columns = digit ? 11 : 30;
        ASSERT_GT(box.Count, 0);
        ASSERT_GE(scale, 2) << "enlarged";
        ASSERT_EQ(stride, scale * w);
        EXPECT_EQ(box.Left, gridLeft + c.Column * stride + 1);
        EXPECT_EQ(box.Right - box.Left + 1, (w - 1) * scale - 1);
        EXPECT_EQ(box.Bottom - box.Top + 1, (h - 1) * scale - 1);
        if (c.Column > 0) {  // the colon patch is outlined on the "0"
            EXPECT_EQ(box.Count, ((w - 1) * scale - 1) * ((h - 1) * scale - 1));
        }
        for (int y : {box.Top - 1, box.Top + 3, box.Top - 1 + h * scale})
            for (int k : {0, c.Column, columns})
                EXPECT_EQ(At(Picture, gridLeft + k * stride, y), GridLine) << "line " << k << " at y " << y;
        EXPECT_TRUE(At(Picture, box.Left, box.Top - 1) == GridLine &&
                    At(Picture, box.Left, box.Top - 1 + h * scale) == GridLine);
        ExpectLabel(Picture, gridLeft + c.Column * stride, stride, box.Top - 1, c.Character);
    }
}

// Each scale folder's bitmaps below the base's, enlarged as much, so the
// cells of a colour are the base cell and the scale's larger one.
TEST_F(SkinGrid, ScaleFoldersAreDrawnBelowTheBaseAsEnlarged)
{
    WriteDrawnSkin(Skin, Skins.Path, "Drawn");  // the folder for the scale's
    WriteDrawnSkin(MakeDrawnSkin(16, 24, 10, 14), Skins.Path, "Drawn/200");
    ASSERT_EQ(Draw().Status, 0);
    Box zero = Find(Picture, DrawnDigitColour(0)), one = Find(Picture, DrawnDigitColour(1));
    int scale = (one.Left - zero.Left) / Skin.DigitWidth;
    ASSERT_GE(scale, 2);
    auto area = [&](int w, int h) { return ((w - 1) * scale - 1) * ((h - 1) * scale - 1); };
    Box seven = Find(Picture, DrawnDigitColour(7)), q = Find(Picture, DrawnTextColour(16, 0));
    EXPECT_EQ(seven.Count, area(8, 12) + area(16, 24));
    EXPECT_GT(seven.Bottom - seven.Top + 1, 24 * scale) << "two cells, one above the other";
    EXPECT_EQ(q.Count, area(5, 7) + area(10, 14));
    EXPECT_GT(q.Top, seven.Top) << "the base's text comes before the 200 % digits";
}

// Marked over: the eleventh digit cell, the columns right of the 11 cells,
// the unused letters and punctuation and the whole third text row.
TEST_F(SkinGrid, CellsTheClockNeverDrawsAreMarked)
{
    Skin.Numbers.Grow(4, 0);
    Skin.Numbers.Fill(88, 0, 4, 12, DrawnTextColour(0, 2));
    ASSERT_EQ(Draw().Status, 0);
    EXPECT_TRUE(Find(Picture, DrawnDigitColour(9)).Count > 0 && Find(Picture, DrawnTextColour(29, 1)).Count > 0);
    for (uint32_t colour :
         {DrawnDigitColour(10), DrawnTextColour(28, 0), DrawnTextColour(29, 0), DrawnTextColour(10, 1),
          DrawnTextColour(11, 1), DrawnTextColour(15, 1), DrawnTextColour(0, 2), DrawnTextColour(1, 2),
          DrawnTextColour(14, 2), DrawnTextColour(29, 2)})
        EXPECT_EQ(Find(Picture, colour).Count, 0) << std::hex << colour;
}

// A missing bitmap, and one wider than a picture may be even unenlarged: one
// line, no picture.
TEST_F(SkinGrid, RefusesWhatItCannotDraw)
{
    ToolRun r = Draw("", "none.bmp", "TEXT.BMP");
    EXPECT_TRUE(r.Status == 1 && r.Out == "dialwick-preview: cannot draw the grid: TEXT.BMP is missing\n") << r.Out;
    Skin.Numbers = Sheet{5000, 2, std::vector<uint32_t>(10000, DrawnDigitColour(0))};
    r = Draw("", "none.bmp");
    EXPECT_TRUE(r.Status == 1 && r.Out.rfind("dialwick-preview: cannot draw the grid: it would be", 0) == 0) << r.Out;
    EXPECT_EQ(r.Out.find('\n'), r.Out.size() - 1) << "one line";
    EXPECT_TRUE(ReadFileBytes(Skins.Path + "/none.bmp").empty());
}

}  // namespace
