// The current user's registry tree. Key and value names compare without
// regard to case; values keep their type and their bytes exactly as written
// through the ANSI calls. Keys are never deleted, so an open handle always
// names a live key.
#include "platform/sim/sim_internal.h"

#include <memory>
#include <string.h>
#include <strings.h>

namespace {

struct RegValue {
    std::string Name;
    DWORD Type = REG_NONE;
    std::vector<uint8_t> Data;
};

struct RegKey {
    std::string Name;
    std::vector<RegValue> Values;  // in the order first written
    std::vector<std::unique_ptr<RegKey>> Subkeys;
};

struct OpenKey {
    RegKey *Key;
    REGSAM Access;
};

RegKey &CurrentUser()
{
    static RegKey root;
    return root;
}

std::map<uintptr_t, OpenKey> &OpenKeys()
{
    static std::map<uintptr_t, OpenKey> keys;
    return keys;
}

RegKey *FindSubkey(RegKey *key, const std::string &name)
{
    for (auto &sub : key->Subkeys)
        if (strcasecmp(sub->Name.c_str(), name.c_str()) == 0)
            return sub.get();
    return nullptr;
}

RegValue *FindValue(RegKey *key, const char *name)
{
    const char *wanted = name ? name : "";
    for (RegValue &v : key->Values)
        if (strcasecmp(v.Name.c_str(), wanted) == 0)
            return &v;
    return nullptr;
}

// Splits a subkey path into its names. A trailing backslash is allowed; a
// leading one or an empty name in the middle is not, as in Windows.
bool SplitPath(const char *path, std::vector<std::string> *names)
{
    names->clear();
    if (!path || !*path)
        return true;
    if (path[0] == '\\')
        return false;
    std::string name;
    for (const char *c = path;; c++) {
        if (*c == '\\' || *c == 0) {
            if (name.empty() && *c == '\\')
                return false;
            if (!name.empty())
                names->push_back(name);
            name.clear();
            if (*c == 0)
                return true;
        } else {
            name += *c;
        }
    }
}

// The key a handle names: HKEY_CURRENT_USER itself or an open key.
RegKey *KeyOf(HKEY key, REGSAM *access)
{
    if (key == HKEY_CURRENT_USER) {
        *access = KEY_ALL_ACCESS;
        return &CurrentUser();
    }
    auto it = OpenKeys().find((uintptr_t)key);
    if (it == OpenKeys().end())
        return nullptr;
    *access = it->second.Access;
    return it->second.Key;
}

HKEY NewHandle(RegKey *key, REGSAM access)
{
    uintptr_t h = SimNewHandle();
    OpenKeys()[h] = OpenKey{key, access};
    return (HKEY)h;
}

void StoreValue(RegKey *key, const char *name, DWORD type, const uint8_t *data, size_t size)
{
    RegValue *v = FindValue(key, name);
    if (!v) {
        key->Values.push_back(RegValue{});
        v = &key->Values.back();
        v->Name = name ? name : "";
    }
    v->Type = type;
    v->Data.assign(data, data + (data ? size : 0));
}

RegKey *CreatePath(RegKey *key, const std::vector<std::string> &names, bool *created)
{
    *created = false;
    for (const std::string &name : names) {
        RegKey *sub = FindSubkey(key, name);
        if (!sub) {
            key->Subkeys.push_back(std::make_unique<RegKey>());
            sub = key->Subkeys.back().get();
            sub->Name = name;
            *created = true;
        }
        key = sub;
    }
    return key;
}

RegKey *FindPath(RegKey *key, const std::vector<std::string> &names)
{
    for (const std::string &name : names) {
        key = FindSubkey(key, name);
        if (!key)
            return nullptr;
    }
    return key;
}

RegKey *FindUserPath(const char *keyPath)
{
    std::vector<std::string> names;
    return SplitPath(keyPath, &names) ? FindPath(&CurrentUser(), names) : nullptr;
}

}  // namespace

// As Wine showed: a non-zero Reserved is refused here, though RegSetValueExA
// ignores its own.
LSTATUS RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR, DWORD, REGSAM access, LPSECURITY_ATTRIBUTES,
                        PHKEY result, LPDWORD disposition)
{
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    if (reserved)
        return ERROR_INVALID_PARAMETER;
    if (SimShouldFail("RegCreateKeyExA"))
        return ERROR_ACCESS_DENIED;
    REGSAM parentAccess;
    RegKey *parent = KeyOf(key, &parentAccess);
    if (!parent)
        return ERROR_INVALID_HANDLE;
    std::vector<std::string> names;
    if (!SplitPath(subKey, &names))
        return ERROR_BAD_PATHNAME;
    bool created;
    RegKey *target = CreatePath(parent, names, &created);
    *result = NewHandle(target, access);
    if (disposition)
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
}

LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM access, PHKEY result)
{
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    if (SimShouldFail("RegOpenKeyExA"))
        return ERROR_ACCESS_DENIED;
    REGSAM parentAccess;
    RegKey *parent = KeyOf(key, &parentAccess);
    if (!parent)
        return ERROR_INVALID_HANDLE;
    std::vector<std::string> names;
    if (!SplitPath(subKey, &names))
        return ERROR_BAD_PATHNAME;
    RegKey *target = FindPath(parent, names);
    if (!target)
        return ERROR_FILE_NOT_FOUND;
    *result = NewHandle(target, access);
    return ERROR_SUCCESS;
}

LSTATUS RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD dataSize)
{
    if (SimShouldFail("RegQueryValueExA"))
        return ERROR_ACCESS_DENIED;
    if (reserved || (data && !dataSize))
        return ERROR_INVALID_PARAMETER;
    REGSAM access;
    RegKey *k = KeyOf(key, &access);
    if (!k)
        return ERROR_INVALID_HANDLE;
    if (!(access & KEY_QUERY_VALUE))
        return ERROR_ACCESS_DENIED;
    RegValue *v = FindValue(k, valueName);
    if (!v)
        return ERROR_FILE_NOT_FOUND;
    if (type)
        *type = v->Type;
    if (!dataSize)
        return ERROR_SUCCESS;
    DWORD size = (DWORD)v->Data.size();
    // Without a buffer only the size is asked for; a short buffer is left as
    // it was (Windows calls its contents undefined) and the size reported.
    if (data && *dataSize < size) {
        *dataSize = size;
        return ERROR_MORE_DATA;
    }
    if (data && size)
        memcpy(data, v->Data.data(), size);
    // A string stored without its terminator gets one where the buffer has
    // room; the size reported stays the stored one (as measured under Wine).
    bool stringType = v->Type == REG_SZ || v->Type == REG_EXPAND_SZ || v->Type == REG_MULTI_SZ;
    if (data && stringType && size > 0 && size < *dataSize && v->Data[size - 1] != 0)
        data[size] = 0;
    *dataSize = size;
    return ERROR_SUCCESS;
}

LSTATUS RegSetValueExA(HKEY key, LPCSTR valueName, DWORD, DWORD type, const BYTE *data, DWORD dataSize)
{
    if (SimShouldFail("RegSetValueExA"))
        return ERROR_ACCESS_DENIED;
    if (!data && dataSize)
        return ERROR_NOACCESS;
    REGSAM access;
    RegKey *k = KeyOf(key, &access);
    if (!k)
        return ERROR_INVALID_HANDLE;
    if (!(access & KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    StoreValue(k, valueName, type, data, dataSize);
    return ERROR_SUCCESS;
}

LSTATUS RegDeleteValueA(HKEY key, LPCSTR valueName)
{
    if (SimShouldFail("RegDeleteValueA"))
        return ERROR_ACCESS_DENIED;
    REGSAM access;
    RegKey *k = KeyOf(key, &access);
    if (!k)
        return ERROR_INVALID_HANDLE;
    if (!(access & KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    RegValue *v = FindValue(k, valueName);
    if (!v)
        return ERROR_FILE_NOT_FOUND;
    k->Values.erase(k->Values.begin() + (v - k->Values.data()));
    return ERROR_SUCCESS;
}

// Closing a valid key cannot fail, so it takes no injected failure: a leak
// the live count shows is then always the caller's.
LSTATUS RegCloseKey(HKEY key)
{
    // Closing a predefined key does nothing and succeeds.
    if (key == HKEY_CURRENT_USER)
        return ERROR_SUCCESS;
    return OpenKeys().erase((uintptr_t)key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

void SimRegSetValue(const char *keyPath, const char *valueName, DWORD type, const void *data, size_t size)
{
    std::vector<std::string> names;
    if (!SplitPath(keyPath, &names))
        return;
    bool created;
    StoreValue(CreatePath(&CurrentUser(), names, &created), valueName, type, (const uint8_t *)data, size);
}

bool SimRegGetValue(const char *keyPath, const char *valueName, DWORD *type, std::vector<uint8_t> *data)
{
    RegKey *k = FindUserPath(keyPath);
    RegValue *v = k ? FindValue(k, valueName) : nullptr;
    if (!v)
        return false;
    if (type)
        *type = v->Type;
    if (data)
        *data = v->Data;
    return true;
}

bool SimRegKeyExists(const char *keyPath) { return FindUserPath(keyPath) != nullptr; }

void SimRegCreateKey(const char *keyPath)
{
    std::vector<std::string> names;
    bool created;
    if (SplitPath(keyPath, &names))
        CreatePath(&CurrentUser(), names, &created);
}

std::vector<std::string> SimRegValueNames(const char *keyPath)
{
    std::vector<std::string> names;
    if (RegKey *k = FindUserPath(keyPath))
        for (const RegValue &v : k->Values)
            names.push_back(v.Name);
    return names;
}

int SimOpenRegistryKeys() { return (int)OpenKeys().size(); }

void SimResetRegistry()
{
    OpenKeys().clear();
    CurrentUser().Values.clear();
    CurrentUser().Subkeys.clear();
}
