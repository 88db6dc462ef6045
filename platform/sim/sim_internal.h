// Internal model of the simulated Windows, shared by its implementation files.
#pragma once

#include "platform/sim/sim_control.h"
#include "platform/sim/sim_windows.h"

#include <map>
#include <string>
#include <vector>

// A region is a set of non-overlapping rectangles; nothing else is needed for
// clipping, union and hit tests.
struct SimRegionData {
    std::vector<RECT> Rects;
};

struct SimBitmapData {
    int Width = 0;
    int Height = 0;
    int BitsPixel = 32;
    std::vector<uint32_t> Pixels;  // COLORREF, row 0 at the top
    HDC SelectedInto = nullptr;
    bool Stock = false;  // the default 1x1 bitmap of memory DCs
};

// What SaveDC keeps and RestoreDC puts back.
struct SimDCState {
    POINT WindowOrg{0, 0};
    int MapMode = MM_TEXT;
    HGDIOBJ Bitmap = nullptr;
    bool HasClip = false;  // the application's clipping region, device coordinates
    SimRegionData Clip;
};

struct SimDCData {
    HWND Window = nullptr;  // null for a memory DC
    bool FromBeginPaint = false;
    SimRegionData Visible;  // a window DC's visible region, device coordinates
    // Where drawing lands, worked out again after any change of the above.
    bool DrawableValid = false;
    SimRegionData Drawable;
    SimDCState State;
    std::vector<SimDCState> Saved;
};

struct SimGdiObject {
    SimObjectKind Kind;
    SimBitmapData Bitmap;
    COLORREF BrushColor = 0;
    SimRegionData Region;
    SimDCData DC;
    bool PendingDelete = false;  // deleted while selected: freed on deselect
};

struct SimWindowClass {
    DWORD Process = 0;  // classes end with the process that registered them
    std::string Name;
    WNDCLASSA Class{};
};

struct SimWindowData {
    DWORD Process = 0;  // the simulated process that created it
    BYTE LayeredAlpha = 255;
    COLORREF LayeredKey = 0;
    DWORD LayeredFlags = 0;  // 0: SetLayeredWindowAttributes never succeeded
    std::string ClassName;
    std::string Title;
    WNDPROC Proc = nullptr;
    HBRUSH Background = nullptr;
    UINT ClassStyle = 0;
    HWND Parent = nullptr;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    LONG_PTR UserData = 0;
    RECT Rect{};           // relative to the parent's client area, or the screen
    UINT MonitorDpi = 0;   // top-level windows: their monitor's DPI; 0: the system DPI
    SimRegionData Update;  // client coordinates
    bool EraseNeeded = false;
    std::vector<uint32_t> Surface;  // client-area pixels
    std::vector<HWND> Children;     // in creation order
};

struct SimPosted {
    HWND Window;
    UINT Message;
    WPARAM WParam;
    LPARAM LParam;
};

// A library the tests define: its entry point and the memory of its globals,
// which every simulated process that maps it has its own copy of.
struct SimModuleDef {
    std::string Name;
    std::string Path;
    SimModuleEntry Entry = nullptr;
    std::vector<SimModuleRegion> Regions;
    HMODULE Handle = nullptr;
};

struct SimMapping {
    int RefCount = 0;
    std::vector<std::vector<uint8_t>> Saved;  // the globals while another process runs
};

struct SimProcessData {
    std::string ExeName;
    std::map<HMODULE, SimMapping> Mapped;
};

struct SimTimer {
    HWND Window;
    UINT_PTR Id;
    UINT Interval;  // milliseconds
};

struct SimHook {
    HHOOK Handle;
    int Type;
    HOOKPROC Proc;
    HMODULE Module;
    DWORD Thread;
    DWORD Owner;  // the process that installed it
};

struct SimWorld {
    std::map<DWORD, SimProcessData> Processes{{1, SimProcessData{"test.exe", {}}}};
    DWORD CurrentProcess = 1;
    DWORD NextProcess = 2;
    std::vector<SimModuleDef> Modules;
    std::vector<SimHook> Hooks;    // in installation order
    std::vector<HHOOK> HookCalls;  // the hooks being called, innermost last
    std::vector<std::string> RegisteredMessages;
    std::string WindowsDirectory = "C:\\windows";
    std::vector<SimWinExecCall> WinExecs;
    bool LayeredApiAvailable = true;
    bool DpiApiAvailable = true;
    UINT SystemDpi = 96;
    std::map<uintptr_t, SimGdiObject> Gdi;
    std::map<uintptr_t, SimWindowData> Windows;
    std::vector<HWND> TopLevel;
    std::vector<SimWindowClass> Classes;
    std::vector<SimPosted> Posted;
    std::vector<SimTimer> Timers;
    std::map<std::wstring, std::wstring> ShortPaths;  // long path to its short form
    uintptr_t NextHandle = 0x1000;
    int64_t LocalTicks =
        (155228LL * 86400 + 43200) * 10000000;  // local time, 100 ns since 1601-01-01: 2026-01-01 12:00
    bool TimeIsRaw = false;                     // a test asked for exactly RawTime, possible or not
    SYSTEMTIME RawTime{};
    DWORD VersionMajor = 6, VersionMinor = 1;
    DWORD LastError = 0;
    int64_t WindowPixelsWritten = 0;
    HBITMAP StockBitmap = nullptr;
};

SimWorld &Sim();
uintptr_t SimNewHandle();

SimGdiObject *SimFindGdi(HGDIOBJ handle, SimObjectKind kind);
SimWindowData *SimFindWindow(HWND hwnd);
HGDIOBJ SimAddGdi(SimGdiObject &&object);
void SimFreeGdi(HGDIOBJ handle);

// Region algebra on rectangle sets.
bool SimRectEmpty(const RECT &r);
RECT SimIntersect(const RECT &a, const RECT &b);
void SimRegionAddRect(SimRegionData &region, const RECT &rect);
void SimRegionUnion(SimRegionData &dst, const SimRegionData &src);
SimRegionData SimRegionIntersectRect(const SimRegionData &region, const RECT &rect);
SimRegionData SimRegionIntersect(const SimRegionData &a, const SimRegionData &b);
SimRegionData SimRegionSubtract(const SimRegionData &a, const SimRegionData &b);
RECT SimRegionBox(const SimRegionData &region);
bool SimRegionContains(const SimRegionData &region, int x, int y);
int SimRegionType(const SimRegionData &region);

// Pixels a DC draws into: the selected bitmap or the window's client surface.
struct SimSurface {
    uint32_t *Pixels = nullptr;
    int Width = 0;
    int Height = 0;
    bool IsWindow = false;
};
SimSurface SimDCSurface(SimGdiObject *dc);

// The part of a window's client area that its ancestors do not clip, in
// client coordinates; empty while the window is hidden.
RECT SimVisibleClientRect(HWND hwnd);
void SimResizeSurface(SimWindowData &window, int width, int height);
void SimDestroyAllWindows();
// Removes a window and its children without a message to any of them, as
// when the thread that owns them is gone.
void SimRemoveWindowTree(HWND hwnd);

// Runs the rest of a scope inside another simulated process: the globals of
// every module are swapped for that process's copy, and back at the end.
struct SimProcessScope {
    DWORD Previous;
    explicit SimProcessScope(DWORD process);
    ~SimProcessScope();
};
void SimSwitchTo(DWORD process);
DWORD SimThreadOfProcess(DWORD process);
DWORD SimProcessOfThread(DWORD thread);
void SimRunCallWndProcHooks(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void SimResetProcesses();

// Fault injection: true when this call of the named function is to fail.
// The call site is the return address of the simulated function, so
// SimShouldFail must be used directly in the body of the function it guards.
bool SimShouldFailAt(const char *function, const void *site);
#define SimShouldFail(function) SimShouldFailAt(function, __builtin_return_address(0))

// GetDpiForWindow, which the system reaches only through GetProcAddress.
UINT WINAPI SimGetDpiForWindow(HWND hwnd);

// Reset hooks of the registry, the menus and the directory listings.
void SimResetRegistry();
void SimResetMenus();
void SimResetFind();
