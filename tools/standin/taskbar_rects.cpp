#include "tools/standin/taskbar_rects.h"

#include <stdio.h>

static void DescribeWindow(HWND hwnd, HWND parent, std::string *out)
{
    char name[128];
    if (!GetClassNameA(hwnd, name, sizeof(name)))
        return;
    RECT r;
    POINT origin{0, 0};
    GetWindowRect(hwnd, &r);
    ClientToScreen(parent, &origin);
    char line[256];
    snprintf(line, sizeof(line), "%s %ld %ld %ld %ld\n", name, (long)(r.left - origin.x), (long)(r.top - origin.y),
             (long)(r.right - origin.x), (long)(r.bottom - origin.y));
    *out += line;
}

std::string DescribeTaskbarRects(HWND tray)
{
    std::string out;
    HWND notify = FindWindowExA(tray, nullptr, "TrayNotifyWnd", nullptr);
    if (!notify)
        return out;
    DescribeWindow(notify, tray, &out);
    for (HWND child = FindWindowExA(notify, nullptr, nullptr, nullptr); child;
         child = FindWindowExA(notify, child, nullptr, nullptr))
        DescribeWindow(child, notify, &out);
    return out;
}

bool WriteRectsFile(const char *path, const std::string &rects)
{
    FILE *f = fopen(path, "wb");
    if (!f)
        return false;
    bool ok = fwrite(rects.data(), 1, rects.size(), f) == rects.size();
    return fclose(f) == 0 && ok;
}
