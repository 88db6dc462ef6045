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

TEST(HostLookup, DirectoryRules)
{
    SimReset();
    EXPECT_EQ(Dir("C:\\Tools\\host.exe"), "C:\\Tools");
    EXPECT_EQ(Dir("C:\\host.exe"), "C:\\");
    EXPECT_EQ(Dir("C:host.exe"), "C:");
    EXPECT_EQ(Dir("host.exe"), "");
    EXPECT_EQ(Dir(nullptr), "");
    EXPECT_EQ(Dir(""), "");
    EXPECT_EQ(Dir("\\\\server\\share\\host.exe"), "\\\\server\\share");
    EXPECT_EQ(Dir("\\host.exe"), "\\");
    EXPECT_EQ(Dir("C:\\a\\\\host.exe"), "C:\\a\\\\") << "a backslash after a backslash stays";
}

TEST(HostLookup, DoubleByteTrailBytesAreNeverSeparators)
{
    SimReset();
    // 0x95 0x5C is one character of code page 932 whose second byte is a backslash.
    const char path[] = "C:\\\x95\x5C\\host.exe";
    SimSetCodePage(932);
    EXPECT_EQ(Dir(path), "C:\\\x95\x5C");
    const char trailing[] = "C:\\dir\\\x95\x5Chost.exe";
    EXPECT_EQ(Dir(trailing), "C:\\dir");
    SimSetCodePage(1252);
    EXPECT_EQ(Dir(trailing), "C:\\dir\\\x95") << "in 1252 the same byte is a backslash";
    const char lonelyLead[] = "C:\\dir\\\x95";
    SimSetCodePage(932);
    EXPECT_EQ(Dir(lonelyLead), "C:\\dir") << "a lead byte at the end reads nothing past the terminator";
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
