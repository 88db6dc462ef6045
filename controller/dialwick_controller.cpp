// dialwick.exe: the controller. It has no visible window; it loads the
// library from its own folder, attaches the skinned clock, asks it to repaint
// once a second, just after the second turns, and detaches when asked to
// exit, when the session ends, or when it is closed. A restarted shell gets
// the clock again, and so does a clock that was lost some other way, unless
// another controller holds it: Explorer's copy says when it let the clock go,
// and the controller asks now and then besides.
// On a taskbar without the classic clock window it tells the user so, once,
// and ends with exit code 6.
// "dialwick.exe --version" shows the version and starts nothing.
#include "controller/clock_holder.h"
#include "controller/host_path.h"
#include "controller/second_wake.h"
#include "shell/clock_messages.h"

#include <stdio.h>
#include <string.h>
#include <string>
#include <wchar.h>

namespace {

typedef LONG(WINAPI *SetClockOnTrayProc)(HWND, LONG, LPCSTR, LPCSTR);
typedef BOOL(WINAPI *RepaintClockProc)();

// The installer finds a running copy by these names and stops it with the
// exit request: keep them in step with packaging/installer.nsi.
const char WindowClass[] = "ZantorDialwickController";
const char InstanceMutex[] = "ZantorDialwickControllerInstance";
// Seconds between two questions whether the clock is still this
// controller's: each is a message, with no wake-up of its own, that wakes
// the taskbar. A clock held here that is let go says so at once, so it is
// asked only seldom, for a loss that went unsaid; one held elsewhere, or
// free, is asked often, to take it as soon as it is free.
const unsigned WatchHeldEvery = 10;
const unsigned WatchEvery = 2;
// The longest path a wide-character call gives.
const DWORD LongPathSize = 32768;
const char SettingsKey[] = "Software\\Orvantis\\Zantor\\Dialwick";
const char NoClassicClockShown[] = "NoClassicClockShown";
const int NoClassicClockExit = 6;
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
wchar_t Folder[LongPathSize];
char HostPath[MAX_PATH];
UINT TaskbarCreated;
UINT ClockReleased;
HolderQuery Holder;
ClockHolder LastHolder = ClockUnanswered;
unsigned SinceAsked;
bool Watching;
// Nothing attaches again, nor wakes, while the session ends.
bool SessionEnding;
// The repaint timer: a waitable timer, waited for beside the message queue,
// costs one round trip to the window server a second where a window timer
// costs three (the timer's message fetched after the wait, and the empty
// queue asked again before the next). It repeats every second from the
// turn it is set for.
HANDLE RepaintTimer;
// The turn of the second the repaint timer is set for, in FILETIME units.
uint64_t DueTurn;
int ExitCode;
// Told once the message loop has ended, where no broadcast can re-enter.
bool TellNoClassicClock;

// The library looks Explorer's windows up when it is loaded, so attaching
// to a new shell means loading it afresh. Wide characters: the folder may
// have any name.
bool LoadClockLibrary()
{
    std::wstring path = std::wstring(Folder) + L"\\dialwick.dll";
    Clock.Module = LoadLibraryW(path.c_str());
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
    bool wasTold =
        RegQueryValueExA(key, NoClassicClockShown, nullptr, nullptr, (BYTE *)&before, &size) == ERROR_SUCCESS &&
        before != 0;
    if (told && !wasTold)
        RegSetValueExA(key, NoClassicClockShown, 0, REG_DWORD, (const BYTE *)&after, sizeof(after));
    else if (!told && wasTold)
        RegDeleteValueA(key, NoClassicClockShown);
    RegCloseKey(key);
    return wasTold;
}

ClockHolder AskHolder(HWND hwnd)
{
    SinceAsked = 0;
    LastHolder = AskClockHolder(hwnd, &Holder);
    return LastHolder;
}

// The clock is watched only when it is not free right after an attach: a
// library that cannot say who holds it (an older dialwick.dll beside this
// program, or one still mapped in Explorer) would otherwise be attached
// again every two seconds, for nothing. A new taskbar tries again.
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
    Watching = AskHolder(hwnd) != ClockFree;
}

void DetachAndUnload(HWND hwnd)
{
    if (!Clock.Module)
        return;
    Clock.SetClockOnTray(hwnd, 0, nullptr, nullptr);
    FreeLibrary(Clock.Module);
    Clock = Library{};
}

// A clock that some other program took back, or that Explorer made anew, is
// attached again; one that another controller holds is left to it.
void WatchClock(HWND hwnd)
{
    if (!Watching || AskHolder(hwnd) != ClockFree)
        return;
    DetachAndUnload(hwnd);
    Attach(hwnd);
}

uint64_t SystemTimeNow()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return ((uint64_t)now.dwHighDateTime << 32) | now.dwLowDateTime;
}

// The timer is set for the next turn whenever the clock may have moved
// against it (set by the user, a daylight saving change, a drift of the
// timer): it follows the clock whatever it did meanwhile, and wakes no more
// than once a second.
void ArmForNextSecond()
{
    uint64_t now = SystemTimeNow();
    DueTurn = NextTurn(now);
    LARGE_INTEGER due;
    due.QuadPart = -(LONGLONG)DelayToNextSecond(now) * 10000;  // relative, in 100-ns units
    SetWaitableTimer(RepaintTimer, &due, 1000, nullptr, nullptr, FALSE);
}

// Asks for the face of the second just begun; false once the program ends.
bool Repaint(HWND hwnd)
{
    if (SessionEnding)
        return false;
    if (Clock.RepaintClock)
        Clock.RepaintClock();
    if (++SinceAsked >= (LastHolder == ClockHeldHere ? WatchHeldEvery : WatchEvery))
        WatchClock(hwnd);
    // Gone if the watch ended the program.
    return IsWindow(hwnd);
}

void Tick(HWND hwnd)
{
    if (Repaint(hwnd))
        ArmForNextSecond();
}

// A timer that fires before the turn it was set for would only ask for the
// face already shown: it waits for the turn instead. One that fires on the
// turn is left to repeat; one that drifted late is set afresh.
void WakeUp(HWND hwnd)
{
    if (SessionEnding)
        return;
    uint64_t now = SystemTimeNow();
    if (now < DueTurn) {
        ArmForNextSecond();
        return;
    }
    if (!Repaint(hwnd))
        return;
    if (WokeOnTurn(now, DueTurn))
        DueTurn = NextTurn(now);
    else
        ArmForNextSecond();
}

LRESULT CALLBACK ControllerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    // A new shell: its windows, and the names of the messages, found afresh.
    if (msg == TaskbarCreated && TaskbarCreated) {
        Holder = HolderQuery{};
        DetachAndUnload(hwnd);
        Attach(hwnd);
        return 0;
    }
    if (msg == ClockReleased && ClockReleased) {
        WatchClock(hwnd);
        return 0;
    }
    switch (msg) {
    // A clock set anew, or one that went on while the machine slept, shows
    // at once; the next wake-up is set from it.
    case WM_TIMECHANGE:
        Tick(hwnd);
        return 0;
    case WM_POWERBROADCAST:
        if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND)
            Tick(hwnd);
        return TRUE;
    case ExitRequestMessage:
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_ENDSESSION:
        if (wParam) {
            SessionEnding = true;
            CancelWaitableTimer(RepaintTimer);
            DetachAndUnload(hwnd);
        }
        return 0;
    case WM_DESTROY:
        CancelWaitableTimer(RepaintTimer);
        DetachAndUnload(hwnd);
        PostQuitMessage(ExitCode);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

// The repaint timer and the message queue, waited for together, until
// WM_QUIT.
void RunMessageLoop(HWND hwnd)
{
    for (;;) {
        DWORD woke = MsgWaitForMultipleObjectsEx(1, &RepaintTimer, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0) {
            WakeUp(hwnd);
            continue;
        }
        // A wait that fails would fail again at once: the clock is given
        // back rather than spun on.
        if (woke != WAIT_OBJECT_0 + 1 && IsWindow(hwnd))
            DestroyWindow(hwnd);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                return;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

// The program's own folder, whatever its name.
bool FindFolder()
{
    DWORD n = GetModuleFileNameW(nullptr, Folder, LongPathSize);
    if (n == 0 || n >= LongPathSize)
        return false;
    wchar_t *slash = wcsrchr(Folder, L'\\');
    if (!slash)
        return false;
    *slash = 0;
    return true;
}

// Said once, in a plain message box, instead of ending without a word.
void ShowNoUsablePath()
{
    std::wstring text = L"Zantor Dialwick cannot show its clock from this folder:\n\n" + std::wstring(Folder) +
                        L"\n\nThe folder's name has characters that the clock cannot pass to the taskbar in your "
                        L"Windows language, and it has no short name to use instead (short names are switched off "
                        L"on this drive). Move Zantor Dialwick to a folder named in your Windows language, such as "
                        L"C:\\ZantorDialwick.";
    MessageBoxW(nullptr, text.c_str(), L"Zantor Dialwick", MB_OK | MB_ICONWARNING);
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
    if (!FindFolder())
        return 2;
    if (!FindHostPath(Folder, HostPath, sizeof(HostPath))) {
        ShowNoUsablePath();
        return 5;
    }
    TaskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    ClockReleased = RegisterWindowMessageA(ClockReleasedMessageName);

    WNDCLASSA wc{};
    wc.lpfnWndProc = ControllerProc;
    wc.hInstance = instance;
    wc.lpszClassName = WindowClass;
    // A hidden top-level window, not a message-only one: only top-level
    // windows hear the "TaskbarCreated" broadcast.
    HWND hwnd = RegisterClassA(&wc) ? CreateWindowExA(WS_EX_TOOLWINDOW, WindowClass, "Zantor Dialwick", WS_POPUP, 0, 0,
                                                      0, 0, nullptr, nullptr, instance, nullptr)
                                    : nullptr;
    if (!hwnd)
        return 3;
    if (!LoadClockLibrary()) {
        DestroyWindow(hwnd);
        return 4;
    }
    RepaintTimer = CreateWaitableTimerA(nullptr, FALSE, nullptr);
    if (!RepaintTimer) {
        DestroyWindow(hwnd);
        return 3;
    }
    Attach(hwnd);
    if (IsWindow(hwnd))
        ArmForNextSecond();
    RunMessageLoop(hwnd);
    CloseHandle(RepaintTimer);
    if (TellNoClassicClock)
        MessageBoxA(nullptr, NoClassicClockText, "Zantor Dialwick", MB_OK | MB_ICONINFORMATION);
    CloseHandle(mutex);
    return ExitCode;
}
