// dialwick-preview: paints the face exactly as the clock window would, through
// the engine and the simulated Windows, and writes the clock's client area.
#include "engine/clock_state.h"
#include "engine/skin_bitmaps.h"
#include "platform/sim/sim_control.h"
#include "settings/context_menu.h"
#include "tools/common/image_write.h"
#include "tools/preview/code_pages.h"
#include "tools/preview/menu_print.h"
#include "tools/preview/reg_import.h"
#include "tools/preview/skin_check.h"
#include "tools/preview/skin_grid.h"
#include "tools/standin/face_render.h"
#include "tools/standin/taskbar_rects.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <time.h>
#include <vector>

static const char Usage[] =
    "usage: dialwick-preview --skins DIR [--skin NAME] [--registry REG [--codepage N]]\n"
    "                        [--time \"YYYY-MM-DD HH:MM:SS\"] [--options LIST] [--client WxH]\n"
    "                        [--taskbar-height N] [--dpi DPI] [--vertical] [--windows10] [--xp] [--info]\n"
    "                        [--menu] [--rects FILE] [-o FILE]\n"
    "       dialwick-preview --skins DIR --skin NAME [--check] [--grid FILE]\n"
    "  LIST: comma-separated from seconds,date,left,weekday,12h,transparent\n"
    "  FILE: written as PNG, or as BMP when it ends in .bmp\n"
    "  DPI: the clock window's DPI, 96 by default (144 is 150 %, 192 is 200 %); the\n"
    "       taskbar height, when not given, grows with it from 30\n"
    "  REG: a registry export (.reg) loaded before the settings are read; --skin and\n"
    "       --options override what it holds. --skin is needed without it and --menu\n"
    "  N: the ANSI code page of the Windows the export comes from (default: that of\n"
    "     the menu language it stores, else 1252)\n"
    "  --windows10: the face on the Windows 10 taskbar (its notification area\n"
    "               places the clock between its pager and buttons; it is at\n"
    "               least 40 pixels thick at 96 DPI, grown with the DPI)\n"
    "  --rects FILE: writes where the notification area and its children lie\n"
    "  --menu: prints the popup menu a right click builds\n"
    "  --check: reports what is wrong with the skin and each of its scale folders,\n"
    "           one line each, and a summary; exits 1 when anything is an error\n"
    "  --grid FILE: writes both bitmaps of the skin and of each scale folder\n"
    "               enlarged, with the cell grid and each cell's character (PNG,\n"
    "               or BMP when FILE ends in .bmp)\n";

static int BadUsage(const char *why)
{
    fprintf(stderr, "dialwick-preview: %s\n%s", why, Usage);
    return 2;
}

// "YYYY-MM-DD HH:MM:SS" into v; *why tells what is wrong with any other text
// or with a day or time that does not exist.
static bool ParseTime(const char *text, int *v, std::string *why)
{
    char tail;
    if (sscanf(text, "%d-%d-%d %d:%d:%d%c", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &tail) != 6) {
        *why = "--time wants \"YYYY-MM-DD HH:MM:SS\"";
        return false;
    }
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (v[0] % 4 == 0 && v[0] % 100 != 0) || v[0] % 400 == 0;
    int monthDays = v[1] >= 1 && v[1] <= 12 ? days[v[1] - 1] + (v[1] == 2 && leap) : 0;
    char shown[64];
    if (v[0] < 1601 || v[0] > 9999 || v[2] < 1 || v[2] > monthDays) {
        snprintf(shown, sizeof(shown), "%04d-%02d-%02d", v[0], v[1], v[2]);
        *why = std::string("--time: ") + shown + " is not a date between 1601-01-01 and 9999-12-31";
        return false;
    }
    if (v[3] < 0 || v[3] > 23 || v[4] < 0 || v[4] > 59 || v[5] < 0 || v[5] > 59) {
        snprintf(shown, sizeof(shown), "%02d:%02d:%02d", v[3], v[4], v[5]);
        *why = std::string("--time: ") + shown + " is not a time of day (00:00:00 to 23:59:59)";
        return false;
    }
    return true;
}

static bool ParseSize(const char *text, int *w, int *h)
{
    char tail;
    return sscanf(text, "%dx%d%c", w, h, &tail) == 2 && *w > 0 && *h > 0 && *w <= 4096 && *h <= 4096;
}

// Imports a .reg file into the simulated registry, whole or not at all.
static bool ImportRegistry(const char *path, unsigned codePage, std::string *error)
{
    FILE *f = fopen(path, "rb");
    if (!f) {
        *error = std::string("cannot read ") + path;
        return false;
    }
    std::vector<uint8_t> bytes;
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    fclose(f);
    RegImport import;
    if (!ParseRegFile(bytes.data(), bytes.size(), codePage, &import, error)) {
        *error = std::string(path) + ", " + *error;
        return false;
    }
    ApplyRegImport(import);
    return true;
}

// The menu a right click builds for the settings, its labels in UTF-8.
static void PrintMenu(const FaceRequest &request)
{
    ResetClockState();
    AttachSettings(request);
    BuildMainMenu();
    DWORD lang = 0, type = 0;
    std::vector<uint8_t> data;
    if (SimRegGetValue("Software\\Orvantis\\Zantor\\Dialwick", "Lang", &type, &data) && type == REG_DWORD &&
        data.size() == sizeof(lang))
        memcpy(&lang, data.data(), sizeof(lang));
    unsigned codePage = LanguageCodePage(lang) ? LanguageCodePage(lang) : WesternCodePage;
    fputs(FormatMenuTree(ClockState.MainMenu, codePage, ClockState.SkinsMenu).c_str(), stdout);
    DestroyMenus();
    FreeSkinBitmaps();
}

static bool ParseNumber(const char *text, int *n)
{
    char *end;
    long v = strtol(text, &end, 10);
    if (*text == 0 || *end != 0 || v <= 0 || v > 4096)
        return false;
    *n = (int)v;
    return true;
}

// Any DPI Windows could report, the ones the clock cannot use included: they
// show what the clock falls back to.
static bool ParseDpi(const char *text, int *dpi)
{
    char *end;
    long v = strtol(text, &end, 10);
    if (*text == 0 || *end != 0 || v < 0 || v > 100000)
        return false;
    *dpi = (int)v;
    return true;
}

// Which artwork the clock chose, for --info.
static void PrintArtwork(const FaceImage &image)
{
    printf("dpi: %u\n", (unsigned)image.Dpi);
    if (image.ArtEnlargement > 1)
        printf("artwork: %d %%, the base enlarged %d times\n", image.ArtScale, image.ArtEnlargement);
    else if (image.ArtScale != 100)
        printf("artwork: %d %%, drawn for it\n", image.ArtScale);
    else
        printf("artwork: 100 %%, the base\n");
}

int main(int argc, char **argv)
{
    FaceRequest request;
    const char *output = nullptr;
    const char *registry = nullptr;
    const char *grid = nullptr;
    const char *rects = nullptr;
    int codePage = 0, dpi = 96;
    bool haveHeight = false;
    bool info = false, xp = false, haveTime = false, menu = false, check = false;
    int t[6];
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--info") {
            info = true;
        } else if (arg == "--menu") {
            menu = true;
        } else if (arg == "--check") {
            check = true;
        } else if (arg == "--xp") {
            xp = true;
        } else if (arg == "--vertical") {
            request.Vertical = true;
        } else if (arg == "--windows10") {
            request.Mode = StandinWindows10;
        } else if (arg == "-h" || arg == "--help") {
            fputs(Usage, stdout);
            return 0;
        } else if (!hasValue) {
            return BadUsage(("unknown flag or missing value: " + arg).c_str());
        } else if (arg == "--skins") {
            request.SkinsDir = argv[++i];
        } else if (arg == "--skin") {
            request.Skin = argv[++i];
        } else if (arg == "-o") {
            output = argv[++i];
        } else if (arg == "--grid") {
            grid = argv[++i];
        } else if (arg == "--rects") {
            rects = argv[++i];
        } else if (arg == "--time") {
            std::string why;
            if (!ParseTime(argv[++i], t, &why))
                return BadUsage(why.c_str());
            haveTime = true;
        } else if (arg == "--registry") {
            registry = argv[++i];
        } else if (arg == "--codepage") {
            if (!ParseNumber(argv[++i], &codePage) || !IsLanguageCodePage((unsigned)codePage))
                return BadUsage("--codepage wants one of 932, 936, 950, 1250, 1251, 1252, 1253");
        } else if (arg == "--options") {
            if (!ParseFaceOptions(argv[++i], &request.Options))
                return BadUsage("unknown option in --options");
            request.HaveOptions = true;
        } else if (arg == "--client") {
            if (!ParseSize(argv[++i], &request.ClientWidth, &request.ClientHeight))
                return BadUsage("--client wants WxH");
        } else if (arg == "--taskbar-height") {
            if (!ParseNumber(argv[++i], &request.TaskbarHeight))
                return BadUsage("--taskbar-height wants a positive number");
            haveHeight = true;
        } else if (arg == "--dpi") {
            if (!ParseDpi(argv[++i], &dpi))
                return BadUsage("--dpi wants a number from 0 to 100000");
        } else {
            return BadUsage(("unknown flag: " + arg).c_str());
        }
    }
    request.UseSettings = registry || menu;
    bool skinTools = check || grid;
    if (skinTools && (request.SkinsDir.empty() || request.Skin.empty()))
        return BadUsage("--check and --grid want --skins and --skin");
    if (request.SkinsDir.empty() || (request.Skin.empty() && !request.UseSettings) ||
        (!output && !info && !menu && !skinTools && !rects))
        return BadUsage("--skins, --skin and -o are required (--skin not with --registry or --menu)");

    SimReset();
    if (!haveTime) {
        time_t now = time(nullptr);
        struct tm local;
        localtime_r(&now, &local);
        int v[6] = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
        memcpy(t, v, sizeof(t));
    }
    SimSetLocalTime(t[0], t[1], t[2], t[3], t[4], t[5]);
    if (xp)
        SimSetVersion(5, 1);
    SimSetSystemDpi((UINT)dpi);
    if (!haveHeight)
        request.TaskbarHeight = dpi >= 96 && dpi <= 480 ? 30 * dpi / 96 : 30;

    std::string error;
    int status = 0;
    SkinFiles files;
    if (skinTools)
        files = ReadSkinFiles(request.SkinsDir, request.Skin);
    if (check && CheckSkin(request.SkinsDir, request.Skin, files) > 0)
        status = 1;
    // The report comes before any message on standard error that follows it.
    fflush(stdout);
    if (grid && !WriteSkinGrid(files, grid, &error)) {
        fprintf(stderr, "dialwick-preview: %s\n", error.c_str());
        status = 1;
    }
    if (registry && !ImportRegistry(registry, (unsigned)codePage, &error)) {
        fprintf(stderr, "dialwick-preview: %s\n", error.c_str());
        return 1;
    }
    if (menu)
        PrintMenu(request);
    if (!output && !info && !rects)
        return status;

    FaceImage image;
    if (!RenderFace(nullptr, request, &image, &error)) {
        fprintf(stderr, "dialwick-preview: %s\n", error.c_str());
        return 1;
    }
    if (info) {
        printf("face: %d x %d\n", image.FaceWidth, image.FaceHeight);
        printf("origin: %d, %d\n", image.OriginX, image.OriginY);
        PrintArtwork(image);
    }
    if (rects && !WriteRectsFile(rects, image.Rects)) {
        fprintf(stderr, "dialwick-preview: cannot write %s\n", rects);
        return 1;
    }
    if (output && !WriteImage(output, image.Width, image.Height, image.Pixels.data())) {
        fprintf(stderr, "dialwick-preview: cannot write %s\n", output);
        return 1;
    }
    return status;
}
