// Who holds the clock: a killed controller's face gives way to Explorer's
// clock within two seconds; other programs can neither knock the face out nor
// take it (the intrusions the Wine scenarios run too); and the controller can
// tell when it has lost the clock, and when another controller has it, and is
// told when Explorer's copy lets it go.
#include "controller/clock_holder.h"
#include "shell/clock_messages.h"
#include "shell/library.h"
#include "tests/scenarios/scenarios.h"
#include "tests/shell/shell_fixture.h"

#include <algorithm>

namespace {

using ControllerHold = ShellFixture;

TEST_F(ControllerHold, AKilledControllersFaceGivesWayToExplorersClockWithinTwoSeconds)
{
    SeedOptions(OptSeconds);
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
    EXPECT_EQ(ClockRect().right - ClockRect().left, StandinStockClockWidth);
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
    SeedOptions(OptSeconds);
    Attach();
    DWORD other = SimCreateProcess("other.exe");
    HWND otherWindow = nullptr;
    SimInProcess(other, [&] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "OtherProgram";
        RegisterClassA(&wc);
        otherWindow = CreateWindowExA(0, "OtherProgram", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    });
    UINT unsubclass = RegisterWindowMessageA(UnsubclassMessageName);
    UINT released = RegisterWindowMessageA(ClockReleasedMessageName);
    // Kept across the asks, as the controller keeps it.
    HolderQuery holder{};
    auto send = [&](HWND to, UINT msg, WPARAM wParam, LPARAM lParam) {
        SimInProcess(other, [&] { SendMessageA(to, msg, wParam, lParam); });
    };
    for (const Intrusion &i : Intrusions) {
        SCOPED_TRACE(i.What);
        ControllerMessages.clear();
        HWND sender = i.Kind == ForeignHandOver ? otherWindow : nullptr;
        HandOverRecord record = ForeignHandOverRecord(sender);
        COPYDATASTRUCT data{0, sizeof(record), &record};
        switch (i.Kind) {
        case ForeignHandOver:
        case HandOverNamingNone:
            send(Taskbar.Clock, WM_COPYDATA, (WPARAM)sender, (LPARAM)&data);
            break;
        case Unsubclass:
            send(Taskbar.Clock, unsubclass, 0, 0);
            send(Taskbar.Notify, unsubclass, 0, 0);
            break;
        case LoadAndFree:
            SimInProcess(other, [] { FreeLibrary(LoadLibraryA("dialwick.dll")); });
            break;
        case SecondController:
            SimInProcess(other, [&] {
                HMODULE library = LoadLibraryA("dialwick.dll");
                EXPECT_EQ(SetClockOnTray(otherWindow, 1, HostPath.c_str(), ""), 0) << "refused";
                HolderQuery otherHolder{};
                EXPECT_EQ(AskClockHolder(otherWindow, &otherHolder), ClockHeldElsewhere);
                SetClockOnTray(otherWindow, 0, nullptr, nullptr);
                FreeLibrary(library);
            });
            break;
        case UnsubclassAsHolder:
            // Exit still reaches the controller before the clock is taken from it.
            SimSetMenuChoice(ExitCommand);
            SendToClock(WM_RBUTTONDOWN, 0, 0);
            Pump();
            EXPECT_EQ(ControllerMessages, std::vector<UINT>{ExitRequestMessage});
            send(Taskbar.Clock, unsubclass, (WPARAM)ControllerWindow, 0);
            break;
        }
        Pump();
        bool taken = i.Kind == UnsubclassAsHolder;
        ClockStateRecord shell = ShellState();
        EXPECT_EQ(shell.PreviousClockProc, taken ? nullptr : StockClockProc);
        EXPECT_EQ(shell.ControllerWnd, taken ? nullptr : ControllerWindow);
        EXPECT_EQ(AskClockHolder(ControllerWindow, &holder), taken ? ClockFree : ClockHeldHere);
        EXPECT_EQ(std::count(ControllerMessages.begin(), ControllerMessages.end(), released), taken ? 1 : 0)
            << "the controller is told when, and only when, the clock is let go";
        if (!taken) {
            EXPECT_EQ(shell.SkinLoaded, FlagTrue);
            EXPECT_EQ(ClockRect().right - ClockRect().left, 92) << "the face's size";
        }
    }
    // The controller notices the lost clock and takes it back.
    Detach();
    Attach();
    EXPECT_EQ(AskClockHolder(ControllerWindow, &holder), ClockHeldHere);
    SimEndProcess(other);
}

}  // namespace
