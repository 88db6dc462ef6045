// The skin checker: what a skin author needs to know about a skin folder, as
// the clock would see it.
#pragma once

#include "tools/preview/skin_pixels.h"

#include <string>

// Prints one line per finding, each starting "error:", "warning:" or
// "info:", then a summary line, to standard output. Returns the number of
// errors.
int CheckSkin(const std::string &skinsDir, const std::string &skin, const SkinFiles &files);
