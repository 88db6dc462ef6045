#include "settings/context_menu.h"

#include "engine/clock_state.h"
#include "settings/language_tables.h"
#include "settings/menu_commands.h"
#include "settings/menu_language.h"
#include "settings/registry_key.h"

#include <stdio.h>

// Labels longer than this are cut; the menu still builds.
constexpr int MenuLabelSize = 512;

// The Languages submenu is not translated.
static const char *const LanguageLabels[LanguageCount] = {
    "Chinese(Traditional)",
    "Chinese",
    "German",
    "Spanish",
    "Finnish",
    "French",
    "Greek",
    "Italian",
    "Japanese",
    "English",
    "Netherlands",
    "Norwegian",
    "Polish",
    "Portuguese",
    "Russian",
    "Swedish",
};

static const struct {
    UINT Id;
    const char *ValueName;
    const char *Fallback;
    const Flag *Checked;
} OptionItems[] = {
    {ShowSecondsCommand, "ShowSecondsSTR", "Show Seconds", &ClockState.ShowSeconds},
    {ShowDayOfWeekCommand, "ShowDayOfWeekSTR", "Show Day of the Week", &ClockState.ShowDayOfWeek},
    {ShowDateCommand, "ShowDateSTR", "Show Date", &ClockState.ShowDate},
    {DateIsLeftCommand, "ShowDateOnLeftSTR", "Show Date On Left", &ClockState.DateIsLeft},
    {EnglishTimeCommand, "Use12HourFormatSTR", "Use 12-Hour Format", &ClockState.EnglishTime},
    {TransparentClockCommand, "TransparentBackgroundSTR", "Transparent Background", &ClockState.TransparentClock},
    {StartWithWindowsCommand, "ZantorDialwickStartUpSTR", "Start Zantor Dialwick on StartUp",
     &ClockState.StartWithWindows},
};

// The stored label, used unchanged even when empty, or the fallback when no
// string value is stored.
static void ReadLabel(const char *valueName, const char *fallback, char (&label)[MenuLabelSize])
{
    if (!ReadSettingsString(valueName, label, sizeof(label)))
        snprintf(label, sizeof(label), "%s", fallback);
}

static void AppendLabelled(HMENU menu, UINT flags, UINT id, const char *valueName, const char *fallback)
{
    char label[MenuLabelSize];
    ReadLabel(valueName, fallback, label);
    AppendMenuA(menu, MF_STRING | flags, id, label);
}

// A submenu the main menu did not take would outlive the tree: it goes at once.
static void AttachSubmenu(HMENU *submenu, const char *valueName, const char *fallback)
{
    if (!*submenu)
        return;
    char label[MenuLabelSize];
    ReadLabel(valueName, fallback, label);
    if (!AppendMenuA(ClockState.MainMenu, MF_STRING | MF_POPUP, (UINT_PTR)*submenu, label)) {
        DestroyMenu(*submenu);
        *submenu = nullptr;
    }
}

HMENU BuildOptionsMenu()
{
    ClockState.OptionsMenu = CreatePopupMenu();
    if (!ClockState.OptionsMenu)
        return nullptr;
    for (const auto &item : OptionItems) {
        if (item.Id == StartWithWindowsCommand)
            AppendMenuA(ClockState.OptionsMenu, MF_SEPARATOR, 0, nullptr);
        AppendLabelled(ClockState.OptionsMenu, *item.Checked ? MF_CHECKED : 0, item.Id, item.ValueName, item.Fallback);
    }
    return ClockState.OptionsMenu;
}

// Lang as a 4-byte REG_DWORD; anything else is no language.
static bool ReadLang(HKEY settings, DWORD *lang)
{
    DWORD type = REG_NONE, value = 0, size = sizeof(value);
    if (RegQueryValueExA(settings, "Lang", nullptr, &type, (BYTE *)&value, &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(value))
        return false;
    *lang = value;
    return true;
}

HMENU BuildLanguageMenu()
{
    ClockState.LanguageMenu = CreatePopupMenu();
    if (!ClockState.LanguageMenu)
        return nullptr;
    // Without the settings key the items are listed without a check mark.
    RegistryKeyGuard settings;
    bool haveKey = OpenOrCreateUserKey(SettingsKeyPath, &settings);
    // Only a value that is certainly missing is created; one of another type stays.
    if (haveKey && RegQueryValueExA(settings.Key, "Lang", nullptr, nullptr, nullptr, nullptr) == ERROR_FILE_NOT_FOUND) {
        DWORD english = EnglishLanguage;
        RegSetValueExA(settings.Key, "Lang", 0, REG_DWORD, (const BYTE *)&english, sizeof(english));
    }
    for (int i = 0; i < LanguageCount; i++) {
        DWORD lang;
        bool checked = haveKey && ReadLang(settings.Key, &lang) && lang == (DWORD)i;
        AppendMenuA(ClockState.LanguageMenu, MF_STRING | (checked ? MF_CHECKED : 0), FirstLanguageCommand + i,
                    LanguageLabels[i]);
    }
    return ClockState.LanguageMenu;
}

void BuildMainMenu()
{
    if (ClockState.MainMenu)
        DestroyMenus();
    ClockState.MainMenu = CreatePopupMenu();
    if (!ClockState.MainMenu)
        return;
    BuildOptionsMenu();
    BuildLanguageMenu();
    BuildSkinsMenu();

    HMENU main = ClockState.MainMenu;
    AppendLabelled(main, 0, AdjustDateCommand, "AdjustDateSTR", "Adjust Date&&Time");
    AppendMenuA(main, MF_SEPARATOR, 0, nullptr);
    AttachSubmenu(&ClockState.OptionsMenu, "OptionsSTR", "Options");
    AttachSubmenu(&ClockState.LanguageMenu, "LangSTR", "Languages");
    AttachSubmenu(&ClockState.SkinsMenu, "SkinsSTR", "Skins");
    AppendMenuA(main, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(main, MF_STRING, HomePageCommand, "Official web site");
    AppendMenuA(main, MF_SEPARATOR, 0, nullptr);
    AppendLabelled(main, 0, ExitCommand, "ExitSTR", "Exit");
}

void DestroyMenus()
{
    // A null MainMenu makes this call do nothing.
    DestroyMenu(ClockState.MainMenu);
    ClockState.MainMenu = nullptr;
    ClockState.SkinsMenu = nullptr;
    ClockState.OptionsMenu = nullptr;
    ClockState.LanguageMenu = nullptr;
}
