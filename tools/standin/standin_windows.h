// A stand-in for Explorer's taskbar: Shell_TrayWnd > TrayNotifyWnd >
// TrayClockWClass with stock window procedures that behave as Explorer's do
// where the clock relies on them. Written against the Win32 API so the same
// source runs in the simulation and as a real Windows program.
#pragma once

#include "platform/platform.h"
#include "shell/clock_messages.h"

// The colours the stand-in paints with; tests and tools compare against them.
constexpr COLORREF StandinTrayColor = RGB(36, 52, 71);
constexpr COLORREF StandinNotifyColorA = RGB(58, 82, 104);
constexpr COLORREF StandinNotifyColorB = RGB(71, 99, 124);
constexpr COLORREF StandinNotifyColorC = RGB(90, 64, 110);
constexpr COLORREF StandinClockColor = RGB(26, 38, 54);
constexpr COLORREF StandinStockTextColor = RGB(214, 220, 228);
constexpr COLORREF StandinPagerColor = RGB(48, 70, 60);
constexpr COLORREF StandinButtonColor = RGB(120, 84, 40);
constexpr COLORREF StandinShowDesktopColor = RGB(150, 150, 160);
constexpr COLORREF StandinBridgeColor = RGB(30, 30, 30);
constexpr int StandinStockClockWidth = 64;

// Which taskbar the stand-in plays.
enum StandinMode {
    // Windows XP to Windows 10 1511: the taskbar asks the clock for its size.
    StandinClassic,
    // Windows 10 from 1607: the taskbar asks the notification area, which
    // counts the clock at a stock size and places its children itself: its
    // pager, the clock, a TrayButton and the show-desktop button.
    StandinWindows10,
    // Windows 11: a hidden notification area and a composition bridge that
    // draws the whole taskbar, its clock included; no clock window.
    StandinWindows11,
};

// The Windows 10 notification area's children other than the clock, by
// their length along the taskbar.
constexpr int StandinPagerLength = 40;
constexpr int StandinIconLength = 24;
constexpr int StandinButtonLength = 28;
constexpr int StandinShowDesktopLength = 10;

struct StandinLayout {
    int ScreenWidth = 1024;
    int ScreenHeight = 768;
    int TaskbarHeight = 30;  // the taskbar's thickness; its width when vertical
    bool Vertical = false;
    StandinMode Mode = StandinClassic;
};

// The taskbar's thickness as made: the asked one, but a Windows 10 taskbar
// along the bottom is at least 40 pixels at 96 DPI and grows with the
// system's DPI (a screen DC's LOGPIXELSY) as Windows 10's does.
int StandinThickness(const StandinLayout &layout);

// Clock is null on the Windows 11 taskbar.
struct StandinTaskbar {
    HWND Tray = nullptr;
    HWND Notify = nullptr;
    HWND Clock = nullptr;
};

// Registers the classes of every mode; false when any could not be registered.
bool RegisterStandinClasses(HINSTANCE instance);
void UnregisterStandinClasses(HINSTANCE instance);

// Creates and shows the taskbar's windows; all null when any window failed.
StandinTaskbar CreateStandinTaskbar(HINSTANCE instance, const StandinLayout &layout);

// Gives the clock the given client size and lays the notification area out
// around it: classic, the clock at its far end (right, or bottom when
// vertical); Windows 10, the pager, the clock and the buttons after it.
void PlaceStandinClock(const StandinTaskbar &taskbar, int width, int height);

// Windows 10: a tray icon added; the pager grows by StandinIconLength and the
// taskbar is laid out again, as Explorer does.
void AddStandinTrayIcon(const StandinTaskbar &taskbar);

// What the taskbar does on WM_SIZE and WM_EXITSIZEMOVE: asks the clock
// (classic) or the notification area (Windows 10) for its size and places it.
void LayoutStandinTaskbar(HWND tray);
