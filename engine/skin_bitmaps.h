#pragma once

#include "engine/clock_state.h"

// Loads NUMBERS.BMP and TEXT.BMP of the named skin folder under SkinBaseDir.
// Returns the new SkinLoaded; a null name returns false and changes nothing.
Flag LoadSkin(const char *name);

// Releases both skin bitmaps.
void FreeSkinBitmaps();
