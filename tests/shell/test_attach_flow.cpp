// The whole life of the skinned clock, from attach to detach, across the
// controller's and Explorer's processes.
#include "settings/menu_commands.h"
#include "shell/clock_wndproc.h"
#include "shell/library.h"
#include "tests/shell/shell_fixture.h"

namespace {

using AttachFlow = ShellFixture;

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

    // The next second shows the colons again: their dots are drawn, not
    // filled first and drawn over.
    SimSetLocalTime(2026, 12, 6, 10, 16, 0);
    SimResetWindowPixelsWritten();
    RepaintClock();
    Pump();
    SimPixels shown = ClockPixels();
    EXPECT_NE(shown.At(30, 10), shown.At(29, 10)) << "the first colon's upper dot shows";
    EXPECT_EQ(SimWindowPixelsWritten(), 5 * 9 * 14) << "minute ones, both seconds and both colons, each pixel once";
}

// The library just mapped into Explorer shows its colons at the first
// paint, in the second after a minute's turn too.
TEST_F(AttachFlow, FirstFaceShowsItsColons)
{
    SeedOptions(OptSeconds);
    SimSetLocalTime(2026, 12, 6, 10, 16, 1);
    Attach();
    EXPECT_EQ(ShellState().ColonVisible, FlagTrue);
}

// A transparent face erases behind the cells a tick repaints, through the
// procedure it replaced: what the window held there before is gone.
TEST_F(AttachFlow, TransparentTickErasesBehindTheChangedCells)
{
    SeedOptions(OptSeconds | OptTransparent);
    SimSetLocalTime(2026, 12, 6, 10, 15, 58);
    Attach();
    const COLORREF stale = RGB(7, 7, 7);
    SimFillWindow(Taskbar.Clock, stale);
    SimSetLocalTime(2026, 12, 6, 10, 15, 59);
    RepaintClock();
    Pump();
    // The second ones' cell at (77, 6): its keyed top-left pixel shows the
    // erased background; the cells left alone keep the fill.
    SimPixels after = ClockPixels();
    EXPECT_EQ(after.At(77, 6), StandinClockColor);
    EXPECT_EQ(after.At(78, 7), TestDigitColor(9));
    EXPECT_EQ(after.At(6, 6), stale);
}

// The shared detach flow sees the stock clock come back; here, that the
// library let go of everything it held in Explorer.
TEST_F(AttachFlow, DetachFreesWhatTheClockHeld)
{
    SeedOptions(OptSeconds);
    Attach();
    SimSetMenuChoice(0);  // a menu opened and closed: its tree stays until the next
    SendToClock(WM_RBUTTONDOWN, 0, 0);
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

}  // namespace
