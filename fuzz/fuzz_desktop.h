// A simulated desktop for the fuzz targets, as the shell tests have it:
// "explorer.exe" with the stand-in taskbar and "dialwick.exe" with the
// library mapped. Any leak or fault found is reported and aborts, so the
// fuzzer keeps the input.
#pragma once

#include "platform/sim/sim_control.h"
#include "tools/standin/standin_windows.h"

#include <string>

struct FuzzDesktop {
    DWORD Explorer = 0, Controller = 0;
    StandinTaskbar Taskbar;
    HWND ControllerWindow = nullptr;
    HMODULE Library = nullptr;
    WNDPROC StockClockProc = nullptr, StockNotifyProc = nullptr;
};

// Host path of a folder with the test skins Herb and Wide, made once per run.
const std::string &FuzzSkinsDir();
// A file in that folder in Windows form, as the controller passes it.
std::string FuzzHostPath();

// A fresh simulation with both processes and the library loaded by the controller.
void StartDesktop(FuzzDesktop *desktop);
// Detaches, ends both processes and checks that Explorer's procedures came
// back and that no GDI object, key, menu, listing or hook is left.
void EndDesktop(FuzzDesktop *desktop);

// Prints what failed and aborts.
void FuzzRequire(bool ok, const char *what);
// No key, menu, listing or hook is live, nor GDI objects past the given count.
void RequireNothingLive(int gdiObjects = 0);
