// The library's exported control interface, and its start-up and detach in
// every process that maps it.
#pragma once

#include "engine/clock_state.h"

extern "C" {
// Attaches (attach non-zero) or detaches the skinned clock.
LONG WINAPI SetClockOnTray(HWND controller, LONG attach, LPCSTR hostPath, LPCSTR reservedText);
// Asks the clock window to repaint what changed; non-zero when the request was posted.
BOOL WINAPI RepaintClock();
// Detaches, whatever the argument; returns 0.
LONG WINAPI KillHooks(HWND controller);
}

// Runs once when a process maps the library.
void LibraryStartup();
// Handles a later process notification (0 process detach, 2 and 3 thread attach and detach).
void LibraryDetach(DWORD reason);

// The library's own module, for the hook; set when the library is mapped.
extern HINSTANCE LibraryInstance;
// The handler the module passes its later process notifications to.
extern ProcessNotifyHandler ModuleNotifyHandler;

// The library's entry point, called by the loader.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);
