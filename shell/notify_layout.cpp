#include "shell/notify_layout.h"

#include "engine/clock_state.h"
#include "engine/face_layout.h"

// A child's rectangle in the notification area's client coordinates.
static RECT PlaceInNotify(HWND hwnd)
{
    RECT r{};
    POINT origin{0, 0};
    if (!GetWindowRect(hwnd, &r) || !ClientToScreen(ClockState.NotifyWnd, &origin))
        return RECT{};
    OffsetRect(&r, -origin.x, -origin.y);
    return r;
}

static bool SameRect(const RECT &a, const RECT &b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The pixels a window showed where it was may be the clock's that covered
// it (Wine copies them along): it paints itself anew.
static void MoveTo(HWND hwnd, const RECT &r)
{
    SetWindowPos(hwnd, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

void StartNotifyLayout()
{
    ClockState.NotifyAnswersSize = 0;
    ClockState.MovedWindowCount = 0;
    ClockState.ExplorerClockRect = PlaceInNotify(ClockState.ClockWnd);
}

LRESULT GrowNotifyAnswer(LRESULT answer)
{
    ClockState.NotifyAnswersSize = FlagTrue;
    if (!ClockState.SkinLoaded || answer == 0)
        return answer;
    const RECT &own = ClockState.ExplorerClockRect;
    bool vertical = IsTaskbarVertical() != 0;
    int grow = vertical ? FaceHeight() - (own.bottom - own.top) : FaceWidth() - (own.right - own.left);
    int width = LOWORD(answer) + (vertical ? 0 : grow), height = HIWORD(answer) + (vertical ? grow : 0);
    // A size that would not fit the answer leaves Explorer's own.
    if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF)
        return answer;
    return MAKELONG(width, height);
}

void KeepFaceSize(WINDOWPOS *pos)
{
    // A change of the size or the position alone is not Explorer placing its
    // clock (the fitting below resizes it that way).
    if (!pos || (pos->flags & (SWP_NOSIZE | SWP_NOMOVE)))
        return;
    ClockState.ExplorerClockRect = RECT{pos->x, pos->y, pos->x + pos->cx, pos->y + pos->cy};
    if (!ClockState.NotifyAnswersSize || !ClockState.SkinLoaded)
        return;
    pos->cx = FaceWidth();
    pos->cy = FaceHeight();
}

static MovedWindow *FindMoved(HWND hwnd)
{
    for (int i = 0; i < ClockState.MovedWindowCount; i++)
        if (ClockState.MovedWindows[i].Window == hwnd)
            return &ClockState.MovedWindows[i];
    return nullptr;
}

static void ForgetMoved(MovedWindow *moved) { *moved = ClockState.MovedWindows[--ClockState.MovedWindowCount]; }

// Moves a sibling that lies after Explorer's clock on by the shift; one that
// is still where it was moved to is taken from where Explorer had it.
static void ShiftSibling(HWND hwnd, const RECT &clock, int shift, bool vertical)
{
    RECT now = PlaceInNotify(hwnd);
    MovedWindow *moved = FindMoved(hwnd);
    RECT own = moved && SameRect(now, moved->Moved) ? moved->Explorer : now;
    // After: its middle lies beyond the clock's middle along the taskbar.
    bool after =
        vertical ? own.top + own.bottom > clock.top + clock.bottom : own.left + own.right > clock.left + clock.right;
    RECT target = own;
    if (after)
        OffsetRect(&target, vertical ? 0 : shift, vertical ? shift : 0);
    if (SameRect(target, own)) {
        if (moved) {
            if (!SameRect(now, own))
                MoveTo(hwnd, own);
            ForgetMoved(moved);
        }
        return;
    }
    // A window that could not be noted is never moved: it could not be put back.
    if (!moved) {
        if (ClockState.MovedWindowCount >= MaxMovedWindows)
            return;
        moved = &ClockState.MovedWindows[ClockState.MovedWindowCount++];
        moved->Window = hwnd;
    }
    moved->Explorer = own;
    moved->Moved = target;
    if (!SameRect(now, target))
        MoveTo(hwnd, target);
}

void FitNotifyChildren()
{
    if (!ClockState.NotifyAnswersSize || !ClockState.ClockWnd)
        return;
    HWND clock = ClockState.ClockWnd;
    RECT now = PlaceInNotify(clock);
    // A clock that Explorer did not place takes the face's size all the same.
    if (ClockState.SkinLoaded && (now.right - now.left != FaceWidth() || now.bottom - now.top != FaceHeight())) {
        SetWindowPos(clock, nullptr, 0, 0, FaceWidth(), FaceHeight(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(clock, nullptr, TRUE);
        now = PlaceInNotify(clock);
    }
    const RECT own = ClockState.ExplorerClockRect;
    bool vertical = IsTaskbarVertical() != 0;
    int shift = vertical ? now.bottom - own.bottom : now.right - own.right;
    for (HWND child = FindWindowExA(ClockState.NotifyWnd, nullptr, nullptr, nullptr); child;
         child = FindWindowExA(ClockState.NotifyWnd, child, nullptr, nullptr))
        if (child != clock)
            ShiftSibling(child, own, shift, vertical);
}

void RestoreNotifyLayout()
{
    for (int i = 0; i < ClockState.MovedWindowCount; i++) {
        const MovedWindow &m = ClockState.MovedWindows[i];
        // Only what is still where it was moved to: Explorer may have placed it since.
        if (IsWindow(m.Window) && GetParent(m.Window) == ClockState.NotifyWnd &&
            SameRect(PlaceInNotify(m.Window), m.Moved))
            MoveTo(m.Window, m.Explorer);
    }
    ClockState.MovedWindowCount = 0;
    // Cleared first: should the clock still have our procedure, it must not
    // keep the face's size now.
    bool sized = ClockState.NotifyAnswersSize != 0;
    ClockState.NotifyAnswersSize = 0;
    const RECT &own = ClockState.ExplorerClockRect;
    if (sized && IsWindow(ClockState.ClockWnd) && !SameRect(PlaceInNotify(ClockState.ClockWnd), own))
        SetWindowPos(ClockState.ClockWnd, nullptr, own.left, own.top, own.right - own.left, own.bottom - own.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void RelayoutTaskbar()
{
    PostMessageA(ClockState.TrayWnd, WM_EXITSIZEMOVE, 0, 0);
    PostMessageA(ClockState.TrayWnd, WM_SIZE, 0, 0);
}
