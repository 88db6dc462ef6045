// What each popup-menu command does.
#include "shell/clock_commands.h"

#include "engine/clock_state.h"
#include "engine/paint_clock.h"
#include "engine/skin_bitmaps.h"
#include "settings/menu_language.h"
#include "settings/settings_store.h"
#include "shell/clock_wndproc.h"
#include "shell/layered.h"
#include "shell/notify_layout.h"

#include <stdio.h>

static const char HomePageCommandLine[] =
    "\"C:\\PROGRA~1\\INTERN~1\\iexplore.exe\" http://www.orvantis.example/home.php";

static void Toggle(Flag *flag) { *flag = *flag ? 0 : FlagTrue; }

void OpenDateTimePanel()
{
    // Without the Windows directory the command line is the bare tail.
    char directory[MAX_PATH];
    UINT n = GetWindowsDirectoryA(directory, sizeof(directory));
    if (n == 0 || n >= sizeof(directory))
        directory[0] = 0;
    char commandLine[MAX_PATH + 64];
    snprintf(commandLine, sizeof(commandLine), "%s\\system32\\control.exe TIMEDATE.CPL", directory);
    WinExec(commandLine, SW_SHOWNORMAL);
}

// Loads the skin named by the chosen Skins item. An id the menu does not
// hold names no skin, and nothing is loaded.
static void ChooseSkin(HWND hwnd, unsigned id)
{
    char name[SkinNameSize];
    if (!ClockState.SkinsMenu || GetMenuStringA(ClockState.SkinsMenu, id, name, SkinNameSize, MF_BYCOMMAND) <= 0)
        return;
    name[SkinNameSize - 1] = 0;
    LoadSkin(name);
    RepaintWholeFace(hwnd, ClockState.IsWindowsXP ? FALSE : TRUE);
}

// The taskbar and the clock lay themselves out again, and every setting is saved.
static void RelayoutAndSave()
{
    RelayoutTaskbar();
    PostMessageA(ClockState.ClockWnd, WM_EXITSIZEMOVE, 0, 0);
    PostMessageA(ClockState.ClockWnd, WM_SIZE, 0, 0);
    SaveSettings();
}

void RunClockCommand(HWND hwnd, unsigned id)
{
    switch (id) {
    case ExitCommand:
        PostMessageA(ClockState.ControllerWnd, ExitRequestMessage, 0, 0);
        return;
    case AdjustDateCommand:
        OpenDateTimePanel();
        return;
    case HomePageCommand:
        WinExec(HomePageCommandLine, SW_SHOW);
        return;
    case LayeredModeCommand:
        Toggle(&ClockState.LayeredMode);
        ApplyLayeredMode();
        break;
    case ShowSecondsCommand:
        Toggle(&ClockState.ShowSeconds);
        break;
    case ShowDateCommand:
        Toggle(&ClockState.ShowDate);
        RepaintWholeFace(hwnd, TRUE);
        break;
    case DateIsLeftCommand:
        Toggle(&ClockState.DateIsLeft);
        break;
    case EnglishTimeCommand:
        Toggle(&ClockState.EnglishTime);
        RepaintWholeFace(hwnd, TRUE);
        break;
    case TransparentClockCommand:
        Toggle(&ClockState.TransparentClock);
        RepaintWholeFace(hwnd, TRUE);
        break;
    case StartWithWindowsCommand:
        Toggle(&ClockState.StartWithWindows);
        break;
    case ShowDayOfWeekCommand:
        Toggle(&ClockState.ShowDayOfWeek);
        RepaintWholeFace(hwnd, TRUE);
        break;
    default:
        if (id >= FirstLanguageCommand && id < FirstLanguageCommand + 16)
            ApplyMenuLanguage(id - FirstLanguageCommand);
        else if (id >= FirstSkinCommand && id <= LastSkinCommand)
            ChooseSkin(hwnd, id);
        break;
    }
    RelayoutAndSave();
}
