// Painting whole faces, checked pixel by pixel against an independent model:
// a test skin gives every cell its own colour, so each glyph's place shows;
// the region of the cells a tick repaints, and the time as digits.
#include "engine/clock_attach.h"
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
#include <vector>

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

#define EXPECT_PIXELS(model)                                                                                           \
    do {                                                                                                               \
        SimPixels got_ = SimReadWindowPixels(ClockState.ClockWnd);                                                     \
        ASSERT_EQ(got_.Width, (model).Width);                                                                          \
        ASSERT_EQ(got_.Height, (model).Height);                                                                        \
        EXPECT_EQ(Describe(got_, model), "");                                                                          \
    } while (0)

struct PaintTest : ::testing::Test {
    TestSkinDir Skins;
    StandinTaskbar Taskbar;

    void Attach(int taskbarHeight, unsigned options, int y, int mo, int d, int h, int mi, int s,
                const TestSkinShape &shape = TestSkinShape(), StandinMode mode = StandinClassic, bool vertical = false)
    {
        Taskbar = SetUpTaskbar(taskbarHeight, vertical, mode);
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

COLORREF NotifyPattern(int x, int y)
{
    if (y % 5 == 0)
        return StandinNotifyColorC;
    return x % 6 < 3 ? StandinNotifyColorB : StandinNotifyColorA;
}

struct Label {
    int X, Y;
    const char *Text;
};

// Whole faces: where the time row starts and what it shows (colon dots after
// the second and fourth digit), and each text at its place. Clients are wider
// than the faces so that a glyph drawn beyond the last expected one shows.
struct Golden {
    const char *Name;
    unsigned Options;
    int TaskbarHeight, Time[6], ClientW, ClientH;
    int RowX, RowY;
    const char *Digits;  // four or six digits
    std::vector<Label> Labels;
    bool ColonsHidden = false;  // painted the second after a first snapshot
    StandinMode Mode = StandinClassic;
    bool Xp = false;
    bool Vertical = false;
};

// clang-format off
const Golden Goldens[] = {
    {"seconds, date and weekday: 136 x 30 client, face 106 x 34, a Wednesday running past the face",
     OptSeconds | OptDate | OptWeekday, 30, {2026, 12, 9, 12, 34, 56}, 136, 30, 21, 4, "123456",
     {{27, 21, "9"}, {39, 21, "Dec"}, {63, 21, "26"}, {81, 21, "Wednesday"}}},
    {"without seconds the weekday is abbreviated", OptDate | OptWeekday, 30, {2026, 12, 9, 12, 34, 56}, 100, 30, 19,
     4, "1234", {{25, 21, "9"}, {37, 21, "Dec"}, {61, 21, "26"}, {79, 21, "Wed"}}},
    {"date left, weekday and 12 hours on a Friday morning", OptDate | OptLeft | OptWeekday | Opt12h, 30,
     {2026, 12, 25, 9, 5, 0}, 110, 24, 34, 6, "0905",
     {{17, 6, "25"}, {14, 16, "Dec"}, {86, 16, "Fri"}, {87, 6, "AM"}}},
    {"afternoon mark and hidden colons", OptSeconds | Opt12h, 30, {2026, 6, 1, 15, 4, 1}, 106, 24, 6, 6, "030401",
     {{91, 6, "PM"}}, true},
    {"tall taskbar: rows centred on the face from the client edge", OptSeconds | OptDate | OptWeekday, 60,
     {2026, 12, 6, 8, 0, 0}, 140, 60, 23, 11, "080000",
     {{26, 39, "6"}, {38, 39, "Dec"}, {62, 39, "2026"}, {35, 29, "Sunday"}}},
    {"short taskbar: the weekday alone is centred on the face from x 0", OptWeekday, 30, {2026, 12, 12, 8, 0, 0}, 73,
     30, 6, 4, "0800", {{12, 21, "Saturday"}}},
    {"transparent keeps the erased background", OptTransparent, 30, {2026, 12, 6, 10, 20, 0}, 59, 24, 6, 6, "1020",
     {}},
    // The notification area paints itself behind, shifted to the clock's place in it.
    {"transparent on XP shows the notification area", OptTransparent, 30, {2026, 12, 6, 10, 20, 0}, 59, 24, 6, 6,
     "1020", {}, false, StandinClassic, true},
    // Windows 10's taskbar is at least 40 pixels: the tall face, 67 x 32.
    {"transparent on XP, Windows 10 taskbar", OptTransparent, 40, {2026, 12, 6, 10, 20, 0}, 59, 24, 2, 2, "1020", {},
     false, StandinWindows10, true},
    // 60 pixels across: the tall face, 67 x 32, in a 59 x 24 client.
    {"transparent on XP, vertical taskbar", OptTransparent, 60, {2026, 12, 6, 10, 20, 0}, 59, 24, 2, 2, "1020", {},
     false, StandinClassic, true, true},
};
// clang-format on

TEST_F(PaintTest, GoldenFaces)
{
    for (const Golden &g : Goldens) {
        SCOPED_TRACE(g.Name);
        const int *t = g.Time;
        Attach(g.TaskbarHeight, g.Options, t[0], t[1], t[2], t[3], t[4], t[5] - (g.ColonsHidden ? 1 : 0),
               TestSkinShape(), g.Mode, g.Vertical);
        if (g.ColonsHidden) {
            SimSetLocalTime(t[0], t[1], t[2], t[3], t[4], t[5]);
            SnapshotTime();
        }
        ClockState.IsWindowsXP = g.Xp ? FlagTrue : 0;
        SizeClock(Taskbar, g.ClientW, g.ClientH);
        PaintWholeClock();

        bool transparent = g.Options & OptTransparent;
        RECT clock, notify;
        GetWindowRect(Taskbar.Clock, &clock);
        GetWindowRect(Taskbar.Notify, &notify);
        Model m(g.ClientW, g.ClientH, transparent ? StandinClockColor : TestKeyColor);
        for (int y = 0; g.Xp && y < g.ClientH; y++)
            for (int x = 0; x < g.ClientW; x++)
                m.Put(x, y, NotifyPattern(x + clock.left - notify.left, y + clock.top - notify.top));
        m.Transparent = transparent;
        static const int cells[] = {0, 11, 30, 41, 60, 71};
        for (int i = 0; g.Digits[i]; i++)
            m.Digit(g.RowX + cells[i], g.RowY, g.Digits[i] - '0');
        for (int i = 1; !g.ColonsHidden && 2 * i < (int)strlen(g.Digits); i++)
            m.Colon(g.RowX + 30 * i - 10, g.RowY);
        for (const Label &l : g.Labels)
            m.Text(l.X, l.Y, l.Text);
        EXPECT_PIXELS(m);
        uint8_t shown[6] = {};
        for (int i = 0; g.Digits[i]; i++)
            shown[i] = (uint8_t)(g.Digits[i] - '0');
        EXPECT_EQ(memcmp(ClockState.ShownDigits, shown, 6), 0) << "second digits are left alone without seconds";
        TearDown();
    }
}

// An independent check of what a paint leaves behind: a whole paint over a
// colour no skin has leaves none of it, and after a repaint request the
// window equals a whole paint of the same moment. Skins made for it: flat
// digits whose colon dots reach below NUMBERS.BMP (20 x 4) or below the digit
// row (24 x 14), where the colons hide; a tall face whose date row starts
// left of the origin, at midnight; and a transparent face.
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
        // Transparent: the face erases behind itself, unasked, or the old
        // digits show through the new ones' keyed pixels.
        {{9, 14, 6, 8}, OptSeconds | OptTransparent, 30, {2026, 12, 6, 10, 15, 58}, {2026, 12, 6, 10, 15, 59}},
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

// A tick whose region of changed cells cannot be made paints the whole face.
TEST_F(PaintTest, TickWithoutItsRegionPaintsTheWholeFace)
{
    Attach(30, OptSeconds, 2026, 12, 6, 10, 15, 58);
    SizeClock(Taskbar);
    PaintWholeClock();
    SimSetLocalTime(2026, 12, 6, 10, 15, 59);
    SimFailCall("CreateRectRgn", 1);
    RepaintTick();
    SimClearFailures();
    SimPixels ticked = SimReadWindowPixels(ClockState.ClockWnd);
    PaintWholeClock();
    EXPECT_TRUE(ticked.Pixels == SimReadWindowPixels(ClockState.ClockWnd).Pixels) << "the new second is shown";
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

void SetMetrics(int dw, int dh, int tcw, int tch)
{
    ClockState.DigitWidth = dw;
    ClockState.DigitHeight = dh;
    ClockState.TextCellWidth = tcw;
    ClockState.TextCellHeight = tch;
}

// The changed-digits region in a 100 x 30 client.
TEST(FaceLayout, ChangedDigitsRegion)
{
    // clang-format off
    const struct {
        const char *Why, *Shown, *Current;
        unsigned Options;
        std::vector<RECT> Expected;
    } cases[] = {
        // Face 92 x 24, origin (10, 9): rows under the time may start left of the origin.
        {"the hour changes: the whole client", "095959", "100000", OptSeconds, {{0, 0, 100, 30}}},
        {"the hour's ones change", "105959", "115959", OptSeconds, {{0, 0, 100, 30}}},
        // Colons at 30 and 60, minute ones at 51, second digits at 70 and 81.
        {"with seconds", "101559", "101600", OptSeconds,
         {{30, 9, 39, 23}, {60, 9, 69, 23}, {51, 9, 60, 23}, {70, 9, 79, 23}, {81, 9, 90, 23}}},
        // Face 59 x 24, origin (26, 9): colons at T+20 and T+52, seconds at T+62 and T+73.
        {"without seconds the second digits are still tracked", "101558", "101559", 0,
         {{46, 9, 55, 23}, {78, 9, 87, 23}, {99, 9, 108, 23}}},
        {"nothing changed: the colons", "101559", "101559", 0, {{46, 9, 55, 23}, {78, 9, 87, 23}}},
        // Face 79 x 24, origin (16, 9); the row starts 3 x 6 + 2 further right.
        {"date left", "101500", "101600", OptDate | OptLeft,
         {{56, 9, 65, 23}, {77, 9, 86, 23}, {88, 9, 97, 23}}},
    };
    // clang-format on
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Why);
        StandinTaskbar t = SetUpTaskbar(30);
        SetMetrics(9, 14, 6, 8);
        SetOptions(c.Options);
        SizeClock(t, 100, 30);
        for (int i = 0; i < DigitCount; i++) {
            ClockState.ShownDigits[i] = (uint8_t)(c.Shown[i] - '0');
            ClockState.CurrentDigits[i] = (uint8_t)(c.Current[i] - '0');
        }
        int before = SimLiveGdiObjects();
        HRGN got = BuildChangedDigitsRegion();
        HRGN want = CreateRectRgn(0, 0, 0, 0);
        for (const RECT &r : c.Expected) {
            HRGN part = CreateRectRgn(r.left, r.top, r.right, r.bottom);
            CombineRgn(want, want, part, RGN_OR);
            DeleteObject(part);
        }
        EXPECT_TRUE(EqualRgn(got, want));
        DeleteObject(got);
        DeleteObject(want);
        EXPECT_EQ(SimLiveGdiObjects(), before) << "the region routine leaves exactly one region to its caller";
    }
}

void Fresh()
{
    SimReset();
    ResetClockState();
    StartClockBlink();
}

void SnapAt(int hour, int minute, int second)
{
    SimSetLocalTime(2026, 3, 10, hour, minute, second);
    SnapshotTime();
}

std::string Digits()
{
    std::string s;
    for (int i = 0; i < DigitCount; i++)
        s += (char)('0' + ClockState.CurrentDigits[i]);
    return s;
}

TEST(TimeSnapshot, DigitTable)
{
    struct Case {
        int H, M, S;
        bool English;
        const char *Digits;
        bool Morning;
    } cases[] = {
        {0, 5, 9, false, "000509", true},   {0, 5, 9, true, "120509", true},      {12, 30, 0, true, "123000", false},
        {13, 7, 45, true, "010745", false}, {23, 59, 59, false, "235959", false}, {12, 0, 0, false, "120000", false},
        {11, 59, 59, true, "115959", true}, {1, 0, 0, true, "010000", true},
    };
    for (const Case &c : cases) {
        Fresh();
        ClockState.EnglishTime = c.English ? FlagTrue : 0;
        SnapAt(c.H, c.M, c.S);
        EXPECT_EQ(Digits(), c.Digits) << c.H << ":" << c.M << ":" << c.S << " english " << c.English;
        EXPECT_EQ(ClockState.IsMorning, c.Morning ? FlagTrue : 0) << c.H;
    }
}

}  // namespace
