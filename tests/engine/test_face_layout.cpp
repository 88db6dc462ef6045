// Face size, origin, time-row positions and the changed-digits region.
#include "engine/face_layout.h"
#include "tests/engine/test_support.h"
#include "tools/standin/face_render.h"

#include <gtest/gtest.h>

namespace {

void SetMetrics(int dw, int dh, int tcw, int tch)
{
    ClockState.DigitWidth = dw;
    ClockState.DigitHeight = dh;
    ClockState.TextCellWidth = tcw;
    ClockState.TextCellHeight = tch;
}

TEST(FaceLayout, SizeTable)
{
    struct Case {
        unsigned Options;
        int TaskbarHeight, W, H;
    } cases[] = {
        {0, 30, 59, 24},
        {OptSeconds, 30, 92, 24},
        {Opt12h, 30, 73, 24},
        {OptSeconds | OptDate, 30, 92, 34},
        {OptSeconds | OptDate | OptWeekday, 30, 106, 34},
        {OptWeekday, 30, 73, 34},
        {OptLeft | OptWeekday, 30, 73, 24},
        {OptLeft | OptDate, 30, 79, 24},
        {OptSeconds | OptDate | OptLeft | OptWeekday | Opt12h, 30, 126, 24},
        {0, 60, 67, 32},
        {OptSeconds | OptDate, 60, 100, 32},
        {OptSeconds | OptDate | OptWeekday, 60, 106, 50},
        {OptLeft | OptDate | Opt12h, 60, 93, 24},
        {0, 31, 67, 32},
    };
    for (const Case &c : cases) {
        SetUpTaskbar(c.TaskbarHeight);
        SetMetrics(9, 14, 6, 8);
        SetOptions(c.Options);
        RECT face;
        ComputeClockSize(&face);
        EXPECT_EQ(face.left, 0);
        EXPECT_EQ(face.top, 0);
        EXPECT_EQ(face.right, c.W) << FormatFaceOptions(c.Options) << " taskbar " << c.TaskbarHeight;
        EXPECT_EQ(face.bottom, c.H) << FormatFaceOptions(c.Options) << " taskbar " << c.TaskbarHeight;
        EXPECT_EQ(FaceWidth(), c.W);
        EXPECT_EQ(FaceHeight(), c.H);
    }
}

TEST(FaceLayout, OriginCentresTheFaceWithSixPixelMargins)
{
    struct Case {
        int ClientW, ClientH, X, Y;
    } cases[] = {
        {80, 30, 16, 9},  // 10.5 + 6 truncated
        {40, 24, 0, 6},   // -9.5 + 6 = -3.5, clamped to 0
        {48, 24, 0, 6},   // -5.5 + 6 = 0.5, truncated to 0
        {59, 10, 6, 0},   // -7 + 6 = -1, clamped
        {60, 25, 6, 6},
    };
    for (const Case &c : cases) {
        StandinTaskbar t = SetUpTaskbar(30);
        SetMetrics(9, 14, 6, 8);
        SizeClock(t, c.ClientW, c.ClientH);
        RECT client, face;
        int x, y;
        ComputeClockOrigin(&client, &face, &x, &y);
        EXPECT_EQ(x, c.X) << c.ClientW << "x" << c.ClientH;
        EXPECT_EQ(y, c.Y) << c.ClientW << "x" << c.ClientH;
        EXPECT_EQ(client.right, c.ClientW);
        EXPECT_EQ(face.right, 59);
    }
}

TEST(FaceLayout, WindowMeasuresAndOrientation)
{
    StandinTaskbar t = SetUpTaskbar(40);
    EXPECT_EQ(WindowHeight(t.Tray), 40);
    EXPECT_EQ(WindowHeight(nullptr), 0);
    EXPECT_EQ(IsTaskbarVertical(), 0);
    SetUpTaskbar(60, true);
    EXPECT_EQ(IsTaskbarVertical(), FlagTrue);
}

HRGN RegionOf(std::initializer_list<RECT> rects)
{
    HRGN result = CreateRectRgn(0, 0, 0, 0);
    for (const RECT &r : rects) {
        HRGN part = CreateRectRgn(r.left, r.top, r.right, r.bottom);
        CombineRgn(result, result, part, RGN_OR);
        DeleteObject(part);
    }
    return result;
}

void SetDigits(uint8_t *digits, const char *text)
{
    for (int i = 0; i < DigitCount; i++)
        digits[i] = (uint8_t)(text[i] - '0');
}

struct RegionCase {
    const char *Shown, *Current;
    unsigned Options;
};

void ExpectRegion(const RegionCase &c, std::initializer_list<RECT> expected)
{
    StandinTaskbar t = SetUpTaskbar(30);
    SetMetrics(9, 14, 6, 8);
    SetOptions(c.Options);
    SizeClock(t, 100, 30);
    SetDigits(ClockState.ShownDigits, c.Shown);
    SetDigits(ClockState.CurrentDigits, c.Current);
    int before = SimLiveGdiObjects();
    HRGN got = BuildChangedDigitsRegion();
    HRGN want = RegionOf(expected);
    EXPECT_TRUE(EqualRgn(got, want)) << c.Shown << " -> " << c.Current << " " << FormatFaceOptions(c.Options);
    DeleteObject(got);
    DeleteObject(want);
    EXPECT_EQ(SimLiveGdiObjects(), before) << "the region routine leaves exactly one region to its caller";
}

TEST(FaceLayout, ChangedRegionIsTheWholeClientWhenTheHourChanges)
{
    // Face 92 x 24 in a 100 x 30 client: the rows under the time may start left of the origin (10, 9).
    ExpectRegion({"095959", "100000", OptSeconds}, {{0, 0, 100, 30}});
    ExpectRegion({"105959", "115959", OptSeconds}, {{0, 0, 100, 30}});
}

TEST(FaceLayout, ChangedRegionWithSeconds)
{
    // 10:15:59 -> 10:16:00; origin (10, 9), DW 9: colons at 30 and 60, minute ones at 51,
    // second digits at 70 and 81.
    ExpectRegion({"101559", "101600", OptSeconds},
                 {{30, 9, 39, 23}, {60, 9, 69, 23}, {51, 9, 60, 23}, {70, 9, 79, 23}, {81, 9, 90, 23}});
}

TEST(FaceLayout, ChangedRegionWithoutSecondsStillTracksSecondDigits)
{
    // Face 59 x 24 in 100 x 30: origin (26, 9). Colons at T+20 and T+52, seconds at T+62 and T+73.
    ExpectRegion({"101558", "101559", 0}, {{46, 9, 55, 23}, {78, 9, 87, 23}, {99, 9, 108, 23}});
    ExpectRegion({"101559", "101559", 0}, {{46, 9, 55, 23}, {78, 9, 87, 23}});
}

TEST(FaceLayout, ChangedRegionStartsAfterTheDateBlock)
{
    // Date left: face 79 x 24 in 100 x 30, origin (16, 9); the row starts 3 x 6 + 2 further right.
    ExpectRegion({"101500", "101600", OptDate | OptLeft},
                 {{16 + 20 + 20, 9, 16 + 20 + 29, 23}, {16 + 20 + 41, 9, 16 + 20 + 50, 23},
                  {16 + 20 + 52, 9, 16 + 20 + 61, 23}});
}

TEST(FaceLayout, TimeRowOffsetsMatchTheGaps)
{
    ClockState.DigitWidth = 9;
    // With seconds: tens, ones, colon, tens, ones, colon, tens, ones, end.
    int with[] = {0, 11, 20, 30, 41, 50, 60, 71, 84};
    int without[] = {0, 11, 20, 30, 41, 52, 62, 73, 52};
    for (int c = 0; c < TimeCellCount; c++) {
        EXPECT_EQ(TimeCellOffset((TimeCell)c, true), with[c]) << c;
        EXPECT_EQ(TimeCellOffset((TimeCell)c, false), without[c]) << c;
    }
}

TEST(FaceLayout, RegionRoutineSurvivesFailedRegionCalls)
{
    StandinTaskbar t = SetUpTaskbar(30);
    SetMetrics(9, 14, 6, 8);
    SizeClock(t);
    SetDigits(ClockState.ShownDigits, "101559");
    SetDigits(ClockState.CurrentDigits, "101600");
    for (int n = 1; n <= 6; n++) {
        SimFailCall("CreateRectRgn", n);
        HRGN r = BuildChangedDigitsRegion();
        if (r)
            DeleteObject(r);
        EXPECT_EQ(SimLiveObjects(SimRegions), 0) << "failing call " << n;
        SimClearFailures();
    }
}

}  // namespace
