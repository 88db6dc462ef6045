// The popup menu tree as text, for dialwick-preview --menu.
#pragma once

#include "platform/platform.h"

#include <string>

// One item per line: two spaces of indent per submenu level, "[x] " before a
// checked item, the label in UTF-8 and the command id in parentheses; "---"
// for a separator; a submenu is its label followed by " >". Labels are
// converted from codePage, except those of verbatimMenu: folder names, which
// the simulation takes from the host's file system as they are.
std::string FormatMenuTree(HMENU menu, unsigned codePage, HMENU verbatimMenu);
