// Reading a registry export (.reg) as Windows' registry editor writes it, for
// the simulated registry of the preview.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <string>
#include <vector>

struct RegImportValue {
    std::string KeyPath;  // under HKEY_CURRENT_USER
    std::string Name;     // empty for the default value
    uint32_t Type = 0;
    std::vector<uint8_t> Data;
};

struct RegImport {
    unsigned CodePage = 0;          // the ANSI code page the strings were put in
    std::vector<std::string> Keys;  // every key named, with or without values
    std::vector<RegImportValue> Values;
};

// Parses a whole export: "Windows Registry Editor Version 5.00" in UTF-16 LE
// with a byte-order mark, or "REGEDIT4" in ANSI; keys of HKEY_CURRENT_USER;
// string, dword:, hex: and hex(N): values, hex data continued over lines with
// a trailing backslash. Strings reach the registry as the ANSI calls see
// them: text of a UTF-16 file, and the string types of hex(N) in a version 5
// file, are converted into codePage; an ANSI file's bytes are kept, read with
// codePage's double-byte rule; string data of hex(N) gets the terminator it
// lacks, as the registry editor stores it. codePage 0 takes the code page of
// the language the file stores under the settings key (Lang), else 1252.
// On a malformed file returns false with "line N: reason" in *error.
bool ParseRegFile(const uint8_t *bytes, size_t size, unsigned codePage, RegImport *import, std::string *error);

// Stores a parsed export in the simulated registry.
void ApplyRegImport(const RegImport &import);
