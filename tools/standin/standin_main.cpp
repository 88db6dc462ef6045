// standin-taskbar.exe: the stand-in taskbar as a real Windows program, for
// running the library the way it enters Explorer.
// usage: standin-taskbar.exe [--height N] [--vertical] [--windows10 | --windows11]
#include "tools/standin/standin_windows.h"

#include <stdlib.h>
#include <string.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    StandinLayout layout;
    layout.ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    layout.ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    const char *height = strstr(commandLine, "--height ");
    if (height)
        layout.TaskbarHeight = atoi(height + 9);
    if (layout.TaskbarHeight <= 0 || layout.TaskbarHeight > 400)
        layout.TaskbarHeight = 30;
    layout.Vertical = strstr(commandLine, "--vertical") != nullptr;
    if (strstr(commandLine, "--windows10"))
        layout.Mode = StandinWindows10;
    else if (strstr(commandLine, "--windows11"))
        layout.Mode = StandinWindows11;

    if (!RegisterStandinClasses(instance))
        return 1;
    StandinTaskbar taskbar = CreateStandinTaskbar(instance, layout);
    if (!taskbar.Tray)
        return 2;
    // As Explorer does when it starts: programs with tray icons listen for it.
    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
