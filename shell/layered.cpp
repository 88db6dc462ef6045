// Translucency of the whole taskbar window.
#include "shell/layered.h"

#include "engine/clock_state.h"

typedef BOOL(WINAPI *SetLayeredWindowAttributesProc)(HWND, COLORREF, BYTE, DWORD);

static const BYTE TranslucentAlpha = 150;
static const BYTE OpaqueAlpha = 255;

static void SetExStyleBit(HWND hwnd, DWORD bit, bool on)
{
    DWORD style = (DWORD)GetWindowLongA(hwnd, GWL_EXSTYLE);
    style = on ? style | bit : style & ~bit;
    SetWindowLongA(hwnd, GWL_EXSTYLE, (LONG)style);
}

BOOL SetLayeredAttributes(HWND hwnd, COLORREF key, BYTE alpha)
{
    HMODULE user32 = LoadLibraryA("User32.dll");
    if (!user32)
        return 0;
    // Older systems lack the call, so it is looked up, never imported.
    SetLayeredWindowAttributesProc setAttributes =
        (SetLayeredWindowAttributesProc)(void *)GetProcAddress(user32, "SetLayeredWindowAttributes");
    BOOL result = 0;
    if (setAttributes) {
        SetExStyleBit(hwnd, WS_EX_LAYERED, true);
        result = setAttributes(hwnd, key, alpha, LWA_ALPHA);
    }
    FreeLibrary(user32);
    return result;
}

void ApplyLayeredMode()
{
    HWND tray = ClockState.TrayWnd;
    if (ClockState.LayeredMode) {
        SetExStyleBit(tray, WS_EX_LAYERED, true);
        SetLayeredAttributes(tray, 0, TranslucentAlpha);
        return;
    }
    // Fully opaque first, while still layered, and only then plain again.
    SetLayeredAttributes(tray, 0, OpaqueAlpha);
    SetExStyleBit(tray, WS_EX_LAYERED, false);
}
