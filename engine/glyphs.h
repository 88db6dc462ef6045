#pragma once

#include "engine/clock_state.h"

// The column and row of a character's TEXT.BMP cell. Returns false when it has none.
bool TextGlyphCell(unsigned char c, int *column, int *row);

// Maps a character to its TEXT.BMP cell. Returns false when it has none.
bool MapTextGlyph(unsigned char c, int *sourceX, int *sourceY);

void DrawTextGlyph(HDC dest, HDC textDC, unsigned char c, int x, int y);
void DrawDigitGlyph(HDC dest, HDC numbersDC, uint8_t digit, int x, int y, HDC textDC);
// The colon's two dots: squares of one side, cut from the top of the 0 cell
// at SourceX, drawn at X and at UpperY and LowerY for a colon cell at (x, y).
struct ColonDots {
    int Side, SourceX, X, UpperY, LowerY;
};
ColonDots ColonDotsAt(int x, int y);
void DrawColon(HDC dest, HDC numbersDC, int x, int y, HDC textDC);
