#include "settings/settings_store.h"

#include "engine/skin_bitmaps.h"
#include "settings/autostart.h"
#include "settings/registry_key.h"

#include <string.h>

// Stored SkinName data is this long at least; shorter names carry what the
// field holds after their terminator.
constexpr DWORD SkinNameDataSize = 100;

static const char DefaultSkin[] = "Herb";

// One byte of any type; missing, longer or empty data reads as true.
static Flag ReadFlag(HKEY key, const char *name)
{
    BYTE value = 0;
    DWORD size = sizeof(value);
    if (RegQueryValueExA(key, name, nullptr, nullptr, &value, &size) != ERROR_SUCCESS || size == 0)
        return FlagTrue;
    return value ? FlagTrue : 0;
}

// Any non-zero flag is stored as 0xFF, so it reads back as true whatever it held.
static void WriteFlag(HKEY key, const char *name, Flag flag)
{
    BYTE value = flag ? 0xFF : 0x00;
    RegSetValueExA(key, name, 0, REG_BINARY, &value, sizeof(value));
}

Flag LoadSettings()
{
    RegistryKeyGuard settings;
    if (!OpenOrCreateUserKey(SettingsKeyPath, &settings))
        return 0;
    ClockState.ShowSeconds = ReadFlag(settings.Key, "ShowSeconds");
    ClockState.ShowDayOfWeek = ReadFlag(settings.Key, "ShowDayOfWeek");
    ClockState.DateIsLeft = ReadFlag(settings.Key, "DateIsLeft");
    ClockState.EnglishTime = ReadFlag(settings.Key, "EnglishTime");
    ClockState.ShowDate = ReadFlag(settings.Key, "ShowDate");
    ClockState.TransparentClock = ReadFlag(settings.Key, "TransparentClock");

    // One byte more than a loadable name: a longer stored name arrives cut to
    // a length LoadSkin refuses, so it fails as the whole name would.
    char name[SkinNameSize + 1];
    Flag loaded = ReadSettingsString("SkinName", name, sizeof(name)) ? LoadSkin(name) : LoadSkin(DefaultSkin);

    ClockState.StartWithWindows = AutostartEntryExists();
    return loaded;
}

void SaveSettings()
{
    UpdateAutostartEntry(ClockState.StartWithWindows);

    RegistryKeyGuard settings;
    if (!OpenOrCreateUserKey(SettingsKeyPath, &settings))
        return;
    WriteFlag(settings.Key, "ShowSeconds", ClockState.ShowSeconds);
    WriteFlag(settings.Key, "ShowDayOfWeek", ClockState.ShowDayOfWeek);
    WriteFlag(settings.Key, "DateIsLeft", ClockState.DateIsLeft);
    WriteFlag(settings.Key, "EnglishTime", ClockState.EnglishTime);
    WriteFlag(settings.Key, "ShowDate", ClockState.ShowDate);
    WriteFlag(settings.Key, "TransparentClock", ClockState.TransparentClock);

    // A skin that failed to load leaves the stored choice alone: the clock
    // shows it again once its folder is back.
    if (!ClockState.SkinLoaded)
        return;
    // A name of 100 characters or more keeps its terminator, so that it reads
    // back whole instead of losing its last character.
    DWORD nameLength = (DWORD)strnlen(ClockState.CurrentSkinName, SkinNameSize);
    DWORD size = nameLength < SkinNameDataSize ? SkinNameDataSize : nameLength + 1;
    if (size > (DWORD)SkinNameSize)
        size = SkinNameSize;
    RegSetValueExA(settings.Key, "SkinName", 0, REG_SZ, (const BYTE *)ClockState.CurrentSkinName, size);
}
