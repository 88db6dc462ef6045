// dialwick-paintprobe: paints one face with the engine into real Win32 windows
// (under Wine) and writes the clock's client area as BMP, with the local time
// it painted and the DPI the engine read, so the simulation can be held to
// the same pixels.
#include "tools/common/image_write.h"
#include "tools/standin/face_render.h"
#include "tools/standin/taskbar_rects.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>

static int Fail(const char *why)
{
    fprintf(stderr, "dialwick-paintprobe: %s\n", why);
    return 2;
}

static bool SameSecond(const SYSTEMTIME &a, const SYSTEMTIME &b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
           a.wMinute == b.wMinute && a.wSecond == b.wSecond;
}

int main(int argc, char **argv)
{
    FaceRequest request;
    const char *output = nullptr;
    const char *rects = nullptr;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string arg = argv[i];
        const char *value = argv[i + 1];
        if (arg == "--skins")
            request.SkinsDir = value;
        else if (arg == "--skin")
            request.Skin = value;
        else if (arg == "--options") {
            if (!ParseFaceOptions(value, &request.Options))
                return Fail("bad --options");
        } else if (arg == "--client") {
            if (sscanf(value, "%dx%d", &request.ClientWidth, &request.ClientHeight) != 2)
                return Fail("bad --client");
        } else if (arg == "--taskbar-height")
            request.TaskbarHeight = atoi(value);
        else if (arg == "--vertical")
            request.Vertical = atoi(value) != 0;
        else if (arg == "--windows10")
            request.Mode = atoi(value) != 0 ? StandinWindows10 : StandinClassic;
        else if (arg == "--rects")
            rects = value;
        else if (arg == "-o")
            output = value;
        else
            return Fail("unknown flag");
    }
    if (request.SkinsDir.empty() || request.Skin.empty() || !output)
        return Fail("--skins, --skin and -o are required");

    // The face shows the time of the paint: retry until one paint lies within one second.
    for (int attempt = 0; attempt < 5; attempt++) {
        SYSTEMTIME before, after;
        GetLocalTime(&before);
        FaceImage image;
        std::string error;
        if (!RenderFace(GetModuleHandleA(nullptr), request, &image, &error))
            return Fail(error.c_str());
        GetLocalTime(&after);
        if (!SameSecond(before, after))
            continue;
        if (!WriteImage(output, image.Width, image.Height, image.Pixels.data()))
            return Fail("cannot write the output");
        if (rects && !WriteRectsFile(rects, image.Rects))
            return Fail("cannot write the rectangles");
        printf("time: %04u-%02u-%02u %02u:%02u:%02u\n", before.wYear, before.wMonth, before.wDay, before.wHour,
               before.wMinute, before.wSecond);
        printf("dpi: %u\n", (unsigned)image.Dpi);
        return 0;
    }
    return Fail("no paint stayed within one second");
}
