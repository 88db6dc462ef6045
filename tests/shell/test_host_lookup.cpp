// The skin folder taken from the host path, the windows found, the version.
#include "engine/clock_state.h"
#include "platform/sim/sim_control.h"
#include "shell/host_lookup.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Dir(const char *path)
{
    char out[PathSize];
    DirectoryOfPath(path, out, sizeof(out));
    return out;
}

// The folder of a host path: in code page 1252, then in 932, where 0x95 0x5C
// is one character whose second byte is a backslash.
TEST(HostLookup, DirectoryRules)
{
    SimReset();
    const struct {
        UINT CodePage;
        const char *Path, *Folder;
    } cases[] = {
        {1252, "C:\\Tools\\host.exe", "C:\\Tools"},
        {1252, "C:\\host.exe", "C:\\"},
        {1252, "C:host.exe", "C:"},
        {1252, "host.exe", ""},
        {1252, nullptr, ""},
        {1252, "", ""},
        {1252, "\\\\server\\share\\host.exe", "\\\\server\\share"},
        {1252, "\\host.exe", "\\"},
        {1252, "C:\\a\\\\host.exe", "C:\\a\\\\"},  // a backslash after a backslash stays
        {1252, "C:\\dir\\\x95\x5Chost.exe", "C:\\dir\\\x95"},
        {932, "C:\\dir\\\x95\x5Chost.exe", "C:\\dir"},
        {932, "C:\\\x95\x5C\\host.exe", "C:\\\x95\x5C"},
        {932, "C:\\dir\\\x95", "C:\\dir"},  // a lead byte at the end reads nothing past the terminator
    };
    for (const auto &c : cases) {
        SimSetCodePage(c.CodePage);
        EXPECT_EQ(Dir(c.Path), c.Folder) << (c.Path ? c.Path : "(null)") << " in " << c.CodePage;
    }
}

TEST(HostLookup, LongestPathFitsAndLongerDirectoriesAreRefused)
{
    SimReset();
    std::string path = "C:\\" + std::string(250, 'd') + "\\h.exe";  // 259 characters
    ASSERT_EQ(path.size(), 259u);
    EXPECT_EQ(Dir(path.c_str()), path.substr(0, 253));
    std::string tooLong = "C:\\" + std::string(300, 'd') + "\\h.exe";
    EXPECT_EQ(Dir(tooLong.c_str()), "");
}

TEST(HostLookup, FindsWindowsRegistersMessagesAndNotesXp)
{
    SimReset();
    memset(&ClockState, 0, sizeof(ClockState));
    InitClockHost(nullptr);
    EXPECT_EQ(ClockState.TrayWnd, nullptr) << "no taskbar yet";
    EXPECT_EQ(ClockState.ClockWnd, nullptr);
    EXPECT_GE(ClockState.PaintClockMsg, 0xC000u);
    EXPECT_EQ(ClockState.PaintClockMsg, RegisterWindowMessageA("PaintClockMessage"));
    EXPECT_EQ(ClockState.SubclassMsg, RegisterWindowMessageA("subclassmessage"));
    EXPECT_EQ(ClockState.IsWindowsXP, 0);
    for (auto version : {std::pair<DWORD, DWORD>{5, 0}, {5, 2}, {6, 1}, {5, 1}}) {
        SimSetVersion(version.first, version.second);
        InitClockHost("C:\\x\\y.exe");
        bool xp = version.first == 5 && version.second == 1;
        EXPECT_EQ(ClockState.IsWindowsXP, xp ? FlagTrue : 0);
    }
    EXPECT_STREQ(ClockState.SkinBaseDir, "C:\\x");
}

}  // namespace
