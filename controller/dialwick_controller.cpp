// dialwick.exe: the controller. It has no visible window; it loads the
// library from its own folder, attaches the skinned clock, asks it to repaint
// four times a second, and detaches when asked to exit, when the session
// ends, or when it is closed. A restarted shell gets the clock again. On a
// taskbar without the classic clock window it tells the user so, once, and
// ends with exit code 5.
// "dialwick.exe --version" shows the version and starts nothing.
#include <windows.h>

#include <stdio.h>
#include <string.h>

namespace {

typedef LONG(WINAPI *SetClockOnTrayProc)(HWND, LONG, LPCSTR, LPCSTR);
typedef BOOL(WINAPI *RepaintClockProc)();

// The installer finds a running copy by these names and stops it with the
// exit request: keep them in step with packaging/installer.nsi.
const char WindowClass[] = "ZantorDialwickController";
const char InstanceMutex[] = "ZantorDialwickControllerInstance";
const UINT ExitRequest = WM_USER + 100;
const UINT_PTR RepaintTimer = 1;
const UINT RepaintInterval = 250;
const char SettingsKey[] = "Software\\Orvantis\\Zantor\\Dialwick";
const char NoClassicClockShown[] = "NoClassicClockShown";
const int NoClassicClockExit = 5;
const char NoClassicClockText[] =
    "This taskbar has no classic clock for Zantor Dialwick to skin: Windows 11 draws its clock itself.\r\n\r\n"
    "The skinned clock works on the classic taskbar, as Windows 10 and earlier have it. Zantor Dialwick "
    "ends now and will not show this message again.";

struct Library {
    HMODULE Module;
    SetClockOnTrayProc SetClockOnTray;
    RepaintClockProc RepaintClock;
};

Library Clock;
char Folder[MAX_PATH];
char HostPath[MAX_PATH];
UINT TaskbarCreated;
int ExitCode;
// Told once the message loop has ended, where no broadcast can re-enter.
bool TellNoClassicClock;

// The library looks Explorer's windows up when it is loaded, so attaching
// to a new shell means loading it afresh.
bool LoadClockLibrary()
{
    char path[MAX_PATH];
    if (snprintf(path, sizeof(path), "%s\\dialwick.dll", Folder) >= (int)sizeof(path))
        return false;
    Clock.Module = LoadLibraryA(path);
    if (!Clock.Module)
        return false;
    Clock.SetClockOnTray = (SetClockOnTrayProc)(void *)GetProcAddress(Clock.Module, "SetClockOnTray");
    Clock.RepaintClock = (RepaintClockProc)(void *)GetProcAddress(Clock.Module, "RepaintClock");
    if (Clock.SetClockOnTray && Clock.RepaintClock)
        return true;
    FreeLibrary(Clock.Module);
    Clock = Library{};
    return false;
}

// Windows 11's taskbar has its notification area but no classic clock
// window in it. Only a taskbar on screen counts: one still being made may
// not have its clock yet, and another program's hidden window of that class
// is no taskbar.
bool TaskbarLacksClassicClock()
{
    HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
    HWND notify = tray ? FindWindowExA(tray, nullptr, "TrayNotifyWnd", nullptr) : nullptr;
    return notify && IsWindowVisible(tray) && !FindWindowExA(notify, nullptr, "TrayClockWClass", nullptr);
}

// Notes in the settings whether the user has been told that the taskbar has
// no classic clock, so that a start from autostart does not tell it again;
// returns whether they had been told.
bool NoteToldNoClassicClock(bool told)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SettingsKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    DWORD before = 0, size = sizeof(before), after = 1;
    bool wasTold = RegQueryValueExA(key, NoClassicClockShown, nullptr, nullptr, (BYTE *)&before, &size) ==
                       ERROR_SUCCESS && before != 0;
    if (told && !wasTold)
        RegSetValueExA(key, NoClassicClockShown, 0, REG_DWORD, (const BYTE *)&after, sizeof(after));
    else if (!told && wasTold)
        RegDeleteValueA(key, NoClassicClockShown);
    RegCloseKey(key);
    return wasTold;
}

void Attach(HWND hwnd)
{
    if (!Clock.Module && !LoadClockLibrary())
        return;
    LONG attached = Clock.SetClockOnTray(hwnd, 1, HostPath, "");
    if (attached == 0 && TaskbarLacksClassicClock()) {
        TellNoClassicClock = !NoteToldNoClassicClock(true);
        ExitCode = NoClassicClockExit;
        DestroyWindow(hwnd);
        return;
    }
    // Told again should the classic clock go away later.
    if (attached != 0)
        NoteToldNoClassicClock(false);
}

void DetachAndUnload(HWND hwnd)
{
    if (!Clock.Module)
        return;
    Clock.SetClockOnTray(hwnd, 0, nullptr, nullptr);
    FreeLibrary(Clock.Module);
    Clock = Library{};
}

LRESULT CALLBACK ControllerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == TaskbarCreated && TaskbarCreated) {
        DetachAndUnload(hwnd);
        Attach(hwnd);
        return 0;
    }
    switch (msg) {
    case WM_TIMER:
        if (wParam == RepaintTimer && Clock.RepaintClock)
            Clock.RepaintClock();
        return 0;
    case ExitRequest:
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_ENDSESSION:
        if (wParam)
            DetachAndUnload(hwnd);
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd, RepaintTimer);
        DetachAndUnload(hwnd);
        PostQuitMessage(ExitCode);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

// The skins sit in the "skins" folder beside the program; the library takes
// the folder of the path it is given, so any file of that folder will do.
bool FindFolders()
{
    DWORD n = GetModuleFileNameA(nullptr, Folder, sizeof(Folder));
    if (n == 0 || n >= sizeof(Folder))
        return false;
    char *slash = strrchr(Folder, '\\');
    if (!slash)
        return false;
    *slash = 0;
    return snprintf(HostPath, sizeof(HostPath), "%s\\skins\\README.md", Folder) < (int)sizeof(HostPath);
}

// A GUI program has no console of its own: the version goes to a redirected
// standard output, else to the console of the shell that started it, else
// into a message box.
void ShowVersion()
{
    char text[64];
    snprintf(text, sizeof(text), "Zantor Dialwick %s\r\n", DIALWICK_VERSION);
    DWORD length = (DWORD)strlen(text), written = 0;
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out && out != INVALID_HANDLE_VALUE && WriteFile(out, text, length, &written, nullptr) && written == length)
        return;
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        HANDLE console = CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        bool shown = false;
        if (console != INVALID_HANDLE_VALUE) {
            shown = WriteFile(console, text, length, &written, nullptr) && written == length;
            CloseHandle(console);
        }
        FreeConsole();
        if (shown)
            return;
    }
    text[length - 2] = 0;
    MessageBoxA(nullptr, text, "Zantor Dialwick", MB_OK | MB_ICONINFORMATION);
}

bool IsVersionRequest(const char *commandLine)
{
    while (*commandLine == ' ' || *commandLine == '\t')
        commandLine++;
    size_t n = strlen(commandLine);
    while (n > 0 && (commandLine[n - 1] == ' ' || commandLine[n - 1] == '\t'))
        n--;
    return n == 9 && strncmp(commandLine, "--version", 9) == 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    if (IsVersionRequest(commandLine)) {
        ShowVersion();
        return 0;
    }
    HANDLE mutex = CreateMutexA(nullptr, FALSE, InstanceMutex);
    if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS)
        return 1;
    if (!FindFolders())
        return 2;
    TaskbarCreated = RegisterWindowMessageA("TaskbarCreated");

    WNDCLASSA wc{};
    wc.lpfnWndProc = ControllerProc;
    wc.hInstance = instance;
    wc.lpszClassName = WindowClass;
    // A hidden top-level window, not a message-only one: only top-level
    // windows hear the "TaskbarCreated" broadcast.
    HWND hwnd = RegisterClassA(&wc) ? CreateWindowExA(WS_EX_TOOLWINDOW, WindowClass, "Zantor Dialwick", WS_POPUP, 0,
                                                      0, 0, 0, nullptr, nullptr, instance, nullptr)
                                    : nullptr;
    if (!hwnd)
        return 3;
    if (!LoadClockLibrary()) {
        DestroyWindow(hwnd);
        return 4;
    }
    Attach(hwnd);
    SetTimer(hwnd, RepaintTimer, RepaintInterval, nullptr);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (TellNoClassicClock)
        MessageBoxA(nullptr, NoClassicClockText, "Zantor Dialwick", MB_OK | MB_ICONINFORMATION);
    CloseHandle(mutex);
    return ExitCode;
}
