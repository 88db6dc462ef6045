#include "settings/registry_key.h"

#include "engine/clock_state.h"
#include "settings/registry_string.h"

#include <stdio.h>

const char SettingsKeyPath[] = "Software\\Orvantis\\Zantor\\Dialwick";
const char RunKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

bool OpenOrCreateUserKey(const char *path, RegistryKeyGuard *guard)
{
    return RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                           &guard->Key, nullptr) == ERROR_SUCCESS;
}

bool ReadSettingsString(const char *valueName, char *text, size_t textSize)
{
    char path[PathSize];
    int n = snprintf(path, sizeof(path), "%s\\%s", SettingsKeyPath, valueName);
    return n > 0 && n < PathSize && ReadRegistryString(HKEY_CURRENT_USER, path, text, textSize, nullptr);
}
