// Two simulated processes, as on a real desktop: "explorer.exe" with the
// stand-in taskbar, and "dialwick.exe", the controller, which loads the
// library. The library's globals are kept per process by the simulation.
#pragma once

#include "engine/clock_state.h"
#include "platform/sim/sim_control.h"
#include "tests/engine/test_support.h"
#include "tools/standin/face_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct ShellFixture : ::testing::Test {
    TestSkinDir Skins;
    DWORD Explorer = 0, Controller = 0;
    StandinLayout Layout;  // which taskbar SetUp makes
    StandinTaskbar Taskbar;
    HWND ControllerWindow = nullptr;
    HMODULE Library = nullptr;
    WNDPROC StockClockProc = nullptr, StockNotifyProc = nullptr;
    std::string HostPath;  // in Windows form: a file in the skins folder

    void SetUp() override;
    void TearDown() override;

    // Attaches from the controller and lets the taskbar lay itself out.
    LONG Attach();
    LONG Detach();
    // Runs the posted messages and paints of every process.
    void Pump() { SimPumpMessages(); }

    // Explorer's copy of the library's state, read inside Explorer.
    ClockStateRecord ShellState();
    // Runs f inside Explorer.
    template <typename F>
    void InExplorer(F f)
    {
        SimInProcess(Explorer, f);
    }

    // Messages the controller's window received, by id.
    static std::vector<UINT> ControllerMessages;

    SimPixels ClockPixels() { return SimReadWindowPixels(Taskbar.Clock); }
    RECT ClockRect();
    // A message sent to the clock inside Explorer, and its answer.
    LRESULT SendToClock(UINT msg, WPARAM wParam, LPARAM lParam);
    // Where the taskbar's windows lie, as DescribeTaskbarRects writes it.
    std::string Rects();
};

// Stores the face options (FaceOption bits) as the library does, one byte each.
void SeedOptions(unsigned options);
