// Storing a language's menu texts.
#pragma once

#include <stdint.h>

// The language whose texts equal the menu's own fallbacks.
constexpr uint32_t EnglishLanguage = 9;

// Writes Lang and all twelve texts of the language into the settings key;
// an index above 15 writes nothing. Stops at the first write that fails.
void ApplyMenuLanguage(uint32_t index);
