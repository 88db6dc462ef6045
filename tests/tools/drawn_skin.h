// Skins drawn pixel by pixel for the skin checker and grid tests: every cell
// of both grids is one colour of its own on the key colour, so a colour in
// the tool's output names its cell, and a test spoils one cell at a time.
#pragma once

#include <stdint.h>
#include <string>
#include <vector>

constexpr uint32_t DrawnKey = 30 | 40 << 8 | 50 << 16;

struct Sheet {
    int Width = 0, Height = 0;
    std::vector<uint32_t> Pixels;  // COLORREF, row 0 at the top
    uint32_t &At(int x, int y) { return Pixels[(size_t)y * Width + x]; }
    void Fill(int x, int y, int w, int h, uint32_t colour);
    // Widens or heightens the sheet, the new pixels in the key colour.
    void Grow(int columns, int rows);
};

struct DrawnSkin {
    int DigitWidth, DigitHeight, TextCellWidth, TextCellHeight;
    Sheet Numbers, Text;
    // Fills the glyph area of a cell: all of it but its right column and bottom row.
    void FillDigit(int digit, uint32_t colour)
    {
        Numbers.Fill(digit * DigitWidth, 0, DigitWidth - 1, DigitHeight - 1, colour);
    }
    void FillText(int column, int row, uint32_t colour)
    {
        Text.Fill(column * TextCellWidth, row * TextCellHeight, TextCellWidth - 1, TextCellHeight - 1, colour);
    }
};

inline uint32_t DrawnDigitColour(int cell) { return 200 | (20 + 20 * cell) << 8 | 40 << 16; }
inline uint32_t DrawnTextColour(int column, int row) { return (10 + 8 * column) | (60 + 60 * row) << 8 | 220 << 16; }

// Eleven digit cells and a 30 x 3 text grid, each cell filled with its own colour.
DrawnSkin MakeDrawnSkin(int digitWidth = 8, int digitHeight = 12, int textCellWidth = 5, int textCellHeight = 7);

// Writes DIR/NAME/NUMBERS.BMP and TEXT.BMP.
void WriteDrawnSkin(const DrawnSkin &skin, const std::string &dir, const std::string &name);
