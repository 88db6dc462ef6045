// The clock window while the library has it: repaint requests, the
// hand-over, Explorer's paint, timer, hit-test and size query, the popup
// menu and its commands.
#include "shell/clock_wndproc.h"

#include "engine/clock_state.h"
#include "engine/face_layout.h"
#include "engine/paint_clock.h"
#include "engine/repaint_tick.h"
#include "engine/skin_bitmaps.h"
#include "settings/context_menu.h"
#include "settings/settings_store.h"
#include "shell/clock_commands.h"
#include "shell/clock_dpi.h"
#include "shell/containment.h"
#include "shell/controller_watch.h"
#include "shell/hook_subclass.h"
#include "shell/host_lookup.h"
#include "shell/notify_layout.h"

#include <string.h>

static LRESULT PassOn(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(ClockState.PreviousClockProc, hwnd, msg, wParam, lParam);
}

// The record is taken only at its exact size, with a terminated host path,
// from the live window it names as the controller, and not while another
// controller runs; anything else is some other program's data and goes to Explorer.
static bool AcceptHandOver(WPARAM sender, LPARAM lParam, HandOverRecord *record)
{
    const COPYDATASTRUCT *data = (const COPYDATASTRUCT *)lParam;
    if (!data || data->cbData != HandOverRecordSize || !data->lpData)
        return false;
    memcpy(record, data->lpData, sizeof(*record));
    HWND controller = (HWND)sender;
    return memchr(record->HostPath, 0, sizeof(record->HostPath)) != nullptr &&
           (uint32_t)(uintptr_t)controller == record->ControllerWnd && IsWindow(controller) &&
           ActsForController(controller);
}

static LRESULT HandOver(const HandOverRecord &record)
{
    InitClockHost(record.HostPath);
    HoldController((HWND)(LONG_PTR)(int32_t)record.ControllerWnd);
    return LoadSettings();
}

static void Unsubclass(HWND hwnd)
{
    UnsubclassClock();
    FreeSkinBitmaps();
    InvalidateRect(hwnd, nullptr, TRUE);
}

static LRESULT ShowPopupMenu(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    // A menu is already being tracked (timers keep running inside its loop):
    // rebuilding it now would destroy the menu on screen.
    if (ClockState.MenuTracking)
        return 0;
    POINT at{(LONG)LOWORD(lParam), (LONG)HIWORD(lParam)};
    ClientToScreen(hwnd, &at);
    BuildMainMenu();
    ClockState.MenuTracking = FlagTrue;
    TrackPopupMenuEx(ClockState.MainMenu, 0, at.x, at.y, ClockState.ClockWnd, nullptr);
    ClockState.MenuTracking = 0;
    return PassOn(hwnd, msg, wParam, lParam);
}

static LRESULT AnswerSizeQuery(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (PassOn(hwnd, msg, wParam, lParam) == 0)
        return 0;
    FollowClockDpi(hwnd, false);
    return MAKELONG(FaceWidth(), FaceHeight());
}

static LRESULT HandleClockMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == ClockState.PaintClockMsg && msg != 0) {
        RepaintTick();
        // The paint first: the watch can wait, the face should not.
        HeardFromController();
        return 0;
    }
    // Only the controller, or this copy's own detach, gives the clock back:
    // a program that merely loads and frees the library sends no controller.
    if (msg == ClockState.UnsubclassMsg && msg != 0) {
        if (!ActsForController((HWND)wParam))
            return PassOn(hwnd, msg, wParam, lParam);
        Unsubclass(hwnd);
        return 0;
    }
    if (msg == ClockState.ControllerQueryMsg && msg != 0)
        return (LRESULT)ClockState.ControllerWnd;
    bool skin = ClockState.SkinLoaded != 0;
    switch (msg) {
    case WM_PAINT:
        if (!skin)
            return PassOn(hwnd, msg, wParam, lParam);
        PaintClock(hwnd);
        return 0;
    case WM_COPYDATA: {
        HandOverRecord record;
        if (!AcceptHandOver(wParam, lParam, &record))
            return PassOn(hwnd, msg, wParam, lParam);
        return HandOver(record);
    }
    case WM_NCHITTEST:
        return skin ? HTCLIENT : PassOn(hwnd, msg, wParam, lParam);
    case WM_COMMAND:
        RunClockCommand(hwnd, LOWORD(wParam));
        return 0;
    case WM_TIMER:
        if (wParam == ControllerWatchTimer) {
            WatchController();
            return 0;
        }
        return skin ? 0 : PassOn(hwnd, msg, wParam, lParam);
    case WM_RBUTTONDOWN:
        return ShowPopupMenu(hwnd, msg, wParam, lParam);
    case WM_RBUTTONUP:
        return 0;
    case WM_MBUTTONDBLCLK:
        OpenDateTimePanel();
        return 0;
    case WM_DPICHANGED:
    case WM_DPICHANGED_AFTERPARENT:
        if (skin)
            FollowClockDpi(hwnd, true);
        return PassOn(hwnd, msg, wParam, lParam);
    case ClockSizeMessage:
        return skin ? AnswerSizeQuery(hwnd, msg, wParam, lParam) : PassOn(hwnd, msg, wParam, lParam);
    case WM_WINDOWPOSCHANGING: {
        LRESULT result = PassOn(hwnd, msg, wParam, lParam);
        KeepFaceSize((WINDOWPOS *)lParam);
        return result;
    }
    default:
        return PassOn(hwnd, msg, wParam, lParam);
    }
}

LRESULT CALLBACK ClockWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    // After a failure inside a handler, Explorer's own procedure answers.
    return Contain([&] { return HandleClockMessage(hwnd, msg, wParam, lParam); },
                   [&] {
                       ClockState.PaintInProgress = 0;
                       ClockState.MenuTracking = 0;
                       return PassOn(hwnd, msg, wParam, lParam);
                   });
}
