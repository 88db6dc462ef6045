#include "tests/shell/shell_fixture.h"

#include "settings/registry_key.h"
#include "shell/library.h"
#include "tests/scenarios/scenarios.h"
#include "tools/standin/standin_windows.h"
#include "tools/standin/taskbar_rects.h"

#include <string.h>

std::vector<UINT> ShellFixture::ControllerMessages;

static LRESULT CALLBACK ControllerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg >= WM_USER)
        ShellFixture::ControllerMessages.push_back(msg);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void SeedOptions(unsigned options)
{
    for (const OptionCommand &o : OptionCommands) {
        BYTE value = (options & o.Bit) ? 0xFF : 0x00;
        if (o.Bit)
            SimRegSetValue(SettingsKeyPath, o.Value, REG_BINARY, &value, 1);
    }
}

void ShellFixture::SetUp()
{
    SimReset();
    ControllerMessages.clear();
    Skins.AddSkin("Herb");
    Skins.AddSkin("Wide", TestSkinShape{12, 18, 7, 9});
    HostPath = Skins.Path + "/dialwick.exe";
    for (char &c : HostPath)
        if (c == '/')
            c = '\\';

    Library = SimDefineModule("dialwick.dll", "C:\\Program Files\\Dialwick\\dialwick.dll", DllMain,
                              {{&ClockState, sizeof(ClockState)},
                               {&ModuleNotifyHandler, sizeof(ModuleNotifyHandler)},
                               {&LibraryInstance, sizeof(LibraryInstance)}});

    Explorer = SimCreateProcess("explorer.exe");
    InExplorer([&] {
        RegisterStandinClasses(nullptr);
        Taskbar = CreateStandinTaskbar(nullptr, Layout);
        StockClockProc = (WNDPROC)GetWindowLongPtrA(Taskbar.Clock, GWLP_WNDPROC);
        StockNotifyProc = (WNDPROC)GetWindowLongPtrA(Taskbar.Notify, GWLP_WNDPROC);
    });
    Pump();

    Controller = SimCreateProcess("dialwick.exe");
    SimSwitchProcess(Controller);
    WNDCLASSA wc{};
    wc.lpfnWndProc = ControllerProc;
    wc.lpszClassName = "DialwickController";
    RegisterClassA(&wc);
    ControllerWindow =
        CreateWindowExA(0, "DialwickController", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_EQ(LoadLibraryA("dialwick.dll"), Library);
}

void ShellFixture::TearDown()
{
    // The controller's exit unmaps the library, which detaches once more.
    SimEndProcess(Controller);
    Pump();
    InExplorer([&] {
        if (Taskbar.Clock) {
            EXPECT_EQ((WNDPROC)GetWindowLongPtrA(Taskbar.Clock, GWLP_WNDPROC), StockClockProc);
        }
        EXPECT_EQ((WNDPROC)GetWindowLongPtrA(Taskbar.Notify, GWLP_WNDPROC), StockNotifyProc);
    });
    SimEndProcess(Explorer);
    EXPECT_EQ(SimLiveGdiObjects(), 0);
    EXPECT_EQ(SimOpenRegistryKeys(), 0);
    EXPECT_EQ(SimLiveMenus(), 0);
    EXPECT_EQ(SimOpenFindHandles(), 0);
    EXPECT_EQ(SimLiveHooks(), 0);
}

LONG ShellFixture::Attach()
{
    LONG result = SetClockOnTray(ControllerWindow, 1, HostPath.c_str(), "reserved");
    Pump();
    return result;
}

LONG ShellFixture::Detach()
{
    LONG result = SetClockOnTray(ControllerWindow, 0, nullptr, nullptr);
    Pump();
    return result;
}

ClockStateRecord ShellFixture::ShellState()
{
    ClockStateRecord copy;
    InExplorer([&] { copy = ClockState; });
    return copy;
}

RECT ShellFixture::ClockRect()
{
    RECT r{};
    GetWindowRect(Taskbar.Clock, &r);
    return r;
}

LRESULT ShellFixture::SendToClock(UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT r = 0;
    InExplorer([&] { r = SendMessageA(Taskbar.Clock, msg, wParam, lParam); });
    return r;
}

std::string ShellFixture::Rects()
{
    std::string r;
    InExplorer([&] { r = DescribeTaskbarRects(Taskbar.Tray); });
    return r;
}
