#include "tests/tools/drawn_skin.h"

#include "tools/common/image_write.h"

#include <stdlib.h>
#include <sys/stat.h>

static uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | g << 8 | b << 16; }

uint32_t DrawnDigitColour(int cell) { return Rgb(200, 20 + 20 * cell, 40); }
uint32_t DrawnTextColour(int column, int row) { return Rgb(10 + 8 * column, 60 + 60 * row, 220); }

void Sheet::Fill(int x, int y, int w, int h, uint32_t colour)
{
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++)
            At(i, j) = colour;
}

void Sheet::Grow(int columns, int rows)
{
    Sheet bigger{Width + columns, Height + rows, std::vector<uint32_t>((size_t)(Width + columns) * (Height + rows),
                                                                       DrawnKey)};
    for (int y = 0; y < Height; y++)
        for (int x = 0; x < Width; x++)
            bigger.At(x, y) = At(x, y);
    *this = bigger;
}

void DrawnSkin::FillDigit(int digit, uint32_t colour)
{
    Numbers.Fill(digit * DigitWidth, 0, DigitWidth - 1, DigitHeight - 1, colour);
}

void DrawnSkin::FillText(int column, int row, uint32_t colour)
{
    Text.Fill(column * TextCellWidth, row * TextCellHeight, TextCellWidth - 1, TextCellHeight - 1, colour);
}

DrawnSkin MakeDrawnSkin(int digitWidth, int digitHeight, int textCellWidth, int textCellHeight)
{
    DrawnSkin s{digitWidth, digitHeight, textCellWidth, textCellHeight, {}, {}};
    s.Numbers = Sheet{11 * digitWidth, digitHeight,
                      std::vector<uint32_t>((size_t)11 * digitWidth * digitHeight, DrawnKey)};
    s.Text = Sheet{30 * textCellWidth, 3 * textCellHeight,
                   std::vector<uint32_t>((size_t)90 * textCellWidth * textCellHeight, DrawnKey)};
    for (int cell = 0; cell < 11; cell++)
        s.FillDigit(cell, DrawnDigitColour(cell));
    for (int row = 0; row < 3; row++)
        for (int column = 0; column < 30; column++)
            s.FillText(column, row, DrawnTextColour(column, row));
    return s;
}

void WriteDrawnSkin(const DrawnSkin &skin, const std::string &dir, const std::string &name)
{
    std::string folder = dir + "/" + name;
    mkdir(folder.c_str(), 0755);
    if (!WriteBmp24((folder + "/NUMBERS.BMP").c_str(), skin.Numbers.Width, skin.Numbers.Height,
                    skin.Numbers.Pixels.data()) ||
        !WriteBmp24((folder + "/TEXT.BMP").c_str(), skin.Text.Width, skin.Text.Height, skin.Text.Pixels.data()))
        abort();
}
