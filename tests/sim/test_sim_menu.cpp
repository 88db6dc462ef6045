// Simulated menus: tracking, with the choice arriving as Wine delivers it.
// The settings and shell tests assert the items as appended and chosen.
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
