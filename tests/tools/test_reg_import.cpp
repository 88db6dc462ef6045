// The .reg importer of dialwick-preview: both formats the registry editor
// writes, every kind of value, the code page of the strings, and malformed
// files refused by line number.
#include "platform/sim/sim_control.h"
#include "settings/registry_key.h"
#include "tests/tools/tool_run.h"
#include "tools/preview/code_pages.h"
#include "tools/preview/reg_import.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string Header5 = "Windows Registry Editor Version 5.00\r\n\r\n";
const std::string SettingsSection = std::string("[HKEY_CURRENT_USER\\") + SettingsKeyPath + "]\r\n";

struct Parsed {
    bool Ok;
    RegImport Import;
    std::string Error;
};

Parsed Parse(const std::string &file, unsigned codePage = 0)
{
    Parsed p;
    p.Ok = ParseRegFile((const uint8_t *)file.data(), file.size(), codePage, &p.Import, &p.Error);
    return p;
}

const RegImportValue *Find(const Parsed &p, const std::string &name)
{
    for (const RegImportValue &v : p.Import.Values)
        if (v.Name == name)
            return &v;
    return nullptr;
}

std::vector<uint8_t> Data(const std::string &bytes) { return std::vector<uint8_t>(bytes.begin(), bytes.end()); }

TEST(RegImport, Version5InUtf16WithEveryKindOfValue)
{
    Parsed p =
        Parse(Utf16File(Header5 + "; a comment\r\n[HKEY_CURRENT_USER\\Software\\Empty]\r\n\r\n" + SettingsSection +
                        "@=\"default\"\r\n"
                        "\"Quoted\"=\"a \\\\ b \\\"c\\\"\"\r\n"
                        "\"Number\"=dword:0000000e\r\n"
                        "\"Long\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\r\n"
                        "  16,17,18\r\n"
                        "\"Path\"=hex(2):25,00,41,00,25,00,5c,00,78,00,00,00\r\n"
                        "\"Nothing\"=hex:\r\n"
                        "\"Bare\"=hex(1):41,00,42,00\r\n"
                        "\"Custom\"=hex(1234):01,02\r\n"));
    ASSERT_TRUE(p.Ok) << p.Error;
    EXPECT_EQ(p.Import.Keys, (std::vector<std::string>{"Software\\Empty", SettingsKeyPath}));
    std::string longData;
    for (char c = 0; c <= 0x18; c++)
        longData += c;
    const struct {
        const char *Name;
        DWORD Type;
        std::string Data;
    } values[] = {
        {"", REG_SZ, std::string("default\0", 8)},
        {"Quoted", REG_SZ, std::string("a \\ b \"c\"\0", 10)},
        {"Number", REG_DWORD, std::string("\x0e\0\0\0", 4)},
        {"Long", REG_BINARY, longData},
        {"Path", REG_EXPAND_SZ, std::string("%A%\\x\0", 6)},  // UTF-16 in the file, ANSI for the A calls
        {"Nothing", REG_BINARY, ""},
        {"Bare", REG_SZ, std::string("AB\0", 3)},  // the terminator it lacks is added
        {"Custom", 0x1234, "\x01\x02"},            // not a string type: kept
    };
    for (const auto &v : values) {
        const RegImportValue *found = Find(p, v.Name);
        ASSERT_NE(found, nullptr) << v.Name;
        EXPECT_EQ(found->Type, v.Type) << v.Name;
        EXPECT_EQ(found->Data, Data(v.Data)) << v.Name;
    }
    SimReset();
    ApplyRegImport(p.Import);
    EXPECT_TRUE(SimRegKeyExists("Software\\Empty"));
    DWORD type;
    std::vector<uint8_t> data;
    ASSERT_TRUE(SimRegGetValue(SettingsKeyPath, "Long", &type, &data));
    EXPECT_EQ(type, (DWORD)REG_BINARY);
    EXPECT_EQ(data, Data(longData));
}

// Windows gives every byte of its single-byte code pages a character, those
// the code page leaves unassigned included, and takes each back to its byte.
TEST(RegImport, EveryByteOfTheSingleByteCodePagesGoesThereAndBack)
{
    for (unsigned codePage : {1250u, 1251u, 1252u, 1253u}) {
        for (int byte = 1; byte < 256; byte++) {
            std::string ansi(1, (char)byte), back;
            std::string utf8 = AnsiToUtf8(ansi, codePage);
            EXPECT_TRUE(Utf8ToAnsi(utf8, codePage, &back) && back == ansi) << codePage << " " << byte;
        }
    }
    EXPECT_EQ(AnsiToUtf8("\x81\x8D\x8F\x90\x9D", 1252), "\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(AnsiToUtf8("\xAA\xD2\xFF", 1253), "\uF8F9\uF8FA\uF8FB");
}

TEST(RegImport, Regedit4KeepsTheBytesAndReadsDoubleByteCharacters)
{
    // "表示" in code page 932: the second byte of the first character is a backslash.
    std::string file = std::string("REGEDIT4\n\n[HKEY_CURRENT_USER\\") + SettingsKeyPath +
                       "]\n"
                       "\"ShowDateOnLeftSTR\"=\"\x95\x5C\x8E\xA6\"\n"
                       "\"Lang\"=dword:00000008\n"
                       "\"Expand\"=hex(2):41,42,00\n"
                       "\"Bare\"=hex(1):41,42\n";
    Parsed p = Parse(file);
    ASSERT_TRUE(p.Ok) << p.Error;
    EXPECT_EQ(Find(p, "ShowDateOnLeftSTR")->Data, Data(std::string("\x95\x5C\x8E\xA6\0", 5)));
    EXPECT_EQ(Find(p, "Expand")->Data, Data(std::string("AB\0", 3))) << "REGEDIT4 strings are ANSI already";
    EXPECT_EQ(Find(p, "Bare")->Data, Data(std::string("AB\0", 3))) << "the terminator it lacks is added";

    // Read as code page 1252, the trail byte is an escape that does not exist.
    Parsed western = Parse(file, 1252);
    EXPECT_FALSE(western.Ok);
    EXPECT_EQ(western.Error.rfind("line 4: ", 0), 0u) << western.Error;
}

// Each refused on the line of its fault, nothing imported; in UTF-16 also an
// odd last byte, a lone surrogate, a character the code page lacks (1252 has
// no Cyrillic) and a UTF-16 string cut in half.
TEST(RegImport, MalformedFilesAreRefusedByLine)
{
    const std::string a = "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"x\"", head = Utf16File(Header5 + SettingsSection);
    // The files refused on line 1, 2, 3 and 4.
    const std::vector<std::string> refused[] = {
        {"REGEDIT5\n", ""},
        {"REGEDIT4\n[-HKEY_CURRENT_USER\\A]\n", "REGEDIT4\n[HKEY_CURRENT_USER\\A\n",
         "REGEDIT4\r\n[HKEY_CURRENT_USER\\A\\\\B]\r\n"},
        {"REGEDIT4\n\n\"Early\"=hex:01\n", a + "=hex:01,02,\\\n  0g\n", a + "=hex:001\n", a + "=\"open\n",
         a + "=\"a\\n\"\n", a + "=\"a\" b\n", a + "=dword:123456789\n", a + "=dword:\n", a + "=qword:1\n", a + "=-\n",
         a + "hex:01\n", a + "=hex(2:01\n", "REGEDIT4\n[HKEY_CURRENT_USER\\A]\nx=1\n"},
        {"REGEDIT4\n\n\n[HKEY_LOCAL_MACHINE\\Software]\n", head + "A",
         head + Utf16File("\"x\"=\"").substr(2) + std::string("\0\xD8\"\0", 4),
         Utf16File(Header5 + SettingsSection + "\"x\"=\"Ж\"\r\n"),
         Utf16File(Header5 + SettingsSection + "\"x\"=hex(1):41,00,42\r\n")},
    };
    for (int line = 1; line <= 4; line++)
        for (const std::string &file : refused[line - 1]) {
            Parsed p = Parse(file);
            EXPECT_FALSE(p.Ok) << file;
            EXPECT_EQ(p.Error.rfind("line " + std::to_string(line) + ": ", 0), 0u) << file << " -> " << p.Error;
            EXPECT_TRUE(p.Import.Values.empty());
        }
}

}  // namespace
