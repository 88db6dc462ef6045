// Simulated directory listing: Windows' attributes for the host's folders and
// files, extra attributes from the test, wildcards, order, names in any case
// and the handles; the shell's fault sweep makes its calls fail.
#include "platform/sim/sim_control.h"
#include "tests/engine/test_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

struct Find : ::testing::Test {
    TestSkinDir Dir;
    void SetUp() override { SimReset(); }
    void TearDown() override { EXPECT_EQ(SimOpenFindHandles(), 0); }
    // Name and attributes of every entry, in the order listed.
    std::vector<std::pair<std::string, DWORD>> List(const std::string &pattern)
    {
        std::vector<std::pair<std::string, DWORD>> entries;
        WIN32_FIND_DATAA data;
        HANDLE h = FindFirstFileA(pattern.c_str(), &data);
        if (h == INVALID_HANDLE_VALUE)
            return entries;
        do
            entries.push_back({data.cFileName, data.dwFileAttributes});
        while (FindNextFileA(h, &data));
        EXPECT_EQ(GetLastError(), (DWORD)ERROR_NO_MORE_FILES);
        EXPECT_TRUE(FindClose(h));
        return entries;
    }
};

// As Wine lists them: the dots first, then the names sorted without case.
TEST_F(Find, AttributesOrderAndWildcards)
{
    for (const char *name : {"beta", "Alpha", "_under"})
        mkdir((Dir.Path + "/" + name).c_str(), 0755);
    mkdir((Dir.Path + "/locked").c_str(), 0555);
    Dir.WriteFile("gamma.bmp", "abc");
    SimAddFileAttributes((Dir.Path + "\\beta").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    const DWORD dir = FILE_ATTRIBUTE_DIRECTORY;
    EXPECT_EQ(List(Dir.Path + "\\*"),
              (std::vector<std::pair<std::string, DWORD>>{{".", dir},
                                                          {"..", dir},
                                                          {"Alpha", dir},
                                                          {"beta", dir | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
                                                          {"gamma.bmp", FILE_ATTRIBUTE_ARCHIVE},
                                                          {"locked", dir | FILE_ATTRIBUTE_READONLY},
                                                          {"_under", dir}}));
    EXPECT_EQ(List(Dir.Path + "\\*.BMP").size(), 1u);
    EXPECT_EQ(List(Dir.Path + "\\?ETA").size(), 1u);
    EXPECT_EQ(List(Dir.Path + "\\*.*").size(), 7u);
    for (const std::string &none :
         {Dir.Path + "\\missing\\*", Dir.Path + "\\nothing*", "/" + std::string(MAX_PATH, 'x')})
        EXPECT_TRUE(List(none).empty()) << none;
}

// Windows matches each name of a path in any case and reports the names as
// they are on disk; on a host that tells case apart, the exact name wins.
TEST_F(Find, NamesMatchInAnyCase)
{
    for (const char *folder : {"/Odd", "/Odd/Inner", "/ODD"})
        mkdir((Dir.Path + folder).c_str(), 0755);
    Dir.WriteFile("Odd/numbers.bmp", "");
    Dir.WriteFile("ODD/TEXT.BMP", "");
    SimAddFileAttributes((Dir.Path + "\\Odd\\inner").c_str(), FILE_ATTRIBUTE_HIDDEN);
    const DWORD dir = FILE_ATTRIBUTE_DIRECTORY;
    EXPECT_EQ(
        List(Dir.Path + "\\Odd\\*"),
        (std::vector<std::pair<std::string, DWORD>>{
            {".", dir}, {"..", dir}, {"Inner", dir | FILE_ATTRIBUTE_HIDDEN}, {"numbers.bmp", FILE_ATTRIBUTE_ARCHIVE}}));
    EXPECT_EQ(List(Dir.Path + "\\ODD\\*").back().first, "TEXT.BMP");
    EXPECT_EQ(List(Dir.Path + "\\Odd\\INNER\\..\\NUMBERS.BMP").size(), 1u);
    EXPECT_EQ(SimHostPath((Dir.Path + "\\Odd\\INNER\\Missing\\File").c_str()), Dir.Path + "/Odd/Inner/Missing/File");
}

}  // namespace
