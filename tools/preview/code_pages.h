// The Windows code pages of the menu languages, and conversions between
// them and UTF-8 for the preview's input and output.
#pragma once

#include <stdint.h>
#include <string>

constexpr unsigned WesternCodePage = 1252;

// The code page of a language index 0..15; 0 for any other index.
unsigned LanguageCodePage(uint32_t language);

// Whether a code page is one the languages use.
bool IsLanguageCodePage(unsigned codePage);

// Whether a byte starts a two-byte character in the code page.
bool IsLeadByte(unsigned codePage, uint8_t byte);

// ANSI bytes to UTF-8; a byte the code page cannot decode becomes '?'.
std::string AnsiToUtf8(const std::string &ansi, unsigned codePage);

// UTF-8 to ANSI bytes; false when a character has no form in the code page.
bool Utf8ToAnsi(const std::string &utf8, unsigned codePage, std::string *ansi);
