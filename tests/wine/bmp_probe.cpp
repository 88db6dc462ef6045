// dialwick-bmpprobe: loads bitmap files with LoadImageA(LR_LOADFROMFILE) and
// prints, one line per file, "NAME WIDTH HEIGHT PIXEL..." (pixels row by row
// from the top as GetPixel reads them in a memory DC, hex COLORREF) or
// "NAME refused". Built natively it runs the simulated loader, built for
// Windows the real one, so that the two outputs can be compared.
// usage: dialwick-bmpprobe FOLDER NAME...   (NAME relative to FOLDER, with /)
#include "platform/platform.h"

#include <stdio.h>
#include <string>

static void Probe(const std::string &folder, const std::string &name)
{
    std::string path = folder + "\\" + name;
    for (char &c : path)
        if (c == '/')
            c = '\\';
    HBITMAP bitmap = (HBITMAP)LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    BITMAP info{};
    if (!bitmap || GetObjectA(bitmap, sizeof(info), &info) != (int)sizeof(info)) {
        printf("%s refused\n", name.c_str());
        if (bitmap)
            DeleteObject(bitmap);
        return;
    }
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    printf("%s %d %d", name.c_str(), (int)info.bmWidth, (int)info.bmHeight);
    for (int y = 0; y < info.bmHeight; y++)
        for (int x = 0; x < info.bmWidth; x++)
            printf(" %06lx", (unsigned long)GetPixel(dc, x, y));
    printf("\n");
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: dialwick-bmpprobe FOLDER NAME...\n");
        return 2;
    }
    for (int i = 2; i < argc; i++)
        Probe(argv[1], argv[i]);
    return 0;
}
