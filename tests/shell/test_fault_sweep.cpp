// Every platform call the whole life of the clock makes, on the classic
// taskbar and on Windows 10's, failed in turn at each place that makes it,
// and every function failed for good: Explorer never sees a fault, nothing
// leaks, and its procedures are back at the end.
#include "settings/menu_commands.h"
#include "shell/library.h"
#include "tests/shell/shell_fixture.h"

namespace {

struct ScenarioRun : ShellFixture {
    explicit ScenarioRun(StandinMode mode) { Layout.Mode = mode; }
    void TestBody() override {}
};

void RightClickChoosing(ScenarioRun &run, UINT id)
{
    SimSetMenuChoice(id);
    run.InExplorer([&] { SendMessageA(run.Taskbar.Clock, WM_RBUTTONDOWN, 0, MAKELPARAM(3, 3)); });
    run.Pump();
}

// Attach, a minute of ticks across the turn of the hour, a change of scale, every command, a
// skin change to a broken skin and back, a settings change, detach.
void Scenario(ScenarioRun &run)
{
    run.Skins.AddSkin("Broken");
    run.Skins.WriteFile("Broken/TEXT.BMP", "BM not a bitmap");
    run.Attach();
    for (int t = 0; t < 60; t += 7) {
        int second = 30 + t;
        SimSetLocalTime(2026, 12, 6, second < 60 ? 10 : 11, second < 60 ? 59 : 0, second % 60);
        RepaintClock();
        run.Pump();
    }
    // The taskbar moves to a monitor at 200 %: the skin's base is enlarged.
    SimSetMonitorDpi(run.Taskbar.Tray, 192);
    run.Pump();
    for (UINT id : {ShowSecondsCommand, ShowDateCommand, DateIsLeftCommand, EnglishTimeCommand, TransparentClockCommand,
                    StartWithWindowsCommand, ShowDayOfWeekCommand, LayeredModeCommand, LayeredModeCommand,
                    FirstLanguageCommand + 4, AdjustDateCommand, HomePageCommand})
        RightClickChoosing(run, id);
    // The Skins submenu lists Broken, Herb, Wide: ids 1000, 1001, 1002.
    RightClickChoosing(run, FirstSkinCommand);
    RightClickChoosing(run, FirstSkinCommand + 1);
    run.InExplorer([&] { SendMessageA(run.Taskbar.Notify, WM_WININICHANGE, 0, 0); });
    RightClickChoosing(run, ExitCommand);
    run.Detach();
}

template <typename Fail>
void RunFailing(StandinMode mode, Fail fail)
{
    ScenarioRun run(mode);
    run.SetUp();
    SimResetCallCounts();
    fail();
    Scenario(run);
    SimClearFailures();
    run.TearDown();
}

struct FaultSweep : ::testing::TestWithParam<StandinMode> {};

TEST_P(FaultSweep, EveryCallSiteFailsOnceAndEveryFunctionFailsForGood)
{
    const StandinMode mode = GetParam();
    std::vector<SimCallSite> sites;
    // The clean run's sites; collected after the scenario, before tear-down resets.
    {
        ScenarioRun run(mode);
        run.SetUp();
        SimResetCallCounts();
        Scenario(run);
        sites = SimCallSites();
        run.TearDown();
    }
    std::vector<std::string> functions;
    for (const SimCallSite &s : sites)
        if (functions.empty() || functions.back() != s.Function)
            functions.push_back(s.Function);

    int runs = 0;
    for (const SimCallSite &site : sites) {
        SCOPED_TRACE(site.Function + " failing once at one call site");
        RunFailing(mode, [&] { SimFailCallSite(site, 1); });
        runs++;
        if (HasFailure())
            break;
    }
    for (const std::string &function : functions) {
        SCOPED_TRACE(function + " failing every time");
        RunFailing(mode, [&] { SimFailCall(function.c_str(), 0); });
        runs++;
        if (HasFailure())
            break;
    }
    RecordProperty("call_sites", (int)sites.size());
    RecordProperty("runs", runs);
    printf("fault sweep: %zu call sites of %zu functions, %d runs\n", sites.size(), functions.size(), runs);
    EXPECT_GT(sites.size(), 40u);
}

INSTANTIATE_TEST_SUITE_P(Taskbars, FaultSweep, ::testing::Values(StandinClassic, StandinWindows10));

}  // namespace
