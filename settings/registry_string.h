// The shared reader of string values named by one full path.
#pragma once

#include "platform/platform.h"

#include <stddef.h>

// Reads the REG_SZ value that path names under root: the key path, a
// backslash, the value name (empty for the default value). The text is the
// data without its last byte, zero bytes included; text receives as much of
// it as fits with a terminator after it, and *length (when given) its full
// length. Returns false, leaving text as it was, when there is no backslash,
// the key or value is missing or the value is not REG_SZ.
bool ReadRegistryString(HKEY root, const char *path, char *text, size_t textSize, size_t *length);
