// Who holds the clock: a killed controller's face gives way to Explorer's
// clock within two seconds; other programs can neither knock the face out nor
// take it; and the controller can tell when it has lost the clock, and when
// another controller has it.
#include "controller/clock_holder.h"
#include "settings/menu_commands.h"
#include "shell/clock_messages.h"
#include "shell/clock_wndproc.h"
#include "shell/library.h"
#include "tests/shell/shell_fixture.h"

#include <functional>
#include <string.h>

namespace {

using ControllerHold = ShellFixture;

void SeedOpaqueSeconds()
{
    for (const char *name : {"ShowDate", "DateIsLeft", "EnglishTime", "ShowDayOfWeek", "TransparentClock"})
        SeedFlag(name, false);
    SeedFlag("ShowSeconds", true);
}

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND CreatePlainWindow()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = PlainProc;
    wc.lpszClassName = "OtherProgram";
    RegisterClassA(&wc);
    return CreateWindowExA(0, "OtherProgram", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
}

TEST_F(ControllerHold, AKilledControllersFaceGivesWayToExplorersClockWithinTwoSeconds)
{
    SeedOpaqueSeconds();
    SimSetLocalTime(2026, 12, 6, 10, 15, 0);
    Attach();
    SimFireTimers();
    Pump();
    ASSERT_EQ(ShellState().ControllerWnd, ControllerWindow) << "a running controller keeps its clock";

    SimTerminateProcess(Controller);
    SimSetLocalTime(2026, 12, 6, 10, 16, 0);
    SimFireTimers(2000);
    Pump();
    ClockStateRecord shell = ShellState();
    EXPECT_EQ(shell.PreviousClockProc, nullptr);
    EXPECT_EQ(shell.ControllerWnd, nullptr);
    EXPECT_EQ(SimLiveObjects(SimBitmaps), 0) << "the skin was freed";
    InExplorer([&] {
        EXPECT_EQ((WNDPROC)GetWindowLongPtrA(Taskbar.Clock, GWLP_WNDPROC), StockClockProc);
        EXPECT_EQ((WNDPROC)GetWindowLongPtrA(Taskbar.Notify, GWLP_WNDPROC), StockNotifyProc);
    });
    RECT r = ClockRect();
    EXPECT_EQ(r.right - r.left, StandinStockClockWidth);
    // Explorer's own timer moves its clock on again.
    SimPixels before = ClockPixels();
    SimSetLocalTime(2026, 12, 6, 10, 17, 0);
    SimFireTimers();
    Pump();
    EXPECT_NE(ClockPixels().Pixels, before.Pixels);
    EXPECT_EQ(ClockPixels().At(0, 0), StandinClockColor);
}

TEST_F(ControllerHold, OnlyTheControllerThatAttachedHandsOverOrGivesTheClockBack)
{
    SeedOpaqueSeconds();
    Attach();
    DWORD other = SimCreateProcess("other.exe");
    HWND otherWindow = nullptr;
    SimInProcess(other, [&] { otherWindow = CreatePlainWindow(); });
    UINT unsubclass = RegisterWindowMessageA(UnsubclassMessageName);
    auto handOver = [&](HWND sender) {
        HandOverRecord record{};
        strcpy(record.HostPath, "C:\\Elsewhere\\x.exe");
        record.ControllerWnd = (uint32_t)(uintptr_t)sender;
        COPYDATASTRUCT data{0, sizeof(record), &record};
        SimInProcess(other, [&] { SendMessageA(Taskbar.Clock, WM_COPYDATA, (WPARAM)sender, (LPARAM)&data); });
    };
    struct Intrusion {
        const char *What;
        std::function<void()> Act;
    } intrusions[] = {
        {"a hand-over of the record's size from another program", [&] { handOver(otherWindow); }},
        {"the same naming no window", [&] { handOver(nullptr); }},
        {"the unsubclass message to both windows",
         [&] {
             SimInProcess(other, [&] {
                 SendMessageA(Taskbar.Clock, unsubclass, 0, 0);
                 SendMessageA(Taskbar.Notify, unsubclass, 0, 0);
             });
         }},
        {"loading and freeing the library", [&] { SimInProcess(other, [] { FreeLibrary(LoadLibraryA("dialwick.dll")); }); }},
        {"a second controller attaching and detaching",
         [&] {
             SimInProcess(other, [&] {
                 HMODULE library = LoadLibraryA("dialwick.dll");
                 EXPECT_EQ(SetClockOnTray(otherWindow, 1, HostPath.c_str(), ""), 0) << "refused";
                 EXPECT_EQ(AskClockHolder(otherWindow), ClockHeldElsewhere);
                 SetClockOnTray(otherWindow, 0, nullptr, nullptr);
                 FreeLibrary(library);
             });
         }},
    };
    for (const Intrusion &i : intrusions) {
        SCOPED_TRACE(i.What);
        i.Act();
        Pump();
        ClockStateRecord shell = ShellState();
        EXPECT_EQ(shell.SkinLoaded, FlagTrue);
        EXPECT_EQ(shell.PreviousClockProc, StockClockProc) << "still the library's clock";
        EXPECT_EQ(shell.ControllerWnd, ControllerWindow);
        EXPECT_EQ(ClockRect().right - ClockRect().left, 92) << "the face's size";
        EXPECT_EQ(AskClockHolder(ControllerWindow), ClockHeldHere);
    }
    SimSetMenuChoice(ExitCommand);
    InExplorer([&] { SendMessageA(Taskbar.Clock, WM_RBUTTONDOWN, 0, 0); });
    Pump();
    EXPECT_EQ(ControllerMessages, std::vector<UINT>{ExitRequestMessage}) << "Exit still reaches the controller";

    // A program that names the controller's window is taken for it: the
    // controller sees the clock lost, and attaching again takes it back.
    SimInProcess(other, [&] { SendMessageA(Taskbar.Clock, unsubclass, (WPARAM)ControllerWindow, 0); });
    Pump();
    EXPECT_EQ(AskClockHolder(ControllerWindow), ClockFree);
    Detach();
    Attach();
    EXPECT_EQ(AskClockHolder(ControllerWindow), ClockHeldHere);
    SimEndProcess(other);
}

}  // namespace
