// dialwick-soakwine: under Wine, attaches the real library to a running
// stand-in taskbar, sends it a number of repaint requests with an option
// toggle every thousand, and prints the stand-in process's GDI object count
// before the attach, after the first thousand requests and at the end.
// Exits 1 when the count grew. GetGuiResources is a stub in Wine 8, so the
// count is read from the process's GDI handle table, which Wine keeps in
// the Windows layout and points to from the process environment block; the
// program first proves the count on itself.
// usage: dialwick-soakwine DLL_PATH HOST_PATH REQUESTS
#include <windows.h>
#include <winternl.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <vector>

typedef LONG(WINAPI *SetClockOnTrayFn)(HWND, LONG, LPCSTR, LPCSTR);
typedef BOOL(WINAPI *RepaintClockFn)();

static HANDLE Standin;

// One entry of the GDI handle table, as Windows lays it out on x64.
struct GdiHandleEntry {
    uint64_t Object;
    uint32_t Owner;
    uint16_t Unique;  // bit 7: stock object
    uint8_t Type;     // 0: free
    uint8_t Flags;
    uint64_t UserPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24, "the table's entry layout");
constexpr size_t GdiHandleCount = 0x10000;
constexpr size_t PebGdiSharedHandleTable = 0xF8;  // offset in the x64 process environment block

// Live non-stock GDI objects of a process; -1 when the table cannot be read.
static long GdiObjects(HANDLE process)
{
    DWORD gui = GetGuiResources(process, GR_GDIOBJECTS);
    if (gui)
        return (long)gui;
    PROCESS_BASIC_INFORMATION info{};
    ULONG length = 0;
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &info, sizeof(info), &length) != 0)
        return -1;
    uint64_t table = 0;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, (const char *)info.PebBaseAddress + PebGdiSharedHandleTable, &table, sizeof(table),
                           &read) ||
        !table)
        return -1;
    std::vector<GdiHandleEntry> entries(GdiHandleCount);
    if (!ReadProcessMemory(process, (const void *)(uintptr_t)table, entries.data(),
                           entries.size() * sizeof(GdiHandleEntry), &read))
        return -1;
    long live = 0;
    for (const GdiHandleEntry &e : entries)
        if (e.Type != 0 && !(e.Unique & 0x80))
            live++;
    return live;
}

// Ten brushes made and deleted here must show as ten more, then none.
static bool CountWorks()
{
    long before = GdiObjects(GetCurrentProcess());
    HBRUSH brushes[10];
    for (HBRUSH &b : brushes)
        b = CreateSolidBrush(RGB(1, 2, 3));
    long during = GdiObjects(GetCurrentProcess());
    for (HBRUSH b : brushes)
        DeleteObject(b);
    long after = GdiObjects(GetCurrentProcess());
    printf("count check on this process: %ld, %ld with ten brushes, %ld without\n", before, during, after);
    return before >= 0 && during == before + 10 && after == before;
}

static void Counts(const char *when, long *gdi)
{
    *gdi = GdiObjects(Standin);
    printf("%s: stand-in GDI objects %ld\n", when, *gdi);
    fflush(stdout);
}

// The stand-in handles what was posted before a message sent after it.
static void Settle(HWND clock)
{
    DWORD_PTR result;
    SendMessageTimeoutA(clock, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
}

int main(int argc, char **argv)
{
    if (argc != 4)
        return 2;
    long requests = atol(argv[3]);
    // The stand-in may still be starting.
    HWND tray = nullptr, clock = nullptr;
    for (int i = 0; i < 200 && !clock; i++) {
        tray = FindWindowA("Shell_TrayWnd", nullptr);
        HWND notify = FindWindowExA(tray, nullptr, "TrayNotifyWnd", nullptr);
        clock = FindWindowExA(notify, nullptr, "TrayClockWClass", nullptr);
        if (!clock)
            Sleep(50);
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(tray, &pid);
    Standin = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    HMODULE library = LoadLibraryA(argv[1]);
    if (!clock || !Standin || !library) {
        fprintf(stderr, "soak: clock %p, stand-in process %p, library %p\n", (void *)clock, (void *)Standin,
                (void *)library);
        return 2;
    }
    SetClockOnTrayFn setClockOnTray = (SetClockOnTrayFn)(void *)GetProcAddress(library, "SetClockOnTray");
    RepaintClockFn repaintClock = (RepaintClockFn)(void *)GetProcAddress(library, "RepaintClock");
    HWND controller = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    if (!setClockOnTray || !repaintClock || !controller)
        return 2;

    if (!CountWorks()) {
        fprintf(stderr, "soak: the GDI object count cannot be read\n");
        return 2;
    }
    long before, settled = -1, after;
    Counts("before attach", &before);
    if (setClockOnTray(controller, 1, argv[2], "") != -1) {
        fprintf(stderr, "soak: no skin was loaded\n");
        return 2;
    }
    for (long i = 1; i <= requests; i++) {
        repaintClock();
        if (i % 1000 == 0)
            SendMessageA(clock, WM_COMMAND, 200, 0);  // Show Seconds, on and off
        if (i % 50 == 0)
            Settle(clock);
        if (i % 1000 == 0)
            Sleep(20);  // lets the clock's second change between batches
        if (i == 1000)
            Counts("after 1000 requests", &settled);
    }
    Settle(clock);
    Counts("after all requests", &after);
    setClockOnTray(controller, 0, nullptr, nullptr);
    Settle(clock);
    long detached;
    Counts("after detach", &detached);
    printf("requests: %ld\n", requests);
    return requests >= 1000 && settled >= 0 && after <= settled ? 0 : 1;
}
