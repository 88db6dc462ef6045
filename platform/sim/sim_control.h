// Test control of the simulated Windows: the handles a test needs to drive
// time and failures and to look at what was drawn. Not part of the Win32 API.
#pragma once

#include "platform/sim/sim_windows.h"

#include <initializer_list>
#include <stdint.h>
#include <string>
#include <vector>

// Destroys every window, class, GDI object and queued message and restores the
// default clock, version and failure settings.
void SimReset();

// The local time from now on, as the clock keeps it; the weekday follows.
void SimSetLocalTime(int year, int month, int day, int hour, int minute, int second);
// Moves the clock on (or back, when negative).
void SimAdvanceTime(int64_t milliseconds);
// Makes GetLocalTime report exactly these fields, even impossible ones.
void SimSetLocalTime(const SYSTEMTIME &time);

void SimSetVersion(DWORD major, DWORD minor);
// The system's ANSI code page (1252 by default); decides the double-byte lead bytes.
void SimSetCodePage(UINT codePage);

// Delivers posted messages, then WM_PAINT to every window with a non-empty
// update region, until nothing is left. Returns the number of messages delivered.
int SimPumpMessages();

// The pixels of a window's client area, row by row, as COLORREF values.
struct SimPixels {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;
    uint32_t At(int x, int y) const { return Pixels[(size_t)y * Width + x]; }
};
SimPixels SimReadWindowPixels(HWND hwnd);
// Fills a window's client area with one colour, bypassing clipping.
void SimFillWindow(HWND hwnd, COLORREF color);
SimPixels SimReadBitmapPixels(HBITMAP bitmap);

// Live objects, by kind, so a test can prove nothing leaked.
enum SimObjectKind { SimDCs, SimBitmaps, SimBrushes, SimRegions, SimObjectKindCount };
int SimLiveObjects(SimObjectKind kind);
int SimLiveGdiObjects();  // the sum of all kinds

// Pixels written into window surfaces since the last reset of the counter.
int64_t SimWindowPixelsWritten();
void SimResetWindowPixelsWritten();

// Makes the n-th call (1 = the next) of the named function fail, as Windows
// reports a failure of that function. n = 0 makes every call fail.
void SimFailCall(const char *function, int n);
void SimClearFailures();
// How many times the named function has been called since the last reset.
int SimCallCount(const char *function);
void SimResetCallCounts();

// One place in the code that calls a function that can fail.
struct SimCallSite {
    std::string Function;
    const void *Address;
    int Calls;
};
// Every call site seen since the last reset of the counts.
std::vector<SimCallSite> SimCallSites();
// Makes the n-th call (1 = the next) from that site fail; 0: every call.
void SimFailCallSite(const SimCallSite &site, int n);

// Simulated processes. Process 1 exists from the start and is current; a
// window belongs to the process that was current when it was created, and a
// message sent or posted to it runs in that process.
DWORD SimCreateProcess(const char *exeName);
// Makes a process current, with its own copy of every module's globals;
// returns the process that was current.
DWORD SimSwitchProcess(DWORD process);
// Ends a process: its modules get DLL_PROCESS_DETACH, then its windows, hooks
// and posted messages go.
void SimEndProcess(DWORD process);
// Ends a process as TerminateProcess (or a crash) does: none of its code runs
// again, so no module hears of it and no window gets a message; its windows,
// hooks and posted messages go.
void SimTerminateProcess(DWORD process);

// A library the simulated processes can map: LoadLibraryA by its name, or a
// hook installed with its handle, maps it and calls its entry point. Each
// region is memory of its globals, kept per process.
struct SimModuleRegion {
    void *Data;
    size_t Size;
};
typedef BOOL(WINAPI *SimModuleEntry)(HINSTANCE, DWORD, LPVOID);
HMODULE SimDefineModule(const char *name, const char *path, SimModuleEntry entry,
                        std::initializer_list<SimModuleRegion> regions);
bool SimModuleMapped(DWORD process, HMODULE module);

// Runs f inside the given process and returns to the current one.
template <typename F>
void SimInProcess(DWORD process, F f)
{
    DWORD previous = SimSwitchProcess(process);
    f();
    SimSwitchProcess(previous);
}

// Every WinExec call, in order; none is run.
struct SimWinExecCall {
    std::string CommandLine;
    UINT Show;
};
std::vector<SimWinExecCall> SimWinExecCalls();
// Whether User32.dll exports SetLayeredWindowAttributes.
void SimSetLayeredApiAvailable(bool available);

// DPI, for a per-monitor aware process. The system DPI (96 by default) is
// fixed at sign-in: every DC's LOGPIXELSX and LOGPIXELSY report it, and
// every monitor starts at it. Sends no message, as nothing changes live.
void SimSetSystemDpi(UINT dpi);
// The monitor of the window's top-level ancestor changes to this DPI (the
// user changed its scaling, or the window moved to another monitor):
// GetDpiForWindow of it and its descendants reports it, and the messages
// follow: WM_DPICHANGED_BEFOREPARENT to every descendant, WM_DPICHANGED to
// the top-level window, then WM_DPICHANGED_AFTERPARENT to every descendant.
// Windows 10 before version 1703 (per-monitor awareness v1) tells only the
// top-level window: childrenTold false.
void SimSetMonitorDpi(HWND window, UINT dpi, bool childrenTold = true);
// Whether User32.dll exports GetDpiForWindow (Windows 10 1607 and later).
void SimSetDpiApiAvailable(bool available);
int SimLiveHooks();

// ---- Registry, menus and directory listing ----

// Key paths are relative to HKEY_CURRENT_USER; names compare without regard
// to case, as in the registry itself.
// Stores a value of any type and size, creating the key and its parents.
void SimRegSetValue(const char *keyPath, const char *valueName, DWORD type, const void *data, size_t size);
// Reads a value back; false when the key or the value does not exist.
bool SimRegGetValue(const char *keyPath, const char *valueName, DWORD *type, std::vector<uint8_t> *data);
bool SimRegKeyExists(const char *keyPath);
// Creates a key and its parents.
void SimRegCreateKey(const char *keyPath);
// The names of a key's values in the order they were first written.
std::vector<std::string> SimRegValueNames(const char *keyPath);
// Registry keys opened or created and not yet closed.
int SimOpenRegistryKeys();

// One item of a menu as AppendMenuA stored it.
struct SimMenuItem {
    UINT Flags = 0;    // MF_ flags as appended
    UINT_PTR Id = 0;   // command id; the submenu's handle for MF_POPUP
    std::string Text;  // empty for separators
    HMENU SubMenu = nullptr;
};
// False when the menu does not exist.
bool SimGetMenuItems(HMENU menu, std::vector<SimMenuItem> *items);
int SimLiveMenus();

// The last TrackPopupMenuEx call. Open while no item has been chosen for it.
struct SimTrackedMenu {
    HMENU Menu = nullptr;
    UINT Flags = 0;
    int X = 0, Y = 0;
    HWND Owner = nullptr;
    bool Open = false;
};
SimTrackedMenu SimLastTrackedMenu();
// The user picks the command item with this id in the open menu: WM_COMMAND
// is posted to the owner window, as Windows does after tracking without
// TPM_RETURNCMD. False when no menu is open or it holds no such enabled item.
bool SimChooseMenuItem(UINT id);
// The choice the user makes in the next TrackPopupMenuEx, before it returns;
// 0 dismisses the menu. Needed for TPM_RETURNCMD.
void SimSetMenuChoice(UINT id);

// The host path the simulation opens for a path in Windows or host form:
// backslashes become slashes, and each name matches the entry of its folder
// that differs from it only in case, as Windows finds files; from the first
// name that matches nothing on, the rest is kept as given.
std::string SimHostPath(const char *path);
// Adds attributes (hidden, system, archive, ...) to what FindFirstFileA and
// FindNextFileA report for a path, in host or Windows form.
void SimAddFileAttributes(const char *path, DWORD attributes);
// Directory listings opened and not yet closed.
int SimOpenFindHandles();

// Posts WM_TIMER for every live window timer whose interval is at most
// `elapsed` milliseconds: each of those fires at least once in that time.
// Returns the number posted.
int SimFireTimers(UINT elapsed = 0xFFFFFFFF);

// The short form GetShortPathNameW gives for an existing path (whole paths,
// in Windows form); a path without one comes back unchanged, as on a volume
// with short names switched off.
void SimSetShortPathName(const wchar_t *longPath, const wchar_t *shortPath);
