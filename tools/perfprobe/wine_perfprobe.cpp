// dialwick-perfprobe: what the clock costs a real taskbar process. Against a
// running standin-taskbar.exe it measures, over a number of seconds, the CPU
// time of the taskbar's process, its GDI object count and its private bytes,
// either with the stock clock only or with the skinned clock repainted four
// times a second through the real library, as the controller once did.
// "where" tells where the clock window lies on the screen, once it is made;
// "close" ends a running dialwick.exe as the installer does and waits for it.
// usage: dialwick-perfprobe stock|skinned SECONDS [DLL HOSTPATH]
//        dialwick-perfprobe where
//        dialwick-perfprobe close
#include <windows.h>

#include <psapi.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef LONG(WINAPI *SetClockOnTrayProc)(HWND, LONG, LPCSTR, LPCSTR);
typedef BOOL(WINAPI *RepaintClockProc)();

struct Sample {
    double CpuSeconds;
    DWORD GdiObjects;
    SIZE_T PrivateBytes;
    SIZE_T WorkingSet;
};

static double Seconds(const FILETIME &t)
{
    return (double)(((ULONGLONG)t.dwHighDateTime << 32) | t.dwLowDateTime) / 1e7;
}

static Sample Measure(HANDLE process)
{
    Sample s{};
    FILETIME created, exited, kernel, user;
    if (GetProcessTimes(process, &created, &exited, &kernel, &user))
        s.CpuSeconds = Seconds(kernel) + Seconds(user);
    s.GdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    if (GetProcessMemoryInfo(process, (PROCESS_MEMORY_COUNTERS *)&memory, sizeof(memory))) {
        s.PrivateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
        s.WorkingSet = memory.WorkingSetSize;
    }
    return s;
}

// Lets the probe's own window receive the library's exit request, unused here.
static LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// WM_CLOSE to the controller's window; 0 once its process has ended.
static int CloseController()
{
    HWND controller = FindWindowA("ZantorDialwickController", nullptr);
    DWORD pid = 0;
    if (!controller || !GetWindowThreadProcessId(controller, &pid)) {
        fprintf(stderr, "dialwick-perfprobe: no dialwick.exe runs\n");
        return 1;
    }
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    PostMessageA(controller, WM_CLOSE, 0, 0);
    bool ended = process && WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
    if (process)
        CloseHandle(process);
    if (!ended)
        fprintf(stderr, "dialwick-perfprobe: dialwick.exe did not end on WM_CLOSE\n");
    return ended ? 0 : 1;
}

int main(int argc, char **argv)
{
    if (argc == 2 && strcmp(argv[1], "close") == 0)
        return CloseController();
    bool where = argc == 2 && strcmp(argv[1], "where") == 0;
    if (!where && (argc < 3 || (strcmp(argv[1], "stock") && strcmp(argv[1], "skinned")) ||
                   (!strcmp(argv[1], "skinned") && argc < 5))) {
        fprintf(stderr, "usage: dialwick-perfprobe stock|skinned SECONDS [DLL HOSTPATH] | where | close\n");
        return 2;
    }
    bool skinned = strcmp(argv[1], "skinned") == 0;
    int seconds = where ? 0 : atoi(argv[2]);
    // The taskbar may still be starting, or an ended one may not be gone yet:
    // wait for a live one with its clock made (the library looks the clock up
    // when it is loaded), but not for ever.
    HANDLE process = nullptr;
    HWND clock = nullptr;
    for (int i = 0; i < 100 && !process; i++) {
        HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
        HWND notify = tray ? FindWindowExA(tray, nullptr, "TrayNotifyWnd", nullptr) : nullptr;
        clock = notify ? FindWindowExA(notify, nullptr, "TrayClockWClass", nullptr) : nullptr;
        DWORD pid = 0, code = 0;
        if (clock && IsWindowVisible(tray) && GetWindowThreadProcessId(tray, &pid))
            process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
        if (process && (!GetExitCodeProcess(process, &code) || code != STILL_ACTIVE)) {
            CloseHandle(process);
            process = nullptr;
        }
        if (!process)
            Sleep(100);
    }
    if (!process) {
        fprintf(stderr, "dialwick-perfprobe: no taskbar is running\n");
        return 1;
    }
    if (where) {
        RECT r;
        GetWindowRect(clock, &r);
        printf("clock: %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        CloseHandle(process);
        return 0;
    }

    WNDCLASSA wc{};
    wc.lpfnWndProc = ProbeProc;
    wc.lpszClassName = "DialwickPerfProbe";
    RegisterClassA(&wc);
    HWND self = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    HMODULE library = nullptr;
    SetClockOnTrayProc setClock = nullptr;
    RepaintClockProc repaint = nullptr;
    if (skinned) {
        library = LoadLibraryA(argv[3]);
        setClock = library ? (SetClockOnTrayProc)(void *)GetProcAddress(library, "SetClockOnTray") : nullptr;
        repaint = library ? (RepaintClockProc)(void *)GetProcAddress(library, "RepaintClock") : nullptr;
        if (!setClock || !repaint) {
            fprintf(stderr, "dialwick-perfprobe: cannot load %s\n", argv[3]);
            return 1;
        }
        // Without a skin there is nothing to measure.
        if (setClock(self, 1, argv[4], "") == 0) {
            fprintf(stderr, "dialwick-perfprobe: no skin was loaded from %s\n", argv[4]);
            setClock(self, 0, nullptr, nullptr);
            return 1;
        }
        // A first round of ticks so the skin and first paint are not in the figures.
        for (int i = 0; i < 8; i++) {
            repaint();
            Sleep(250);
        }
    } else {
        Sleep(2000);
    }

    Sample before = Measure(process);
    DWORD start = GetTickCount();
    for (int i = 0; i < seconds * 4; i++) {
        if (repaint)
            repaint();
        DWORD due = start + (DWORD)(i + 1) * 250, now = GetTickCount();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        if ((LONG)(due - now) > 0)
            Sleep(due - now);
    }
    Sample after = Measure(process);
    double wall = (GetTickCount() - start) / 1000.0;

    if (skinned) {
        setClock(self, 0, nullptr, nullptr);
        FreeLibrary(library);
    }
    printf("mode: %s\nseconds: %.1f\nrequests: %d\ncpu: %.4f\ngdi: %lu %lu\nprivate: %lu %lu\nworkingset: %lu %lu\n",
           argv[1], wall, repaint ? seconds * 4 : 0, after.CpuSeconds - before.CpuSeconds,
           (unsigned long)before.GdiObjects, (unsigned long)after.GdiObjects, (unsigned long)before.PrivateBytes,
           (unsigned long)after.PrivateBytes, (unsigned long)before.WorkingSet, (unsigned long)after.WorkingSet);
    CloseHandle(process);
    DestroyWindow(self);
    return 0;
}
