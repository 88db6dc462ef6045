#include "tools/standin/standin_windows.h"

static const char TrayClass[] = "Shell_TrayWnd";
static const char NotifyClass[] = "TrayNotifyWnd";
static const char ClockClass[] = "TrayClockWClass";
static const int NotifyPadding = 24;

static void FillColor(HDC dc, const RECT &r, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    if (!brush)
        return;
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

// A pattern, not a flat colour, so that a background painted at the wrong
// offset shows.
static void PaintNotifyBackground(HWND hwnd, HDC dc)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillColor(dc, rc, StandinNotifyColorA);
    for (int x = 0; x < rc.right; x += 6)
        FillColor(dc, RECT{x, 0, x + 3, rc.bottom}, StandinNotifyColorB);
    for (int y = 0; y < rc.bottom; y += 5)
        FillColor(dc, RECT{0, y, rc.right, y + 1}, StandinNotifyColorC);
}

static LRESULT CALLBACK NotifyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (dc)
            PaintNotifyBackground(hwnd, dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        if (lParam & PRF_CLIENT)
            PaintNotifyBackground(hwnd, (HDC)wParam);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

// Explorer's own clock face, drawn in blocks so that every platform paints
// the same pixels: "HH:MM" in a 3 x 5 font at twice the size.
static const char *const StockGlyphs[11] = {
    "111101101101111", "010110010010111", "111001111100111", "111001111001111", "101101111001001",
    "111100111001111", "111100111101111", "111001001001001", "111101111101111", "111101111001111",
    "000010000010000",
};
static const int StockScale = 2;
static const int StockAdvance = 4 * StockScale;

static void PaintStockClock(HWND hwnd, HDC dc)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillColor(dc, rc, StandinClockColor);
    SYSTEMTIME now;
    GetLocalTime(&now);
    int glyphs[5] = {now.wHour / 10, now.wHour % 10, 10, now.wMinute / 10, now.wMinute % 10};
    int x = (rc.right - 5 * StockAdvance) / 2, y = (rc.bottom - 5 * StockScale) / 2;
    for (int g = 0; g < 5; g++, x += StockAdvance)
        for (int i = 0; i < 15; i++)
            if (StockGlyphs[glyphs[g]][i] == '1') {
                int px = x + (i % 3) * StockScale, py = y + (i / 3) * StockScale;
                FillColor(dc, RECT{px, py, px + StockScale, py + StockScale}, StandinStockTextColor);
            }
}

static SIZE StockClockSize(HWND clock)
{
    RECT tray;
    GetWindowRect(GetParent(GetParent(clock)), &tray);
    bool vertical = tray.right - tray.left < tray.bottom - tray.top;
    if (vertical)
        return SIZE{tray.right - tray.left, 24};
    return SIZE{StandinStockClockWidth, tray.bottom - tray.top};
}

static LRESULT CALLBACK ClockProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case ClockSizeQuery: {
        SIZE size = StockClockSize(hwnd);
        return MAKELONG(size.cx, size.cy);
    }
    case WM_CREATE:
        SetTimer(hwnd, 1, 1000, nullptr);
        return 0;
    case WM_TIMER:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (dc)
            PaintStockClock(hwnd, dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        KillTimer(hwnd, 1);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

static LRESULT CALLBACK TrayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SIZE:
    case WM_EXITSIZEMOVE:
        LayoutStandinTaskbar(hwnd);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

static bool RegisterOne(HINSTANCE instance, const char *name, WNDPROC proc, COLORREF background)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hbrBackground = CreateSolidBrush(background);
    wc.lpszClassName = name;
    if (RegisterClassA(&wc))
        return true;
    DeleteObject(wc.hbrBackground);
    return false;
}

bool RegisterStandinClasses(HINSTANCE instance)
{
    return RegisterOne(instance, TrayClass, TrayProc, StandinTrayColor) &&
           RegisterOne(instance, NotifyClass, NotifyProc, StandinNotifyColorA) &&
           RegisterOne(instance, ClockClass, ClockProc, StandinClockColor);
}

void UnregisterStandinClasses(HINSTANCE instance)
{
    UnregisterClassA(ClockClass, instance);
    UnregisterClassA(NotifyClass, instance);
    UnregisterClassA(TrayClass, instance);
}

StandinTaskbar CreateStandinTaskbar(HINSTANCE instance, const StandinLayout &layout)
{
    StandinTaskbar t;
    int x = 0, y = layout.ScreenHeight - layout.TaskbarHeight;
    int w = layout.ScreenWidth, h = layout.TaskbarHeight;
    if (layout.Vertical) {
        x = layout.ScreenWidth - layout.TaskbarHeight;
        y = 0;
        w = layout.TaskbarHeight;
        h = layout.ScreenHeight;
    }
    DWORD style = WS_POPUP | WS_CLIPCHILDREN;
    t.Tray = CreateWindowExA(WS_EX_TOOLWINDOW, TrayClass, "", style, x, y, w, h, nullptr, nullptr, instance, nullptr);
    if (t.Tray)
        t.Notify = CreateWindowExA(0, NotifyClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 1, 1, t.Tray,
                                   nullptr, instance, nullptr);
    if (t.Notify)
        t.Clock = CreateWindowExA(0, ClockClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, t.Notify, nullptr,
                                  instance, nullptr);
    if (!t.Clock) {
        if (t.Tray)
            DestroyWindow(t.Tray);
        return StandinTaskbar{};
    }
    LayoutStandinTaskbar(t.Tray);
    ShowWindow(t.Tray, SW_SHOWNA);
    return t;
}

void PlaceStandinClock(const StandinTaskbar &t, int width, int height)
{
    RECT tray;
    GetClientRect(t.Tray, &tray);
    bool vertical = tray.right < tray.bottom;
    if (vertical) {
        int notifyHeight = height + NotifyPadding;
        MoveWindow(t.Notify, 0, tray.bottom - notifyHeight, tray.right, notifyHeight, TRUE);
        MoveWindow(t.Clock, 0, notifyHeight - height, width, height, TRUE);
    } else {
        int notifyWidth = width + NotifyPadding;
        MoveWindow(t.Notify, tray.right - notifyWidth, 0, notifyWidth, tray.bottom, TRUE);
        MoveWindow(t.Clock, notifyWidth - width, 0, width, height, TRUE);
    }
    // Explorer repaints the whole clock when it lays the taskbar out, as the
    // library relies on; a moved or resized child alone would keep its old
    // pixels and repaint only the part that was uncovered.
    InvalidateRect(t.Clock, nullptr, TRUE);
}

void LayoutStandinTaskbar(HWND tray)
{
    StandinTaskbar t;
    t.Tray = tray;
    t.Notify = FindWindowExA(tray, nullptr, NotifyClass, nullptr);
    t.Clock = t.Notify ? FindWindowExA(t.Notify, nullptr, ClockClass, nullptr) : nullptr;
    if (!t.Clock)
        return;
    LRESULT size = SendMessageA(t.Clock, ClockSizeQuery, 0, 0);
    PlaceStandinClock(t, LOWORD(size), HIWORD(size));
}
