// dialwick-preview: paints the face exactly as the clock window would, through
// the engine and the simulated Windows, and writes the clock's client area.
#include "platform/sim/sim_control.h"
#include "tools/common/image_write.h"
#include "tools/standin/face_render.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <time.h>

static const char Usage[] =
    "usage: dialwick-preview --skins DIR --skin NAME [--time \"YYYY-MM-DD HH:MM:SS\"]\n"
    "                        [--options LIST] [--client WxH] [--taskbar-height N] [--vertical]\n"
    "                        [--xp] [--info] -o FILE\n"
    "  LIST: comma-separated from seconds,date,left,weekday,12h,transparent\n"
    "  FILE: written as PNG, or as BMP when it ends in .bmp\n";

static int BadUsage(const char *why)
{
    fprintf(stderr, "dialwick-preview: %s\n%s", why, Usage);
    return 2;
}

static bool ParseTime(const char *text, int *v)
{
    char tail;
    if (sscanf(text, "%d-%d-%d %d:%d:%d%c", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &tail) != 6)
        return false;
    static const int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return v[0] >= 1601 && v[0] <= 9999 && v[1] >= 1 && v[1] <= 12 && v[2] >= 1 && v[2] <= days[v[1] - 1] &&
           v[3] >= 0 && v[3] <= 23 && v[4] >= 0 && v[4] <= 59 && v[5] >= 0 && v[5] <= 59;
}

static bool ParseSize(const char *text, int *w, int *h)
{
    char tail;
    return sscanf(text, "%dx%d%c", w, h, &tail) == 2 && *w > 0 && *h > 0 && *w <= 4096 && *h <= 4096;
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

int main(int argc, char **argv)
{
    FaceRequest request;
    const char *output = nullptr;
    bool info = false, xp = false, haveTime = false;
    int t[6];
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--info") {
            info = true;
        } else if (arg == "--xp") {
            xp = true;
        } else if (arg == "--vertical") {
            request.Vertical = true;
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
        } else if (arg == "--time") {
            if (!ParseTime(argv[++i], t))
                return BadUsage("--time wants \"YYYY-MM-DD HH:MM:SS\"");
            haveTime = true;
        } else if (arg == "--options") {
            if (!ParseFaceOptions(argv[++i], &request.Options))
                return BadUsage("unknown option in --options");
        } else if (arg == "--client") {
            if (!ParseSize(argv[++i], &request.ClientWidth, &request.ClientHeight))
                return BadUsage("--client wants WxH");
        } else if (arg == "--taskbar-height") {
            if (!ParseNumber(argv[++i], &request.TaskbarHeight))
                return BadUsage("--taskbar-height wants a positive number");
        } else {
            return BadUsage(("unknown flag: " + arg).c_str());
        }
    }
    if (request.SkinsDir.empty() || request.Skin.empty() || (!output && !info))
        return BadUsage("--skins, --skin and -o are required");

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

    FaceImage image;
    std::string error;
    if (!RenderFace(nullptr, request, &image, &error)) {
        fprintf(stderr, "dialwick-preview: %s\n", error.c_str());
        return 1;
    }
    if (info) {
        printf("face: %d x %d\n", image.FaceWidth, image.FaceHeight);
        printf("origin: %d, %d\n", image.OriginX, image.OriginY);
    }
    if (output && !WriteImage(output, image.Width, image.Height, image.Pixels.data())) {
        fprintf(stderr, "dialwick-preview: cannot write %s\n", output);
        return 1;
    }
    return 0;
}
