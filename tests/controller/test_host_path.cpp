// The path dialwick.exe hands over from a folder of any name: its own name
// where the ANSI code page holds it, its short name where not, and none
// where short names are switched off.
#include "controller/host_path.h"
#include "tests/engine/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>

namespace {

TEST(HostPath, FolderNamesInAndOutsideTheCodePage)
{
    TestSkinDir dir;
    std::string base = dir.Path;
    for (char &c : base)
        if (c == '/')
            c = '\\';
    std::wstring wideBase(base.begin(), base.end());
    std::string longName(240, 'a');
    struct Case {
        const char *Name;       // UTF-8, for the folder on disk
        std::wstring WideName;  // as the program sees it
        UINT CodePage;
        const wchar_t *ShortName;  // none: short names are off
        std::string Want;          // empty: no usable path
    } cases[] = {
        {"Anna", L"Anna", 1252, nullptr, "Anna"},
        {"Дмитрий", L"Дмитрий", 1252, L"DMITRI~1", "DMITRI~1"},
        {"Дмитрий", L"Дмитрий", 1252, nullptr, ""},
        {"山田", L"山田", 932, nullptr, "\x8E\x52\x93\x63"},
        {"山田", L"山田", 1252, L"6E0A~1", "6E0A~1"},
        {"José", L"José", 1252, nullptr, "Jos\xE9"},
        {"José", L"José", 932, L"JOSE~1", "JOSE~1"},  // no look-alike "Jose"
        {"Дмитрий", L"Дмитрий", CP_UTF8, nullptr, "Дмитрий"},
        {longName.c_str(), std::wstring(longName.begin(), longName.end()), 1252, L"AAAAAA~1", "AAAAAA~1"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.Name).substr(0, 20) + " in code page " + std::to_string(c.CodePage));
        SimReset();
        SimSetCodePage(c.CodePage);
        mkdir((dir.Path + "/" + c.Name).c_str(), 0755);
        std::wstring folder = wideBase + L"\\" + c.WideName;
        if (c.ShortName)
            SimSetShortPathName(folder.c_str(), (wideBase + L"\\" + c.ShortName).c_str());
        char hostPath[260] = "unchanged";
        bool found = FindHostPath(folder.c_str(), hostPath, sizeof(hostPath));
        EXPECT_EQ(found, !c.Want.empty());
        if (found) {
            EXPECT_EQ(std::string(hostPath), base + "\\" + c.Want + "\\skins\\README.md");
        }
    }
}

}  // namespace
