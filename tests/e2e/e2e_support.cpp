#include "tests/e2e/e2e_support.h"

#include "tools/common/image_write.h"

#include <psapi.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

static int FailureCount;

bool Check(bool ok, const char *format, ...)
{
    if (ok)
        return true;
    va_list args;
    va_start(args, format);
    printf("FAIL ");
    vprintf(format, args);
    printf("\n");
    va_end(args);
    fflush(stdout);
    FailureCount++;
    return false;
}

int Failures() { return FailureCount; }

void Say(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    printf("\n");
    va_end(args);
    fflush(stdout);
}

void PumpFor(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        DWORD spent = GetTickCount() - start;
        if (spent >= milliseconds)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - spent, QS_ALLINPUT);
    }
}

bool FindTaskbar(Taskbar *t, DWORD milliseconds)
{
    return WaitUntil(milliseconds, [&] {
        t->Tray = FindWindowA("Shell_TrayWnd", nullptr);
        t->Notify = t->Tray ? FindWindowExA(t->Tray, nullptr, "TrayNotifyWnd", nullptr) : nullptr;
        t->Clock = t->Notify ? FindWindowExA(t->Notify, nullptr, "TrayClockWClass", nullptr) : nullptr;
        t->ProcessId = 0;
        if (t->Clock)
            GetWindowThreadProcessId(t->Clock, &t->ProcessId);
        return t->Clock != nullptr && IsWindowVisible(t->Tray);
    });
}

RECT ScreenRect(HWND hwnd)
{
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

typedef LONG(WINAPI *SetClockOnTrayProc)(HWND, LONG, LPCSTR, LPCSTR);
typedef BOOL(WINAPI *RepaintClockProc)();
typedef LONG(WINAPI *KillHooksProc)(HWND);

static struct {
    SetClockOnTrayProc SetClockOnTray;
    RepaintClockProc RepaintClock;
    KillHooksProc KillHooks;
    HWND Window;
    bool ExitRequest;
} Controller;

static LRESULT CALLBACK ControllerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == ExitRequestMessage) {
        Controller.ExitRequest = true;
        DetachClock();
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

bool LoadClockLibrary(const char *dllPath)
{
    HMODULE module = LoadLibraryA(dllPath);
    if (!Check(module != nullptr, "cannot load %s (error %lu)", dllPath, GetLastError()))
        return false;
    Controller.SetClockOnTray = (SetClockOnTrayProc)(void *)GetProcAddress(module, "SetClockOnTray");
    Controller.RepaintClock = (RepaintClockProc)(void *)GetProcAddress(module, "RepaintClock");
    Controller.KillHooks = (KillHooksProc)(void *)GetProcAddress(module, "KillHooks");
    if (!Check(Controller.SetClockOnTray && Controller.RepaintClock && Controller.KillHooks,
               "the library lacks one of its three exports"))
        return false;
    WNDCLASSA wc{};
    wc.lpfnWndProc = ControllerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "DialwickE2EController";
    RegisterClassA(&wc);
    Controller.Window = CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                        wc.hInstance, nullptr);
    return Check(Controller.Window != nullptr, "cannot create the controller window");
}

HWND ControllerWindow() { return Controller.Window; }

LONG AttachClock(const char *hostPath) { return Controller.SetClockOnTray(Controller.Window, 1, hostPath, ""); }

LONG DetachClock() { return Controller.SetClockOnTray(Controller.Window, 0, nullptr, nullptr); }

LONG KillHooksNow() { return Controller.KillHooks(Controller.Window); }

BOOL RepaintClockNow() { return Controller.RepaintClock(); }

bool ExitRequested() { return Controller.ExitRequest; }

bool SendCommand(HWND clock, UINT id)
{
    DWORD_PTR answer;
    return Check(SendMessageTimeoutA(clock, WM_COMMAND, id, 0, SMTO_BLOCK, 5000, &answer) != 0,
                 "the clock did not answer command %u", id);
}

bool ProcessHasModule(DWORD processId, const char *fileName)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process)
        return false;
    HMODULE modules[512];
    DWORD bytes = 0;
    bool found = false;
    if (EnumProcessModules(process, modules, sizeof(modules), &bytes)) {
        for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 512 && !found; i++) {
            char path[MAX_PATH];
            if (!GetModuleFileNameExA(process, modules[i], path, sizeof(path)))
                continue;
            const char *slash = strrchr(path, '\\');
            found = lstrcmpiA(slash ? slash + 1 : path, fileName) == 0;
        }
    }
    CloseHandle(process);
    return found;
}

// Pixel by pixel from the screen: under Wine a BitBlt from the screen or from
// another process's window gives black, while GetPixel reads the X display.
bool CaptureRows(HWND hwnd, int top, int bottom, Capture *capture)
{
    RECT rc;
    if (!GetClientRect(hwnd, &rc) || rc.right <= 0 || rc.bottom <= 0)
        return false;
    top = top < 0 ? 0 : top;
    bottom = bottom > rc.bottom ? rc.bottom : bottom;
    capture->Width = rc.right;
    capture->Height = bottom - top;
    capture->Pixels.assign((size_t)capture->Width * (capture->Height > 0 ? capture->Height : 0), 0);
    POINT origin{0, top};
    ClientToScreen(hwnd, &origin);
    HDC screen = GetDC(nullptr);
    if (!screen)
        return false;
    for (int y = 0; y < capture->Height; y++)
        for (int x = 0; x < capture->Width; x++)
            capture->Pixels[(size_t)y * capture->Width + x] = GetPixel(screen, origin.x + x, origin.y + y);
    ReleaseDC(nullptr, screen);
    return true;
}

bool CaptureWindow(HWND hwnd, Capture *capture)
{
    Capture previous;
    PumpFor(50);
    if (!CaptureRows(hwnd, 0, 0x7FFF, &previous))
        return false;
    for (int attempt = 0; attempt < 10; attempt++) {
        if (!CaptureRows(hwnd, 0, 0x7FFF, capture))
            return false;
        if (SameCapture(previous, *capture))
            return true;
        previous = *capture;
    }
    return false;
}

bool SameCapture(const Capture &a, const Capture &b)
{
    return a.Width == b.Width && a.Height == b.Height && a.Pixels == b.Pixels;
}

bool WriteCapture(const std::string &path, const Capture &capture)
{
    return WriteImage(path.c_str(), capture.Width, capture.Height, capture.Pixels.data());
}

bool ReadValue(const char *key, const char *name, DWORD *type, std::vector<uint8_t> *data)
{
    HKEY hkey;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &hkey) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    bool ok = RegQueryValueExA(hkey, name, nullptr, type, nullptr, &size) == ERROR_SUCCESS;
    if (ok) {
        data->assign(size, 0);
        ok = RegQueryValueExA(hkey, name, nullptr, type, data->data(), &size) == ERROR_SUCCESS;
        data->resize(size);
    }
    RegCloseKey(hkey);
    return ok;
}

std::string FormatTime(const SYSTEMTIME &t)
{
    char text[32];
    snprintf(text, sizeof(text), "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
             t.wSecond);
    return text;
}

bool SameSecond(const SYSTEMTIME &a, const SYSTEMTIME &b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
           a.wMinute == b.wMinute && a.wSecond == b.wSecond;
}
