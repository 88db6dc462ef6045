// Host paths of any bytes into InitClockHost, then a Skins menu build. Byte 0
// picks the code page (odd: 932, whose double-byte lead bytes can hide a
// backslash as a trail byte; even: 1252); the rest is the path.
#include "fuzz/fuzz_desktop.h"

#include "engine/clock_state.h"
#include "settings/context_menu.h"
#include "shell/host_lookup.h"
#include "tests/engine/test_support.h"

#include <string.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    std::string path((const char *)data + 1, size - 1);
    path = path.c_str();  // as the C string the library receives

    SetUpTaskbar(30);
    int gdiObjects = SimLiveGdiObjects();
    SimSetCodePage(data[0] & 1 ? 932 : 1252);
    InitClockHost(path.c_str());
    const char *end = (const char *)memchr(ClockState.SkinBaseDir, 0, sizeof(ClockState.SkinBaseDir));
    FuzzRequire(end != nullptr, "the skin folder is terminated");
    size_t n = (size_t)(end - ClockState.SkinBaseDir);
    FuzzRequire(n <= path.size() && memcmp(ClockState.SkinBaseDir, path.data(), n) == 0,
                "the skin folder is a leading part of the path");
    HMENU skins = BuildSkinsMenu();
    if (skins)
        DestroyMenu(skins);
    ClockState.SkinsMenu = nullptr;
    RequireNothingLive(gdiObjects);
    return 0;
}
