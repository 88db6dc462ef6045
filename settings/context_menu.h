// The popup menu tree of a right click: the main menu with the Options,
// Languages and Skins submenus. Its handles live in ClockState.
#pragma once

#include "platform/platform.h"

// Destroys any previous tree and builds a new one from the registry, the
// option flags and the skin folders on disk.
void BuildMainMenu();

HMENU BuildOptionsMenu();
// Stores Lang = 9 when the value is missing.
HMENU BuildLanguageMenu();
// The folders in SkinBaseDir whose attributes are exactly "directory".
HMENU BuildSkinsMenu();

// Destroys the tree (the main menu takes its submenus along) and clears the
// four handles.
void DestroyMenus();
