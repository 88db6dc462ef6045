#pragma once

#include "engine/clock_state.h"

// The column and row of a character's TEXT.BMP cell. Returns false when it has none.
bool TextGlyphCell(unsigned char c, int *column, int *row);

// Maps a character to its TEXT.BMP cell. Returns false when it has none.
bool MapTextGlyph(unsigned char c, int *sourceX, int *sourceY);

void DrawTextGlyph(HDC dest, HDC textDC, unsigned char c, int x, int y);
void DrawDigitGlyph(HDC dest, HDC numbersDC, uint8_t digit, int x, int y, HDC textDC);
void DrawColon(HDC dest, HDC numbersDC, int x, int y, HDC textDC);

// The two colon dots of a colon cell at (x, y): squares a quarter of a digit
// wide, cut from the top of the digit-0 cell, so a skin whose NUMBERS.BMP is
// less tall than that gives dots of only its rows. Painting, covering and
// invalidating all use these rectangles, so no row is left unpainted.
void ColonDots(int x, int y, RECT dots[2]);
// The column of the digit-0 cell the dots are cut from.
int ColonSourceX();
