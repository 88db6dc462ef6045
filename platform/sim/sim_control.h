// Test control of the simulated Windows: the handles a test needs to drive
// time and failures and to look at what was drawn. Not part of the Win32 API.
#pragma once

#include "platform/sim/sim_windows.h"

#include <stdint.h>
#include <vector>

// Destroys every window, class, GDI object and queued message and restores the
// default clock, version and failure settings.
void SimReset();

// The local time that GetLocalTime reports from now on.
void SimSetLocalTime(const SYSTEMTIME &time);
// Convenience: year, month, day, hour, minute, second; the weekday is derived.
void SimSetLocalTime(int year, int month, int day, int hour, int minute, int second);

void SimSetVersion(DWORD major, DWORD minor);

// Delivers posted messages, then WM_PAINT to every window with a non-empty
// update region, until nothing is left. Returns the number of messages delivered.
int SimPumpMessages();

// The pixels of a window's client area, row by row, as COLORREF values.
struct SimPixels {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;
    uint32_t At(int x, int y) const { return Pixels[(size_t)y * Width + x]; }
};
SimPixels SimReadWindowPixels(HWND hwnd);
// Fills a window's client area with one colour, bypassing clipping.
void SimFillWindow(HWND hwnd, COLORREF color);
SimPixels SimReadBitmapPixels(HBITMAP bitmap);

// Live objects, by kind, so a test can prove nothing leaked.
enum SimObjectKind { SimDCs, SimBitmaps, SimBrushes, SimRegions, SimObjectKindCount };
int SimLiveObjects(SimObjectKind kind);
int SimLiveGdiObjects();  // the sum of all kinds

// Pixels written into window surfaces since the last reset of the counter.
int64_t SimWindowPixelsWritten();
void SimResetWindowPixelsWritten();

// The update region of a window as a new region (the caller deletes it).
HRGN SimGetUpdateRegion(HWND hwnd);

// Makes the n-th call (1 = the next) of the named function fail, as Windows
// reports a failure of that function. n = 0 makes every call fail.
void SimFailCall(const char *function, int n);
void SimClearFailures();
// How many times the named function has been called since the last reset.
int SimCallCount(const char *function);
