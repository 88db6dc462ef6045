// What the end-to-end scenarios share: acting as the controller through the
// library's three exports, finding the stand-in taskbar of another process,
// reading its pixels and the registry, and reporting.
#pragma once

#include <windows.h>

#include "settings/registry_key.h"
#include "shell/clock_messages.h"

#include <stdint.h>
#include <string>
#include <vector>

struct Taskbar {
    HWND Tray = nullptr, Notify = nullptr, Clock = nullptr;
    DWORD ProcessId = 0;
};

struct Capture {
    int Width = 0, Height = 0;
    std::vector<uint32_t> Pixels;  // COLORREF, row 0 at the top
};

// Reporting: a failed check prints one "FAIL" line and counts.
bool Check(bool ok, const char *format, ...);
int Failures();
// Lines the runner acts on ("compare ...", "note ...").
void Say(const char *format, ...);

// Runs this thread's messages for the given time.
void PumpFor(DWORD milliseconds);
// Runs messages until the test holds or the time is up; the test's last answer.
template <typename Test>
bool WaitUntil(DWORD milliseconds, Test test)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (test())
            return true;
        if (GetTickCount() - start >= milliseconds)
            return test();
        PumpFor(20);
    }
}

// The stand-in's three windows, waiting up to the given time for them.
bool FindTaskbar(Taskbar *taskbar, DWORD milliseconds);
RECT ScreenRect(HWND hwnd);

// The controller: the library loaded from a path, a hidden top-level window
// that hears the exit request and detaches on it, as dialwick.exe does.
bool LoadClockLibrary(const char *dllPath);
HWND ControllerWindow();
LONG AttachClock(const char *hostPath);
LONG DetachClock();
LONG KillHooksNow();
BOOL RepaintClockNow();
bool ExitRequested();

// Sends the clock window one WM_COMMAND, as a menu choice would.
bool SendCommand(HWND clock, UINT id);

// Whether the process has a module of that file name (any folder, any case).
bool ProcessHasModule(DWORD processId, const char *fileName);

// The client area of another process's window, read through its DC once the
// pixels stopped changing (the window's owner flushes them asynchronously).
bool CaptureWindow(HWND hwnd, Capture *capture);
// Rows top to bottom (exclusive) of the client area, read once.
bool CaptureRows(HWND hwnd, int top, int bottom, Capture *capture);
bool SameCapture(const Capture &a, const Capture &b);
bool WriteCapture(const std::string &path, const Capture &capture);

// Registry values of the current user.
bool ReadValue(const char *key, const char *name, DWORD *type, std::vector<uint8_t> *data);

std::string FormatTime(const SYSTEMTIME &t);
bool SameSecond(const SYSTEMTIME &a, const SYSTEMTIME &b);
