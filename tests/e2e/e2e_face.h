// The face as the scenarios see it: the options they expect, a fresh time
// snapshot whose colons show, captures handed to the runner for comparison
// with dialwick-preview, and the colons of the time row.
#pragma once

#include "tests/e2e/e2e_support.h"
#include "tests/scenarios/scenarios.h"
#include "tools/standin/standin_windows.h"

#include <string>

struct FaceRun {
    std::string OutDir;    // Windows form, without a trailing backslash
    std::string SkinsDir;  // likewise
    std::string Skin;
    unsigned Options = 0;
    int TaskbarHeight = 30;
    bool Windows10 = false;
    Taskbar Bar;
    SYSTEMTIME FaceTime{};
    DWORD LastSnapshot = 0;  // tick count of the last snapshot the library took
};

// The size the clock answers to the taskbar's query, width low, height high.
DWORD QueryClockSize(HWND clock);
// Waits until the clock answers a face's size, not the stock one, and the
// taskbar gave it that size: dialwick.exe attaches again when it hears the
// stand-in's "TaskbarCreated", and the stock clock shows in between. On the
// Windows 10 stand-in also until the notification area has grown by the
// face and its buttons follow the face (WaitWindows10Layout).
bool WaitClockSized(const FaceRun &run);
// A skinned face shows: the clock answers a size other than the stand-in's
// own, has that size, and the library is mapped into the stand-in.
bool ClockSkinned(const Taskbar &bar, int height);
// On the Windows 10 stand-in, waits until its notification area holds the
// pager, the clock at this size, and the buttons right after the clock, and
// is as long as all of them. Elsewhere true at once.
bool WaitWindows10Layout(const FaceRun &run, int clockWidth, int clockHeight);

// Makes the library take a snapshot at least two seconds after its last one,
// so that its colons show, and notes the second it took: every face painted
// until the next snapshot shows that time.
bool FreshSnapshot(FaceRun *run);
void NoteSnapshot(FaceRun *run);

// Waits for the clock's size, captures it and asks the runner to compare it
// with the preview of the run's skin, options, snapshot time and taskbar height.
bool ShootFace(FaceRun *run, const std::string &name);

// The colons of the time row in client coordinates, for a face that fills the
// clock window and has no date left of the time; the digit size comes from
// the skin's NUMBERS.BMP.
struct TimeCells {
    RECT Colon[2];
};
bool TimeRowCells(const FaceRun &run, TimeCells *cells);
// True when every pixel of the rectangle has one colour.
bool UniformRect(const Capture &capture, const RECT &r);
