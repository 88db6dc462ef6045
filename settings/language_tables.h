// The sixteen built-in translations of the menu texts.
#pragma once

constexpr int LanguageCount = 16;
constexpr int MenuTextCount = 12;

// The values the texts are stored under, in writing order.
extern const char *const MenuTextValueNames[MenuTextCount];

// Each language's texts in the order of MenuTextValueNames, as the bytes of
// the language's Windows code page.
extern const char *const LanguageTexts[LanguageCount][MenuTextCount];
