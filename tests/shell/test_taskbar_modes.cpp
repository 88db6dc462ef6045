// The real library on the taskbar that sizes the clock itself (Windows 10
// from 1607) and on the one without a classic clock window (Windows 11).
#include "engine/face_layout.h"
#include "settings/menu_commands.h"
#include "settings/registry_key.h"
#include "shell/library.h"
#include "tests/shell/shell_fixture.h"
#include "tools/standin/taskbar_rects.h"

#include <algorithm>

namespace {

struct TaskbarModes : ShellFixture {
    SIZE Face()
    {
        SIZE s{};
        InExplorer([&] { s = SIZE{FaceWidth(), FaceHeight()}; });
        return s;
    }
    HWND NotifyChild(const char *className)
    {
        HWND w = nullptr;
        InExplorer([&] { w = FindWindowExA(Taskbar.Notify, nullptr, className, nullptr); });
        return w;
    }
    // The rectangles the stand-in makes itself around a clock of that size,
    // which is what the preview paints; only once the library is gone.
    std::string RectsAroundClock(SIZE clock)
    {
        InExplorer([&] { PlaceStandinClock(Taskbar, clock.cx, clock.cy); });
        Pump();
        return Rects();
    }
    // The clock has the face's size, and no other child of the notification
    // area overlaps it along the taskbar.
    void ExpectFaceHasItsRoom(bool vertical)
    {
        SIZE face = Face();
        InExplorer([&] {
            RECT clock;
            GetWindowRect(Taskbar.Clock, &clock);
            EXPECT_EQ(clock.right - clock.left, face.cx);
            EXPECT_EQ(clock.bottom - clock.top, face.cy);
            for (HWND w = FindWindowExA(Taskbar.Notify, nullptr, nullptr, nullptr); w;
                 w = FindWindowExA(Taskbar.Notify, w, nullptr, nullptr)) {
                RECT r;
                GetWindowRect(w, &r);
                bool apart = vertical ? r.bottom <= clock.top || r.top >= clock.bottom
                                      : r.right <= clock.left || r.left >= clock.right;
                EXPECT_TRUE(w == Taskbar.Clock || apart) << DescribeTaskbarRects(Taskbar.Tray);
            }
        });
    }
};

struct Windows10 : TaskbarModes, ::testing::WithParamInterface<StandinLayout> {
    Windows10() { Layout = GetParam(); }
};

TEST_P(Windows10, TheFaceGetsItsRoomFollowsItsOptionsAndDetachGivesEverythingBack)
{
    SeedOptions(OptSeconds);
    const std::string stock = Rects();
    auto notifyAnswer = [&] {
        DWORD a = 0;
        InExplorer([&] { a = (DWORD)SendMessageA(Taskbar.Notify, ClockSizeMessage, 0, 0); });
        return Layout.Vertical ? LOWORD(a) : HIWORD(a);
    };
    const WORD across = notifyAnswer();
    ASSERT_EQ(Attach(), -1);
    SIZE withSeconds = Face();
    ExpectFaceHasItsRoom(Layout.Vertical);
    EXPECT_EQ(notifyAnswer(), across) << "the notification area grows along the taskbar only";
    const std::string attached = Rects();
    EXPECT_NE(attached, stock);
    // A new tray icon makes the pager ask for its size again, and Explorer
    // may place its clock on its own: neither squeezes the face.
    InExplorer([&] {
        SendMessageA(NotifyChild("SysPager"), PGM_RECALCSIZE, 0, 0);
        RECT clock, notify;
        GetWindowRect(Taskbar.Clock, &clock);
        GetWindowRect(Taskbar.Notify, &notify);
        SetWindowPos(Taskbar.Clock, nullptr, clock.left - notify.left, clock.top - notify.top, StandinStockClockWidth,
                     24, SWP_NOZORDER | SWP_NOACTIVATE);
    });
    Pump();
    ExpectFaceHasItsRoom(Layout.Vertical);
    InExplorer([&] { SendMessageA(NotifyChild("SysPager"), PGM_RECALCSIZE, 0, 0); });
    EXPECT_EQ(Rects(), attached);
    SendToClock(WM_COMMAND, ShowSecondsCommand, 0);
    Pump();
    SIZE withoutSeconds = Face();
    ASSERT_LT(withoutSeconds.cx, withSeconds.cx);
    ExpectFaceHasItsRoom(Layout.Vertical);
    const std::string narrower = Rects();

    EXPECT_EQ(Detach(), -1);
    EXPECT_EQ(Rects(), stock) << "Explorer's own layout came back";
    EXPECT_EQ(ClockPixels().At(0, 0), StandinClockColor) << "and its clock";
    EXPECT_EQ(RectsAroundClock(withSeconds), attached);
    EXPECT_EQ(RectsAroundClock(withoutSeconds), narrower);
}

INSTANTIATE_TEST_SUITE_P(Layouts, Windows10,
                         ::testing::Values(StandinLayout{1024, 768, 30, false, StandinWindows10},
                                           StandinLayout{1024, 768, 48, false, StandinWindows10},
                                           StandinLayout{1024, 768, 60, true, StandinWindows10}));

// Explorers that do what the library does not expect, each installed inside
// Explorer before the attach.
WNDPROC StockNotify = nullptr, StockPager = nullptr;

LRESULT CALLBACK AnswersZero(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return msg == ClockSizeMessage ? 0 : CallWindowProcA(StockNotify, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK MutePager(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return msg == PGM_RECALCSIZE ? 0 : CallWindowProcA(StockPager, hwnd, msg, wParam, lParam);
}

// Lays out the pager and the buttons after a stock clock's width, and never the clock.
LRESULT CALLBACK SkipsTheClock(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const NMHDR *header = (const NMHDR *)lParam;
    if (msg != WM_NOTIFY || !header || header->code != PGN_CALCSIZE)
        return CallWindowProcA(StockNotify, hwnd, msg, wParam, lParam);
    static const struct {
        const char *Class;
        int Length;
    } bars[] = {{"SysPager", StandinPagerLength + StandinStockClockWidth},
                {"TrayButton", StandinButtonLength},
                {"TrayShowDesktopButtonWClass", StandinShowDesktopLength}};
    RECT rc;
    GetClientRect(hwnd, &rc);
    int at = 0;
    for (const auto &bar : bars) {
        int length = bar.Length - (at == 0 ? StandinStockClockWidth : 0);
        MoveWindow(FindWindowExA(hwnd, nullptr, bar.Class, nullptr), at, 0, length, rc.bottom, TRUE);
        at += bar.Length;
    }
    return 0;
}

const struct {
    const char *Name;
    void (*Install)(const StandinTaskbar &);
} Faults[] = {
    {"a missing sibling",
     [](const StandinTaskbar &t) { DestroyWindow(FindWindowExA(t.Notify, nullptr, "TrayButton", nullptr)); }},
    {"a pager that never notifies",
     [](const StandinTaskbar &t) {
         HWND pager = FindWindowExA(t.Notify, nullptr, "SysPager", nullptr);
         StockPager = (WNDPROC)SetWindowLongPtrA(pager, GWLP_WNDPROC, (LONG_PTR)MutePager);
     }},
    {"a clock that Explorer never places",
     [](const StandinTaskbar &t) {
         StockNotify = (WNDPROC)SetWindowLongPtrA(t.Notify, GWLP_WNDPROC, (LONG_PTR)SkipsTheClock);
     }},
    {"an answer of 0",
     [](const StandinTaskbar &t) {
         StockNotify = (WNDPROC)SetWindowLongPtrA(t.Notify, GWLP_WNDPROC, (LONG_PTR)AnswersZero);
     }},
};

struct Windows10Faults : TaskbarModes, ::testing::WithParamInterface<int> {
    Windows10Faults() { Layout.Mode = StandinWindows10; }
};

TEST_P(Windows10Faults, NothingBreaksTheFaceHasItsRoomAndNothingStaysMoved)
{
    SCOPED_TRACE(Faults[GetParam()].Name);
    SeedOptions(OptSeconds);
    InExplorer([&] {
        Faults[GetParam()].Install(Taskbar);
        StockNotifyProc = (WNDPROC)GetWindowLongPtrA(Taskbar.Notify, GWLP_WNDPROC);
        LayoutStandinTaskbar(Taskbar.Tray);
    });
    Pump();
    const std::string stock = Rects();
    EXPECT_EQ(Attach(), -1);
    ExpectFaceHasItsRoom(false);
    // Sized alone, with only the height wrong: the next layout sizes it back
    // and paints it whole.
    SIZE face = Face();
    InExplorer([&] {
        SetWindowPos(Taskbar.Clock, nullptr, 0, 0, face.cx, face.cy - 4, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        HDC dc = GetDC(Taskbar.Clock);
        HBRUSH stale = CreateSolidBrush(RGB(255, 0, 255));
        RECT rc{0, 0, face.cx, face.cy};
        FillRect(dc, &rc, stale);
        DeleteObject(stale);
        ReleaseDC(Taskbar.Clock, dc);
        SendMessageA(Taskbar.Notify, WM_SIZE, 0, 0);
    });
    Pump();
    ExpectFaceHasItsRoom(false);
    SimPixels pixels = ClockPixels();
    EXPECT_EQ(std::count(pixels.Pixels.begin(), pixels.Pixels.end(), RGB(255, 0, 255)), 0) << "stale pixels";
    SimFireTimers();
    RepaintClock();
    Pump();
    EXPECT_EQ(Detach(), -1);
    EXPECT_EQ(Rects(), stock);
}

INSTANTIATE_TEST_SUITE_P(Faults, Windows10Faults, ::testing::Range(0, (int)(sizeof(Faults) / sizeof(Faults[0]))));

// Explorer's answers, where the face grown onto them leaves 1 to 65,535 or not.
LRESULT NotifyAnswer = 0;
LRESULT CALLBACK AnswersGiven(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return msg == ClockSizeMessage ? NotifyAnswer : CallWindowProcA(StockNotify, hwnd, msg, wParam, lParam);
}

TEST_F(Windows10Faults, AnAnswerTheFaceWouldMakeEmptyIsExplorersOwn)
{
    Skins.AddSkin("Narrow", TestSkinShape{4, 8, 3, 5});
    SimRegSetValue(SettingsKeyPath, "SkinName", REG_SZ, "Narrow", 7);
    SeedOptions(0);
    NotifyAnswer = MAKELONG(StandinStockClockWidth, 40);
    InExplorer([&] {
        StockNotify = (WNDPROC)SetWindowLongPtrA(Taskbar.Notify, GWLP_WNDPROC, (LONG_PTR)AnswersGiven);
        StockNotifyProc = (WNDPROC)GetWindowLongPtrA(Taskbar.Notify, GWLP_WNDPROC);
    });
    ASSERT_EQ(Attach(), -1);
    int grow = 0;
    InExplorer([&] { grow = FaceWidth() - (ClockState.ExplorerClockRect.right - ClockState.ExplorerClockRect.left); });
    ASSERT_LT(grow, 0) << "a face narrower than Explorer's clock";
    const struct {
        int Width, Height;
        bool Grown;
    } cases[] = {{-grow, 40, false}, {1 - grow, 40, true}, {1 - grow, 0, false}};
    for (const auto &c : cases) {
        NotifyAnswer = MAKELONG(c.Width, c.Height);
        LRESULT got = 0;
        InExplorer([&] { got = SendMessageA(Taskbar.Notify, ClockSizeMessage, 0, 0); });
        EXPECT_EQ(got, c.Grown ? MAKELONG(c.Width + grow, c.Height) : NotifyAnswer) << c.Width << "x" << c.Height;
    }
    NotifyAnswer = 0;
}

// A tray icon added while the face shows: Explorer places its clock further
// along, and what follows the clock still follows the face.
TEST_F(Windows10Faults, ATrayIconMovesTheFaceAndWhatFollowsIt)
{
    SeedOptions(OptSeconds);
    ASSERT_EQ(Attach(), -1);
    InExplorer([&] { AddStandinTrayIcon(Taskbar); });
    Pump();
    ExpectFaceHasItsRoom(false);
    const std::string withIcon = Rects();
    const SIZE face = Face();
    EXPECT_EQ(Detach(), -1);
    EXPECT_EQ(RectsAroundClock(face), withIcon);
}

struct Windows11 : TaskbarModes {
    Windows11() { Layout.Mode = StandinWindows11; }
};

TEST_F(Windows11, WithoutAClassicClockTheAttachRefusesAndHooksNothing)
{
    ASSERT_EQ(Taskbar.Clock, nullptr);
    ASSERT_NE(ClockState.TrayWnd, nullptr) << "the controller's copy found the taskbar";
    SimResetCallCounts();
    EXPECT_EQ(SetClockOnTray(ControllerWindow, 1, HostPath.c_str(), ""), 0);
    EXPECT_EQ(SimCallCount("SetWindowsHookExA"), 0);
    EXPECT_EQ(SimLiveHooks(), 0);
    EXPECT_FALSE(SimModuleMapped(Explorer, Library));
    EXPECT_EQ(Detach(), -1);
    EXPECT_EQ(SimCallCount("PostMessageA"), 0) << "a taskbar with no clock of ours is not laid out again";
}

}  // namespace
