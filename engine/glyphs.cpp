// Single cells of the skin onto a device context, opaque or keyed.
#include "engine/glyphs.h"

// Row 1 of TEXT.BMP, by column; 0 marks a column without a character.
static const char PunctuationRow[30] = {
    '0', '1',  '2', '3', '4', '5',  '6', '7', '8', '9', 0,   0,   ':', '(', ')',
    0,   '\'', '!', '_', '+', '\\', '/', '[', ']', '^', '&', '%', '.', '=', '$',
};

bool TextGlyphCell(unsigned char c, int *column, int *row)
{
    if (c >= 'A' && c <= 'Z') {
        *column = c - 'A';
        *row = 0;
        return true;
    }
    if (c >= 'a' && c <= 'z') {
        *column = c - 'a';
        *row = 0;
        return true;
    }
    if (c == '"' || c == '@') {
        *column = c == '"' ? 26 : 27;
        *row = 0;
        return true;
    }
    for (int i = 0; i < 30; i++)
        if (PunctuationRow[i] != 0 && (unsigned char)PunctuationRow[i] == c) {
            *column = i;
            *row = 1;
            return true;
        }
    return false;
}

bool MapTextGlyph(unsigned char c, int *sourceX, int *sourceY)
{
    int column, row;
    if (!TextGlyphCell(c, &column, &row))
        return false;
    *sourceX = column * ClockState.TextCellWidth;
    *sourceY = row * ClockState.TextCellHeight;
    return true;
}

// A cell outside the region being painted is skipped: a keyed copy costs
// Windows two scratch DCs and bitmaps and four copies even when clipped away.
// A keyed copy is made of two plain ones, through the mask and ink of the
// artwork when the paint made them; otherwise the key colour is read here.
static void CopyCell(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, HDC textDC)
{
    RECT cell{x, y, x + width, y + height};
    if (!RectVisible(dest, &cell))
        return;
    if (!ClockState.TransparentClock) {
        BitBlt(dest, x, y, width, height, source, sourceX, sourceY, SRCCOPY);
        return;
    }
    bool numbers = source == ClockState.NumbersDC.DC;
    const SkinDC &mask = numbers ? ClockState.NumbersMask : ClockState.TextMask;
    const SkinDC &ink = numbers ? ClockState.NumbersInk : ClockState.TextInk;
    if (source && (numbers || source == ClockState.TextDC.DC) && mask.DC && ink.DC) {
        BitBlt(dest, x, y, width, height, mask.DC, sourceX, sourceY, SRCAND);
        BitBlt(dest, x, y, width, height, ink.DC, sourceX, sourceY, SRCPAINT);
        return;
    }
    COLORREF key = GetPixel(textDC, ClockState.TextBitmapWidth - 1, ClockState.TextBitmapHeight - 1);
    TransparentBlt(dest, x, y, width, height, source, sourceX, sourceY, width, height, key);
}

void DrawTextGlyph(HDC dest, HDC textDC, unsigned char c, int x, int y)
{
    int sx, sy;
    if (!MapTextGlyph(c, &sx, &sy))
        return;
    CopyCell(dest, x, y, ClockState.TextCellWidth, ClockState.TextCellHeight, textDC, sx, sy, textDC);
}

void DrawDigitGlyph(HDC dest, HDC numbersDC, uint8_t digit, int x, int y, HDC textDC)
{
    int32_t dw = ClockState.DigitWidth;
    CopyCell(dest, x, y, dw, ClockState.DigitHeight, numbersDC, digit * dw, 0, textDC);
}

// Enlarged artwork is cut as its base was, enlarged: a patch measured on the
// enlarged cell could reach past the dot colour into the glyph's edge.
static int32_t Enlargement() { return ClockState.ArtEnlargement > 1 ? ClockState.ArtEnlargement : 1; }

static int ColonDotSide()
{
    int32_t factor = Enlargement();
    return factor * (int)((double)(ClockState.DigitWidth / factor) / 4.0);
}

int ColonSourceX()
{
    int32_t factor = Enlargement();
    return factor * (int)((double)(ClockState.DigitWidth / factor) / 3.0);
}

void ColonDots(int x, int y, RECT dots[2])
{
    int32_t dw = ClockState.DigitWidth, dh = ClockState.DigitHeight;
    int side = ColonDotSide();
    int rows = side < dh ? side : dh;
    int dx = x + (int)((double)dw / 2.0);
    int tops[2] = {y + (int)((double)dh / 3.0), y + (int)((double)(2 * dh) / 3.0)};
    for (int i = 0; i < 2; i++)
        dots[i] = RECT{dx, tops[i], dx + side, tops[i] + rows};
}

void DrawColon(HDC dest, HDC numbersDC, int x, int y, HDC textDC)
{
    RECT dots[2];
    ColonDots(x, y, dots);
    for (const RECT &d : dots)
        CopyCell(dest, d.left, d.top, d.right - d.left, d.bottom - d.top, numbersDC, ColonSourceX(), 0, textDC);
}
