#include "tools/standin/standin_windows.h"

static const char TrayClass[] = "Shell_TrayWnd";
static const char NotifyClass[] = "TrayNotifyWnd";
static const char ClockClass[] = "TrayClockWClass";
static const char PagerClass[] = "SysPager";
static const char ButtonClass[] = "TrayButton";
static const char ShowDesktopClass[] = "TrayShowDesktopButtonWClass";
static const char BridgeClass[] = "Windows.UI.Composition.DesktopWindowContentBridge";
static const int NotifyPadding = 24;

// The mode is the taskbar's own: kept in its window.
static StandinMode ModeOf(HWND tray) { return (StandinMode)GetWindowLongPtrA(tray, GWLP_USERDATA); }

static bool IsVertical(HWND tray)
{
    RECT r;
    GetClientRect(tray, &r);
    return r.right < r.bottom;
}

static HWND Child(HWND parent, const char *className)
{
    return parent ? FindWindowExA(parent, nullptr, className, nullptr) : nullptr;
}

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

// Explorer's own size for its clock, from the taskbar's shape.
static SIZE StockClockSize(HWND tray)
{
    RECT r;
    GetWindowRect(tray, &r);
    if (r.right - r.left < r.bottom - r.top)
        return SIZE{r.right - r.left, 24};
    return SIZE{StandinStockClockWidth, r.bottom - r.top};
}

// The pager grows by an icon's length for each tray icon added.
static int PagerLength(HWND notify)
{
    return StandinPagerLength + StandinIconLength * (int)GetWindowLongPtrA(Child(notify, PagerClass), GWLP_USERDATA);
}

// The Windows 10 notification area lays its children out one after another
// along the taskbar, each across its whole thickness but the clock, which
// gets the given size; what follows the clock starts where that size ends.
static void PlaceNotifyChildren(HWND notify, SIZE clock)
{
    bool vertical = IsVertical(GetParent(notify));
    RECT rc;
    GetClientRect(notify, &rc);
    int across = vertical ? rc.right : rc.bottom, at = 0;
    auto place = [&](HWND child, int length, int width, int height) {
        if (!child)
            return;
        SetWindowPos(child, nullptr, vertical ? 0 : at, vertical ? at : 0, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        at += length;
    };
    auto bar = [&](HWND child, int length) {
        place(child, length, vertical ? across : length, vertical ? length : across);
    };
    bar(Child(notify, PagerClass), PagerLength(notify));
    HWND clockWnd = Child(notify, ClockClass);
    place(clockWnd, vertical ? clock.cy : clock.cx, clock.cx, clock.cy);
    // Explorer repaints its whole clock when it places it, as the library relies on.
    if (clockWnd)
        InvalidateRect(clockWnd, nullptr, TRUE);
    bar(Child(notify, ButtonClass), StandinButtonLength);
    bar(Child(notify, ShowDesktopClass), StandinShowDesktopLength);
}

// The Windows 10 notification area's answer to the size query: all its
// children, the clock counted at Explorer's own size.
static LRESULT NotifySizeAnswer(HWND notify)
{
    HWND tray = GetParent(notify);
    bool vertical = IsVertical(tray);
    SIZE clock = StockClockSize(tray);
    int length = 0;
    const struct {
        const char *Class;
        int Length;
    } children[] = {
        {PagerClass, PagerLength(notify)},
        {ClockClass, vertical ? clock.cy : clock.cx},
        {ButtonClass, StandinButtonLength},
        {ShowDesktopClass, StandinShowDesktopLength},
    };
    for (const auto &c : children)
        if (Child(notify, c.Class))
            length += c.Length;
    RECT r;
    GetClientRect(tray, &r);
    return vertical ? MAKELONG(r.right, length) : MAKELONG(length, r.bottom);
}

static LRESULT AnswerPagerSize(HWND notify, LPARAM lParam)
{
    NMPGCALCSIZE *calc = (NMPGCALCSIZE *)lParam;
    if (calc->dwFlag & PGF_CALCWIDTH)
        calc->iWidth = PagerLength(notify);
    if (calc->dwFlag & PGF_CALCHEIGHT)
        calc->iHeight = PagerLength(notify);
    PlaceNotifyChildren(notify, StockClockSize(GetParent(notify)));
    return 0;
}

static LRESULT CALLBACK NotifyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    bool windows10 = ModeOf(GetParent(hwnd)) == StandinWindows10;
    switch (msg) {
    case ClockSizeMessage:
        return windows10 ? NotifySizeAnswer(hwnd) : DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_SIZE:
        // The pager answers with PGN_CALCSIZE, in which the children are placed.
        if (windows10)
            SendMessageA(Child(hwnd, PagerClass), PGM_RECALCSIZE, 0, 0);
        return 0;
    case WM_NOTIFY: {
        const NMHDR *header = (const NMHDR *)lParam;
        if (windows10 && header && header->code == PGN_CALCSIZE)
            return AnswerPagerSize(hwnd, lParam);
        return 0;
    }
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
    "111101101101111", "010110010010111", "111001111100111", "111001111001111", "101101111001001", "111100111001111",
    "111100111101111", "111001001001001", "111101111101111", "111101111001111", "000010000010000",
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

static LRESULT CALLBACK ClockProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case ClockSizeMessage: {
        SIZE size = StockClockSize(GetParent(GetParent(hwnd)));
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

// A pager control as far as the notification area needs it: asked to work
// out its size again, it asks its parent.
static LRESULT CALLBACK PagerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case PGM_RECALCSIZE: {
        NMPGCALCSIZE calc{};
        calc.hdr.hwndFrom = hwnd;
        calc.hdr.code = PGN_CALCSIZE;
        calc.dwFlag = IsVertical(GetParent(GetParent(hwnd))) ? PGF_CALCHEIGHT : PGF_CALCWIDTH;
        return SendMessageA(GetParent(hwnd), WM_NOTIFY, 0, (LPARAM)&calc);
    }
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
           RegisterOne(instance, ClockClass, ClockProc, StandinClockColor) &&
           RegisterOne(instance, PagerClass, PagerProc, StandinPagerColor) &&
           RegisterOne(instance, ButtonClass, DefWindowProcA, StandinButtonColor) &&
           RegisterOne(instance, ShowDesktopClass, DefWindowProcA, StandinShowDesktopColor) &&
           RegisterOne(instance, BridgeClass, DefWindowProcA, StandinBridgeColor);
}

void UnregisterStandinClasses(HINSTANCE instance)
{
    static const char *const classes[] = {BridgeClass, ShowDesktopClass, ButtonClass, PagerClass,
                                          ClockClass,  NotifyClass,      TrayClass};
    for (const char *name : classes)
        UnregisterClassA(name, instance);
}

static HWND CreateChild(HINSTANCE instance, const char *className, HWND parent, DWORD style = WS_VISIBLE)
{
    if (!parent)
        return nullptr;
    return CreateWindowExA(0, className, "", WS_CHILD | style, 0, 0, 1, 1, parent, nullptr, instance, nullptr);
}

int StandinThickness(const StandinLayout &layout)
{
    if (layout.Mode != StandinWindows10 || layout.Vertical)
        return layout.TaskbarHeight;
    HDC screen = CreateCompatibleDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        DeleteDC(screen);
    // Past 500 %, the largest scale Windows offers, the DPI is not believed.
    int least = dpi > 0 && dpi <= 480 ? 40 * dpi / 96 : 40;
    return layout.TaskbarHeight > least ? layout.TaskbarHeight : least;
}

StandinTaskbar CreateStandinTaskbar(HINSTANCE instance, const StandinLayout &layout)
{
    StandinTaskbar t;
    int thickness = StandinThickness(layout);
    int x = 0, y = layout.ScreenHeight - thickness;
    int w = layout.ScreenWidth, h = thickness;
    if (layout.Vertical) {
        x = layout.ScreenWidth - thickness;
        y = 0;
        w = thickness;
        h = layout.ScreenHeight;
    }
    DWORD style = WS_POPUP | WS_CLIPCHILDREN;
    t.Tray = CreateWindowExA(WS_EX_TOOLWINDOW, TrayClass, "", style, x, y, w, h, nullptr, nullptr, instance, nullptr);
    if (t.Tray)
        SetWindowLongPtrA(t.Tray, GWLP_USERDATA, layout.Mode);
    bool windows11 = layout.Mode == StandinWindows11;
    t.Notify = CreateChild(instance, NotifyClass, t.Tray, WS_CLIPCHILDREN | (windows11 ? 0 : WS_VISIBLE));
    bool made = t.Notify != nullptr;
    if (windows11) {
        made = made && CreateChild(instance, BridgeClass, t.Tray);
    } else {
        if (layout.Mode == StandinWindows10)
            made = made && CreateChild(instance, PagerClass, t.Notify);
        t.Clock = CreateChild(instance, ClockClass, t.Notify);
        made = made && t.Clock;
        if (layout.Mode == StandinWindows10)
            made = made && CreateChild(instance, ButtonClass, t.Notify) &&
                   CreateChild(instance, ShowDesktopClass, t.Notify);
    }
    if (!made) {
        if (t.Tray)
            DestroyWindow(t.Tray);
        return StandinTaskbar{};
    }
    LayoutStandinTaskbar(t.Tray);
    ShowWindow(t.Tray, SW_SHOWNA);
    return t;
}

// The notification area at the far end of the taskbar: right, or bottom when vertical.
static void PlaceNotify(HWND tray, HWND notify, int width, int height)
{
    RECT r;
    GetClientRect(tray, &r);
    if (IsVertical(tray))
        MoveWindow(notify, 0, r.bottom - height, r.right, height, TRUE);
    else
        MoveWindow(notify, r.right - width, 0, width, r.bottom, TRUE);
}

void PlaceStandinClock(const StandinTaskbar &t, int width, int height)
{
    RECT tray;
    GetClientRect(t.Tray, &tray);
    bool vertical = tray.right < tray.bottom;
    if (ModeOf(t.Tray) == StandinWindows10) {
        // The layout Explorer's would be with a clock of this size.
        SIZE stock = StockClockSize(t.Tray);
        LRESULT answer = NotifySizeAnswer(t.Notify);
        int grow = vertical ? height - stock.cy : width - stock.cx;
        PlaceNotify(t.Tray, t.Notify, LOWORD(answer) + (vertical ? 0 : grow), HIWORD(answer) + (vertical ? grow : 0));
        PlaceNotifyChildren(t.Notify, SIZE{width, height});
        return;
    }
    int notifyWidth = width + NotifyPadding, notifyHeight = height + NotifyPadding;
    PlaceNotify(t.Tray, t.Notify, notifyWidth, notifyHeight);
    if (vertical)
        MoveWindow(t.Clock, 0, notifyHeight - height, width, height, TRUE);
    else
        MoveWindow(t.Clock, notifyWidth - width, 0, width, height, TRUE);
    // Explorer repaints the whole clock when it lays the taskbar out, as the
    // library relies on; a moved or resized child alone would keep its old
    // pixels and repaint only the part that was uncovered.
    InvalidateRect(t.Clock, nullptr, TRUE);
}

// Windows 10: the notification area answers for all its children and places
// them itself; a layout pass lays it out again also when its size stays.
static void LayoutWindows10Taskbar(HWND notify)
{
    LRESULT size = SendMessageA(notify, ClockSizeMessage, 0, 0);
    RECT before;
    GetClientRect(notify, &before);
    PlaceNotify(GetParent(notify), notify, LOWORD(size), HIWORD(size));
    RECT after;
    GetClientRect(notify, &after);
    if (after.right == before.right && after.bottom == before.bottom)
        SendMessageA(notify, WM_SIZE, 0, MAKELPARAM(after.right, after.bottom));
}

void AddStandinTrayIcon(const StandinTaskbar &t)
{
    HWND pager = Child(t.Notify, PagerClass);
    if (!pager)
        return;
    SetWindowLongPtrA(pager, GWLP_USERDATA, GetWindowLongPtrA(pager, GWLP_USERDATA) + 1);
    LayoutStandinTaskbar(t.Tray);
}

void LayoutStandinTaskbar(HWND tray)
{
    StandinTaskbar t;
    t.Tray = tray;
    t.Notify = Child(tray, NotifyClass);
    t.Clock = Child(t.Notify, ClockClass);
    switch (ModeOf(tray)) {
    case StandinWindows10:
        if (t.Notify)
            LayoutWindows10Taskbar(t.Notify);
        return;
    case StandinWindows11: {
        RECT r;
        GetClientRect(tray, &r);
        MoveWindow(Child(tray, BridgeClass), 0, 0, r.right, r.bottom, TRUE);
        return;
    }
    default:
        if (!t.Clock)
            return;
        LRESULT size = SendMessageA(t.Clock, ClockSizeMessage, 0, 0);
        PlaceStandinClock(t, LOWORD(size), HIWORD(size));
        return;
    }
}
