#include "tests/e2e/e2e_face.h"

#include "tools/standin/taskbar_rects.h"

#include <stdio.h>
#include <string.h>

DWORD QueryClockSize(HWND clock)
{
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(clock, ClockSizeMessage, 0, 0, SMTO_BLOCK, 2000, &answer))
        return 0;
    return (DWORD)answer;
}

bool WaitClockSized(const FaceRun &run)
{
    DWORD size = 0;
    RECT rc{};
    bool ok = WaitUntil(3000, [&] {
        size = QueryClockSize(run.Bar.Clock);
        GetClientRect(run.Bar.Clock, &rc);
        return size != 0 && size != (DWORD)MAKELONG(StandinStockClockWidth, run.TaskbarHeight) &&
               rc.right == LOWORD(size) && rc.bottom == HIWORD(size);
    });
    return Check(ok, "the taskbar did not give the clock its size: answer %ux%u, window %ldx%ld", LOWORD(size),
                 HIWORD(size), rc.right, rc.bottom) &&
           WaitWindows10Layout(run, LOWORD(size), HIWORD(size));
}

// The Windows 10 stand-in's notification area around a clock of this size,
// as DescribeTaskbarRects writes it.
static std::string Windows10Rects(HWND tray, int clockWidth, int clockHeight)
{
    RECT r;
    GetClientRect(tray, &r);
    int h = r.bottom, clock = StandinPagerLength, button = clock + clockWidth, show = button + StandinButtonLength,
        end = show + StandinShowDesktopLength;
    char text[512];
    snprintf(text, sizeof(text),
             "TrayNotifyWnd %d 0 %d %d\nSysPager 0 0 %d %d\nTrayClockWClass %d 0 %d %d\nTrayButton %d 0 %d %d\n"
             "TrayShowDesktopButtonWClass %d 0 %d %d\n",
             (int)r.right - end, (int)r.right, h, clock, h, clock, button, clockHeight, button, show, h, show, end, h);
    return text;
}

static std::string OneLine(std::string text)
{
    for (char &c : text)
        if (c == '\n')
            c = ';';
    return text;
}

// The notification area's windows other than the clock show their own colour,
// not pixels carried along from where they were.
static bool ShowOwnColours(HWND notify)
{
    const struct {
        const char *Class;
        COLORREF Colour;
    } windows[] = {{"SysPager", StandinPagerColor},
                   {"TrayButton", StandinButtonColor},
                   {"TrayShowDesktopButtonWClass", StandinShowDesktopColor}};
    for (const auto &w : windows) {
        Capture c;
        if (!CaptureRows(FindWindowExA(notify, nullptr, w.Class, nullptr), 0, 0x7FFF, &c))
            return false;
        for (uint32_t p : c.Pixels)
            if (p != w.Colour)
                return false;
    }
    return true;
}

bool WaitWindows10Layout(const FaceRun &run, int clockWidth, int clockHeight)
{
    if (!run.Windows10)
        return true;
    std::string want = Windows10Rects(run.Bar.Tray, clockWidth, clockHeight), now;
    bool ok = WaitUntil(3000, [&] {
        now = DescribeTaskbarRects(run.Bar.Tray);
        return now == want;
    });
    return Check(ok, "the notification area is %s not %s", OneLine(now).c_str(), OneLine(want).c_str()) &&
           Check(WaitUntil(3000, [&] { return ShowOwnColours(run.Bar.Notify); }),
                 "the pager or a button of the notification area shows pixels not its own");
}

bool ClockSkinned(const Taskbar &bar, int height)
{
    DWORD size = QueryClockSize(bar.Clock);
    RECT rc{};
    GetClientRect(bar.Clock, &rc);
    return size != 0 && size != (DWORD)MAKELONG(StandinStockClockWidth, height) && rc.right == LOWORD(size) &&
           rc.bottom == HIWORD(size) && ProcessHasModule(bar.ProcessId, "dialwick.dll");
}

void NoteSnapshot(FaceRun *run) { run->LastSnapshot = GetTickCount(); }

bool FreshSnapshot(FaceRun *run)
{
    UINT paint = RegisterWindowMessageA("PaintClockMessage");
    for (int attempt = 0; attempt < 4; attempt++) {
        DWORD since = GetTickCount() - run->LastSnapshot;
        if (since < 2100)
            PumpFor(2100 - since);
        SYSTEMTIME before, after;
        GetLocalTime(&before);
        DWORD_PTR answer;
        bool sent = SendMessageTimeoutA(run->Bar.Clock, paint, 0, 0, SMTO_BLOCK, 3000, &answer) != 0;
        GetLocalTime(&after);
        NoteSnapshot(run);
        if (!Check(sent, "the clock window does not answer"))
            return false;
        if (SameSecond(before, after)) {
            run->FaceTime = before;
            return true;
        }
    }
    return Check(false, "no repaint request stayed within one second");
}

static bool ReportFace(const FaceRun &run, const std::string &name, const Capture &capture)
{
    if (!Check(WriteCapture(run.OutDir + "\\" + name + ".wine.bmp", capture), "%s: cannot write the capture",
               name.c_str()))
        return false;
    std::string time = FormatTime(run.FaceTime);
    time[10] = 'T';
    Say("compare %s %s %s %s %d", name.c_str(), run.Skin.c_str(), FormatFaceOptions(run.Options).c_str(), time.c_str(),
        run.TaskbarHeight);
    return true;
}

bool ShootFace(FaceRun *run, const std::string &name)
{
    Capture c;
    if (!WaitClockSized(*run))
        return false;
    // A clock just resized shows the stand-in's background, erased, until the
    // face paints; on a busy machine two reads in a row may find it so.
    auto painted = [&] {
        return CaptureWindow(run->Bar.Clock, &c) && !c.Pixels.empty() && !UniformRect(c, RECT{0, 0, c.Width, c.Height});
    };
    if (!Check(WaitUntil(3000, painted), "%s: cannot read a painted face from the clock", name.c_str()))
        return false;
    std::string rects = run->OutDir + "\\" + name + ".wine.rects";
    if (!Check(WriteRectsFile(rects.c_str(), DescribeTaskbarRects(run->Bar.Tray)), "%s: cannot write %s", name.c_str(),
               rects.c_str()))
        return false;
    return ReportFace(*run, name, c);
}

// The scale in percent the library shows skins at on this display, from
// the system's DPI: 150 at 144 DPI, 200 at 192.
static int DisplayScale()
{
    HDC screen = CreateCompatibleDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        DeleteDC(screen);
    return dpi >= 96 && dpi <= 480 ? dpi * 100 / 96 : 100;
}

static int Scaled(int pixels, int scale) { return (pixels * scale + 50) / 100; }

bool TimeRowCells(const FaceRun &run, TimeCells *cells)
{
    // Above 100 % the artwork of the skin's folder for the scale: the
    // scenarios run the shipped skins, which have one for each DPI they run at.
    int scale = DisplayScale();
    std::string folder = scale == 100 ? "" : "\\" + std::to_string(scale);
    std::string path = run.SkinsDir + "\\" + run.Skin + folder + "\\NUMBERS.BMP";
    HBITMAP numbers = (HBITMAP)LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    BITMAP info{};
    bool ok = numbers && GetObjectA(numbers, sizeof(info), &info);
    if (numbers)
        DeleteObject(numbers);
    if (!Check(ok, "cannot read %s", path.c_str()))
        return false;
    int dw = info.bmWidth / 11, dh = info.bmHeight;
    // The face fills the clock window, so its cells start 6 pixels in; the
    // spaces between them are 1 and 2 pixels; all grow with the scale.
    int t = Scaled(6, scale), one = Scaled(1, scale), two = Scaled(2, scale);
    const int colons[2] = {2 * dw + two, 5 * dw + 2 * two + one};
    for (int i = 0; i < 2; i++)
        cells->Colon[i] = RECT{t + colons[i], t, t + colons[i] + dw, t + dh};
    return true;
}

bool UniformRect(const Capture &capture, const RECT &r)
{
    uint32_t first = capture.Pixels[(size_t)r.top * capture.Width + r.left];
    for (int y = r.top; y < r.bottom && y < capture.Height; y++)
        for (int x = r.left; x < r.right && x < capture.Width; x++)
            if (capture.Pixels[(size_t)y * capture.Width + x] != first)
                return false;
    return true;
}
