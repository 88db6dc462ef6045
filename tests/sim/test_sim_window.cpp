// Simulated windows: placing, messages, update regions, painting and DPI;
// the shell tests cover lookup and subclassing.
#include "platform/sim/sim_control.h"

#include <gtest/gtest.h>

#include <stdio.h>

#include <algorithm>
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
        Top = CreateWindowExA(0, "Rec", "top", WS_POPUP | WS_VISIBLE, 100, 700, 200, 30, nullptr, nullptr, nullptr,
                              nullptr);
        Child =
            CreateWindowExA(0, "REC", "child", WS_CHILD | WS_VISIBLE, 150, 0, 40, 40, Top, nullptr, nullptr, nullptr);
        SimPumpMessages();
        Log.clear();
    }
};

TEST_F(Windows, PlaceLongsAndPostedMessagesThatComeBeforePaintAndGoWithTheirWindow)
{
    RECT r;
    POINT p{1, 2};
    EXPECT_TRUE(GetWindowRect(Child, &r) && ClientToScreen(Child, &p));
    EXPECT_TRUE(r.left == 250 && r.top == 700 && p.x == 251 && p.y == 702) << "children are placed in their parents";
    SetWindowLongA(Child, GWL_EXSTYLE, WS_EX_LAYERED);
    EXPECT_EQ((DWORD)GetWindowLongA(Child, GWL_EXSTYLE), WS_EX_LAYERED);
    InvalidateRect(Child, nullptr, FALSE);
    PostMessageA(Child, WM_USER + 1, 1, 0);
    PostMessageA(Child, WM_USER + 1, 2, 0);
    EXPECT_EQ(SimPumpMessages(), 3);
    EXPECT_EQ(Log, (std::vector<std::string>{"posted 1", "posted 2", "paint"}));
    if (sizeof(void *) > 4) {
        EXPECT_EQ(GetWindowLongA(Top, GWL_WNDPROC), 0) << "64-bit Windows refuses the 32-bit call";
    }
    PostMessageA(Child, WM_USER + 1, 9, 0);
    EXPECT_TRUE(DestroyWindow(Top));
    EXPECT_FALSE(IsWindow(Child));
    EXPECT_EQ(SimPumpMessages(), 0);
    EXPECT_FALSE(PostMessageA(Child, WM_USER + 1, 0, 0));
    EXPECT_TRUE(UnregisterClassA("Rec", nullptr));
    EXPECT_EQ(SimLiveGdiObjects(), 0) << "the class brush went with the class";
}

// As Wine paints: clipped to the region, not its bounding box, nor past the parent.
TEST_F(Windows, PaintIsClippedToTheUpdateRegionAndTheParent)
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
    EXPECT_TRUE(p.At(4, 4) == RGB(0, 200, 0) && p.At(25, 15) == RGB(0, 200, 0));
    EXPECT_EQ(p.At(10, 10), 0u) << "inside the bounding box, outside the region";
    RECT r;
    EXPECT_FALSE(GetUpdateRect(Top, &r, FALSE));
    // The child reaches 10 pixels below the top window's client area.
    SimFillWindow(Child, 0);
    InvalidateRect(Child, nullptr, FALSE);
    SimPumpMessages();
    p = SimReadWindowPixels(Child);
    EXPECT_TRUE(p.At(0, 29) == RGB(0, 200, 0) && p.At(0, 30) == 0);
    ShowWindow(Top, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(Child));
    HDC dc = GetDC(Child);
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID) << "a hidden window shows nothing";
    ReleaseDC(Child, dc);
    Log.clear();
    ShowWindow(Top, SW_SHOWNA);
    SimPumpMessages();
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "paint"), 2) << "shown again, the window and its child paint";
}

// A class belongs to the process that registered it, as a local class does.
TEST_F(Windows, ClassesAreThoseOfTheProcess)
{
    DWORD other = SimCreateProcess("other.exe");
    SimInProcess(other, [] {
        EXPECT_EQ(CreateWindowExA(0, "Rec", "", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr), nullptr);
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "Rec";
        EXPECT_NE(RegisterClassA(&wc), 0) << "the same name in another process";
    });
    SimEndProcess(other);
}

TEST_F(Windows, EraseFlagSendsEraseBackgroundWithTheClassBrush)
{
    RECT part{0, 0, 10, 10};
    InvalidateRect(Child, &part, TRUE);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Child, &ps);
    EXPECT_EQ(Log, std::vector<std::string>{"erase"});
    EXPECT_FALSE(ps.fErase) << "the background was erased";
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(200, 0, 0));
    EXPECT_EQ(GetPixel(dc, 15, 5), CLR_INVALID) << "outside the paint DC's clipping";
    EndPaint(Child, &ps);
    EXPECT_EQ(SimLiveObjects(SimDCs), 0);
}

// The left and right of a window's update rectangle, {0, 0} when it has none.
std::pair<int, int> Update(HWND w)
{
    RECT r{};
    return GetUpdateRect(w, &r, FALSE) ? std::make_pair((int)r.left, (int)r.right) : std::make_pair(0, 0);
}

// As Wine showed: a window resized keeps its pixels and repaints what it newly
// shows, a class that redraws on resize repaints whole, a move alone gives
// the parent back the strip left behind, unless the move discards the pixels.
TEST_F(Windows, MovedAndResizedWindowsRepaintWhatWineRepaints)
{
    SimFillWindow(Child, RGB(1, 1, 1));
    EXPECT_TRUE(MoveWindow(Child, 100, 0, 60, 30, TRUE));
    EXPECT_EQ(Update(Child), std::make_pair(40, 60));
    SimPumpMessages();
    SimPixels p = SimReadWindowPixels(Child);
    EXPECT_TRUE(p.At(39, 5) == RGB(1, 1, 1) && p.At(40, 5) == RGB(0, 200, 0));
    EXPECT_TRUE(MoveWindow(Child, 100, 0, 80, 30, FALSE));
    EXPECT_EQ(Update(Child), std::make_pair(0, 0)) << "without repainting nothing is invalidated";

    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = Recorder;
    wc.lpszClassName = "Redraw";
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND w = CreateWindowExA(0, "Redraw", "", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, Top, nullptr, nullptr, nullptr);
    SimPumpMessages();
    MoveWindow(w, 0, 0, 30, 20, TRUE);
    EXPECT_EQ(Update(w), std::make_pair(0, 30));
    SimPumpMessages();
    MoveWindow(w, 10, 0, 30, 20, TRUE);
    EXPECT_EQ(Update(w), std::make_pair(0, 0));
    EXPECT_EQ(Update(Top), std::make_pair(0, 10));
    SetWindowPos(Child, nullptr, 120, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOCOPYBITS);
    EXPECT_EQ(Update(Child), std::make_pair(0, 80));
}

// What a window hears when it is placed, as Wine 8 sent it, with a
// procedure that widens the window to 50 when asked to.
LRESULT CALLBACK PositionRecorder(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    WINDOWPOS *pos = (WINDOWPOS *)lParam;
    char line[80];
    switch (msg) {
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
        snprintf(line, sizeof(line), "%s %d,%d %dx%d %x", msg == WM_WINDOWPOSCHANGED ? "changed" : "changing", pos->x,
                 pos->y, pos->cx, pos->cy, pos->flags);
        Log.push_back(line);
        pos->cx += msg == WM_WINDOWPOSCHANGING && pos->cx == 49;
        return msg == WM_WINDOWPOSCHANGING ? 0 : DefWindowProcA(hwnd, msg, wParam, lParam);
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
        int X, Cx;
        UINT Flags;
        std::vector<std::string> Heard;
        int Left, Right;  // after, in the parent
    } cases[] = {
        {0, 10, z, {"changing 0,0 10x10 14"}, 0, 10},
        {5, 20, z, {"changing 5,0 20x10 14", "changed 5,0 20x10 14", "move 5 0", "size 20 10"}, 5, 25},
        {7, 0, SWP_NOSIZE | SWP_NOZORDER, {"changing 7,0 0x0 5", "changed 7,0 20x10 805", "move 7 0"}, 7, 27},
        {0, 49, z, {"changing 0,0 49x10 14", "changed 0,0 50x10 14", "move 0 0", "size 50 10"}, 0, 50},
        {1, 30, SWP_NOZORDER | SWP_NOSENDCHANGING, {"changed 1,0 30x10 404", "move 1 0", "size 30 10"}, 1, 31},
        {0, 0, SWP_NOMOVE | SWP_NOSIZE | z, {"changing 0,0 0x0 17"}, 1, 31},
    };
    for (const auto &c : cases) {
        Log.clear();
        EXPECT_TRUE(SetWindowPos(w, nullptr, c.X, 0, c.Cx, c.Cx ? 10 : 0, c.Flags));
        EXPECT_EQ(Log, c.Heard) << c.X << " " << c.Cx << " " << c.Flags;
        RECT r, top;
        GetWindowRect(w, &r);
        GetWindowRect(Top, &top);
        EXPECT_EQ(std::make_pair(r.left - top.left, r.right - top.left), std::make_pair(c.Left, c.Right));
    }
}

// The clock runs on across the end of a day, a month, a year and February 29.
TEST(SimKernel, LocalTimeAndVersion)
{
    const struct {
        int Year, Month, Day, Hour, Second;
        int64_t Advance;
        WORD Expect[6];  // year, month, day, weekday, second, milliseconds
    } cases[] = {
        {2026, 12, 9, 23, 58, 0, {2026, 12, 9, 3, 58, 0}},
        {2000, 2, 29, 0, 0, 0, {2000, 2, 29, 2, 0, 0}},
        {2026, 12, 31, 23, 59, 1500, {2027, 1, 1, 5, 0, 500}},
        {2028, 2, 28, 12, 0, 24 * 3600 * 1000, {2028, 2, 29, 2, 0, 0}},
    };
    for (const auto &c : cases) {
        SimReset();
        SimSetLocalTime(c.Year, c.Month, c.Day, c.Hour, 59, c.Second);
        SimAdvanceTime(c.Advance);
        SYSTEMTIME t;
        GetLocalTime(&t);
        WORD got[6] = {t.wYear, t.wMonth, t.wDay, t.wDayOfWeek, t.wSecond, t.wMilliseconds};
        EXPECT_EQ(std::vector<WORD>(got, got + 6), std::vector<WORD>(c.Expect, c.Expect + 6)) << c.Year;
    }
    OSVERSIONINFOA v{};
    EXPECT_FALSE(GetVersionExA(&v)) << "the size field must be set";
    v.dwOSVersionInfoSize = sizeof(v);
    SimSetVersion(5, 1);
    EXPECT_TRUE(GetVersionExA(&v) && v.dwMajorVersion == 5 && v.dwMinorVersion == 1);
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
    EXPECT_TRUE(getDpi(Child) == 96 && getDpi(nullptr) == 0 && GetDeviceCaps(dc, LOGPIXELSY) == 96);

    SimSetSystemDpi(120);
    EXPECT_TRUE(Log.empty()) << "the system DPI changes only at sign-in";
    EXPECT_EQ(getDpi(Child), 120u) << "the monitor starts at the system DPI";
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 120);

    SimSetMonitorDpi(Child, 192);
    EXPECT_TRUE(getDpi(Child) == 192 && getDpi(Top) == 192);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 120) << "DCs keep the system DPI";
    EXPECT_EQ(Log, (std::vector<std::string>{"before parent child", "dpi changed 192 192", "after parent child"}));
    ReleaseDC(Child, dc);

    SimSetDpiApiAvailable(false);
    EXPECT_EQ(GetProcAddress(user32, "GetDpiForWindow"), nullptr) << "older Windows lacks the call";
    FreeLibrary(user32);
}

}  // namespace
