#pragma once

#include "engine/clock_state.h"

// Loads NUMBERS.BMP and TEXT.BMP of the named skin folder under SkinBaseDir.
// Returns the new SkinLoaded; a null name returns false and changes nothing.
Flag LoadSkin(const char *name);

// Loads one skin bitmap with the platform's image loader and describes it.
// Null, as for a missing file, when its size cannot be read.
HBITMAP LoadSkinBitmap(const char *path, BITMAP *info);

// Releases both skin bitmaps.
void FreeSkinBitmaps();
