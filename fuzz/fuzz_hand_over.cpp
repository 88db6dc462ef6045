// Any WM_COPYDATA into the clock window of an attached clock, as another
// program could send it: byte 0 holds flags, bytes 1-4 dwData, the rest is
// the data with cbData its length. Flag 1 sends a null lpData; flag 2 puts
// the controller's real host path at the start of the data and, in a record
// of the right size, its window at the end, so that such records reach the
// skin loading too.
#include "fuzz/fuzz_desktop.h"

#include "engine/clock_state.h"
#include "shell/clock_wndproc.h"
#include "shell/library.h"

#include <stddef.h>
#include <string.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 5)
        return 0;
    uint8_t flags = data[0];
    ULONG_PTR dwData =
        (ULONG_PTR)data[1] | (ULONG_PTR)data[2] << 8 | (ULONG_PTR)data[3] << 16 | (ULONG_PTR)data[4] << 24;
    std::vector<uint8_t> payload(data + 5, data + size);
    std::string host = FuzzHostPath();
    FuzzDesktop desktop;
    StartDesktop(&desktop);
    if ((flags & 2) && payload.size() >= host.size() + 1)
        memcpy(payload.data(), host.c_str(), host.size() + 1);
    uint32_t controller = (uint32_t)(uintptr_t)desktop.ControllerWindow;
    if ((flags & 2) && payload.size() == HandOverRecordSize)
        memcpy(payload.data() + offsetof(HandOverRecord, ControllerWnd), &controller, sizeof(controller));

    SetClockOnTray(desktop.ControllerWindow, 1, host.c_str(), "");
    SimPumpMessages();

    COPYDATASTRUCT copy;
    copy.dwData = dwData;
    copy.cbData = (DWORD)payload.size();
    copy.lpData = (flags & 1) || payload.empty() ? nullptr : payload.data();
    SendMessageA(desktop.Taskbar.Clock, WM_COPYDATA, (WPARAM)desktop.ControllerWindow, (LPARAM)&copy);
    SimPumpMessages();

    // The clock keeps working: a tick, a paint and a menu afterwards.
    SimSetLocalTime(2026, 12, 31, 23, 59, 59);
    RepaintClock();
    SimPumpMessages();
    SimInProcess(desktop.Explorer, [&] {
        FuzzRequire(memchr(ClockState.SkinBaseDir, 0, sizeof(ClockState.SkinBaseDir)) != nullptr,
                    "the skin folder stays terminated");
        InvalidateRect(desktop.Taskbar.Clock, nullptr, TRUE);
        SimSetMenuChoice(0);
        SendMessageA(desktop.Taskbar.Clock, WM_RBUTTONDOWN, 0, MAKELPARAM(3, 3));
    });
    SimPumpMessages();
    EndDesktop(&desktop);
    return 0;
}
