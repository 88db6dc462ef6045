// The whole life of the skinned clock, from attach to detach, across the
// controller's and Explorer's processes.
#include "engine/face_layout.h"
#include "settings/menu_commands.h"
#include "shell/clock_wndproc.h"
#include "shell/hook_subclass.h"
#include "shell/library.h"
#include "tests/shell/shell_fixture.h"

#include <string.h>

namespace {

using AttachFlow = ShellFixture;

TEST_F(AttachFlow, AttachLoadsTheSkinAndTheTaskbarMakesRoomForTheFace)
{
    SeedOptions(OptSeconds);
    EXPECT_EQ(Attach(), -1) << "a skin was loaded";
    ClockStateRecord shell = ShellState();
    EXPECT_EQ(shell.SkinLoaded, FlagTrue);
    EXPECT_STREQ(shell.CurrentSkinName, "Herb");
    EXPECT_EQ(shell.PreviousClockProc, StockClockProc);
    EXPECT_EQ(shell.PreviousNotifyProc, StockNotifyProc);
    EXPECT_EQ(shell.ControllerWnd, ControllerWindow);
    EXPECT_EQ(shell.ShowSeconds, FlagTrue);
    EXPECT_EQ(shell.HookHandle, nullptr) << "only the controller's copy holds the hook";
    EXPECT_NE(ClockState.HookHandle, nullptr);
    EXPECT_EQ(ClockState.SkinLoaded, 0) << "the controller's copy never loads a skin";
    InExplorer([&] {
        EXPECT_EQ((WNDPROC)GetWindowLongPtrA(Taskbar.Clock, GWLP_WNDPROC), ClockWndProc);
        EXPECT_EQ((WNDPROC)GetWindowLongPtrA(Taskbar.Notify, GWLP_WNDPROC), NotifyWndProc);
    });
    // Herb test skin (9 x 14 digits) with seconds: 92 x 24.
    RECT r = ClockRect();
    EXPECT_EQ(r.right - r.left, 92);
    EXPECT_EQ(r.bottom - r.top, 24);
    EXPECT_TRUE(SimModuleMapped(Explorer, Library));
}

TEST_F(AttachFlow, TickRepaintsOnlyTheChangedCells)
{
    SeedOptions(OptSeconds);
    SimSetLocalTime(2026, 12, 6, 10, 15, 58);
    Attach();
    SimPixels before = ClockPixels();
    SimSetLocalTime(2026, 12, 6, 10, 15, 59);
    SimResetWindowPixelsWritten();
    EXPECT_TRUE(RepaintClock());
    Pump();
    SimPixels after = ClockPixels();
    // Face 92 x 24 in a 92 x 24 client: origin (6, 6). Second ones at 6 + 71.
    int changed = 0;
    for (int y = 0; y < after.Height; y++)
        for (int x = 0; x < after.Width; x++)
            if (after.At(x, y) != before.At(x, y)) {
                changed++;
                bool secondOnes = x >= 77 && x < 86;
                bool colon = (x >= 26 && x < 35) || (x >= 56 && x < 65);
                EXPECT_TRUE(secondOnes || colon) << x << "," << y;
            }
    EXPECT_GT(changed, 0);
    EXPECT_EQ(after.At(78, 7), TestDigitColor(9));
    EXPECT_EQ(SimWindowPixelsWritten(), 3 * 9 * 14) << "the three changed cells, each pixel once";

    // A second request within the same second paints nothing.
    SimResetWindowPixelsWritten();
    RepaintClock();
    Pump();
    EXPECT_EQ(SimWindowPixelsWritten(), 0);
}

TEST_F(AttachFlow, RightClickChoosesASkin)
{
    SeedOptions(OptSeconds);
    Attach();
    InExplorer([&] { SendMessageA(Taskbar.Clock, WM_RBUTTONDOWN, 0, MAKELPARAM(5, 6)); });
    SimTrackedMenu tracked = SimLastTrackedMenu();
    EXPECT_TRUE(tracked.Open);
    EXPECT_EQ(tracked.Owner, Taskbar.Clock);
    RECT r = ClockRect();
    EXPECT_EQ(tracked.X, r.left + 5);
    EXPECT_EQ(tracked.Y, r.top + 6);
    UINT wide = 0;
    std::vector<SimMenuItem> items;
    ASSERT_TRUE(SimGetMenuItems(ShellState().SkinsMenu, &items));
    for (const SimMenuItem &i : items)
        if (i.Text == "Wide")
            wide = (UINT)i.Id;
    ASSERT_GE(wide, FirstSkinCommand);
    ASSERT_TRUE(SimChooseMenuItem(wide));
    Pump();
    EXPECT_STREQ(ShellState().CurrentSkinName, "Wide");
    EXPECT_EQ(StoredValue("SkinName"), "Wide");
    // Wide: 12-pixel digits, so 8 x 14 + 4 = 116 wide.
    r = ClockRect();
    EXPECT_EQ(r.right - r.left, 116);
}

TEST_F(AttachFlow, DetachRestoresExplorersClock)
{
    SeedOptions(OptSeconds);
    Attach();
    SimSetMenuChoice(0);  // a menu opened and closed: its tree stays until the next
    InExplorer([&] { SendMessageA(Taskbar.Clock, WM_RBUTTONDOWN, 0, 0); });
    ASSERT_GT(SimLiveMenus(), 0);
    EXPECT_EQ(Detach(), -1);
    EXPECT_EQ(SimLiveMenus(), 0) << "the menus went with the clock, not with Explorer";
    ClockStateRecord shell = ShellState();
    EXPECT_EQ(shell.PreviousClockProc, nullptr);
    EXPECT_EQ(shell.NumbersBitmap, nullptr);
    EXPECT_EQ(shell.MainMenu, nullptr);
    EXPECT_EQ(ClockState.HookHandle, nullptr);
    EXPECT_EQ(ClockState.ControllerWnd, nullptr);
    EXPECT_EQ(SimLiveHooks(), 0);
    EXPECT_EQ(SimLiveObjects(SimBitmaps), 0) << "the skin was freed";
    // Explorer repainted its stock clock, sized as it wants it.
    RECT r = ClockRect();
    EXPECT_EQ(r.right - r.left, StandinStockClockWidth);
    EXPECT_EQ(ClockPixels().At(0, 0), StandinClockColor);
}

TEST_F(AttachFlow, SecondAttachReloadsWithoutSubclassingTwice)
{
    SeedOptions(OptSeconds);
    Attach();
    SeedOptions(0);
    EXPECT_EQ(Attach(), -1);
    ClockStateRecord shell = ShellState();
    EXPECT_EQ(shell.PreviousClockProc, StockClockProc) << "no chain of replacements";
    EXPECT_EQ(shell.ShowSeconds, 0) << "the settings were read again";
    EXPECT_EQ(SimLiveHooks(), 1);
    EXPECT_EQ(SimLiveObjects(SimBitmaps), 2);
}

TEST_F(AttachFlow, DetachWithoutAttachAndKillHooks)
{
    EXPECT_EQ(SetClockOnTray(nullptr, 0, nullptr, nullptr), -1);
    EXPECT_EQ(KillHooks((HWND)(uintptr_t)0x1234), 0);
    EXPECT_EQ(RepaintClock(), TRUE) << "posted; Explorer's clock ignores it";
    Pump();
}

// The folder of the chosen skin is missing for a while (an update, say): the
// stock clock shows, but neither a command that saves the settings nor
// picking the skin again loses the choice, and the skin is back at the next
// attach once its folder is.
TEST_F(AttachFlow, AFailedSkinLoadKeepsTheStoredChoice)
{
    SeedOptions(OptSeconds);
    for (const char *skin : {"Wide", "Herb"}) {
        SCOPED_TRACE(skin);
        SeedSkinName(skin);
        ASSERT_EQ(Attach(), -1);
        SimSetMenuChoice(0);
        InExplorer([&] { SendMessageA(Taskbar.Clock, WM_RBUTTONDOWN, 0, 0); });
        UINT id = 0;
        std::vector<SimMenuItem> items;
        ASSERT_TRUE(SimGetMenuItems(ShellState().SkinsMenu, &items));
        for (const SimMenuItem &i : items)
            if (i.Text == skin)
                id = (UINT)i.Id;
        std::string folder = Skins.Path + "/" + skin, away = folder + ".away";
        ASSERT_EQ(rename(folder.c_str(), away.c_str()), 0);

        InExplorer([&] { SendMessageA(Taskbar.Clock, WM_COMMAND, id, 0); });
        EXPECT_EQ(ShellState().SkinLoaded, 0);
        EXPECT_EQ(StoredValue("SkinName"), skin) << "picking the missing skin again";
        EXPECT_EQ(Attach(), 0);
        EXPECT_EQ(ClockRect().right - ClockRect().left, StandinStockClockWidth) << "the stock answer to the size query";
        SimFireTimers();
        Pump();
        EXPECT_EQ(ClockPixels().At(0, 0), StandinClockColor);
        InExplorer([&] { SendMessageA(Taskbar.Clock, WM_COMMAND, ShowSecondsCommand, 0); });
        EXPECT_EQ(StoredValue("SkinName"), skin) << "a command after an attach that found no skin";

        ASSERT_EQ(rename(away.c_str(), folder.c_str()), 0);
        EXPECT_EQ(Attach(), -1);
        EXPECT_STREQ(ShellState().CurrentSkinName, skin);
        Detach();
    }
}

// A registration that failed at load is tried again by the attach and by the
// detach, which must still give Explorer's clock back.
TEST_F(AttachFlow, MessagesNotRegisteredAtLoadAreRegisteredWhenNeeded)
{
    SeedOptions(OptSeconds);
    for (bool attach : {true, false}) {
        ClockState.PaintClockMsg = ClockState.SubclassMsg = ClockState.UnsubclassMsg = 0;
        EXPECT_EQ(attach ? Attach() : Detach(), -1);
        EXPECT_EQ(ShellState().PreviousClockProc != nullptr, attach);
    }
}

TEST_F(AttachFlow, OverlongHostPathIsRefused)
{
    std::string longPath(HandOverHostPathSize, 'x');
    EXPECT_EQ(SetClockOnTray(ControllerWindow, 1, longPath.c_str(), ""), 0);
    EXPECT_EQ(SimLiveHooks(), 0);
    EXPECT_EQ(ShellState().PreviousClockProc, nullptr);
}

TEST_F(AttachFlow, SettingsChangeRepaintsTheFaceTwice)
{
    SeedOptions(OptSeconds);
    Attach();
    int paints = SimCallCount("BeginPaint");
    InExplorer([&] { SendMessageA(Taskbar.Notify, WM_WININICHANGE, 0, 0); });
    EXPECT_EQ(SimCallCount("BeginPaint") - paints, 2);
}

std::vector<DWORD> Chained;
void RecordNotification(DWORD reason) { Chained.push_back(reason); }

TEST_F(AttachFlow, ProcessNotificationsReachTheDetachPathAndTheHandlerBefore)
{
    SeedOptions(OptSeconds);
    Attach();
    EXPECT_EQ(ModuleNotifyHandler, LibraryDetach);
    ClockState.PreviousNotifyHandler = RecordNotification;
    Chained.clear();
    DllMain(LibraryInstance, DLL_THREAD_ATTACH, nullptr);
    DllMain(LibraryInstance, DLL_THREAD_DETACH, nullptr);
    EXPECT_EQ(ShellState().PreviousClockProc, StockClockProc) << "thread notifications detach nothing";
    DllMain(LibraryInstance, DLL_PROCESS_DETACH, nullptr);
    Pump();
    EXPECT_EQ(Chained, (std::vector<DWORD>{DLL_THREAD_ATTACH, DLL_THREAD_DETACH, DLL_PROCESS_DETACH}));
    EXPECT_EQ(ShellState().PreviousClockProc, nullptr) << "unloading detached the clock";
    EXPECT_EQ(SimLiveHooks(), 0);
    ClockState.PreviousNotifyHandler = nullptr;
}

}  // namespace
