// Face geometry: its size, its origin in the clock window, the positions of
// the time-row cells and the region of the cells that changed.
#include "engine/face_layout.h"

#include "engine/glyphs.h"
#include "engine/skin_scale.h"

static int32_t Trunc(double value) { return (int32_t)value; }

int32_t WindowHeight(HWND hwnd)
{
    RECT r{};
    if (!hwnd || !GetWindowRect(hwnd, &r))
        return 0;
    return r.bottom - r.top;
}

Flag IsTaskbarVertical()
{
    RECT r{};
    GetClientRect(ClockState.TrayWnd, &r);
    return r.right - r.left < r.bottom - r.top ? FlagTrue : 0;
}

int32_t ScaledGap(int32_t pixels) { return ScaleDistance(pixels, ClockState.ArtScale ? ClockState.ArtScale : 100); }

bool TaskbarIsTall() { return (uint16_t)WindowHeight(ClockState.TrayWnd) > ScaledGap(30); }

void ComputeClockSize(RECT *face)
{
    const ClockStateRecord &s = ClockState;
    int32_t gap = ScaledGap(2);
    int32_t w = (s.ShowSeconds ? 8 : 5) * (s.DigitWidth + gap) + ScaledGap(4);
    int32_t h = s.DigitHeight + ScaledGap(10);
    if (s.EnglishTime || s.ShowDayOfWeek)
        w += 2 * s.TextCellWidth + gap;
    if (DateBlockShown()) {
        w += DateBlockWidth();
    } else if (TaskbarIsTall()) {
        if (s.ShowDate && s.ShowDayOfWeek) {
            h += 3 * s.TextCellHeight + gap;
        } else {
            w += s.TextCellHeight;
            h += s.TextCellHeight;
        }
    } else if (s.ShowDate || (s.ShowDayOfWeek && !s.DateIsLeft)) {
        h += s.TextCellHeight + gap;
    }
    *face = RECT{0, 0, w, h};
}

uint16_t FaceWidth()
{
    RECT face;
    ComputeClockSize(&face);
    return (uint16_t)(face.right - face.left);
}

uint16_t FaceHeight()
{
    RECT face;
    ComputeClockSize(&face);
    return (uint16_t)(face.bottom - face.top);
}

static int32_t CentredOffset(int32_t clientSize, int32_t faceSize, int32_t clientStart)
{
    int32_t v = Trunc((double)(clientSize - faceSize) / 2.0 + (double)ScaledGap(6));
    if (v < 0)
        return 0;
    if (v < clientStart)
        return clientStart;
    return v;
}

void ComputeClockOrigin(RECT *client, RECT *face, int *x, int *y)
{
    *client = RECT{0, 0, 0, 0};
    GetClientRect(ClockState.ClockWnd, client);
    ComputeClockSize(face);
    *x = CentredOffset(client->right - client->left, face->right - face->left, client->left);
    *y = CentredOffset(client->bottom - client->top, face->bottom - face->top, client->top);
}

int32_t TimeCellOffset(TimeCell cell, bool withSeconds)
{
    int32_t dw = ClockState.DigitWidth, one = ScaledGap(1), two = ScaledGap(2);
    // Without seconds their cells lie one gap further right, past the row's end.
    int32_t absent = withSeconds ? 0 : two;
    switch (cell) {
    case HourTensCell:
        return 0;
    case HourOnesCell:
        return dw + two;
    case FirstColonCell:
        return 2 * dw + two;
    case MinuteTensCell:
        return 3 * dw + two + one;
    case MinuteOnesCell:
        return 4 * dw + 2 * two + one;
    case SecondColonCell:
        return 5 * dw + 2 * two + one + absent;
    case SecondTensCell:
        return 6 * dw + 2 * two + 2 * one + absent;
    case SecondOnesCell:
        return 7 * dw + 3 * two + 2 * one + absent;
    case TimeRowEnd:
    default:
        return withSeconds ? 8 * dw + 3 * two + 2 * one + ScaledGap(4) : 5 * dw + 3 * two + one;
    }
}

// A row per pair of digits and the colon after it.
// clang-format off
const TimeRowCell TimeRowCells[TimeRowEnd] = {
    {HourTensCell, HourTens},     {HourOnesCell, HourOnes},     {FirstColonCell, -1},
    {MinuteTensCell, MinuteTens}, {MinuteOnesCell, MinuteOnes}, {SecondColonCell, -1},
    {SecondTensCell, SecondTens}, {SecondOnesCell, SecondOnes},
};
// clang-format on

int TimeRowCellCount(bool withSeconds) { return withSeconds ? TimeRowEnd : SecondColonCell; }

bool DateBlockShown() { return ClockState.DateIsLeft && ClockState.ShowDate; }

int32_t DateBlockWidth() { return 3 * ClockState.TextCellWidth + ScaledGap(2); }

int32_t TimeRowStart(int originX) { return DateBlockShown() ? originX + DateBlockWidth() : originX; }

// Adds one rectangle to the region; a failed allocation only loses that rectangle.
static void AddRect(HRGN region, const RECT &r)
{
    HRGN cell = CreateRectRgn(r.left, r.top, r.right, r.bottom);
    if (!cell)
        return;
    CombineRgn(region, region, cell, RGN_OR);
    DeleteObject(cell);
}

// A digit cell, or a colon cell down to its lower dot, which reaches below
// the cell on a skin with flat digits (the dots lie within the cell's width).
static void AddCell(HRGN region, int32_t left, int32_t top, bool colon)
{
    RECT cell{left, top, left + ClockState.DigitWidth, top + ClockState.DigitHeight};
    if (colon) {
        RECT dots[2];
        ColonDots(left, top, dots);
        if (dots[1].bottom > cell.bottom)
            cell.bottom = dots[1].bottom;
    }
    AddRect(region, cell);
}

HRGN BuildChangedDigitsRegion()
{
    RECT client, face;
    int x, y;
    ComputeClockOrigin(&client, &face, &x, &y);
    const uint8_t *now = ClockState.CurrentDigits;
    const uint8_t *shown = ClockState.ShownDigits;
    // A new hour may bring a new day, and the rows under the time are centred
    // from the client's left edge, left of the origin: all of it is painted again.
    if (now[HourTens] != shown[HourTens] || now[HourOnes] != shown[HourOnes])
        return CreateRectRgn(client.left, client.top, client.right, client.bottom);

    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (!region)
        return nullptr;
    bool withSeconds = ClockState.ShowSeconds != 0;
    int32_t t = TimeRowStart(x);
    for (const TimeRowCell &c : TimeRowCells)
        if (c.Digit < 0 || now[c.Digit] != shown[c.Digit])
            AddCell(region, t + TimeCellOffset(c.Cell, withSeconds), y, c.Digit < 0);
    return region;
}
