// Windows, window classes, messages and painting. A window's client area is
// its whole window (no borders or captions are simulated), and each window
// keeps its own client-area pixels, as if every window had a backing store.
#include "platform/sim/sim_internal.h"

#include <algorithm>
#include <string.h>
#include <strings.h>

SimWindowData *SimFindWindow(HWND hwnd)
{
    auto it = Sim().Windows.find((uintptr_t)hwnd);
    return it == Sim().Windows.end() ? nullptr : &it->second;
}

static SimWindowData *Window(HWND hwnd)
{
    SimWindowData *w = SimFindWindow(hwnd);
    if (!w)
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return w;
}

static SimWindowClass *FindClass(LPCSTR name)
{
    for (SimWindowClass &c : Sim().Classes)
        if (c.Process == Sim().CurrentProcess && strcasecmp(c.Name.c_str(), name) == 0)
            return &c;
    return nullptr;
}

ATOM RegisterClassA(const WNDCLASSA *wc)
{
    if (SimShouldFail("RegisterClassA") || !wc || !wc->lpszClassName || !wc->lpfnWndProc)
        return 0;
    if (FindClass(wc->lpszClassName)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    SimWindowClass c;
    c.Process = Sim().CurrentProcess;
    c.Name = wc->lpszClassName;
    c.Class = *wc;
    Sim().Classes.push_back(c);
    return (ATOM)(0xC000 + Sim().Classes.size());
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE)
{
    auto &classes = Sim().Classes;
    for (auto it = classes.begin(); it != classes.end(); ++it)
        if (it->Process == Sim().CurrentProcess && strcasecmp(it->Name.c_str(), className) == 0) {
            for (auto &w : Sim().Windows)
                if (w.second.Process == it->Process && strcasecmp(w.second.ClassName.c_str(), className) == 0)
                    return FALSE;
            // Windows deletes a class's background brush with the class.
            DeleteObject(it->Class.hbrBackground);
            classes.erase(it);
            return TRUE;
        }
    return FALSE;
}

void SimResizeSurface(SimWindowData &window, int width, int height)
{
    int oldWidth = window.Rect.right - window.Rect.left;
    int oldHeight = window.Rect.bottom - window.Rect.top;
    std::vector<uint32_t> surface((size_t)std::max(width, 0) * std::max(height, 0), 0);
    for (int y = 0; y < std::min(height, oldHeight); y++)
        for (int x = 0; x < std::min(width, oldWidth); x++)
            surface[(size_t)y * width + x] = window.Surface[(size_t)y * oldWidth + x];
    window.Surface.swap(surface);
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    if (SimShouldFail("CreateWindowExA") || !className)
        return nullptr;
    SimWindowClass *cls = FindClass(className);
    if (!cls) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    if (parent && !Window(parent))
        return nullptr;
    width = std::max(width, 0);
    height = std::max(height, 0);
    HWND hwnd = (HWND)SimNewHandle();
    SimWindowData data;
    data.Process = Sim().CurrentProcess;
    data.ClassName = cls->Name;
    data.Title = windowName ? windowName : "";
    data.Proc = cls->Class.lpfnWndProc;
    data.Background = cls->Class.hbrBackground;
    data.ClassStyle = cls->Class.style;
    data.Parent = parent;
    data.Style = style;
    data.ExStyle = exStyle;
    data.Rect = RECT{x, y, x + width, y + height};
    data.Surface.assign((size_t)width * height, 0);
    Sim().Windows.emplace((uintptr_t)hwnd, std::move(data));
    if (parent)
        Window(parent)->Children.push_back(hwnd);
    else
        Sim().TopLevel.push_back(hwnd);

    CREATESTRUCTA cs{param, instance, menu, parent, height, width, y, x, (LONG)style, windowName, className, exStyle};
    if (!SendMessageA(hwnd, WM_NCCREATE, 0, (LPARAM)&cs) || SendMessageA(hwnd, WM_CREATE, 0, (LPARAM)&cs) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    SendMessageA(hwnd, WM_SIZE, 0, MAKELPARAM(width, height));
    if (style & WS_VISIBLE)
        InvalidateRect(hwnd, nullptr, TRUE);
    return hwnd;
}

// The window leaves its parent, its timers and posted messages go with it.
static void ForgetWindow(HWND hwnd)
{
    SimWindowData *w = SimFindWindow(hwnd);
    if (!w)
        return;
    std::vector<HWND> &siblings =
        w->Parent && SimFindWindow(w->Parent) ? SimFindWindow(w->Parent)->Children : Sim().TopLevel;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), hwnd), siblings.end());
    auto &timers = Sim().Timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(), [&](const SimTimer &t) { return t.Window == hwnd; }),
                 timers.end());
    auto &posted = Sim().Posted;
    posted.erase(std::remove_if(posted.begin(), posted.end(), [&](const SimPosted &p) { return p.Window == hwnd; }),
                 posted.end());
    Sim().Windows.erase((uintptr_t)hwnd);
}

BOOL DestroyWindow(HWND hwnd)
{
    SimWindowData *w = Window(hwnd);
    if (!w)
        return FALSE;
    SendMessageA(hwnd, WM_DESTROY, 0, 0);
    std::vector<HWND> children = Window(hwnd) ? Window(hwnd)->Children : std::vector<HWND>{};
    for (HWND child : children)
        DestroyWindow(child);
    if (!Window(hwnd))
        return TRUE;
    SendMessageA(hwnd, WM_NCDESTROY, 0, 0);
    ForgetWindow(hwnd);
    return TRUE;
}

void SimRemoveWindowTree(HWND hwnd)
{
    SimWindowData *w = SimFindWindow(hwnd);
    if (!w)
        return;
    std::vector<HWND> children = w->Children;
    for (HWND child : children)
        SimRemoveWindowTree(child);
    ForgetWindow(hwnd);
}

void SimDestroyAllWindows()
{
    while (!Sim().TopLevel.empty()) {
        HWND top = Sim().TopLevel.back();
        if (!DestroyWindow(top))
            Sim().TopLevel.pop_back();
    }
    Sim().Windows.clear();
}

BOOL IsWindow(HWND hwnd) { return SimFindWindow(hwnd) != nullptr; }

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    SimWindowData *w = Window(hwnd);
    if (!w)
        return 0;
    switch (msg) {
    case WM_NCCREATE:
        return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND: {
        if (!w->Background)
            return 0;
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect((HDC)wParam, &rc, w->Background);
        return 1;
    }
    case WM_WINDOWPOSCHANGED: {
        // Moved, then sized, each only when the client area did.
        const WINDOWPOS *pos = (const WINDOWPOS *)lParam;
        if (!pos)
            return 0;
        if (!(pos->flags & SWP_NOCLIENTMOVE))
            SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(pos->x, pos->y));
        if (!(pos->flags & SWP_NOCLIENTSIZE))
            SendMessageA(hwnd, WM_SIZE, 0, MAKELPARAM(pos->cx, pos->cy));
        return 0;
    }
    default:
        return 0;
    }
}

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

// A sent message runs in the window's process, after that thread's
// WH_CALLWNDPROC hooks have seen it.
LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    SimWindowData *w = Window(hwnd);
    if (!w)
        return 0;
    SimProcessScope scope(w->Process);
    SimRunCallWndProcHooks(hwnd, msg, wParam, lParam);
    w = SimFindWindow(hwnd);
    if (!w || !w->Proc)
        return 0;
    return w->Proc(hwnd, msg, wParam, lParam);
}

// No simulated process ever hangs: the timeout never runs out.
LRESULT SendMessageTimeoutA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT, UINT, PDWORD_PTR result)
{
    if (!Window(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    LRESULT answer = SendMessageA(hwnd, msg, wParam, lParam);
    if (result)
        *result = (DWORD_PTR)answer;
    return 1;
}

// A posted message is dispatched to the procedure directly; hooks of the
// sent-message kind do not see it.
static void Dispatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    SimWindowData *w = SimFindWindow(hwnd);
    if (!w || !w->Proc)
        return;
    SimProcessScope scope(w->Process);
    w->Proc(hwnd, msg, wParam, lParam);
}

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (SimShouldFail("PostMessageA") || !Window(hwnd))
        return FALSE;
    Sim().Posted.push_back(SimPosted{hwnd, msg, wParam, lParam});
    return TRUE;
}

int SimPumpMessages()
{
    int delivered = 0;
    for (;;) {
        if (!Sim().Posted.empty()) {
            SimPosted p = Sim().Posted.front();
            Sim().Posted.erase(Sim().Posted.begin());
            Dispatch(p.Window, p.Message, p.WParam, p.LParam);
            delivered++;
            continue;
        }
        // WM_PAINT comes last, after every posted message, as GetMessage makes it.
        HWND dirty = nullptr;
        for (auto &entry : Sim().Windows)
            if (!entry.second.Update.Rects.empty() && IsWindowVisible((HWND)entry.first)) {
                dirty = (HWND)entry.first;
                break;
            }
        if (!dirty)
            return delivered;
        Dispatch(dirty, WM_PAINT, 0, 0);
        delivered++;
        // A window procedure that does not validate would be painted forever.
        if (SimFindWindow(dirty) && !SimFindWindow(dirty)->Update.Rects.empty())
            ValidateRect(dirty, nullptr);
    }
}

LONG_PTR GetWindowLongPtrA(HWND hwnd, int index)
{
    SimWindowData *w = Window(hwnd);
    if (!w)
        return 0;
    switch (index) {
    case GWLP_WNDPROC:
        return (LONG_PTR)w->Proc;
    case GWL_STYLE:
        return (LONG)w->Style;
    case GWL_EXSTYLE:
        return (LONG)w->ExStyle;
    case GWLP_USERDATA:
        return w->UserData;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
}

LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value)
{
    if (SimShouldFail("SetWindowLongPtrA"))
        return 0;
    SimWindowData *w = Window(hwnd);
    if (!w)
        return 0;
    LONG_PTR old = GetWindowLongPtrA(hwnd, index);
    switch (index) {
    case GWLP_WNDPROC:
        w->Proc = (WNDPROC)value;
        break;
    case GWL_STYLE:
        w->Style = (DWORD)value;
        break;
    case GWL_EXSTYLE:
        w->ExStyle = (DWORD)value;
        break;
    case GWLP_USERDATA:
        w->UserData = value;
        break;
    default:
        return 0;
    }
    return old;
}

// Procedure pointers do not fit a 32-bit long on a 64-bit host, so the 32-bit
// calls refuse GWL_WNDPROC here, as 64-bit Windows does.
LONG GetWindowLongA(HWND hwnd, int index)
{
    if (index == GWL_WNDPROC && sizeof(void *) > 4) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return (LONG)GetWindowLongPtrA(hwnd, index);
}

LONG SetWindowLongA(HWND hwnd, int index, LONG value)
{
    if (index == GWL_WNDPROC && sizeof(void *) > 4) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return (LONG)SetWindowLongPtrA(hwnd, index, value);
}

HWND GetParent(HWND hwnd)
{
    SimWindowData *w = Window(hwnd);
    return w ? w->Parent : nullptr;
}

int GetClassNameA(HWND hwnd, LPSTR className, int maxCount)
{
    SimWindowData *w = Window(hwnd);
    if (!w || !className || maxCount <= 0)
        return 0;
    int n = std::min((int)w->ClassName.size(), maxCount - 1);
    memcpy(className, w->ClassName.c_str(), n);
    className[n] = 0;
    return n;
}

static bool Matches(HWND hwnd, LPCSTR className, LPCSTR windowName)
{
    SimWindowData *w = SimFindWindow(hwnd);
    return w && (!className || strcasecmp(w->ClassName.c_str(), className) == 0) &&
           (!windowName || w->Title == windowName);
}

HWND FindWindowA(LPCSTR className, LPCSTR windowName) { return FindWindowExA(nullptr, nullptr, className, windowName); }

HWND FindWindowExA(HWND parent, HWND childAfter, LPCSTR className, LPCSTR windowName)
{
    const std::vector<HWND> *list = &Sim().TopLevel;
    if (parent) {
        SimWindowData *p = Window(parent);
        if (!p)
            return nullptr;
        list = &p->Children;
    }
    auto it = list->begin();
    if (childAfter) {
        it = std::find(list->begin(), list->end(), childAfter);
        if (it == list->end())
            return nullptr;
        ++it;
    }
    for (; it != list->end(); ++it)
        if (Matches(*it, className, windowName))
            return *it;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect)
{
    SimWindowData *w = Window(hwnd);
    if (!w || !rect)
        return FALSE;
    *rect = RECT{0, 0, w->Rect.right - w->Rect.left, w->Rect.bottom - w->Rect.top};
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point)
{
    SimWindowData *w = Window(hwnd);
    if (!w || !point)
        return FALSE;
    for (; w; w = w->Parent ? SimFindWindow(w->Parent) : nullptr) {
        point->x += w->Rect.left;
        point->y += w->Rect.top;
    }
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect)
{
    SimWindowData *w = Window(hwnd);
    if (!w || !rect)
        return FALSE;
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    *rect =
        RECT{origin.x, origin.y, origin.x + (w->Rect.right - w->Rect.left), origin.y + (w->Rect.bottom - w->Rect.top)};
    return TRUE;
}

BOOL IsWindowVisible(HWND hwnd)
{
    SimWindowData *w = SimFindWindow(hwnd);
    if (!w)
        return FALSE;
    for (; w; w = w->Parent ? SimFindWindow(w->Parent) : nullptr)
        if (!(w->Style & WS_VISIBLE))
            return FALSE;
    return TRUE;
}

// A window shown with its children: every one of them that is visible now
// needs painting, as RDW_ALLCHILDREN would.
static void InvalidateTree(HWND hwnd)
{
    InvalidateRect(hwnd, nullptr, TRUE);
    if (SimWindowData *w = SimFindWindow(hwnd))
        for (HWND child : std::vector<HWND>(w->Children))
            if (SimWindowData *c = SimFindWindow(child); c && (c->Style & WS_VISIBLE))
                InvalidateTree(child);
}

BOOL ShowWindow(HWND hwnd, int cmd)
{
    SimWindowData *w = Window(hwnd);
    if (!w)
        return FALSE;
    BOOL wasVisible = (w->Style & WS_VISIBLE) != 0;
    if (cmd == SW_HIDE) {
        w->Style &= ~WS_VISIBLE;
    } else {
        w->Style |= WS_VISIBLE;
        if (!wasVisible)
            InvalidateTree(hwnd);
    }
    return wasVisible;
}

// A moved or resized window keeps its pixels: only what it newly shows is
// invalidated, and all of it when its class asks to be redrawn on a change
// of width (CS_HREDRAW) or height (CS_VREDRAW) or the move discards its
// pixels (SWP_NOCOPYBITS). The parent gets back what the window no longer covers.
static void InvalidateAfterMove(HWND hwnd, const RECT &before, const RECT &after, UINT flags)
{
    SimWindowData *w = SimFindWindow(hwnd);
    if (!w)
        return;
    int oldWidth = before.right - before.left, oldHeight = before.bottom - before.top;
    int width = after.right - after.left, height = after.bottom - after.top;
    bool whole = ((w->ClassStyle & CS_HREDRAW) && width != oldWidth) ||
                 ((w->ClassStyle & CS_VREDRAW) && height != oldHeight) || (flags & SWP_NOCOPYBITS);
    if (whole) {
        InvalidateRect(hwnd, nullptr, TRUE);
    } else {
        RECT right{oldWidth, 0, width, height}, below{0, oldHeight, width, height};
        if (width > oldWidth)
            InvalidateRect(hwnd, &right, TRUE);
        if (height > oldHeight)
            InvalidateRect(hwnd, &below, TRUE);
    }
    if (!w->Parent)
        return;
    SimRegionData uncovered, now;
    SimRegionAddRect(uncovered, before);
    SimRegionAddRect(now, after);
    for (const RECT &r : SimRegionSubtract(uncovered, now).Rects)
        InvalidateRect(w->Parent, &r, TRUE);
}

// As Wine showed: WM_WINDOWPOSCHANGING on every call (unless
// SWP_NOSENDCHANGING), and the procedure may change the position and size it
// carries; WM_WINDOWPOSCHANGED only when the window moved or changed size,
// with SWP_NOMOVE and SWP_NOSIZE added for what stayed.
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    if (SimShouldFail("SetWindowPos") || !Window(hwnd))
        return FALSE;
    WINDOWPOS pos{hwnd, insertAfter, x, y, cx, cy, flags};
    if (!(flags & SWP_NOSENDCHANGING))
        SendMessageA(hwnd, WM_WINDOWPOSCHANGING, 0, (LPARAM)&pos);
    SimWindowData *w = Window(hwnd);
    if (!w)
        return FALSE;
    RECT before = w->Rect, r = w->Rect;
    int width = r.right - r.left, height = r.bottom - r.top;
    if (!(pos.flags & SWP_NOMOVE)) {
        r.left = pos.x;
        r.top = pos.y;
    }
    if (!(pos.flags & SWP_NOSIZE)) {
        width = std::max(pos.cx, 0);
        height = std::max(pos.cy, 0);
    }
    r.right = r.left + width;
    r.bottom = r.top + height;
    bool resized = width != before.right - before.left || height != before.bottom - before.top;
    bool moved = r.left != before.left || r.top != before.top;
    if (!resized && !moved)
        return TRUE;
    if (resized)
        SimResizeSurface(*w, width, height);
    w->Rect = r;
    if (resized)
        w->Update = SimRegionIntersectRect(w->Update, RECT{0, 0, width, height});
    if (!(flags & SWP_NOREDRAW))
        InvalidateAfterMove(hwnd, before, r, flags);
    UINT stayed = (moved ? 0 : SWP_NOMOVE | SWP_NOCLIENTMOVE) | (resized ? 0 : SWP_NOSIZE | SWP_NOCLIENTSIZE);
    WINDOWPOS changed{hwnd, insertAfter, r.left, r.top, width, height, pos.flags | stayed};
    SendMessageA(hwnd, WM_WINDOWPOSCHANGED, 0, (LPARAM)&changed);
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint)
{
    return SetWindowPos(hwnd, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

RECT SimVisibleClientRect(HWND hwnd)
{
    if (!IsWindowVisible(hwnd))
        return RECT{0, 0, 0, 0};
    RECT visible;
    GetClientRect(hwnd, &visible);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    // A child shows only inside the client areas of all its ancestors.
    for (HWND p = GetParent(hwnd); p; p = GetParent(p)) {
        RECT parent;
        GetClientRect(p, &parent);
        POINT parentOrigin{0, 0};
        ClientToScreen(p, &parentOrigin);
        OffsetRect(&parent, parentOrigin.x - origin.x, parentOrigin.y - origin.y);
        IntersectRect(&visible, &visible, &parent);
    }
    return visible;
}

static void AddUpdate(SimWindowData *w, HWND hwnd, const SimRegionData &area, BOOL erase)
{
    SimRegionData clipped = SimRegionIntersectRect(area, SimVisibleClientRect(hwnd));
    if (clipped.Rects.empty())
        return;
    SimRegionUnion(w->Update, clipped);
    if (erase)
        w->EraseNeeded = true;
}

BOOL InvalidateRect(HWND hwnd, const RECT *rect, BOOL erase)
{
    if (SimShouldFail("InvalidateRect"))
        return FALSE;
    SimWindowData *w = Window(hwnd);
    if (!w)
        return FALSE;
    RECT area;
    if (rect)
        area = *rect;
    else
        GetClientRect(hwnd, &area);
    SimRegionData region;
    SimRegionAddRect(region, area);
    AddUpdate(w, hwnd, region, erase);
    return TRUE;
}

BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase)
{
    if (SimShouldFail("InvalidateRgn"))
        return FALSE;
    if (!rgn)
        return InvalidateRect(hwnd, nullptr, erase);
    SimWindowData *w = Window(hwnd);
    SimGdiObject *r = SimFindGdi(rgn, SimRegions);
    if (!w || !r)
        return FALSE;
    AddUpdate(w, hwnd, r->Region, erase);
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT *rect)
{
    SimWindowData *w = Window(hwnd);
    if (!w)
        return FALSE;
    if (!rect) {
        w->Update.Rects.clear();
        w->EraseNeeded = false;
        return TRUE;
    }
    SimRegionData cut;
    SimRegionAddRect(cut, *rect);
    w->Update = SimRegionSubtract(w->Update, cut);
    if (w->Update.Rects.empty())
        w->EraseNeeded = false;
    return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL)
{
    SimWindowData *w = Window(hwnd);
    if (!w)
        return FALSE;
    if (rect)
        *rect = SimRegionBox(w->Update);
    return !w->Update.Rects.empty();
}

BOOL UpdateWindow(HWND hwnd)
{
    SimWindowData *w = Window(hwnd);
    if (!w)
        return FALSE;
    if (!w->Update.Rects.empty() && IsWindowVisible(hwnd))
        SendMessageA(hwnd, WM_PAINT, 0, 0);
    return TRUE;
}

static HDC NewWindowDC(HWND hwnd, const SimRegionData &clip, bool fromPaint)
{
    SimGdiObject object{};
    object.Kind = SimDCs;
    object.DC.Window = hwnd;
    object.DC.FromBeginPaint = fromPaint;
    object.DC.Visible = clip;
    return (HDC)SimAddGdi(std::move(object));
}

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint)
{
    if (!paint)
        return nullptr;
    *paint = PAINTSTRUCT{};
    SimWindowData *w = Window(hwnd);
    if (!w)
        return nullptr;
    if (SimShouldFail("BeginPaint"))
        return nullptr;
    // The paint DC is clipped to what was invalid; the window becomes valid now.
    SimRegionData update = w->Update;
    bool erase = w->EraseNeeded;
    w->Update.Rects.clear();
    w->EraseNeeded = false;
    HDC hdc = NewWindowDC(hwnd, SimRegionIntersectRect(update, SimVisibleClientRect(hwnd)), true);
    paint->hdc = hdc;
    paint->rcPaint = SimRegionBox(update);
    if (erase)
        paint->fErase = SendMessageA(hwnd, WM_ERASEBKGND, (WPARAM)hdc, 0) ? FALSE : TRUE;
    else
        paint->fErase = FALSE;
    return hdc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT *paint)
{
    if (!paint)
        return FALSE;
    SimGdiObject *dc = SimFindGdi(paint->hdc, SimDCs);
    if (dc && dc->DC.FromBeginPaint)
        SimFreeGdi(paint->hdc);
    return TRUE;
}

HDC GetDC(HWND hwnd)
{
    if (SimShouldFail("GetDC"))
        return nullptr;
    if (!Window(hwnd))
        return nullptr;
    SimRegionData clip;
    SimRegionAddRect(clip, SimVisibleClientRect(hwnd));
    return NewWindowDC(hwnd, clip, false);
}

int ReleaseDC(HWND, HDC hdc)
{
    SimGdiObject *dc = SimFindGdi(hdc, SimDCs);
    if (!dc || !dc->DC.Window || dc->DC.FromBeginPaint)
        return 0;
    SimFreeGdi(hdc);
    return 1;
}

SimPixels SimReadWindowPixels(HWND hwnd)
{
    SimPixels out;
    SimWindowData *w = SimFindWindow(hwnd);
    if (!w)
        return out;
    out.Width = w->Rect.right - w->Rect.left;
    out.Height = w->Rect.bottom - w->Rect.top;
    out.Pixels = w->Surface;
    return out;
}

void SimFillWindow(HWND hwnd, COLORREF color)
{
    SimWindowData *w = SimFindWindow(hwnd);
    if (w)
        std::fill(w->Surface.begin(), w->Surface.end(), color & 0xFFFFFF);
}

BOOL IntersectRect(LPRECT dst, const RECT *a, const RECT *b)
{
    if (!dst || !a || !b)
        return FALSE;
    *dst = SimIntersect(*a, *b);
    return !SimRectEmpty(*dst);
}

BOOL OffsetRect(LPRECT rect, int dx, int dy)
{
    if (!rect)
        return FALSE;
    rect->left += dx;
    rect->right += dx;
    rect->top += dy;
    rect->bottom += dy;
    return TRUE;
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC)
{
    if (SimShouldFail("SetTimer") || !Window(hwnd))
        return 0;
    KillTimer(hwnd, id);
    // As Windows does, a shorter interval than the minimum becomes the minimum.
    Sim().Timers.push_back(SimTimer{hwnd, id, elapse < USER_TIMER_MINIMUM ? USER_TIMER_MINIMUM : elapse});
    return id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id)
{
    auto &timers = Sim().Timers;
    auto it =
        std::find_if(timers.begin(), timers.end(), [&](const SimTimer &t) { return t.Window == hwnd && t.Id == id; });
    if (it == timers.end())
        return FALSE;
    timers.erase(it);
    return TRUE;
}

int SimFireTimers(UINT elapsed)
{
    int fired = 0;
    for (const SimTimer &t : Sim().Timers)
        if (t.Interval <= elapsed) {
            PostMessageA(t.Window, WM_TIMER, t.Id, 0);
            fired++;
        }
    return fired;
}
