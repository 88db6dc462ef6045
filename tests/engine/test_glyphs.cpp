// The glyph map and single-cell copies, opaque and keyed.
#include "engine/glyphs.h"
#include "engine/skin_bitmaps.h"
#include "tests/engine/test_support.h"

#include <gtest/gtest.h>

#include <string.h>
#include <string>
#include <vector>

namespace {

TEST(GlyphMap, EveryByte)
{
    ClockState.TextCellWidth = 10;
    ClockState.TextCellHeight = 15;
    const char *row1 = "0123456789\1\1:()\1'!_+\\/[]^&%.=$";
    for (int c = 0; c < 256; c++) {
        int column = -1, row = -1;
        if (c >= 'A' && c <= 'Z')
            column = c - 'A', row = 0;
        else if (c >= 'a' && c <= 'z')
            column = c - 'a', row = 0;
        else if (c == '"')
            column = 26, row = 0;
        else if (c == '@')
            column = 27, row = 0;
        else if (c >= 32 && strchr(row1, c))
            column = (int)(strchr(row1, c) - row1), row = 1;
        int x = -1, y = -1;
        bool drawable = MapTextGlyph((unsigned char)c, &x, &y);
        EXPECT_EQ(drawable, column >= 0) << "byte " << c;
        if (drawable && column >= 0) {
            EXPECT_EQ(x, column * 10) << "byte " << c;
            EXPECT_EQ(y, row * 15) << "byte " << c;
        }
    }
}

// Draws into a memory bitmap prefilled with a marker colour.
struct GlyphCanvas : ::testing::Test {
    TestSkinDir Skins;
    HDC Dest = nullptr, Numbers = nullptr, Text = nullptr;
    HBITMAP Canvas = nullptr;
    HGDIOBJ OldDest = nullptr, OldNumbers = nullptr, OldText = nullptr;
    static constexpr COLORREF Marker = RGB(250, 0, 250);

    void Load(const TestSkinShape &shape)
    {
        SimReset();
        ResetClockState();
        Skins.AddSkin("T", shape);
        snprintf(ClockState.SkinBaseDir, sizeof(ClockState.SkinBaseDir), "%s", Skins.Path.c_str());
        ASSERT_EQ(LoadSkin("T"), FlagTrue);
        Dest = CreateCompatibleDC(nullptr);
        Canvas = CreateCompatibleBitmap(Dest, 60, 40);
        OldDest = SelectObject(Dest, Canvas);
        RECT all{0, 0, 60, 40};
        HBRUSH marker = CreateSolidBrush(Marker);
        FillRect(Dest, &all, marker);
        DeleteObject(marker);
        Numbers = CreateCompatibleDC(Dest);
        OldNumbers = SelectObject(Numbers, ClockState.NumbersBitmap);
        Text = CreateCompatibleDC(Dest);
        OldText = SelectObject(Text, ClockState.TextBitmap);
    }
    void TearDown() override
    {
        SelectObject(Numbers, OldNumbers);
        SelectObject(Text, OldText);
        SelectObject(Dest, OldDest);
        DeleteDC(Numbers);
        DeleteDC(Text);
        DeleteDC(Dest);
        DeleteObject(Canvas);
        FreeSkinBitmaps();
        EXPECT_EQ(SimLiveGdiObjects(), 0);
    }
    COLORREF At(int x, int y) { return SimReadBitmapPixels(Canvas).At(x, y); }
    int Count(COLORREF c)
    {
        int n = 0;
        for (uint32_t p : SimReadBitmapPixels(Canvas).Pixels)
            n += p == c;
        return n;
    }
};

TEST_F(GlyphCanvas, OpaqueCopyTakesTheWholeCellKeyPixelsIncluded)
{
    Load(TestSkinShape());
    DrawDigitGlyph(Dest, Numbers, 7, 5, 3, Text);
    EXPECT_EQ(At(5, 3), TestKeyColor) << "the cell's key-coloured corner replaces the destination";
    EXPECT_EQ(At(6, 3), TestDigitColor(7));
    EXPECT_EQ(At(13, 16), TestDigitColor(7));
    EXPECT_EQ(At(14, 16), Marker);
    EXPECT_EQ(At(13, 17), Marker);
    EXPECT_EQ(Count(TestDigitColor(7)), 9 * 14 - 1);
}

TEST_F(GlyphCanvas, TransparentCopySkipsKeyPixels)
{
    Load(TestSkinShape());
    ClockState.TransparentClock = FlagTrue;
    DrawTextGlyph(Dest, Text, 'q', 2, 2);
    EXPECT_EQ(At(2, 2), Marker);
    EXPECT_EQ(At(3, 2), TestTextColor('Q' - 'A', 0));
    EXPECT_EQ(Count(TestTextColor('Q' - 'A', 0)), 6 * 8 - 1);
}

TEST_F(GlyphCanvas, UndrawableCharacterLeavesDestination)
{
    Load(TestSkinShape());
    for (unsigned char c : std::string(" -?\xc8"))
        DrawTextGlyph(Dest, Text, c, 0, 0);
    EXPECT_EQ(Count(Marker), 60 * 40);
}

// The colon dots are squares of a quarter of the digit width, cut from the
// zero cell's top, at a third of the width in, a third and two thirds down.
TEST_F(GlyphCanvas, ColonDots)
{
    const struct {
        int DigitWidth, DigitHeight, At;
        std::vector<POINT> Dots, Background;
    } cases[] = {
        {20, 30, 0, {{10, 10}, {14, 14}, {10, 20}, {14, 24}}, {{15, 14}, {10, 19}}},
        {7, 20, 1, {{4, 7}, {4, 14}}, {{5, 7}, {4, 8}}},
        {3, 14, 0, {}, {}},  // narrow digits give no dots
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.DigitWidth);
        TestSkinShape shape;
        shape.DigitWidth = c.DigitWidth;
        shape.DigitHeight = c.DigitHeight;
        Load(shape);
        DrawColon(Dest, Numbers, c.At, c.At, Text);
        int side = c.DigitWidth / 4;
        EXPECT_EQ(Count(TestDigitColor(0)), 2 * side * side);
        for (POINT p : c.Dots)
            EXPECT_EQ(At(p.x, p.y), TestDigitColor(0)) << p.x << "," << p.y;
        for (POINT p : c.Background)
            EXPECT_EQ(At(p.x, p.y), Marker) << p.x << "," << p.y;
        TearDown();
    }
}

TEST_F(GlyphCanvas, KeyColourInsideAGlyphIsTransparentToo)
{
    Load(TestSkinShape());
    ClockState.TransparentClock = FlagTrue;
    // Every digit cell's top-left pixel has the key colour: 10 transparent pixels in a row of digits.
    for (int d = 0; d < 5; d++)
        DrawDigitGlyph(Dest, Numbers, (uint8_t)d, d * 9, 0, Text);
    for (int d = 0; d < 5; d++)
        EXPECT_EQ(At(d * 9, 0), Marker) << d;
}

}  // namespace
