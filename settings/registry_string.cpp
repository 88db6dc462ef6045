#include "settings/registry_string.h"

#include "engine/clock_state.h"
#include "settings/registry_key.h"

#include <stdlib.h>
#include <string.h>

bool ReadRegistryString(HKEY root, const char *path, char *text, size_t textSize, size_t *length)
{
    const char *slash = path ? strrchr(path, '\\') : nullptr;
    if (!slash || !text || textSize == 0)
        return false;
    char keyPath[PathSize];
    size_t keyLength = (size_t)(slash - path);
    if (keyLength >= sizeof(keyPath))
        return false;
    memcpy(keyPath, path, keyLength);
    keyPath[keyLength] = 0;
    const char *valueName = slash + 1;

    RegistryKeyGuard key;
    if (RegOpenKeyExA(root, keyPath, 0, KEY_READ, &key.Key) != ERROR_SUCCESS)
        return false;
    DWORD type = REG_NONE, size = 0;
    if (RegQueryValueExA(key.Key, valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return false;
    BYTE *data = (BYTE *)malloc(size ? size : 1);
    if (!data)
        return false;
    // The value may have changed since its size was asked for; then it is a failed read.
    DWORD read = size;
    bool ok = RegQueryValueExA(key.Key, valueName, nullptr, &type, data, &read) == ERROR_SUCCESS && type == REG_SZ;
    if (ok) {
        size_t full = read > 0 ? read - 1 : 0;
        size_t copied = full < textSize - 1 ? full : textSize - 1;
        memcpy(text, data, copied);
        text[copied] = 0;
        if (length)
            *length = full;
    }
    free(data);
    return ok;
}
