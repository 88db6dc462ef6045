// DPI as a per-monitor aware process sees it: the system DPI in every DC,
// and each top-level window's monitor DPI through GetDpiForWindow.
#include "platform/sim/sim_internal.h"

static HWND TopLevelOf(HWND hwnd)
{
    SimWindowData *w = SimFindWindow(hwnd);
    while (w && w->Parent) {
        hwnd = w->Parent;
        w = SimFindWindow(hwnd);
    }
    return w ? hwnd : nullptr;
}

int GetDeviceCaps(HDC hdc, int index)
{
    if (!SimFindGdi(hdc, SimDCs))
        return 0;
    return index == LOGPIXELSX || index == LOGPIXELSY ? (int)Sim().SystemDpi : 0;
}

UINT WINAPI SimGetDpiForWindow(HWND hwnd)
{
    SimWindowData *top = SimFindWindow(TopLevelOf(hwnd));
    if (!top) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return top->MonitorDpi ? top->MonitorDpi : Sim().SystemDpi;
}

void SimSetSystemDpi(UINT dpi) { Sim().SystemDpi = dpi; }

void SimSetDpiApiAvailable(bool available) { Sim().DpiApiAvailable = available; }

// Parents before their children, in creation order.
static void Descendants(HWND hwnd, std::vector<HWND> *out)
{
    SimWindowData *w = SimFindWindow(hwnd);
    if (!w)
        return;
    std::vector<HWND> children = w->Children;
    for (HWND child : children) {
        out->push_back(child);
        Descendants(child, out);
    }
}

void SimSetMonitorDpi(HWND window, UINT dpi, bool childrenTold)
{
    HWND top = TopLevelOf(window);
    if (!top)
        return;
    SimFindWindow(top)->MonitorDpi = dpi;
    std::vector<HWND> children;
    if (childrenTold)
        Descendants(top, &children);
    for (HWND child : children)
        SendMessageA(child, WM_DPICHANGED_BEFOREPARENT, 0, 0);
    RECT suggested;
    GetWindowRect(top, &suggested);
    SendMessageA(top, WM_DPICHANGED, MAKELONG(dpi, dpi), (LPARAM)&suggested);
    for (HWND child : children)
        SendMessageA(child, WM_DPICHANGED_AFTERPARENT, 0, 0);
}
