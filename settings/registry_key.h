// The registry keys of the settings and the guard that closes them.
#pragma once

#include "platform/platform.h"

#include <stddef.h>

// Under HKEY_CURRENT_USER.
extern const char SettingsKeyPath[];
extern const char RunKeyPath[];

// Closes the key it holds when the routine that opened it returns, on every
// path out of it.
struct RegistryKeyGuard {
    HKEY Key = nullptr;
    RegistryKeyGuard() = default;
    RegistryKeyGuard(const RegistryKeyGuard &) = delete;
    RegistryKeyGuard &operator=(const RegistryKeyGuard &) = delete;
    ~RegistryKeyGuard()
    {
        if (Key)
            RegCloseKey(Key);
    }
};

// Opens a key under HKEY_CURRENT_USER with full access, creating it (and its
// parents) when it is missing.
bool OpenOrCreateUserKey(const char *path, RegistryKeyGuard *guard);

// ReadRegistryString of a value of the settings key.
bool ReadSettingsString(const char *valueName, char *text, size_t textSize);
