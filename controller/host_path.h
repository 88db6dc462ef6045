// The path dialwick.exe hands over to the library: a file in the skins
// folder beside it, in the ANSI code page, as the hand-over record holds it.
#pragma once

#include "platform/platform.h"

// From the program's folder (wide characters, no trailing backslash): its
// own name when the code page holds it, else its short name; false when
// neither form fits (short names switched off on that volume, say).
bool FindHostPath(LPCWSTR folder, char *hostPath, int size);
