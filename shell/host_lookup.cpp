// Finding Explorer's windows and the library's messages, in each process.
#include "shell/host_lookup.h"

#include "engine/clock_attach.h"
#include "engine/time_snapshot.h"
#include "shell/clock_messages.h"

#include <string.h>

void DirectoryOfPath(const char *path, char *out, int size)
{
    out[0] = 0;
    if (!path)
        return;
    // The last backslash or colon, never the trail byte of a double-byte
    // character; and where the character before it starts.
    int last = -1, beforeLast = -1, previous = -1, next = 0;
    for (int i = 0; path[i]; previous = i, i = next) {
        unsigned char c = (unsigned char)path[i];
        if (c == '\\' || c == ':') {
            last = i;
            beforeLast = previous;
        }
        next = i + ((IsDBCSLeadByte(c) && path[i + 1]) ? 2 : 1);
    }
    if (last < 0)
        return;
    int n = last + 1;
    // A backslash that only separates the file name goes; one that follows a
    // drive colon or another backslash is the root and stays.
    bool rootAfter = beforeLast >= 0 && beforeLast == last - 1 && (path[beforeLast] == '\\' || path[beforeLast] == ':');
    if (path[last] == '\\' && last > 0 && !rootAfter)
        n = last;
    // Whatever does not fit is refused rather than cut: a cut path names another folder.
    if (n >= size)
        return;
    memcpy(out, path, n);
    out[n] = 0;
}

void RegisterClockMessages()
{
    ClockState.PaintClockMsg = RegisterWindowMessageA(PaintClockMessageName);
    ClockState.UnsubclassMsg = RegisterWindowMessageA(UnsubclassMessageName);
    ClockState.SubclassMsg = RegisterWindowMessageA(SubclassMessageName);
    ClockState.ControllerQueryMsg = RegisterWindowMessageA(ControllerQueryMessageName);
    ClockState.ClockReleasedMsg = RegisterWindowMessageA(ClockReleasedMessageName);
}

// Explorer's taskbar, notification area and clock, found by their classes.
static void FindClockWindows()
{
    HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
    HWND notify = FindWindowExA(tray, nullptr, "TrayNotifyWnd", nullptr);
    AdoptClockWindows(tray, notify, FindWindowExA(notify, nullptr, "TrayClockWClass", nullptr));
}

void InitClockHost(const char *path)
{
    RegisterClockMessages();
    FindClockWindows();
    DirectoryOfPath(path, ClockState.SkinBaseDir, sizeof(ClockState.SkinBaseDir));
    SnapshotTime();
}
