#include "tests/tools/drawn_skin.h"

#include "tools/common/image_write.h"

#include <stdlib.h>
#include <sys/stat.h>

void Sheet::Fill(int x, int y, int w, int h, uint32_t colour)
{
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++)
            At(i, j) = colour;
}

void Sheet::Grow(int columns, int rows)
{
    Sheet bigger{Width + columns, Height + rows,
                 std::vector<uint32_t>((size_t)(Width + columns) * (Height + rows), DrawnKey)};
    for (int y = 0; y < Height; y++)
        for (int x = 0; x < Width; x++)
            bigger.At(x, y) = At(x, y);
    *this = bigger;
}

DrawnSkin MakeDrawnSkin(int digitWidth, int digitHeight, int textCellWidth, int textCellHeight)
{
    DrawnSkin s{digitWidth, digitHeight, textCellWidth, textCellHeight, {}, {}};
    s.Numbers.Grow(11 * digitWidth, digitHeight);
    s.Text.Grow(30 * textCellWidth, 3 * textCellHeight);
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
    for (const Sheet *sheet : {&skin.Numbers, &skin.Text})
        if (!WriteBmp24((folder + (sheet == &skin.Numbers ? "/NUMBERS.BMP" : "/TEXT.BMP")).c_str(), sheet->Width,
                        sheet->Height, sheet->Pixels.data()))
            abort();
}
