#include "settings/menu_language.h"

#include "settings/language_tables.h"
#include "settings/registry_key.h"

#include <string.h>

void ApplyMenuLanguage(uint32_t index)
{
    RegistryKeyGuard settings;
    if (!OpenOrCreateUserKey(SettingsKeyPath, &settings) || index >= (uint32_t)LanguageCount)
        return;
    DWORD lang = index;
    if (RegSetValueExA(settings.Key, "Lang", 0, REG_DWORD, (const BYTE *)&lang, sizeof(lang)) != ERROR_SUCCESS)
        return;
    for (int i = 0; i < MenuTextCount; i++) {
        const char *text = LanguageTexts[index][i];
        if (RegSetValueExA(settings.Key, MenuTextValueNames[i], 0, REG_SZ, (const BYTE *)text,
                           (DWORD)strlen(text) + 1) != ERROR_SUCCESS)
            return;
    }
}
