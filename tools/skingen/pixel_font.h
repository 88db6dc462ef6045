#pragma once

// The skin generator's own pixel font. Each glyph is a table of text rows,
// '#' for ink and '.' for blank, top row first.
struct Glyph {
    int width;
    int height;
    const char *const *rows;  // null when the font has no such glyph
};

// 5 x 7 glyphs for the text grid: capital letters, digits and the
// punctuation the clock can print.
Glyph TextGlyph(char c);

// Digits for the time row, 8 x 15 with 2-pixel strokes.
Glyph SmallDigitGlyph(int digit);

// Digits for the time row, 10 x 20 with 3-pixel strokes.
Glyph LargeDigitGlyph(int digit);

// Ink test that treats everything outside the glyph as blank.
bool GlyphInk(const Glyph &glyph, int x, int y);
