// The one process-wide record of the library.
#pragma once

#include "platform/platform.h"

#include <stdint.h>

// Flags are signed 32-bit: 0 is false, the library stores -1 for true and
// treats any non-zero value as true.
typedef int32_t Flag;
constexpr Flag FlagTrue = -1;

// Chains the library's process notifications (process detach, thread attach
// and detach) to whatever handled them before.
typedef void (*ProcessNotifyHandler)(DWORD reason);

constexpr int SkinNameSize = 200;
constexpr int PathSize = 260;
constexpr int DigitCount = 6;

// Indices into the digit arrays.
enum { HourTens, HourOnes, MinuteTens, MinuteOnes, SecondTens, SecondOnes };

// A window of the notification area moved to make room for the face: where
// Explorer had put it and where it was moved to, both in the notification
// area's client coordinates.
struct MovedWindow {
    HWND Window;
    RECT Explorer;
    RECT Moved;
};
constexpr int MaxMovedWindows = 8;

// A memory DC with one skin bitmap selected, and what it held before.
struct SkinDC {
    HDC DC;
    HGDIOBJ Previous;
    // The bitmap made for this DC, freed with it; null for a loaded one.
    HBITMAP Made;
};

struct ClockStateRecord {
    ProcessNotifyHandler PreviousNotifyHandler;
    HBITMAP NumbersBitmap;
    HBITMAP TextBitmap;
    char CurrentSkinName[SkinNameSize];
    char SkinBaseDir[PathSize];
    uint8_t ShownDigits[DigitCount];
    uint8_t CurrentDigits[DigitCount];
    Flag SkinLoaded;
    HHOOK HookHandle;
    WNDPROC PreviousClockProc;
    WNDPROC PreviousNotifyProc;
    int32_t DigitWidth;
    int32_t DigitHeight;
    int32_t TextCellWidth;
    int32_t TextCellHeight;
    int32_t TextBitmapWidth;
    int32_t TextBitmapHeight;
    // The clock window's DPI when the artwork was chosen; 0 when it could not be told.
    uint32_t SkinDpi;
    // The scale, in percent, the held artwork is drawn at; 0 (before any
    // skin) counts as 100. Distances between cells grow with it.
    int32_t ArtScale;
    // The whole factor the held artwork was enlarged from the skin's base
    // artwork by; 0 or 1 when it was drawn at its scale.
    int32_t ArtEnlargement;
    Flag PaintInProgress;
    uint32_t UnsubclassMsg;
    uint32_t SubclassMsg;
    uint32_t PaintClockMsg;
    uint32_t ControllerQueryMsg;
    uint32_t ClockReleasedMsg;
    Flag LayeredMode;
    Flag StartWithWindows;
    Flag DateIsLeft;
    Flag EnglishTime;
    Flag ShowDayOfWeek;
    Flag ShowSeconds;
    Flag ShowDate;
    Flag TransparentClock;
    uint8_t TickStep;
    Flag IsWindowsXP;
    int32_t LastTickSecond;
    HWND TrayWnd;
    HWND NotifyWnd;
    HWND ClockWnd;
    HWND ControllerWnd;
    // The thread of ControllerWnd when Explorer's copy took it on.
    DWORD ControllerThread;
    Flag IsMorning;
    Flag ColonVisible;
    HMENU OptionsMenu;
    HMENU LanguageMenu;
    HMENU SkinsMenu;
    HMENU MainMenu;
    // The popup menu is being tracked; a second one must not replace it.
    Flag MenuTracking;
    // The taskbar asked the notification area for its size, so it sizes the
    // clock itself (Windows 10 from 1607).
    Flag NotifyAnswersSize;
    // Where Explorer last placed the clock, in the notification area.
    RECT ExplorerClockRect;
    MovedWindow MovedWindows[MaxMovedWindows];
    int32_t MovedWindowCount;
    // The skin bitmaps' DCs, made at the first paint and kept as long as the
    // bitmaps: under Wine each DC made costs round trips to the server and
    // to the display.
    SkinDC NumbersDC;
    SkinDC TextDC;
    // Each bitmap split for a keyed copy of two plain ones, made at the first
    // transparent paint: the mask is white where the key colour is and black
    // elsewhere, the ink is the artwork with the key colour made black.
    SkinDC NumbersMask;
    SkinDC NumbersInk;
    SkinDC TextMask;
    SkinDC TextInk;
};

// Zero-filled when the library is mapped; never created, copied or freed.
extern ClockStateRecord ClockState;

// Zero-fills the record again, as a fresh mapping of the library would.
void ResetClockState();
