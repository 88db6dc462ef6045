#include "fuzz/fuzz_desktop.h"

#include "engine/clock_state.h"
#include "shell/library.h"
#include "tests/engine/test_support.h"

#include <stdio.h>
#include <stdlib.h>

void FuzzRequire(bool ok, const char *what)
{
    if (ok)
        return;
    fprintf(stderr, "fuzz check failed: %s\n", what);
    abort();
}

const std::string &FuzzSkinsDir()
{
    // Made once; its destructor removes the folder at exit.
    static TestSkinDir dir;
    [[maybe_unused]] static bool made = (dir.AddSkin("Herb"), dir.AddSkin("Wide", TestSkinShape{12, 18, 7, 9}), true);
    return dir.Path;
}

std::string FuzzHostPath()
{
    std::string path = FuzzSkinsDir() + "/dialwick.exe";
    for (char &c : path)
        if (c == '/')
            c = '\\';
    return path;
}

void StartDesktop(FuzzDesktop *d)
{
    FuzzSkinsDir();
    SimReset();
    d->Library = SimDefineModule("dialwick.dll", "C:\\Program Files\\Dialwick\\dialwick.dll", DllMain,
                                 {{&ClockState, sizeof(ClockState)},
                                  {&ModuleNotifyHandler, sizeof(ModuleNotifyHandler)},
                                  {&LibraryInstance, sizeof(LibraryInstance)}});
    d->Explorer = SimCreateProcess("explorer.exe");
    SimInProcess(d->Explorer, [&] {
        RegisterStandinClasses(nullptr);
        d->Taskbar = CreateStandinTaskbar(nullptr, StandinLayout{});
        d->StockClockProc = (WNDPROC)GetWindowLongPtrA(d->Taskbar.Clock, GWLP_WNDPROC);
        d->StockNotifyProc = (WNDPROC)GetWindowLongPtrA(d->Taskbar.Notify, GWLP_WNDPROC);
    });
    SimPumpMessages();
    d->Controller = SimCreateProcess("dialwick.exe");
    SimSwitchProcess(d->Controller);
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "DialwickController";
    RegisterClassA(&wc);
    d->ControllerWindow =
        CreateWindowExA(0, "DialwickController", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    FuzzRequire(LoadLibraryA("dialwick.dll") == d->Library, "the library maps");
}

void RequireNothingLive(int gdiObjects)
{
    FuzzRequire(SimLiveGdiObjects() == gdiObjects, "no GDI object is left");
    FuzzRequire(SimOpenRegistryKeys() == 0, "no registry key is left open");
    FuzzRequire(SimLiveMenus() == 0, "no menu is left");
    FuzzRequire(SimOpenFindHandles() == 0, "no directory listing is left open");
    FuzzRequire(SimLiveHooks() == 0, "no hook is left");
}

void EndDesktop(FuzzDesktop *d)
{
    SimInProcess(d->Controller, [] { SetClockOnTray(nullptr, 0, nullptr, nullptr); });
    SimEndProcess(d->Controller);
    SimPumpMessages();
    SimInProcess(d->Explorer, [&] {
        FuzzRequire((WNDPROC)GetWindowLongPtrA(d->Taskbar.Clock, GWLP_WNDPROC) == d->StockClockProc,
                    "the clock's own procedure is back");
        FuzzRequire((WNDPROC)GetWindowLongPtrA(d->Taskbar.Notify, GWLP_WNDPROC) == d->StockNotifyProc,
                    "the notification area's own procedure is back");
    });
    SimEndProcess(d->Explorer);
    RequireNothingLive();
}
