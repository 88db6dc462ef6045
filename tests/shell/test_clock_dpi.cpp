// The clock in Explorer when its monitor's scale changes unannounced: the
// size query notices, the face is laid out for the new DPI and the taskbar
// makes room for it.
#include "tests/shell/shell_fixture.h"

namespace {

SIZE SizeOf(const RECT &r) { return SIZE{r.right - r.left, r.bottom - r.top}; }

// Every pixel of the clock is the skin's: the face was painted whole.
bool PaintedWhole(const SimPixels &p)
{
    for (uint32_t pixel : p.Pixels)
        if (pixel == StandinClockColor || pixel == StandinStockTextColor)
            return false;
    return true;
}

// Before Windows 10 1703 only the taskbar hears of the change; the clock
// notices it when the taskbar next asks for its size: the clock itself on
// the classic taskbar, the notification area on Windows 10's. The taskbar
// is thick enough for the same face at both DPIs (Windows 10's is at least
// 40 pixels, which is tall at 96 DPI and not at 192).
struct UntoldDpi : ShellFixture, ::testing::WithParamInterface<StandinLayout> {
    UntoldDpi() { Layout = GetParam(); }
};

TEST_P(UntoldDpi, TheSizeQueryNoticesAChangeNobodyToldTheClock)
{
    SeedOptions(OptSeconds);
    ASSERT_EQ(Attach(), -1);
    SIZE at96 = SizeOf(ClockRect());
    SimSetMonitorDpi(Taskbar.Tray, 192, false);
    Pump();
    EXPECT_EQ(SizeOf(ClockRect()).cx, at96.cx) << "nothing asked yet";
    InExplorer([&] { PostMessageA(Taskbar.Tray, WM_SIZE, 0, 0); });
    Pump();
    EXPECT_EQ(ShellState().SkinDpi, 192u);
    EXPECT_EQ(SizeOf(ClockRect()).cx, 2 * at96.cx);
    EXPECT_TRUE(PaintedWhole(ClockPixels()));
    Detach();
}

INSTANTIATE_TEST_SUITE_P(Taskbars, UntoldDpi,
                         ::testing::Values(StandinLayout{1024, 768, 30, false, StandinClassic},
                                           StandinLayout{1024, 768, 80, false, StandinWindows10}));

}  // namespace
