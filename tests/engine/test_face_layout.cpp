// The changed-digits region: what a tick repaints, by cell.
#include "engine/face_layout.h"
#include "tests/engine/test_support.h"
#include "tools/standin/face_render.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

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

}  // namespace
