// The grid picture of a skin: both bitmaps enlarged, the cell grid drawn over
// them and each cell the clock draws labelled with its character.
#pragma once

#include "tools/preview/skin_pixels.h"

#include <string>

// Writes the picture as PNG, or as BMP when the name ends in .bmp. On
// failure returns false with a one-line message in *error.
bool WriteSkinGrid(const SkinFiles &files, const char *path, std::string *error);
