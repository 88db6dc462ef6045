// Simulated menus: strings by command through submenus, destruction of
// attached submenus, and tracking with the choice arriving as Windows
// delivers it. The settings tests assert the items as appended.
#include "platform/sim/sim_control.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Log;

LRESULT CALLBACK Owner(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND)
        Log.push_back("command " + std::to_string(wParam) + " " + std::to_string(lParam));
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

struct Menus : ::testing::Test {
    HWND Window = nullptr;
    HMENU Main = nullptr, Sub = nullptr;
    void SetUp() override
    {
        SimReset();
        Log.clear();
        WNDCLASSA wc{};
        wc.lpfnWndProc = Owner;
        wc.lpszClassName = "Owner";
        RegisterClassA(&wc);
        Window = CreateWindowExA(0, "Owner", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        Main = CreatePopupMenu();
        Sub = CreatePopupMenu();
        AppendMenuA(Main, MF_STRING, 7, "Top");
        AppendMenuA(Main, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(Main, MF_STRING | MF_POPUP, (UINT_PTR)Sub, "Sub");
        AppendMenuA(Sub, MF_STRING | MF_CHECKED, 1000, "Herb");
        AppendMenuA(Sub, MF_STRING | MF_GRAYED, 1001, "Grey");
    }
};

// As the Skins command reads a skin's name: by command, through submenus.
TEST_F(Menus, StringsByCommandThroughSubmenus)
{
    char text[16];
    EXPECT_EQ(GetMenuStringA(Main, 1000, text, sizeof(text), MF_BYCOMMAND), 4);
    EXPECT_STREQ(text, "Herb");
    EXPECT_EQ(GetMenuStringA(Main, 1000, text, 3, MF_BYCOMMAND), 2) << "cut to the buffer with a terminator";
    EXPECT_STREQ(text, "He");
    EXPECT_EQ(GetMenuStringA(Main, 1000, nullptr, 0, MF_BYCOMMAND), 4);
    EXPECT_EQ(GetMenuStringA(Main, 999, text, sizeof(text), MF_BYCOMMAND), 0);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_MENU_ITEM_NOT_FOUND);
}

TEST_F(Menus, DestroyTakesAttachedSubmenusAlong)
{
    HMENU loose = CreatePopupMenu();
    EXPECT_TRUE(DestroyMenu(Main));
    EXPECT_EQ(SimLiveMenus(), 1);
    EXPECT_FALSE(DestroyMenu(Sub));
    EXPECT_FALSE(TrackPopupMenuEx(Main, 0, 0, 0, Window, nullptr));
    EXPECT_TRUE(DestroyMenu(loose));
    EXPECT_EQ(SimLiveMenus(), 0);
}

// As Wine delivers it: WM_COMMAND posted after tracking returns.
TEST_F(Menus, TheChoiceArrivesPostedAfterTracking)
{
    EXPECT_FALSE(TrackPopupMenuEx(Main, 0, 0, 0, (HWND)0x12345, nullptr));
    EXPECT_TRUE(TrackPopupMenuEx(Main, 0, 40, 700, Window, nullptr));
    SimTrackedMenu t = SimLastTrackedMenu();
    EXPECT_TRUE(t.Menu == Main && t.Owner == Window && t.X == 40 && t.Y == 700 && t.Open);
    EXPECT_FALSE(SimChooseMenuItem(1001)) << "a grayed item cannot be chosen";
    EXPECT_TRUE(SimChooseMenuItem(1000));
    EXPECT_TRUE(Log.empty()) << "posted, not sent";
    SimPumpMessages();
    EXPECT_EQ(Log, std::vector<std::string>{"command 1000 0"});
    EXPECT_FALSE(SimChooseMenuItem(7)) << "the menu is closed";

    Log.clear();
    SimSetMenuChoice(7);
    EXPECT_TRUE(TrackPopupMenuEx(Main, 0, 0, 0, Window, nullptr));
    EXPECT_FALSE(SimLastTrackedMenu().Open) << "chosen before tracking";
    SimPumpMessages();
    EXPECT_EQ(Log, std::vector<std::string>{"command 7 0"});
}

}  // namespace
