// Every command of the clock window: its effect, its repaint rule and the
// re-layout-and-save step; and the messages Explorer's procedure must or
// must not see.
#include "shell/library.h"
#include "tests/scenarios/scenarios.h"
#include "tests/shell/shell_fixture.h"

#include <algorithm>

namespace {

struct Commands : ShellFixture {
    void SetUp() override
    {
        ShellFixture::SetUp();
        SeedOptions(0);
        Attach();
    }
};

// What Explorer's clock procedure saw while the test spied on it.
std::vector<UINT> StockSaw;
WNDPROC StockForSpy = nullptr;
LRESULT StockAnswer = 0;
bool StockAnswerSet = false;
LRESULT CALLBACK SpyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    StockSaw.push_back(msg);
    if (StockAnswerSet && msg == ClockSizeMessage)
        return StockAnswer;
    return CallWindowProcA(StockForSpy, hwnd, msg, wParam, lParam);
}

// A toggled flag reads back -1, and any non-zero value counts as on.
TEST_F(Commands, TogglesReadBackMinusOne)
{
    EXPECT_EQ(ShellState().ShowDayOfWeek, 0);
    SendToClock(WM_COMMAND, ShowSecondsCommand, 0);
    EXPECT_EQ(ShellState().ShowSeconds, -1) << "a toggled flag reads back -1";
    InExplorer([] { ClockState.ShowDate = 1; });
    SendToClock(WM_COMMAND, ShowDateCommand, 0);
    EXPECT_EQ(ShellState().ShowDate, 0) << "any non-zero toggles off";
}

TEST_F(Commands, DateTimePanelWithoutAWindowsDirectory)
{
    SimFailCall("GetWindowsDirectoryA", 1);
    SendToClock(WM_MBUTTONDBLCLK, 0, 0);
    ASSERT_EQ(SimWinExecCalls().size(), 1u);
    EXPECT_EQ(SimWinExecCalls()[0].CommandLine, "\\system32\\control.exe TIMEDATE.CPL");
}

// A folder whose name fills the skin name's field to its last byte is
// chosen whole from the Skins menu.
TEST_F(Commands, ASkinNamedToTheFieldsEndIsChosenWhole)
{
    const std::string name(SkinNameSize - 1, 'n');
    Skins.AddSkin(name);
    SimSetMenuChoice(0);
    SendToClock(WM_RBUTTONDOWN, 0, 0);
    std::vector<SimMenuItem> items;
    ASSERT_TRUE(SimGetMenuItems(ShellState().SkinsMenu, &items));
    auto item = std::find_if(items.begin(), items.end(), [&](const SimMenuItem &i) { return i.Text == name; });
    ASSERT_NE(item, items.end());
    SendToClock(WM_COMMAND, (WPARAM)item->Id, 0);
    EXPECT_STREQ(ShellState().CurrentSkinName, name.c_str());
}

// A command that changes the face's size asks the taskbar to lay itself out
// again: the end of a move or size, then a size, both posted.
std::vector<UINT> TraySaw;
WNDPROC StockTray = nullptr;
LRESULT CALLBACK TraySpy(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_EXITSIZEMOVE || msg == WM_SIZE)
        TraySaw.push_back(msg);
    return CallWindowProcA(StockTray, hwnd, msg, wParam, lParam);
}

TEST_F(Commands, ResizingCommandPostsTheTaskbarsRelayout)
{
    InExplorer([&] { StockTray = (WNDPROC)SetWindowLongPtrA(Taskbar.Tray, GWLP_WNDPROC, (LONG_PTR)TraySpy); });
    TraySaw.clear();
    SendToClock(WM_COMMAND, ShowSecondsCommand, 0);
    EXPECT_TRUE(TraySaw.empty()) << "posted, not sent";
    Pump();
    ASSERT_GE(TraySaw.size(), 2u);
    EXPECT_EQ(TraySaw[0], (UINT)WM_EXITSIZEMOVE);
    EXPECT_EQ(TraySaw[1], (UINT)WM_SIZE);
    InExplorer([&] { SetWindowLongPtrA(Taskbar.Tray, GWLP_WNDPROC, (LONG_PTR)StockTray); });
}

// The Skins menu lists folders past the hundredth, but their commands (1100
// on) pick nothing.
TEST_F(Commands, SkinCommandsPastTheHundredthPickNothing)
{
    for (int i = 0; i < 102; i++)
        Skins.WriteFile("Empty" + std::to_string(100 + i) + "/README", "");
    SimSetMenuChoice(0);
    SendToClock(WM_RBUTTONDOWN, 0, 0);
    std::vector<SimMenuItem> items;
    ASSERT_TRUE(SimGetMenuItems(ShellState().SkinsMenu, &items));
    ASSERT_GT(items.size(), 100u);
    ASSERT_EQ(items[100].Id, LastSkinCommand + 1) << "the menu lists a folder past the hundredth";
    SendToClock(WM_COMMAND, LastSkinCommand + 1, 0);
    ClockStateRecord shell = ShellState();
    EXPECT_EQ(shell.SkinLoaded, FlagTrue);
    EXPECT_STREQ(shell.CurrentSkinName, "Herb");
}

TEST_F(Commands, MalformedHandOversGoToExplorerAndAWellFormedOneIsTaken)
{
    InExplorer([&] {
        StockForSpy = ClockState.PreviousClockProc;
        ClockState.PreviousClockProc = SpyProc;
    });
    for (const MalformedHandOver &m : MalformedHandOvers) {
        std::vector<char> data(HandOverRecordSize + 2, 'A');
        if (m.Terminated)
            memcpy(data.data(), "C:\\Elsewhere\\x.exe", 19);
        COPYDATASTRUCT cds{7, m.Size, data.data()};
        StockSaw.clear();
        SendToClock(WM_COPYDATA, 0, (LPARAM)&cds);
        EXPECT_EQ(StockSaw, std::vector<UINT>{WM_COPYDATA}) << m.Size;
    }
    COPYDATASTRUCT nullData{0, HandOverRecordSize, nullptr};
    for (LPARAM bad : {(LPARAM)&nullData, (LPARAM)0}) {
        StockSaw.clear();
        SendToClock(WM_COPYDATA, 0, bad);
        EXPECT_EQ(StockSaw.size(), 1u);
    }
    ClockStateRecord shell = ShellState();
    EXPECT_NE(std::string(shell.SkinBaseDir).find("dialwick-skins"), std::string::npos) << "nothing changed";

    // The record of the right size from the controller is taken whatever dwData holds.
    HandOverRecord good = ForeignHandOverRecord(ControllerWindow);
    strcpy(good.HostPath, HostPath.c_str());
    COPYDATASTRUCT ok{99, sizeof(good), &good};
    StockSaw.clear();
    EXPECT_EQ(SendToClock(WM_COPYDATA, (WPARAM)ControllerWindow, (LPARAM)&ok), FlagTrue);
    EXPECT_TRUE(StockSaw.empty());
    EXPECT_EQ(ShellState().ControllerWnd, ControllerWindow);
    InExplorer([] { ClockState.PreviousClockProc = StockForSpy; });
}

// The shared layering flow sees the alpha; here, that the taskbar's other
// style bits stay, and that without the layered calls the style still turns.
TEST_F(Commands, LayeredTaskbarKeepsItsOtherStyleBits)
{
    DWORD style = (DWORD)GetWindowLongA(Taskbar.Tray, GWL_EXSTYLE);
    SendToClock(WM_COMMAND, LayeredModeCommand, 0);
    SendToClock(WM_COMMAND, LayeredModeCommand, 0);
    EXPECT_EQ((DWORD)GetWindowLongA(Taskbar.Tray, GWL_EXSTYLE), style);
    SimSetLayeredApiAvailable(false);
    SendToClock(WM_COMMAND, LayeredModeCommand, 0);
    EXPECT_TRUE(GetWindowLongA(Taskbar.Tray, GWL_EXSTYLE) & WS_EX_LAYERED);
    SendToClock(WM_COMMAND, LayeredModeCommand, 0);
    EXPECT_FALSE(GetWindowLongA(Taskbar.Tray, GWL_EXSTYLE) & WS_EX_LAYERED);
}

}  // namespace
