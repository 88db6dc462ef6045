// Registry values of any type, size and bytes under every value name the
// library reads, then the settings load, a menu build and a paint. The input
// is a list of values: a name selector byte, a type byte, a 16-bit length
// and the data.
#include "fuzz/fuzz_desktop.h"

#include "engine/clock_state.h"
#include "engine/skin_bitmaps.h"
#include "settings/context_menu.h"
#include "settings/settings_store.h"
#include "tests/engine/test_support.h"

#include <string.h>

namespace {

const char SettingsKey[] = "Software\\Orvantis\\Zantor\\Dialwick";
const char RunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

const struct {
    const char *Key;
    const char *Name;
} ReadValues[] = {
    {SettingsKey, "ShowSeconds"},
    {SettingsKey, "ShowDayOfWeek"},
    {SettingsKey, "DateIsLeft"},
    {SettingsKey, "EnglishTime"},
    {SettingsKey, "ShowDate"},
    {SettingsKey, "TransparentClock"},
    {SettingsKey, "SkinName"},
    {SettingsKey, "Lang"},
    {SettingsKey, "ShowSecondsSTR"},
    {SettingsKey, "ShowDayOfWeekSTR"},
    {SettingsKey, "ShowDateSTR"},
    {SettingsKey, "ShowDateOnLeftSTR"},
    {SettingsKey, "Use12HourFormatSTR"},
    {SettingsKey, "TransparentBackgroundSTR"},
    {SettingsKey, "ZantorDialwickStartUpSTR"},
    {SettingsKey, "AdjustDateSTR"},
    {SettingsKey, "OptionsSTR"},
    {SettingsKey, "LangSTR"},
    {SettingsKey, "SkinsSTR"},
    {SettingsKey, "ExitSTR"},
    {RunKey, "ZantorDialwick"},
};
constexpr size_t ReadValueCount = sizeof(ReadValues) / sizeof(ReadValues[0]);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string base = FuzzHostPath();
    base.resize(base.rfind('\\'));

    StandinTaskbar taskbar = SetUpTaskbar(30);
    size_t at = 0;
    while (at + 4 <= size) {
        const auto &value = ReadValues[data[at] % ReadValueCount];
        DWORD type = data[at + 1];
        size_t length = (size_t)data[at + 2] | (size_t)data[at + 3] << 8;
        at += 4;
        if (length > size - at)
            length = size - at;
        SimRegSetValue(value.Key, value.Name, type, data + at, length);
        at += length;
    }

    int gdiBefore = SimLiveGdiObjects();
    memcpy(ClockState.SkinBaseDir, base.c_str(), base.size() + 1);
    LoadSettings();
    BuildMainMenu();
    if (ClockState.SkinLoaded) {
        SizeClock(taskbar);
        PaintWholeClock();
    }
    DestroyMenus();
    FreeSkinBitmaps();
    FuzzRequire(SimLiveGdiObjects() == gdiBefore, "the skin's bitmaps and the paint's objects are gone");
    FuzzRequire(SimOpenRegistryKeys() == 0, "no registry key is left open");
    FuzzRequire(SimLiveMenus() == 0, "no menu is left");
    FuzzRequire(SimOpenFindHandles() == 0, "no directory listing is left open");
    return 0;
}
