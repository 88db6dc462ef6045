// The whole face: background, date block, time row, weekday, AM/PM mark and
// the rows under the time, glyph by glyph straight into the paint context.
#include "engine/paint_clock.h"

#include "engine/date_words.h"
#include "engine/face_layout.h"
#include "engine/glyphs.h"
#include "engine/skin_bitmaps.h"

#include <stdio.h>
#include <string.h>

namespace {

// The most cells one face can hold: time row, date, weekday and mark.
const int MaxCells = 64;

// Everything a paint reads once: positions, date texts, sizes. The layout
// runs twice: first to note the cells an opaque face covers, then to draw.
struct PaintFrame {
    bool Measuring;
    RECT Covered[MaxCells];
    int CoveredCount;
    HDC Dest;
    HDC Numbers;
    HDC Text;
    int X0;
    int Y;
    char Day[3];
    char Year[5];
    char Month[4];
    char Weekday[10];
    int WeekdayLength;
    int FaceWidth;
    bool Tall;
};

void Cover(PaintFrame &f, int x, int y, int width, int height)
{
    if (f.CoveredCount < MaxCells)
        f.Covered[f.CoveredCount++] = RECT{x, y, x + width, y + height};
}

void PutChar(PaintFrame &f, unsigned char c, int x, int y)
{
    int sx, sy;
    if (!f.Measuring)
        DrawTextGlyph(f.Dest, f.Text, c, x, y);
    else if (MapTextGlyph(c, &sx, &sy))
        Cover(f, x, y, ClockState.TextCellWidth, ClockState.TextCellHeight);
}

void DrawDigit(PaintFrame &f, int index, int x)
{
    if (f.Measuring) {
        Cover(f, x, f.Y, ClockState.DigitWidth, ClockState.DigitHeight);
        return;
    }
    DrawDigitGlyph(f.Dest, f.Numbers, ClockState.CurrentDigits[index], x, f.Y, f.Text);
    ClockState.ShownDigits[index] = ClockState.CurrentDigits[index];
}

void DrawColonAt(PaintFrame &f, int x)
{
    if (!ClockState.ColonVisible)
        return;
    if (!f.Measuring) {
        DrawColon(f.Dest, f.Numbers, x, f.Y, f.Text);
        return;
    }
    RECT dots[2] = {};
    ColonDots(x, f.Y, dots);
    for (const RECT &d : dots)
        Cover(f, d.left, d.top, d.right - d.left, d.bottom - d.top);
}

// A leading zero of the day is left out.
void DrawDay(PaintFrame &f, int firstX, int secondX, int y)
{
    if (f.Day[0] != '0')
        PutChar(f, f.Day[0], firstX, y);
    PutChar(f, f.Day[1], secondX, y);
}

// The date as day over month, in the block left of the time.
void PaintDateBlock(PaintFrame &f, int x)
{
    int tcw = ClockState.TextCellWidth, tch = ClockState.TextCellHeight;
    DrawDay(f, x + (int)((double)tcw / 2.0), x + (int)((double)(3 * tcw) / 2.0), f.Y);
    for (int i = 0; i < 3; i++)
        PutChar(f, f.Month[i], x + i * tcw, f.Y + tch + ScaledGap(2));
}

// Returns the x at the end of the time row.
int PaintTimeRow(PaintFrame &f, int start)
{
    bool withSeconds = ClockState.ShowSeconds != 0;
    for (int i = 0; i < TimeRowCellCount(withSeconds); i++) {
        const TimeRowCell &c = TimeRowCells[i];
        int x = start + TimeCellOffset(c.Cell, withSeconds);
        if (c.Digit < 0)
            DrawColonAt(f, x);
        else
            DrawDigit(f, c.Digit, x);
    }
    return start + TimeCellOffset(TimeRowEnd, withSeconds);
}

void PaintRightOfTime(PaintFrame &f, int x)
{
    int tcw = ClockState.TextCellWidth, tch = ClockState.TextCellHeight;
    if (ClockState.DateIsLeft && ClockState.ShowDayOfWeek)
        for (int i = 0; i < 3; i++)
            PutChar(f, f.Weekday[i], x + i * tcw, f.Y + tch + ScaledGap(2));
    if (ClockState.EnglishTime) {
        int one = ScaledGap(1);
        PutChar(f, ClockState.IsMorning ? 'A' : 'P', x + one, f.Y);
        x += tcw;
        PutChar(f, 'M', x + one, f.Y);
    }
}

void DrawWord(PaintFrame &f, const char *word, int count, int start, int y)
{
    for (int i = 0; i < count && word[i]; i++)
        PutChar(f, word[i], start + i * ClockState.TextCellWidth, y);
}

void PaintRowsUnderTime(PaintFrame &f)
{
    int tcw = ClockState.TextCellWidth, tch = ClockState.TextCellHeight, dh = ClockState.DigitHeight;
    int shortRowY = f.Y + dh + ScaledGap(3);
    if (ClockState.ShowDate) {
        int start = f.Tall ? (f.FaceWidth - 11 * tcw) / 2 : f.X0;
        int y = f.Tall ? f.Y + dh + tch + ScaledGap(6) : shortRowY;
        DrawDay(f, start, start + tcw, y);
        DrawWord(f, f.Month, 3, start + 3 * tcw, y);
        if (f.Tall)
            DrawWord(f, f.Year, 4, start + 7 * tcw, y);
        else
            DrawWord(f, f.Year + 2, 2, start + 7 * tcw, y);
    }
    if (!ClockState.ShowDayOfWeek)
        return;
    int centred = (f.FaceWidth - f.WeekdayLength * tcw) / 2;
    if (f.Tall)
        DrawWord(f, f.Weekday, f.WeekdayLength, centred, f.Y + dh + ScaledGap(4));
    else if (!ClockState.ShowDate)
        DrawWord(f, f.Weekday, f.WeekdayLength, centred, shortRowY);
    else
        DrawWord(f, f.Weekday, ClockState.ShowSeconds ? 9 : 3, f.X0 + 10 * tcw, shortRowY);
}

// The cells of the face in drawing order, drawn or noted.
void LayOutFace(PaintFrame &f, int x)
{
    if (DateBlockShown())
        PaintDateBlock(f, x);
    PaintRightOfTime(f, PaintTimeRow(f, TimeRowStart(x)));
    if (!ClockState.DateIsLeft)
        PaintRowsUnderTime(f);
}

// An opaque face fills only what its cells leave uncovered, so every pixel
// of the clock is written once.
void FillUncovered(PaintFrame &f, HBRUSH brush, const RECT &client, int x)
{
    f.Measuring = true;
    f.CoveredCount = 0;
    LayOutFace(f, x);
    f.Measuring = false;
    int saved = SaveDC(f.Dest);
    for (int i = 0; i < f.CoveredCount; i++) {
        const RECT &r = f.Covered[i];
        ExcludeClipRect(f.Dest, r.left, r.top, r.right, r.bottom);
    }
    FillRect(f.Dest, &client, brush);
    RestoreDC(f.Dest, saved);
}

// A transparent face shows what the clock's own procedure erases to, asked
// directly: a tick paints without BeginPaint, which would erase, and a sent
// WM_ERASEBKGND runs every WH_CALLWNDPROC hook of Explorer's thread, this
// library's too. A window that is not subclassed is sent it.
void EraseBehindFace(HDC dest)
{
    HWND clock = ClockState.ClockWnd;
    if (ClockState.PreviousClockProc)
        CallWindowProcA(ClockState.PreviousClockProc, clock, WM_ERASEBKGND, (WPARAM)dest, 0);
    else
        SendMessageA(clock, WM_ERASEBKGND, (WPARAM)dest, 0);
}

void PaintBackground(PaintFrame &f, HBRUSH brush, const RECT &client, int x)
{
    HDC dest = f.Dest;
    if (!ClockState.TransparentClock) {
        FillUncovered(f, brush, client, x);
        return;
    }
    if (!ClockState.IsWindowsXP) {
        EraseBehindFace(dest);
        return;
    }
    // Without a compositor the clock must show the notification area's own
    // background: have it paint itself into the clock, shifted to the clock's
    // place in it, which is not its far end where buttons follow the clock.
    if (!ClockState.PreviousNotifyProc)
        return;
    RECT clock{}, notify{};
    GetWindowRect(ClockState.ClockWnd, &clock);
    GetWindowRect(ClockState.NotifyWnd, &notify);
    int saved = SaveDC(dest);
    SetWindowOrgEx(dest, clock.left - notify.left, clock.top - notify.top, nullptr);
    CallWindowProcA(ClockState.PreviousNotifyProc, ClockState.NotifyWnd, WM_PRINTCLIENT, (WPARAM)dest,
                    PRF_CLIENT | PRF_ERASEBKGND);
    RestoreDC(dest, saved);
}

void ReadDateTexts(PaintFrame &f)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    snprintf(f.Day, sizeof(f.Day), "%02u", (unsigned)now.wDay % 100);
    snprintf(f.Year, sizeof(f.Year), "%04u", (unsigned)now.wYear % 10000);
    snprintf(f.Month, sizeof(f.Month), "%s", MonthAbbreviation());
    snprintf(f.Weekday, sizeof(f.Weekday), "%s", DayOfWeekName());
    f.WeekdayLength = DayOfWeekNameLength();
}

// The face into dest, clipped by the caller to what is to be painted.
void PaintFaceInto(HDC dest)
{
    PaintFrame f{};
    RECT client, face;
    int x;
    ComputeClockOrigin(&client, &face, &x, &f.Y);
    f.X0 = x;
    ReadDateTexts(f);
    f.FaceWidth = FaceWidth();
    f.Tall = TaskbarIsTall();
    f.Dest = dest;
    f.Numbers = HeldSkinDC(&ClockState.NumbersDC, ClockState.NumbersBitmap, dest);
    f.Text = HeldSkinDC(&ClockState.TextDC, ClockState.TextBitmap, dest);
    COLORREF key = GetPixel(f.Text, ClockState.TextBitmapWidth - 1, ClockState.TextBitmapHeight - 1);
    HBRUSH brush = CreateSolidBrush(key);
    if (ClockState.TransparentClock)
        PrepareKeyedArt(dest, key);

    PaintBackground(f, brush, client, x);
    LayOutFace(f, x);

    if (brush)
        DeleteObject(brush);
}

bool StartPaint(HWND hwnd)
{
    if (!ClockState.SkinLoaded || !hwnd || !IsWindowVisible(hwnd) || ClockState.PaintInProgress)
        return false;
    ClockState.PaintInProgress = FlagTrue;
    return true;
}

}  // namespace

void PaintClock(HWND hwnd)
{
    if (!StartPaint(hwnd))
        return;
    PAINTSTRUCT ps;
    HDC dest = BeginPaint(ClockState.ClockWnd, &ps);
    if (dest) {
        PaintFaceInto(dest);
        EndPaint(ClockState.ClockWnd, &ps);
    }
    ClockState.PaintInProgress = 0;
}

void PaintClockCells(HWND hwnd, HRGN cells)
{
    if (!StartPaint(hwnd))
        return;
    HDC dest = GetDC(ClockState.ClockWnd);
    if (dest) {
        SelectClipRgn(dest, cells);
        PaintFaceInto(dest);
        ReleaseDC(ClockState.ClockWnd, dest);
    }
    ClockState.PaintInProgress = 0;
}

void RepaintWholeFace(HWND hwnd, BOOL erase)
{
    InvalidateRect(hwnd, nullptr, erase);
    PaintClock(hwnd);
}
