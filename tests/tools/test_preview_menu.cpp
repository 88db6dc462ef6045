// dialwick-preview with a user's registry export: the settings it holds, the
// command line overriding them and the menu tree in any language; the
// importer's own tests refuse malformed files.
#include "settings/registry_key.h"
#include "tests/tools/tool_run.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

ToolRun Preview(const std::string &args)
{
    return RunPreview(std::string("--skins ") + DIALWICK_SOURCE_DIR + "/skins " + args);
}

// Writes an export of the settings key with the given values; a file of this
// test process's own, as ctest runs the tests of the suite side by side.
std::string WriteReg(const std::string &name, bool utf16, const std::string &values)
{
    std::string path = testing::TempDir() + std::to_string(getpid()) + "-" + name;
    std::string text = std::string(utf16 ? "Windows Registry Editor Version 5.00\r\n\r\n" : "REGEDIT4\n\n") +
                       "[HKEY_CURRENT_USER\\" + SettingsKeyPath + "]\r\n" + values;
    if (utf16)
        text = Utf16File(text);
    FILE *f = fopen(path.c_str(), "wb");
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
    return path;
}

// The menu tree, its lines picked by number.
TEST(PreviewMenu, ExportsInEitherFormatAndAnyLanguage)
{
    const struct {
        const char *Why;
        std::string Args;
        std::vector<size_t> At;  // the numbers of the lines that follow
        std::vector<std::string> Lines;
    } cases[] = {
        {"no registry: English with Herb",
         "",
         {0, 3, 9, 10, 21, 28, 31, 35},
         {"Adjust Date&&Time (103)", "  [x] Show Seconds (200)", "  ---", "  Start Zantor Dialwick on StartUp (205)",
          "  [x] English (215)", "Skins >", "  [x] Herb (1002)", "Exit (101)"}},
        // A string stored without its terminator keeps its last character.
        {"Chinese labels in UTF-8",
         "--registry " +
             WriteReg("chinese.reg", true,
                      "\"Lang\"=dword:00000000\r\n\"ExitSTR\"=\"結束\"\r\n\"OptionsSTR\"=\"時鐘選項\"\r\n"
                      "\"SkinsSTR\"=hex(1):41,00,42,00\r\n\"ShowSeconds\"=hex:00\r\n\"SkinName\"=\"Ember\"\r\n"),
         {2, 3, 12, 28, 29, 35},
         {"時鐘選項 >", "  Show Seconds (200)", "  [x] Chinese(Traditional) (206)", "AB >", "  [x] Ember (1000)",
          "結束 (101)"}},
        {"REGEDIT4 in its own code page",
         "--registry " + WriteReg("russian.reg", false, "\"Lang\"=dword:0000000e\n\"SkinsSTR\"=\"\xC2\xE8\xE4\xFB\"\n"),
         {26, 28},
         {"  [x] Russian (220)", "Виды >"}},
        // A Western Windows keeps the Japanese labels the clock writes as the
        // code page 1252 characters of their bytes, some unassigned there:
        // 終了 is 8F 49 97 B9, and 8F becomes U+008F in the export.
        {"Japanese labels on a Western Windows",
         "--codepage 1252 --registry " +
             WriteReg("western-japanese.reg", true,
                      "\"Lang\"=dword:00000008\r\n\"ExitSTR\"=\"\u008FI\u2014\u00B9(&E)\"\r\n"),
         {35},
         {"終了(&E) (101)"}},
    };
    for (const auto &c : cases) {
        ToolRun r = Preview(c.Args + " --menu");
        ASSERT_EQ(r.Status, 0) << c.Why << "\n" << r.Out;
        std::vector<std::string> lines = Lines(r.Out);
        ASSERT_EQ(lines.size(), 36u) << c.Why << "\n" << r.Out;
        for (size_t i = 0; i < c.At.size(); i++)
            EXPECT_EQ(lines[c.At[i]], c.Lines[i]) << c.Why;
    }
}

TEST(PreviewMenu, CommandLineOverridesTheRegistry)
{
    std::string reg = "--registry " + WriteReg("settings.reg", false,
                                               "\"ShowSeconds\"=hex:00\n\"ShowDate\"=hex:00\n\"SkinName\"=\"Ember\"\n");
    std::string time = " --time \"2026-12-06 10:00:00\" --info";
    ToolRun stored = Preview(reg + time), overridden = Preview(reg + " --skin Herb --options seconds" + time);
    ASSERT_EQ(stored.Status, 0) << stored.Out;
    EXPECT_EQ(stored.Out, Preview("--skin Ember --options left,weekday,12h,transparent" + time).Out);
    EXPECT_EQ(overridden.Out, Preview("--skin Herb --options seconds" + time).Out);
    EXPECT_NE(overridden.Out, stored.Out);
}

}  // namespace
