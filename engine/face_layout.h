#pragma once

#include "engine/clock_state.h"

Flag IsTaskbarVertical();

// A distance of the 100 % face, grown with the held artwork's scale, so a
// face drawn at 200 % keeps the proportions of the one at 100 %.
int32_t ScaledGap(int32_t pixels);

// Whether the taskbar is tall enough for the rows under the time.
bool TaskbarIsTall();
int32_t WindowWidth(HWND hwnd);
int32_t WindowHeight(HWND hwnd);

// The face rectangle: left and top 0, right and bottom the face's size.
void ComputeClockSize(RECT *face);
uint16_t FaceWidth();
uint16_t FaceHeight();

// The clock window's client rectangle, the face rectangle, and the point
// where drawing starts: the face centred in the client area, moved 6 right and 6 down.
void ComputeClockOrigin(RECT *client, RECT *face, int *x, int *y);

// Left edge of each time-row cell relative to the row's start.
enum TimeCell {
    HourTensCell,
    HourOnesCell,
    FirstColonCell,
    MinuteTensCell,
    MinuteOnesCell,
    SecondColonCell,
    SecondTensCell,
    SecondOnesCell,
    TimeRowEnd,
    TimeCellCount
};
int32_t TimeCellOffset(TimeCell cell, bool withSeconds);

// The time row's cells left to right, each with the digit it shows (-1 for a colon).
struct TimeRowCell {
    TimeCell Cell;
    int Digit;
};
extern const TimeRowCell TimeRowCells[TimeRowEnd];
// The cells a row holds: all of them with seconds, up to the minutes without.
int TimeRowCellCount(bool withSeconds);

// Whether the date stands as a block of day over month left of the time.
bool DateBlockShown();
// The date block's width, the gap before the time included.
int32_t DateBlockWidth();

// x where the time row starts, given the origin's x.
int32_t TimeRowStart(int originX);

// The cells that changed since the last paint, plus both colons with their
// dots; the whole client area when the hour changed. The caller deletes it.
HRGN BuildChangedDigitsRegion();
