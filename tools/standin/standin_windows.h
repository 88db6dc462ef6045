// A stand-in for Explorer's taskbar: Shell_TrayWnd > TrayNotifyWnd >
// TrayClockWClass with stock window procedures that behave as Explorer's do
// where the clock relies on them. Written against the Win32 API so the same
// source runs in the simulation and as a real Windows program.
#pragma once

#include "platform/platform.h"

// Explorer's clock size query and its answer: width low, height high.
constexpr UINT ClockSizeQuery = WM_USER + 100;

// The colours the stand-in paints with; tests and tools compare against them.
constexpr COLORREF StandinTrayColor = RGB(36, 52, 71);
constexpr COLORREF StandinNotifyColorA = RGB(58, 82, 104);
constexpr COLORREF StandinNotifyColorB = RGB(71, 99, 124);
constexpr COLORREF StandinNotifyColorC = RGB(90, 64, 110);
constexpr COLORREF StandinClockColor = RGB(26, 38, 54);
constexpr COLORREF StandinStockTextColor = RGB(214, 220, 228);
constexpr int StandinStockClockWidth = 64;

struct StandinLayout {
    int ScreenWidth = 1024;
    int ScreenHeight = 768;
    int TaskbarHeight = 30;  // the taskbar's thickness; its width when vertical
    bool Vertical = false;
};

struct StandinTaskbar {
    HWND Tray = nullptr;
    HWND Notify = nullptr;
    HWND Clock = nullptr;
};

// Registers the three classes; false when any of them could not be registered.
bool RegisterStandinClasses(HINSTANCE instance);
void UnregisterStandinClasses(HINSTANCE instance);

// Creates and shows the three windows; all null when any window failed.
StandinTaskbar CreateStandinTaskbar(HINSTANCE instance, const StandinLayout &layout);

// Gives the clock the given client size and lays the notification area out
// around it, the clock at its far end (right, or bottom when vertical).
void PlaceStandinClock(const StandinTaskbar &taskbar, int width, int height);

// What the taskbar does on WM_SIZE and WM_EXITSIZEMOVE: asks the clock for its
// size and places it.
void LayoutStandinTaskbar(HWND tray);
