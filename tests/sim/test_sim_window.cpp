// Simulated windows: lookup, procedures, messages, update regions and painting.
#include "platform/sim/sim_control.h"

#include <gtest/gtest.h>

#include <stdio.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Log;

LRESULT CALLBACK Recorder(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT: {
        Log.push_back("paint");
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        HBRUSH b = CreateSolidBrush(RGB(0, 200, 0));
        RECT all{0, 0, 1000, 1000};
        FillRect(dc, &all, b);  // clipped to what was invalid
        DeleteObject(b);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        Log.push_back("erase");
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_USER + 1:
        Log.push_back("posted " + std::to_string(wParam));
        return 0;
    case WM_DPICHANGED:
        Log.push_back("dpi changed " + std::to_string(LOWORD(wParam)) + " " + std::to_string(HIWORD(wParam)));
        return 0;
    case WM_DPICHANGED_BEFOREPARENT:
    case WM_DPICHANGED_AFTERPARENT:
        Log.push_back(std::string(msg == WM_DPICHANGED_AFTERPARENT ? "after" : "before") + " parent " +
                      (hwnd == FindWindowA("Rec", nullptr) ? "top" : "child"));
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

struct Windows : ::testing::Test {
    HWND Top = nullptr, Child = nullptr;
    void SetUp() override
    {
        SimReset();
        Log.clear();
        WNDCLASSA wc{};
        wc.lpfnWndProc = Recorder;
        wc.lpszClassName = "Rec";
        wc.hbrBackground = CreateSolidBrush(RGB(200, 0, 0));
        ASSERT_NE(RegisterClassA(&wc), 0);
        Top = CreateWindowExA(0, "Rec", "top", WS_POPUP | WS_VISIBLE, 100, 700, 200, 30, nullptr, nullptr, nullptr, nullptr);
        Child = CreateWindowExA(0, "REC", "child", WS_CHILD | WS_VISIBLE, 150, 0, 40, 40, Top, nullptr, nullptr, nullptr);
        SimPumpMessages();
        Log.clear();
    }
};

TEST_F(Windows, LookupAndGeometry)
{
    EXPECT_EQ(FindWindowA("rec", nullptr), Top) << "class names ignore case";
    EXPECT_EQ(FindWindowExA(Top, nullptr, "Rec", nullptr), Child);
    EXPECT_EQ(FindWindowExA(Top, Child, "Rec", nullptr), nullptr);
    EXPECT_EQ(FindWindowExA(nullptr, nullptr, "Missing", nullptr), nullptr);
    RECT r;
    GetWindowRect(Child, &r);
    EXPECT_EQ(r.left, 250);
    EXPECT_EQ(r.top, 700);
    GetClientRect(Child, &r);
    EXPECT_EQ(r.right, 40);
    POINT p{1, 2};
    ClientToScreen(Child, &p);
    EXPECT_EQ(p.x, 251);
    EXPECT_EQ(p.y, 702);
}

TEST_F(Windows, SubclassingThroughTheWindowLong)
{
    WNDPROC old = (WNDPROC)GetWindowLongPtrA(Child, GWLP_WNDPROC);
    EXPECT_EQ(old, Recorder);
    static WNDPROC saved;
    saved = old;
    WNDPROC replacement = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_USER + 7)
            return 77;
        return CallWindowProcA(saved, h, m, w, l);
    };
    EXPECT_EQ((WNDPROC)SetWindowLongPtrA(Child, GWLP_WNDPROC, (LONG_PTR)replacement), Recorder);
    EXPECT_EQ(SendMessageA(Child, WM_USER + 7, 0, 0), 77);
    SendMessageA(Child, WM_USER + 1, 5, 0);
    EXPECT_EQ(Log, std::vector<std::string>{"posted 5"});
}

TEST_F(Windows, PostedMessagesComeBeforePaint)
{
    InvalidateRect(Child, nullptr, FALSE);
    PostMessageA(Child, WM_USER + 1, 1, 0);
    PostMessageA(Child, WM_USER + 1, 2, 0);
    EXPECT_EQ(SimPumpMessages(), 3);
    EXPECT_EQ(Log, (std::vector<std::string>{"posted 1", "posted 2", "paint"}));
}

TEST_F(Windows, PaintIsClippedToTheUpdateRegionAndValidatesIt)
{
    SimFillWindow(Top, 0);
    HRGN a = CreateRectRgn(0, 0, 5, 5), b = CreateRectRgn(20, 10, 30, 20);
    CombineRgn(a, a, b, RGN_OR);
    InvalidateRgn(Top, a, FALSE);
    DeleteObject(a);
    DeleteObject(b);
    SimPumpMessages();
    EXPECT_EQ(Log, std::vector<std::string>{"paint"}) << "no erase without the erase flag";
    SimPixels p = SimReadWindowPixels(Top);
    EXPECT_EQ(p.At(4, 4), RGB(0, 200, 0));
    EXPECT_EQ(p.At(25, 15), RGB(0, 200, 0));
    EXPECT_EQ(p.At(10, 10), 0u) << "inside the bounding box, outside the region";
    RECT r;
    EXPECT_FALSE(GetUpdateRect(Top, &r, FALSE));
}

TEST_F(Windows, EraseFlagSendsEraseBackgroundWithTheClassBrush)
{
    SimFillWindow(Child, 0);
    RECT part{0, 0, 10, 10};
    InvalidateRect(Child, &part, TRUE);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Child, &ps);
    EXPECT_EQ(Log, std::vector<std::string>{"erase"});
    EXPECT_FALSE(ps.fErase) << "the background was erased";
    EXPECT_EQ(ps.rcPaint.right, 10);
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(200, 0, 0));
    EXPECT_EQ(GetPixel(dc, 15, 5), CLR_INVALID) << "outside the paint DC's clipping";
    EndPaint(Child, &ps);
    EXPECT_EQ(SimLiveObjects(SimDCs), 0);
}

TEST_F(Windows, ChildrenAreClippedToTheirParents)
{
    // The child reaches 10 pixels below the top window's client area.
    SimFillWindow(Child, 0);
    InvalidateRect(Child, nullptr, FALSE);
    SimPumpMessages();
    SimPixels p = SimReadWindowPixels(Child);
    EXPECT_EQ(p.At(0, 29), RGB(0, 200, 0));
    EXPECT_EQ(p.At(0, 30), 0u);
    ShowWindow(Top, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(Child));
    HDC dc = GetDC(Child);
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID) << "a hidden window shows nothing";
    ReleaseDC(Child, dc);
}

TEST_F(Windows, AResizedWindowKeepsItsPixelsAndRepaintsWhatItNewlyShows)
{
    // As Wine showed: a child grown from 40 to 60 wide keeps its old pixels.
    SimFillWindow(Child, RGB(1, 1, 1));
    EXPECT_TRUE(MoveWindow(Child, 100, 0, 60, 30, TRUE));
    RECT update;
    ASSERT_TRUE(GetUpdateRect(Child, &update, FALSE));
    EXPECT_EQ(update.left, 40);
    EXPECT_EQ(update.right, 60);
    SimPumpMessages();
    SimPixels p = SimReadWindowPixels(Child);
    EXPECT_EQ(p.At(39, 5), RGB(1, 1, 1));
    EXPECT_EQ(p.At(40, 5), RGB(0, 200, 0));
    // Without repainting nothing is invalidated at all.
    EXPECT_TRUE(MoveWindow(Child, 100, 0, 80, 30, FALSE));
    EXPECT_FALSE(GetUpdateRect(Child, &update, FALSE));
}

TEST_F(Windows, ClassesThatRedrawOnResizeRepaintWhole)
{
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = Recorder;
    wc.lpszClassName = "Redraw";
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND w = CreateWindowExA(0, "Redraw", "", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, Top, nullptr, nullptr, nullptr);
    SimPumpMessages();
    MoveWindow(w, 0, 0, 30, 20, TRUE);
    RECT update;
    ASSERT_TRUE(GetUpdateRect(w, &update, FALSE));
    EXPECT_EQ(update.left, 0);
    EXPECT_EQ(update.right, 30);
    SimPumpMessages();
    // Moving alone keeps the pixels; the parent gets back the strip left behind.
    MoveWindow(w, 10, 0, 30, 20, TRUE);
    EXPECT_FALSE(GetUpdateRect(w, &update, FALSE));
    ASSERT_TRUE(GetUpdateRect(Top, &update, FALSE));
    EXPECT_EQ(update.left, 0);
    EXPECT_EQ(update.right, 10);
    // Unless the move discards them.
    SetWindowPos(Child, nullptr, 120, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOCOPYBITS);
    ASSERT_TRUE(GetUpdateRect(Child, &update, FALSE));
    EXPECT_EQ(update.left, 0);
    EXPECT_EQ(update.right, 40);
}

// What a window hears when it is placed, as Wine 8 sent it, with a
// procedure that widens the window to 50 when asked to.
LRESULT CALLBACK PositionRecorder(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const WINDOWPOS *pos = (const WINDOWPOS *)lParam;
    char line[80];
    switch (msg) {
    case WM_WINDOWPOSCHANGING:
        snprintf(line, sizeof(line), "changing %d,%d %dx%d %x", pos->x, pos->y, pos->cx, pos->cy, pos->flags);
        Log.push_back(line);
        if (pos->cx == 49)
            ((WINDOWPOS *)lParam)->cx = 50;
        return 0;
    case WM_WINDOWPOSCHANGED:
        snprintf(line, sizeof(line), "changed %d,%d %dx%d %x", pos->x, pos->y, pos->cx, pos->cy, pos->flags);
        Log.push_back(line);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_MOVE:
    case WM_SIZE:
        snprintf(line, sizeof(line), "%s %d %d", msg == WM_MOVE ? "move" : "size", (short)LOWORD(lParam),
                 (short)HIWORD(lParam));
        Log.push_back(line);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

TEST_F(Windows, PlacingAWindowSendsWhatWineSends)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = PositionRecorder;
    wc.lpszClassName = "Placed";
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND w = CreateWindowExA(0, "Placed", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, Top, nullptr, nullptr, nullptr);
    const UINT z = SWP_NOZORDER | SWP_NOACTIVATE;
    const struct {
        int X, Y, Cx, Cy;
        UINT Flags;
        std::vector<std::string> Heard;
        RECT After;
    } cases[] = {
        {0, 0, 10, 10, z, {"changing 0,0 10x10 14"}, {0, 0, 10, 10}},
        {5, 0, 20, 10, z, {"changing 5,0 20x10 14", "changed 5,0 20x10 14", "move 5 0", "size 20 10"}, {5, 0, 25, 10}},
        {7, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER, {"changing 7,0 0x0 5", "changed 7,0 20x10 805", "move 7 0"},
         {7, 0, 27, 10}},
        {0, 0, 49, 10, z, {"changing 0,0 49x10 14", "changed 0,0 50x10 14", "move 0 0", "size 50 10"}, {0, 0, 50, 10}},
        {1, 0, 30, 10, SWP_NOZORDER | SWP_NOSENDCHANGING, {"changed 1,0 30x10 404", "move 1 0", "size 30 10"},
         {1, 0, 31, 10}},
        {0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | z, {"changing 0,0 0x0 17"}, {1, 0, 31, 10}},
    };
    for (const auto &c : cases) {
        Log.clear();
        EXPECT_TRUE(SetWindowPos(w, nullptr, c.X, c.Y, c.Cx, c.Cy, c.Flags));
        EXPECT_EQ(Log, c.Heard) << c.X << "," << c.Y << " " << c.Cx << "x" << c.Cy << " " << c.Flags;
        RECT r, top;
        GetWindowRect(w, &r);
        GetWindowRect(Top, &top);
        OffsetRect(&r, -top.left, -top.top);
        EXPECT_EQ(r.left, c.After.left);
        EXPECT_EQ(r.right, c.After.right);
    }
}

TEST_F(Windows, DestroyingAParentDestroysItsChildrenAndTheirMessages)
{
    PostMessageA(Child, WM_USER + 1, 9, 0);
    EXPECT_TRUE(DestroyWindow(Top));
    EXPECT_FALSE(IsWindow(Child));
    EXPECT_EQ(SimPumpMessages(), 0);
    EXPECT_EQ(SendMessageA(Child, WM_USER + 1, 0, 0), 0);
    EXPECT_FALSE(PostMessageA(Child, WM_USER + 1, 0, 0));
    EXPECT_TRUE(UnregisterClassA("Rec", nullptr));
    EXPECT_EQ(SimLiveGdiObjects(), 0) << "the class brush went with the class";
}

TEST_F(Windows, WindowLongsOfPointerSize)
{
    if (sizeof(void *) > 4) {
        EXPECT_EQ(GetWindowLongA(Child, GWL_WNDPROC), 0) << "64-bit Windows refuses the 32-bit call";
    }
    SetWindowLongA(Child, GWL_EXSTYLE, WS_EX_LAYERED);
    EXPECT_EQ((DWORD)GetWindowLongA(Child, GWL_EXSTYLE), WS_EX_LAYERED);
}

TEST(SimKernel, LocalTimeAndVersion)
{
    SimReset();
    SimSetLocalTime(2026, 12, 9, 23, 59, 58);
    SYSTEMTIME t;
    GetLocalTime(&t);
    EXPECT_EQ(t.wDayOfWeek, 3) << "a Wednesday";
    EXPECT_EQ(t.wSecond, 58);
    SimSetLocalTime(2000, 2, 29, 0, 0, 0);
    GetLocalTime(&t);
    EXPECT_EQ(t.wDayOfWeek, 2) << "a Tuesday";
    // The clock runs on across the end of a day, a month and a year.
    SimSetLocalTime(2026, 12, 31, 23, 59, 59);
    SimAdvanceTime(1500);
    GetLocalTime(&t);
    EXPECT_EQ(t.wYear, 2027);
    EXPECT_EQ(t.wMonth, 1);
    EXPECT_EQ(t.wDay, 1);
    EXPECT_EQ(t.wDayOfWeek, 5) << "a Friday";
    EXPECT_EQ(t.wHour, 0);
    EXPECT_EQ(t.wSecond, 0);
    EXPECT_EQ(t.wMilliseconds, 500);
    SimSetLocalTime(2028, 2, 28, 12, 0, 0);
    SimAdvanceTime(24 * 3600 * 1000);
    GetLocalTime(&t);
    EXPECT_EQ(t.wDay, 29) << "2028 is a leap year";
    OSVERSIONINFOA v{};
    EXPECT_FALSE(GetVersionExA(&v)) << "the size field must be set";
    v.dwOSVersionInfoSize = sizeof(v);
    SimSetVersion(5, 1);
    ASSERT_TRUE(GetVersionExA(&v));
    EXPECT_EQ(v.dwMajorVersion, 5u);
    EXPECT_EQ(v.dwMinorVersion, 1u);
}

// Per-monitor DPI as Explorer sees it: GetDpiForWindow only through
// GetProcAddress, a child at its top-level window's monitor DPI, DCs at the
// system DPI fixed at sign-in, and the messages of a live change.
TEST_F(Windows, DpiOfMonitorsAndSystem)
{
    typedef UINT(WINAPI * GetDpiForWindowProc)(HWND);
    HMODULE user32 = LoadLibraryA("user32.dll");
    GetDpiForWindowProc getDpi = (GetDpiForWindowProc)(void *)GetProcAddress(user32, "GetDpiForWindow");
    ASSERT_NE(getDpi, nullptr);
    HDC dc = GetDC(Child);
    EXPECT_EQ(getDpi(Child), 96u);
    EXPECT_EQ(getDpi(nullptr), 0u);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);

    SimSetSystemDpi(120);
    EXPECT_TRUE(Log.empty()) << "the system DPI changes only at sign-in";
    EXPECT_EQ(getDpi(Child), 120u) << "the monitor starts at the system DPI";
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 120);

    SimSetMonitorDpi(Child, 192);
    EXPECT_EQ(getDpi(Child), 192u);
    EXPECT_EQ(getDpi(Top), 192u);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 120) << "DCs keep the system DPI";
    EXPECT_EQ(Log, (std::vector<std::string>{"before parent child", "dpi changed 192 192", "after parent child"}));
    ReleaseDC(Child, dc);

    SimSetDpiApiAvailable(false);
    EXPECT_EQ(GetProcAddress(user32, "GetDpiForWindow"), nullptr) << "older Windows lacks the call";
    FreeLibrary(user32);
}

}  // namespace
