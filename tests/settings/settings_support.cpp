#include "tests/settings/settings_support.h"

const char SettingsKey[] = "Software\\Orvantis\\Zantor\\Dialwick";
const char RunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
static const char LibraryFile[] = "C:\\Program Files\\Zantor Dialwick\\dialwick.dll";

void SetUpLibrary()
{
    SimReset();
    ResetClockState();
    SimDefineModule("dialwick.dll", LibraryFile, nullptr, {{&ClockState, sizeof(ClockState)}});
    LoadLibraryA("dialwick.dll");
}

std::vector<uint8_t> Bytes(const std::string &text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::vector<uint8_t> Dword(uint32_t value)
{
    return {(uint8_t)value, (uint8_t)(value >> 8), (uint8_t)(value >> 16), (uint8_t)(value >> 24)};
}

void Seed(const char *name, DWORD type, const std::vector<uint8_t> &data)
{
    SimRegSetValue(SettingsKey, name, type, data.data(), data.size());
}

StoredValue Stored(const char *name, const char *key)
{
    StoredValue v;
    v.Exists = SimRegGetValue(key, name, &v.Type, &v.Data);
    return v;
}

bool NothingLeftOpen() { return SimOpenRegistryKeys() == 0 && SimOpenFindHandles() == 0; }
