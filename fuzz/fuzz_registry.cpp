// Registry values of any type, size and bytes under every value name the
// library reads, then the settings load, a menu build and a paint. The input
// is a list of values: a name selector byte, a type byte, a 16-bit length
// and the data.
#include "fuzz/fuzz_desktop.h"

#include "engine/clock_state.h"
#include "engine/skin_bitmaps.h"
#include "settings/context_menu.h"
#include "settings/language_tables.h"
#include "settings/registry_key.h"
#include "settings/settings_store.h"
#include "tests/engine/test_support.h"

#include <string.h>

namespace {

// Every value the library reads: these settings, the menu texts and the autostart line.
const char *const Settings[] = {"ShowSeconds", "ShowDayOfWeek",    "DateIsLeft", "EnglishTime",
                                "ShowDate",    "TransparentClock", "SkinName",   "Lang"};
constexpr size_t SettingsCount = 8, ReadValueCount = SettingsCount + MenuTextCount + 1;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string base = FuzzHostPath().substr(0, FuzzHostPath().rfind('\\'));

    StandinTaskbar taskbar = SetUpTaskbar(30);
    size_t at = 0;
    while (at + 4 <= size) {
        size_t pick = data[at] % ReadValueCount;
        const char *name = pick < SettingsCount        ? Settings[pick]
                           : pick < ReadValueCount - 1 ? MenuTextValueNames[pick - SettingsCount]
                                                       : "ZantorDialwick";
        DWORD type = data[at + 1];
        size_t length = (size_t)data[at + 2] | (size_t)data[at + 3] << 8;
        at += 4;
        if (length > size - at)
            length = size - at;
        SimRegSetValue(pick < ReadValueCount - 1 ? SettingsKeyPath : RunKeyPath, name, type, data + at, length);
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
    RequireNothingLive(gdiBefore);
    return 0;
}
