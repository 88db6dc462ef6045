#pragma once

// The skin generator's stroke font, for the scales above 100 %: each glyph
// is a few strokes on a coarse grid, drawn for a glyph size with a square
// nib of a width that suits it, so every scale gets glyphs drawn on its
// own pixel grid (diagonals and rounded corners in single-pixel steps)
// rather than the 100 % glyphs enlarged.
#include <vector>

// A glyph drawn at one size: ink per pixel, row 0 at the top.
struct InkGlyph {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> ink;  // empty when the font has no such glyph
    bool At(int x, int y) const;     // false outside the glyph
};

// The size a glyph is drawn at, the width of the nib that draws it and the
// side of its dots (colon, full stop).
struct StrokeSize {
    int width;
    int height;
    int nib;
    int dot;
};

// The capital letters, digits and punctuation the clock can print.
InkGlyph StrokeTextGlyph(char c, const StrokeSize &size);

// Digits for the time row.
InkGlyph StrokeDigitGlyph(int digit, const StrokeSize &size);
