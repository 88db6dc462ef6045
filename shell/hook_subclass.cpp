// The hook that brings the library into Explorer, and the swap of the clock's
// and the notification area's window procedures.
#include "shell/hook_subclass.h"

#include "engine/clock_state.h"
#include "engine/paint_clock.h"
#include "engine/skin_bitmaps.h"
#include "settings/context_menu.h"
#include "shell/clock_dpi.h"
#include "shell/clock_wndproc.h"
#include "shell/containment.h"
#include "shell/controller_watch.h"
#include "shell/notify_layout.h"

static WNDPROC ReplaceProc(HWND hwnd, WNDPROC proc)
{
    return (WNDPROC)SetWindowLongPtrA(hwnd, GWLP_WNDPROC, (LONG_PTR)proc);
}

void SubclassClock()
{
    if (ClockState.PreviousClockProc || ClockState.PreviousNotifyProc)
        return;
    ClockState.PreviousClockProc = ReplaceProc(ClockState.ClockWnd, ClockWndProc);
    ClockState.PreviousNotifyProc = ReplaceProc(ClockState.NotifyWnd, NotifyWndProc);
    // A window that refused its replacement must not keep the other one
    // pointing at a procedure that forwards to nothing.
    if (!ClockState.PreviousClockProc || !ClockState.PreviousNotifyProc) {
        if (ClockState.PreviousClockProc)
            ReplaceProc(ClockState.ClockWnd, ClockState.PreviousClockProc);
        if (ClockState.PreviousNotifyProc)
            ReplaceProc(ClockState.NotifyWnd, ClockState.PreviousNotifyProc);
        ClockState.PreviousClockProc = nullptr;
        ClockState.PreviousNotifyProc = nullptr;
        return;
    }
    StartNotifyLayout();
}

void UnsubclassClock()
{
    if (!ClockState.PreviousClockProc && !ClockState.PreviousNotifyProc)
        return;
    // A saved procedure is forgotten only once it is back in place, and a
    // later call restores whichever is still out: a window left with ours
    // would fault once the library is unmapped.
    if (ClockState.PreviousClockProc && ReplaceProc(ClockState.ClockWnd, ClockState.PreviousClockProc))
        ClockState.PreviousClockProc = nullptr;
    if (ClockState.PreviousNotifyProc && ReplaceProc(ClockState.NotifyWnd, ClockState.PreviousNotifyProc))
        ClockState.PreviousNotifyProc = nullptr;
    RestoreNotifyLayout();
    FreeSkinBitmaps();
    DestroyMenus();
    ReleaseController();
}

LRESULT CALLBACK ClockHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    Contain(
        [&] {
            const CWPSTRUCT *cwp = (const CWPSTRUCT *)lParam;
            if (code == HC_ACTION && cwp && ClockState.SubclassMsg && cwp->message == ClockState.SubclassMsg)
                SubclassClock();
            return 0;
        },
        [] { return 0; });
    return CallNextHookEx(ClockState.HookHandle, code, wParam, lParam);
}

static bool IsPagerSizeNotice(LPARAM lParam)
{
    const NMHDR *header = (const NMHDR *)lParam;
    return header && header->code == PGN_CALCSIZE;
}

// Explorer's procedure answers first and only once; what follows runs
// contained, so that a failure in it still returns Explorer's answer.
LRESULT CALLBACK NotifyWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC previous = ClockState.PreviousNotifyProc;
    auto passOn = [&] { return CallWindowProcA(previous, hwnd, msg, wParam, lParam); };
    auto after = [](LRESULT result, auto step) {
        Contain(
            [&] {
                step();
                return 0;
            },
            [] { return 0; });
        return result;
    };
    // The detach reaches this window too, for when the clock's own procedure
    // was restored and this one was not.
    if (msg == ClockState.UnsubclassMsg && msg != 0) {
        if (!ActsForController((HWND)wParam))
            return passOn();
        Contain(
            [] {
                UnsubclassClock();
                return 0;
            },
            [] { return 0; });
        return 0;
    }
    switch (msg) {
    case WM_WININICHANGE:
        // Twice: Explorer may repaint the area once more after the change.
        return after(passOn(), [] {
            RepaintWholeFace(ClockState.ClockWnd, TRUE);
            RepaintWholeFace(ClockState.ClockWnd, TRUE);
        });
    case ClockSizeMessage: {
        LRESULT answer = passOn();
        // As the clock's own size query: the face may not have heard of a
        // new DPI yet, and the answer must be for the face at that DPI.
        return Contain(
            [&] {
                FollowClockDpi(ClockState.ClockWnd, false);
                return GrowNotifyAnswer(answer);
            },
            [&] { return answer; });
    }
    case WM_NOTIFY:
        return IsPagerSizeNotice(lParam) ? after(passOn(), FitNotifyChildren) : passOn();
    case WM_SIZE:
        // A layout made without the pager's notice is fitted here.
        return after(passOn(), FitNotifyChildren);
    default:
        return passOn();
    }
}
