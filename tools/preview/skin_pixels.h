// A skin's two bitmaps read as the clock reads them, and where the cells lie
// that the clock draws from them.
#pragma once

#include <stdint.h>
#include <string>
#include <vector>

// One bitmap of a skin: its pixels as the clock's loader gives them, or why
// there are none.
struct SkinPixels {
    bool Loaded = false;
    std::string Problem;  // when not loaded: what follows the file name in a message
    int Width = 0, Height = 0;
    std::vector<uint32_t> Pixels;  // COLORREF, row 0 at the top
    uint32_t At(int x, int y) const { return Pixels[(size_t)y * Width + x]; }
};

// The artwork of one scale folder of a skin.
struct SkinScaleFiles {
    int Percent = 0;
    SkinPixels Numbers, Text;
};

// A skin folder read once for the checker and the grid picture, each bitmap
// through the same loader and path rules as the clock: the base pair, the
// scale folders the clock looks for, smallest first, and the names of other
// folders named by a number, which the clock never reads.
struct SkinFiles {
    bool FolderExists = false;
    SkinPixels Numbers, Text;
    std::vector<SkinScaleFiles> Scales;
    std::vector<std::string> OtherNumberedFolders;
};
SkinFiles ReadSkinFiles(const std::string &skinsDir, const std::string &skin);

// The bottom-right pixel of a loaded TEXT.BMP.
uint32_t KeyColour(const SkinPixels &text);

// Cell metrics as the clock derives them; 0 when the bitmap is too small
// for its grid or did not load.
int DigitCellWidth(const SkinPixels &numbers);
int TextCellWidth(const SkinPixels &text);
int TextCellHeight(const SkinPixels &text);

// A cell the clock draws, named by its character.
struct SkinCell {
    char Character;
    int Column, Row;
};

// The digit cells 0 to 9 of NUMBERS.BMP; the eleventh is never drawn.
std::vector<SkinCell> DigitCells();
// Every TEXT.BMP cell the clock can draw, letters by their capital, in
// the order of the grid.
std::vector<SkinCell> TextCells();

// The character as a message quotes it: "Q", or '"' for the quotation mark.
std::string QuotedCell(char c);
