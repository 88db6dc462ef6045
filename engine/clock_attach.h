// Taking over a taskbar's clock: what the library does in each process it
// starts in, and what the stand-in taskbar and the tests do with their own windows.
#pragma once

#include "engine/clock_state.h"

// The blink as a freshly started library has it: a step of one second, no second seen yet.
void StartClockBlink();

// Points the record at the given taskbar, notification area and clock
// windows, and notes whether Windows is XP, whose transparent face differs.
void AdoptClockWindows(HWND tray, HWND notify, HWND clock);
