// Painting whole faces, checked pixel by pixel against an independent model:
// a test skin gives every cell its own colour, so each glyph's place shows.
#include "engine/face_layout.h"
#include "engine/paint_clock.h"
#include "engine/repaint_tick.h"
#include "engine/skin_bitmaps.h"
#include "engine/time_snapshot.h"
#include "tests/engine/test_support.h"
#include "tools/standin/face_render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string.h>
#include <string>

namespace {

// The expected client area, built cell by cell.
struct Model {
    int Width, Height;
    std::vector<uint32_t> Pixels;
    bool Transparent = false;

    Model(int w, int h, COLORREF background) : Width(w), Height(h), Pixels((size_t)w * h, background) {}
    void Put(int x, int y, COLORREF c)
    {
        if (x >= 0 && y >= 0 && x < Width && y < Height)
            Pixels[(size_t)y * Width + x] = c;
    }
    // A test-skin cell: its top-left pixel is the key colour, the rest one colour.
    void Cell(int x, int y, int w, int h, COLORREF c)
    {
        for (int j = 0; j < h; j++)
            for (int i = 0; i < w; i++)
                if (i || j)
                    Put(x + i, y + j, c);
                else if (!Transparent)
                    Put(x + i, y + j, TestKeyColor);
    }
    void Digit(int x, int y, int d) { Cell(x, y, 9, 14, TestDigitColor(d)); }
    void Colon(int x, int y)
    {
        for (int dy : {4, 9})
            for (int j = 0; j < 2; j++)
                for (int i = 0; i < 2; i++)
                    Put(x + 4 + i, y + dy + j, TestDigitColor(0));
    }
    void Char(int x, int y, char c)
    {
        const char *row1 = "0123456789??:()?'!_+\\/[]^&%.=$";
        if (c >= 'A' && c <= 'Z')
            Cell(x, y, 6, 8, TestTextColor(c - 'A', 0));
        else if (c >= 'a' && c <= 'z')
            Cell(x, y, 6, 8, TestTextColor(c - 'a', 0));
        else if (strchr(row1, c) && c != '?')
            Cell(x, y, 6, 8, TestTextColor((int)(strchr(row1, c) - row1), 1));
    }
    void Text(int x, int y, const char *s)
    {
        for (int i = 0; s[i]; i++)
            Char(x + 6 * i, y, s[i]);
    }
};

std::string Describe(const SimPixels &got, const Model &want)
{
    int diffs = 0, firstX = -1, firstY = -1;
    for (int y = 0; y < want.Height; y++)
        for (int x = 0; x < want.Width; x++)
            if (got.At(x, y) != want.Pixels[(size_t)y * want.Width + x] && diffs++ == 0)
                firstX = x, firstY = y;
    if (!diffs)
        return "";
    char buf[160];
    snprintf(buf, sizeof(buf), "%d pixels differ; first at (%d, %d): got %06x, want %06x", diffs, firstX, firstY,
             got.At(firstX, firstY), want.Pixels[(size_t)firstY * want.Width + firstX]);
    return buf;
}

#define EXPECT_PIXELS(model)                                                                        \
    do {                                                                                            \
        SimPixels got_ = SimReadWindowPixels(ClockState.ClockWnd);                                  \
        ASSERT_EQ(got_.Width, (model).Width);                                                       \
        ASSERT_EQ(got_.Height, (model).Height);                                                     \
        EXPECT_EQ(Describe(got_, model), "");                                                       \
    } while (0)

struct PaintTest : ::testing::Test {
    TestSkinDir Skins;
    StandinTaskbar Taskbar;

    void Attach(int taskbarHeight, unsigned options, int y, int mo, int d, int h, int mi, int s,
                const TestSkinShape &shape = TestSkinShape(), StandinMode mode = StandinClassic)
    {
        Taskbar = SetUpTaskbar(taskbarHeight, false, mode);
        Skins.AddSkin("T", shape);
        snprintf(ClockState.SkinBaseDir, sizeof(ClockState.SkinBaseDir), "%s", Skins.Path.c_str());
        ASSERT_EQ(LoadSkin("T"), FlagTrue);
        SetOptions(options);
        SimSetLocalTime(y, mo, d, h, mi, s);
        SnapshotTime();
    }
    void TearDown() override
    {
        FreeSkinBitmaps();
        DestroyWindow(Taskbar.Tray);
        UnregisterStandinClasses(nullptr);
        EXPECT_EQ(SimLiveGdiObjects(), 0) << "every GDI object made by a paint is freed";
    }
};

// The worked example: 110 x 30 client, face 106 x 34, origin (8, 4); a Wednesday.
TEST_F(PaintTest, WorkedExampleSecondsDateWeekday)
{
    Attach(30, OptSeconds | OptDate | OptWeekday, 2026, 12, 9, 12, 34, 56);
    SizeClock(Taskbar, 110, 30);
    PaintWholeClock();

    Model m(110, 30, TestKeyColor);
    m.Digit(8, 4, 1);
    m.Digit(19, 4, 2);
    m.Colon(28, 4);
    m.Digit(38, 4, 3);
    m.Digit(49, 4, 4);
    m.Colon(58, 4);
    m.Digit(68, 4, 5);
    m.Digit(79, 4, 6);
    m.Char(14, 21, '9');  // the day's leading zero stays empty
    m.Text(26, 21, "Dec");
    m.Text(50, 21, "26");
    m.Text(68, 21, "Wednesday");
    EXPECT_PIXELS(m);
    const uint8_t shown[] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(memcmp(ClockState.ShownDigits, shown, 6), 0);
}

TEST_F(PaintTest, WithoutSecondsTheWeekdayIsAbbreviated)
{
    Attach(30, OptDate | OptWeekday, 2026, 12, 9, 12, 34, 56);
    SizeClock(Taskbar, 80, 30);
    PaintWholeClock();
    // Face 73 x 34: origin (9, 4).
    Model m(80, 30, TestKeyColor);
    m.Digit(9, 4, 1);
    m.Digit(20, 4, 2);
    m.Colon(29, 4);
    m.Digit(39, 4, 3);
    m.Digit(50, 4, 4);
    m.Char(15, 21, '9');
    m.Text(27, 21, "Dec");
    m.Text(51, 21, "26");
    m.Text(69, 21, "Wed");
    EXPECT_PIXELS(m);
    EXPECT_EQ(ClockState.ShownDigits[SecondTens], 0) << "second digits are left alone without seconds";
    EXPECT_EQ(ClockState.ShownDigits[SecondOnes], 0);
}

TEST_F(PaintTest, DateLeftWeekdayAndTwelveHours)
{
    // 09:05 in the morning on Friday 2026-12-25.
    Attach(30, OptDate | OptLeft | OptWeekday | Opt12h, 2026, 12, 25, 9, 5, 0);
    SizeClock(Taskbar);
    // Face: 5 x 11 + 4 = 59, + 14 (weekday/12h) + 20 (date left) = 93 x 24; origin (6, 6).
    EXPECT_EQ(FaceWidth(), 93);
    Model m(93, 24, TestKeyColor);
    m.Char(6 + 3, 6, '2');
    m.Char(6 + 9, 6, '5');
    m.Text(6, 6 + 10, "Dec");
    int t = 6 + 20;
    m.Digit(t, 6, 0);
    m.Digit(t + 11, 6, 9);
    m.Colon(t + 20, 6);
    m.Digit(t + 30, 6, 0);
    m.Digit(t + 41, 6, 5);
    int end = t + 52;
    m.Text(end, 6 + 10, "Fri");
    m.Char(end + 1, 6, 'A');
    m.Char(end + 7, 6, 'M');
    PaintWholeClock();
    EXPECT_PIXELS(m);
}

TEST_F(PaintTest, AfternoonMarkAndHiddenColons)
{
    Attach(30, OptSeconds | Opt12h, 2026, 6, 1, 15, 4, 0);
    SimSetLocalTime(2026, 6, 1, 15, 4, 1);
    SnapshotTime();  // the second after the first snapshot: colons hidden
    ASSERT_EQ(ClockState.ColonVisible, 0);
    SizeClock(Taskbar);
    PaintWholeClock();
    // Face 92 + 14 = 106 x 24, origin (6, 6).
    Model m(106, 24, TestKeyColor);
    int x = 6;
    for (int d : {0, 3})
        m.Digit(x, 6, d), x += 11;
    x = 6 + 30;
    m.Digit(x, 6, 0);
    m.Digit(x + 11, 6, 4);
    m.Digit(6 + 60, 6, 0);
    m.Digit(6 + 71, 6, 1);
    m.Char(6 + 84 + 1, 6, 'P');
    m.Char(6 + 90 + 1, 6, 'M');
    EXPECT_PIXELS(m);
}

TEST_F(PaintTest, TallTaskbarCentresRowsOnTheFaceFromTheClientEdge)
{
    Attach(60, OptSeconds | OptDate | OptWeekday, 2026, 12, 6, 8, 0, 0);
    // Face 106 x 50 in a 140 x 60 client: origin (23, 11); rows centred on 106 from x 0.
    SizeClock(Taskbar, 140, 60);
    PaintWholeClock();
    Model m(140, 60, TestKeyColor);
    int t = 23;
    m.Digit(t, 11, 0);
    m.Digit(t + 11, 11, 8);
    m.Colon(t + 20, 11);
    m.Digit(t + 30, 11, 0);
    m.Digit(t + 41, 11, 0);
    m.Colon(t + 50, 11);
    m.Digit(t + 60, 11, 0);
    m.Digit(t + 71, 11, 0);
    int dateStart = (106 - 66) / 2, dateY = 11 + 14 + 8 + 6;
    m.Char(dateStart + 6, dateY, '6');
    m.Text(dateStart + 18, dateY, "Dec");
    m.Text(dateStart + 42, dateY, "2026");
    m.Text((106 - 36) / 2, 11 + 14 + 4, "Sunday");
    EXPECT_PIXELS(m);
}

TEST_F(PaintTest, ShortTaskbarWeekdayAloneIsCentred)
{
    Attach(30, OptWeekday, 2026, 12, 10, 8, 0, 0);  // Thursday
    // Face 73 x 34 in a 73 x 30 client, origin (6, 4); the name is centred on the face from x 0.
    SizeClock(Taskbar, 73, 30);
    Model m(73, 30, TestKeyColor);
    m.Digit(6, 4, 0);
    m.Digit(17, 4, 8);
    m.Colon(26, 4);
    m.Digit(36, 4, 0);
    m.Digit(47, 4, 0);
    m.Text((73 - 48) / 2, 4 + 17, "Thursday");
    PaintWholeClock();
    EXPECT_PIXELS(m);
}

TEST_F(PaintTest, ChildWindowIsClippedByTheTaskbar)
{
    // A face taller than the taskbar: the rows below the taskbar's edge are not drawn.
    Attach(30, OptDate, 2026, 12, 10, 8, 0, 0);
    SizeClock(Taskbar);
    ASSERT_EQ(FaceHeight(), 34);
    SimFillWindow(ClockState.ClockWnd, RGB(7, 7, 7));
    PaintWholeClock();
    SimPixels got = SimReadWindowPixels(ClockState.ClockWnd);
    EXPECT_EQ(got.At(0, 29), TestKeyColor);
    EXPECT_EQ(got.At(0, 30), RGB(7, 7, 7));
    HDC dc = GetDC(ClockState.ClockWnd);
    EXPECT_EQ(GetPixel(dc, 0, 30), CLR_INVALID);
    ReleaseDC(ClockState.ClockWnd, dc);
}

TEST_F(PaintTest, TransparentFaceKeepsTheErasedBackground)
{
    Attach(30, OptTransparent, 2026, 12, 6, 10, 20, 0);
    SizeClock(Taskbar);
    PaintWholeClock();
    Model m(59, 24, StandinClockColor);
    m.Transparent = true;
    m.Digit(6, 6, 1);
    m.Digit(17, 6, 0);
    m.Colon(26, 6);
    m.Digit(36, 6, 2);
    m.Digit(47, 6, 0);
    EXPECT_PIXELS(m);
}

COLORREF NotifyPattern(int x, int y)
{
    if (y % 5 == 0)
        return StandinNotifyColorC;
    return x % 6 < 3 ? StandinNotifyColorB : StandinNotifyColorA;
}

TEST_F(PaintTest, TransparentOnXpShowsTheNotificationAreaBehind)
{
    // The clock sits at the classic notification area's right end, 24 pixels
    // in; on Windows 10's after the pager, with buttons after it.
    const struct {
        StandinMode Mode;
        int ClockAt;
    } cases[] = {{StandinClassic, 24}, {StandinWindows10, StandinPagerLength}};
    for (const auto &c : cases) {
        Attach(30, OptTransparent, 2026, 12, 6, 10, 20, 0, TestSkinShape(), c.Mode);
        ClockState.IsWindowsXP = FlagTrue;
        SizeClock(Taskbar);
        PaintWholeClock();
        Model m(59, 24, 0);
        for (int y = 0; y < 24; y++)
            for (int x = 0; x < 59; x++)
                m.Put(x, y, NotifyPattern(x + c.ClockAt, y));
        m.Transparent = true;
        m.Digit(6, 6, 1);
        m.Digit(17, 6, 0);
        m.Colon(26, 6);
        m.Digit(36, 6, 2);
        m.Digit(47, 6, 0);
        EXPECT_PIXELS(m);
        TearDown();
    }
}

TEST_F(PaintTest, PaintIsClippedToTheInvalidRegion)
{
    Attach(30, OptSeconds, 2026, 12, 6, 10, 15, 59);
    SizeClock(Taskbar);
    PaintWholeClock();
    SimPixels before = SimReadWindowPixels(ClockState.ClockWnd);

    SimSetLocalTime(2026, 12, 6, 10, 16, 0);
    SnapshotTime();
    HRGN changed = BuildChangedDigitsRegion();
    InvalidateRgn(ClockState.ClockWnd, changed, FALSE);
    SimResetWindowPixelsWritten();
    PaintClock(ClockState.ClockWnd);
    SimPixels after = SimReadWindowPixels(ClockState.ClockWnd);

    int64_t area = 0;
    for (int y = 0; y < after.Height; y++)
        for (int x = 0; x < after.Width; x++) {
            bool inside = PtInRegion(changed, x, y);
            area += inside;
            if (!inside) {
                EXPECT_EQ(after.At(x, y), before.At(x, y)) << x << "," << y;
            }
        }
    EXPECT_EQ(area, 5 * 9 * 14) << "two colons, the minute ones and both second digits";
    EXPECT_EQ(SimWindowPixelsWritten(), area) << "every pixel of the changed cells written once, none outside";
    EXPECT_EQ(after.At(6 + 71 + 1, 7), TestDigitColor(0));
    DeleteObject(changed);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(ClockState.ClockWnd, &update, FALSE)) << "the paint validated the window";
}

// An independent check of what a paint leaves behind: a whole paint over a
// colour no skin has leaves none of it, and after a repaint request the
// window equals a whole paint of the same moment. Skins made for it: flat
// digits whose colon dots reach below NUMBERS.BMP (20 x 4) or below the digit
// row (24 x 14), where the colons hide; and a tall face whose date row starts
// left of the origin, at midnight.
TEST_F(PaintTest, NoStalePixelsAfterAWholePaintOrARepaintRequest)
{
    struct Case {
        TestSkinShape Shape;
        unsigned Options;
        int TaskbarHeight;
        int From[6], To[6];
    } cases[] = {
        {{20, 4, 6, 8}, OptSeconds, 30, {2026, 12, 6, 10, 15, 58}, {2026, 12, 6, 10, 15, 59}},
        {{24, 14, 6, 8}, OptSeconds, 30, {2026, 12, 6, 10, 15, 58}, {2026, 12, 6, 10, 15, 59}},
        {{9, 14, 6, 8}, OptDate | OptWeekday, 60, {2026, 12, 9, 23, 59, 59}, {2026, 12, 10, 0, 0, 0}},
    };
    const COLORREF stale = RGB(7, 7, 7);
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.Shape.DigitWidth) + " x " + std::to_string(c.Shape.DigitHeight));
        const int *f = c.From, *t = c.To;
        Attach(c.TaskbarHeight, c.Options, f[0], f[1], f[2], f[3], f[4], f[5], c.Shape);
        SizeClock(Taskbar);
        SimFillWindow(ClockState.ClockWnd, stale);
        InvalidateRect(ClockState.ClockWnd, nullptr, FALSE);
        PaintClock(ClockState.ClockWnd);
        SimPixels whole = SimReadWindowPixels(ClockState.ClockWnd);
        EXPECT_EQ(std::count(whole.Pixels.begin(), whole.Pixels.end(), stale), 0) << "pixels no paint reached";

        SimSetLocalTime(t[0], t[1], t[2], t[3], t[4], t[5]);
        RepaintTick();
        SimPixels ticked = SimReadWindowPixels(ClockState.ClockWnd);
        PaintWholeClock();
        SimPixels repainted = SimReadWindowPixels(ClockState.ClockWnd);
        int differ = 0;
        for (size_t i = 0; i < ticked.Pixels.size(); i++)
            differ += ticked.Pixels[i] != repainted.Pixels[i];
        EXPECT_EQ(differ, 0) << "pixels the repaint request left from the moment before";
    }
}

TEST_F(PaintTest, NothingIsPaintedWithoutSkinVisibilityOrWhileAlreadyPainting)
{
    Attach(30, 0, 2026, 12, 6, 10, 20, 0);
    SizeClock(Taskbar);
    SimFillWindow(ClockState.ClockWnd, RGB(7, 7, 7));
    InvalidateRect(ClockState.ClockWnd, nullptr, TRUE);
    RECT update;

    ClockState.PaintInProgress = FlagTrue;
    PaintClock(ClockState.ClockWnd);
    EXPECT_TRUE(GetUpdateRect(ClockState.ClockWnd, &update, FALSE)) << "no paint was begun";
    EXPECT_EQ(ClockState.PaintInProgress, FlagTrue);
    ClockState.PaintInProgress = 0;

    ClockState.SkinLoaded = 0;
    PaintClock(ClockState.ClockWnd);
    EXPECT_TRUE(GetUpdateRect(ClockState.ClockWnd, &update, FALSE));
    ClockState.SkinLoaded = FlagTrue;

    PaintClock(nullptr);
    ShowWindow(Taskbar.Tray, SW_HIDE);
    PaintClock(ClockState.ClockWnd);
    EXPECT_TRUE(GetUpdateRect(ClockState.ClockWnd, &update, FALSE));
    EXPECT_EQ(SimReadWindowPixels(ClockState.ClockWnd).At(30, 12), RGB(7, 7, 7));
}

// A window procedure that paints the clock again from inside the first paint,
// as the notification area's procedure may on WM_PRINTCLIENT.
int NestedCalls = 0;
WNDPROC NotifyStock = nullptr;
LRESULT CALLBACK ReenteringNotify(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PRINTCLIENT) {
        NestedCalls++;
        int dcs = SimLiveObjects(SimDCs);
        PaintClock(ClockState.ClockWnd);
        EXPECT_EQ(SimLiveObjects(SimDCs), dcs) << "the nested call began no paint";
    }
    return CallWindowProcA(NotifyStock, hwnd, msg, wParam, lParam);
}

TEST_F(PaintTest, ReentryFromTheNotificationAreaReturnsAtOnce)
{
    Attach(30, OptTransparent, 2026, 12, 6, 10, 20, 0);
    ClockState.IsWindowsXP = FlagTrue;
    NotifyStock = ClockState.PreviousNotifyProc;
    ClockState.PreviousNotifyProc = ReenteringNotify;
    SizeClock(Taskbar);
    NestedCalls = 0;
    PaintWholeClock();
    EXPECT_EQ(NestedCalls, 1);
    EXPECT_EQ(ClockState.PaintInProgress, 0);
}

TEST_F(PaintTest, FailingCallsLeakNothingAndClearTheGuard)
{
    Attach(30, OptSeconds | OptDate | OptWeekday | OptTransparent, 2026, 12, 6, 10, 20, 0);
    ClockState.IsWindowsXP = FlagTrue;
    SizeClock(Taskbar);
    int baseline = SimLiveGdiObjects();
    for (const char *call : {"BeginPaint", "CreateCompatibleDC", "SelectObject", "CreateSolidBrush", "BitBlt",
                             "TransparentBlt", "FillRect"})
        for (int n : {0, 1, 2}) {
            SimFailCall(call, n);
            PaintWholeClock();
            SimClearFailures();
            EXPECT_EQ(ClockState.PaintInProgress, 0) << call << " #" << n;
            // The skin's DCs stay with it; each round makes them anew.
            FreeSkinDCs();
            EXPECT_EQ(SimLiveGdiObjects(), baseline) << call << " #" << n;
        }
}

}  // namespace
