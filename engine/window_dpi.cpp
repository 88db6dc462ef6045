// The DPI of the clock window.
#include "engine/window_dpi.h"

typedef UINT(WINAPI *GetDpiForWindowProc)(HWND);

// Windows before 10 1607 lack the call, so it is looked up, never imported.
static uint32_t MonitorDpi(HWND hwnd)
{
    HMODULE user32 = LoadLibraryA("User32.dll");
    if (!user32)
        return 0;
    GetDpiForWindowProc getDpi = (GetDpiForWindowProc)(void *)GetProcAddress(user32, "GetDpiForWindow");
    uint32_t dpi = getDpi ? getDpi(hwnd) : 0;
    FreeLibrary(user32);
    return dpi;
}

// The system DPI: right on the primary monitor, wrong on others with
// another scale, which is why it only stands in.
static uint32_t SystemDpi(HWND hwnd)
{
    HDC dc = GetDC(hwnd);
    if (!dc)
        return 0;
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(hwnd, dc);
    return dpi > 0 ? (uint32_t)dpi : 0;
}

uint32_t ReadWindowDpi(HWND hwnd)
{
    if (!hwnd)
        return 0;
    uint32_t dpi = MonitorDpi(hwnd);
    return dpi ? dpi : SystemDpi(hwnd);
}
