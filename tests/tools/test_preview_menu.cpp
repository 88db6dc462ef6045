// dialwick-preview with a user's registry export: the settings it holds, the
// command line overriding them, the menu tree in any language, and a
// malformed export refused whole.
#include "tests/tools/tool_run.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Standard error goes to a file of this test process's own, read by
// Stderr(): ctest runs the tests of the suite side by side.
std::string StderrPath() { return testing::TempDir() + "preview-stderr-" + std::to_string(getpid()); }

ToolRun Preview(const std::string &args)
{
    return RunCommand(std::string(DIALWICK_PREVIEW) + " --skins " + DIALWICK_SOURCE_DIR + "/skins " + args + " 2>" +
                      StderrPath());
}

std::string Stderr()
{
    std::string text;
    FILE *f = fopen(StderrPath().c_str(), "rb");
    if (!f)
        return text;
    char buf[512];
    while (fgets(buf, sizeof(buf), f))
        text += buf;
    fclose(f);
    return text;
}

std::string WriteReg(const std::string &name, const std::string &bytes)
{
    std::string path = testing::TempDir() + std::to_string(getpid()) + "-" + name;
    FILE *f = fopen(path.c_str(), "wb");
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
    return path;
}

// Export text in UTF-8 to UTF-16 LE with a byte-order mark; Basic Multilingual Plane only.
std::string Utf16(const std::string &utf8)
{
    std::string out = "\xFF\xFE";
    for (size_t i = 0; i < utf8.size();) {
        uint32_t c = (uint8_t)utf8[i];
        int extra = c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        c &= extra ? (0x3F >> extra) : 0x7F;
        for (int k = 1; k <= extra; k++)
            c = (c << 6) | ((uint8_t)utf8[i + k] & 0x3F);
        i += 1 + extra;
        out += (char)(c & 0xFF);
        out += (char)(c >> 8);
    }
    return out;
}

const char Section[] = "[HKEY_CURRENT_USER\\Software\\Orvantis\\Zantor\\Dialwick]\r\n";

std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

TEST(PreviewMenu, WithoutRegistryTheMenuIsEnglishWithHerb)
{
    ToolRun r = Preview("--menu");
    ASSERT_EQ(r.Status, 0) << Stderr();
    std::vector<std::string> lines = Lines(r.Out);
    ASSERT_EQ(lines.size(), 36u) << r.Out;
    EXPECT_EQ(lines[0], "Adjust Date&&Time (103)");
    EXPECT_EQ(lines[3], "  [x] Show Seconds (200)");
    EXPECT_EQ(lines[9], "  ---");
    EXPECT_EQ(lines[10], "  Start Zantor Dialwick on StartUp (205)");
    EXPECT_EQ(lines[21], "  [x] English (215)");
    EXPECT_EQ(lines[28], "Skins >");
    EXPECT_EQ(lines[31], "  [x] Herb (1002)");
    EXPECT_EQ(lines[35], "Exit (101)");
}

TEST(PreviewMenu, ChineseExportShowsItsLabelsInUtf8)
{
    std::string reg = WriteReg("chinese.reg", Utf16(std::string("Windows Registry Editor Version 5.00\r\n\r\n") + Section +
                                                    "\"Lang\"=dword:00000000\r\n"
                                                    "\"ExitSTR\"=\"結束\"\r\n"
                                                    "\"OptionsSTR\"=\"時鐘選項\"\r\n"
                                                    "\"SkinsSTR\"=hex(1):41,00,42,00\r\n"
                                                    "\"ShowSeconds\"=hex:00\r\n"
                                                    "\"SkinName\"=\"Ember\"\r\n"));
    ToolRun r = Preview("--registry " + reg + " --menu");
    ASSERT_EQ(r.Status, 0) << Stderr();
    std::vector<std::string> lines = Lines(r.Out);
    ASSERT_EQ(lines.size(), 36u) << r.Out;
    EXPECT_EQ(lines[2], "時鐘選項 >");
    EXPECT_EQ(lines[3], "  Show Seconds (200)");
    EXPECT_EQ(lines[12], "  [x] Chinese(Traditional) (206)");
    EXPECT_EQ(lines[28], "AB >") << "a string stored without its terminator keeps its last character";
    EXPECT_EQ(lines[29], "  [x] Ember (1000)");
    EXPECT_EQ(lines[35], "結束 (101)");
}

TEST(PreviewMenu, Regedit4ExportInItsOwnCodePage)
{
    std::string reg = WriteReg("russian.reg", std::string("REGEDIT4\n\n") + Section +
                                                  "\"Lang\"=dword:0000000e\n"
                                                  "\"SkinsSTR\"=\"\xC2\xE8\xE4\xFB\"\n");
    ToolRun r = Preview("--registry " + reg + " --menu");
    ASSERT_EQ(r.Status, 0) << Stderr();
    EXPECT_NE(r.Out.find("\nВиды >\n"), std::string::npos) << r.Out;
    EXPECT_NE(r.Out.find("\n  [x] Russian (220)\n"), std::string::npos) << r.Out;
}

// A Western Windows keeps the Japanese labels the clock writes as the code
// page 1252 characters of their bytes, some of them unassigned there: 終了 is
// 8F 49 97 B9, and 8F becomes U+008F in the export.
TEST(PreviewMenu, WesternExportOfJapaneseLabels)
{
    std::string reg = WriteReg("western-japanese.reg",
                               Utf16(std::string("Windows Registry Editor Version 5.00\r\n\r\n") + Section +
                                     "\"Lang\"=dword:00000008\r\n"
                                     "\"ExitSTR\"=\"\u008FI\u2014\u00B9(&E)\"\r\n"));
    ToolRun r = Preview("--registry " + reg + " --codepage 1252 --menu");
    ASSERT_EQ(r.Status, 0) << Stderr();
    std::vector<std::string> lines = Lines(r.Out);
    ASSERT_EQ(lines.size(), 36u) << r.Out;
    EXPECT_EQ(lines[35], "終了(&E) (101)");
}

TEST(PreviewMenu, CommandLineOverridesTheRegistry)
{
    std::string reg = WriteReg("settings.reg", std::string("REGEDIT4\n\n") + Section +
                                                   "\"ShowSeconds\"=hex:00\n\"ShowDate\"=hex:00\n"
                                                   "\"SkinName\"=\"Ember\"\n");
    std::string time = " --time \"2026-12-06 10:00:00\" --info";
    ToolRun stored = Preview("--registry " + reg + time);
    ToolRun same = Preview("--skin Ember --options left,weekday,12h,transparent" + time);
    ASSERT_EQ(stored.Status, 0) << Stderr();
    EXPECT_EQ(stored.Out, same.Out);

    ToolRun overridden = Preview("--registry " + reg + " --skin Herb --options seconds" + time);
    ToolRun plain = Preview("--skin Herb --options seconds" + time);
    ASSERT_EQ(overridden.Status, 0) << Stderr();
    EXPECT_EQ(overridden.Out, plain.Out);
    EXPECT_NE(overridden.Out, stored.Out);
}

TEST(PreviewMenu, MalformedExportIsRefusedWhole)
{
    std::string reg = WriteReg("broken.reg", std::string("REGEDIT4\n\n") + Section +
                                                 "\"ExitSTR\"=\"Quit\"\n"
                                                 "\"SkinName\"=hex:45,6d,62,65,72,00,\n");
    ToolRun r = Preview("--registry " + reg + " --menu");
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Out, "") << "nothing printed, nothing imported";
    EXPECT_NE(Stderr().find("broken.reg, line 5: "), std::string::npos) << Stderr();

    EXPECT_EQ(Preview("--registry " + testing::TempDir() + "no-such.reg --menu").Status, 1);
    EXPECT_EQ(Preview("--registry " + reg + " --codepage 437 --menu").Status, 2);
}

}  // namespace
