// The user's display options and skin in the registry, and the autostart
// entry that follows StartWithWindows.
#pragma once

#include "engine/clock_state.h"

// Reads the six option flags and StartWithWindows, and loads the stored skin
// ("Herb" when none is stored). Returns the new SkinLoaded; 0 and no change
// at all when the settings key can be neither opened nor created.
Flag LoadSettings();

// Writes or deletes the autostart entry, then the six option flags and, while
// a skin is loaded, its name.
void SaveSettings();
