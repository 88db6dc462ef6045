// The shared flows on the simulation's desk: the controller and Explorer as
// two simulated processes, each face held to the preview's paint of the
// same skin, options and time, on both taskbars.
#include "engine/face_layout.h"
#include "shell/library.h"
#include "tests/scenarios/flows.h"
#include "tests/scenarios/scenarios.h"
#include "tests/shell/shell_fixture.h"
#include "tools/standin/face_render.h"

#include <algorithm>

namespace {

struct FlowCase {
    const Flow *Run;
    StandinMode Mode;
};

void PrintTo(const FlowCase &c, std::ostream *os) { *os << c.Run->Name; }

struct SharedFlows : ShellFixture, ::testing::WithParamInterface<FlowCase> {
    SharedFlows() { Layout.Mode = GetParam().Mode; }
};

SharedFlows *Desk;
bool AttachedOnce;
int Ticks;
std::string StockRects;
SimPixels StockPixels;

TEST_P(SharedFlows, Run)
{
    Desk = this;
    AttachedOnce = false;
    Ticks = 0;
    Skins.AddSkin("Ember");
    Skins.AddSkin(MenuFlowSkin, TestSkinShape{12, 18, 7, 9});
    const unsigned options = OptSeconds | OptDate | OptWeekday;
    SeedOptions(options);
    // A Saturday; the stock clock's timer shows the new time before the flow starts.
    SimSetLocalTime(2026, 12, 5, 9, 41, 7);
    SimFireTimers(1000);
    Pump();
    GetParam().Run->Run(FlowFace{"Herb", options});
}

std::vector<FlowCase> AllCases()
{
    std::vector<FlowCase> cases;
    for (size_t i = 0; i < FlowCount; i++)
        for (StandinMode mode : {StandinClassic, StandinWindows10})
            cases.push_back({&Flows[i], mode});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(, SharedFlows, ::testing::ValuesIn(AllCases()), [](const auto &info) {
    return std::string(info.param.Run->Name) + (info.param.Mode == StandinClassic ? "Classic" : "Windows10");
});

}  // namespace

void DeskFail(const char *message) { ADD_FAILURE() << message; }

LONG DeskAttach()
{
    if (!AttachedOnce) {
        AttachedOnce = true;
        StockRects = Desk->Rects();
        StockPixels = Desk->ClockPixels();
    }
    LONG attached = Desk->Attach();
    DeskCheck(SimModuleMapped(Desk->Explorer, Desk->Library), "the library is not mapped into Explorer");
    return attached;
}

LONG DeskDetach() { return Desk->Detach(); }

LONG DeskKillHooks()
{
    LONG killed = KillHooks(Desk->ControllerWindow);
    Desk->Pump();
    return killed;
}

bool DeskCommand(UINT id)
{
    Desk->SendToClock(WM_COMMAND, id, 0);
    Desk->Pump();
    return true;
}

bool DeskChooseSkinByMenu(const char *skin)
{
    Desk->SendToClock(WM_RBUTTONDOWN, 0, MAKELPARAM(5, 6));
    SimTrackedMenu tracked = SimLastTrackedMenu();
    RECT clock = Desk->ClockRect();
    DeskCheck(tracked.Open && tracked.Owner == Desk->Taskbar.Clock && tracked.X == clock.left + 5 &&
                  tracked.Y == clock.top + 6,
              "the popup menu is not the clock's, at the click");
    std::vector<SimMenuItem> items;
    if (!DeskCheck(SimGetMenuItems(Desk->ShellState().SkinsMenu, &items) && items.size() > 1 && items[1].Text == skin &&
                       SimChooseMenuItem((UINT)items[1].Id),
                   "the Skins submenu's second item is not %s", skin))
        return false;
    Desk->Pump();
    return true;
}

bool DeskExitRequested()
{
    Desk->Pump();
    const std::vector<UINT> &heard = ShellFixture::ControllerMessages;
    if (!DeskCheck(std::find(heard.begin(), heard.end(), ExitRequestMessage) != heard.end(),
                   "the exit command posted nothing to the controller"))
        return false;
    return DeskCheck(Desk->Detach() == -1, "the controller's detach did not return -1");
}

bool DeskSendMalformedHandOvers()
{
    DWORD intruder = SimCreateProcess("intruder.exe");
    SimInProcess(intruder, [] {
        for (const MalformedHandOver &m : MalformedHandOvers) {
            std::vector<char> data(HandOverRecordSize + 2, 'A');
            if (m.Terminated)
                memcpy(data.data(), "C:\\Elsewhere\\x.exe", 19);
            COPYDATASTRUCT cds{7, m.Size, data.data()};
            SendMessageA(Desk->Taskbar.Clock, WM_COPYDATA, 0, (LPARAM)&cds);
        }
    });
    SimEndProcess(intruder);
    Desk->Pump();
    return true;
}

bool DeskTaskbarLayered(BYTE *alpha)
{
    BOOL on = FALSE;
    Desk->InExplorer([&] {
        DWORD flags = 0;
        on = GetLayeredWindowAttributes(Desk->Taskbar.Tray, nullptr, alpha, &flags) && (flags & LWA_ALPHA);
    });
    return on;
}

bool DeskNewSnapshot()
{
    SimAdvanceTime(2000);
    bool posted = RepaintClock();
    Desk->Pump();
    return DeskCheck(posted, "RepaintClock did not post its request");
}

bool DeskFaceShows(const std::string &name, const FlowFace &face)
{
    FaceRequest request;
    request.SkinsDir = Desk->Skins.Path;
    request.Skin = face.Skin;
    request.Options = face.Options;
    request.TaskbarHeight = Desk->Layout.TaskbarHeight;
    request.Mode = Desk->Layout.Mode;
    FaceImage image;
    std::string error;
    bool rendered = false;
    // The preview is a program of its own, with its own copy of the engine.
    DWORD preview = SimCreateProcess("dialwick-preview");
    SimInProcess(preview, [&] { rendered = RenderFace(nullptr, request, &image, &error); });
    SimEndProcess(preview);
    if (!DeskCheck(rendered, "%s: the preview failed: %s", name.c_str(), error.c_str()))
        return false;
    SimPixels shown = Desk->ClockPixels();
    int differ = shown.Width == image.Width && shown.Height == image.Height ? 0 : -1;
    for (int y = 0; differ >= 0 && y < image.Height; y++)
        for (int x = 0; x < image.Width; x++) {
            uint32_t want = image.Pixels[(size_t)y * image.Width + x];
            differ += want != NotVisiblePixel && shown.At(x, y) != want;
        }
    std::string rects = Desk->Rects();
    return DeskCheck(differ == 0, "%s: the clock (%dx%d) differs from the preview (%dx%d) in %d pixels", name.c_str(),
                     shown.Width, shown.Height, image.Width, image.Height, differ) &&
           DeskCheck(rects == image.Rects, "%s: the taskbar's windows lie at\n%s, the preview's at\n%s", name.c_str(),
                     rects.c_str(), image.Rects.c_str());
}

// Every third tick skips a second, so that the colons' return after a gap is
// seen too.
bool DeskNextTick(DeskTick *tick)
{
    tick->FollowsLast = ++Ticks % 3 != 0;
    SimAdvanceTime(tick->FollowsLast ? 1000 : 2000);
    SYSTEMTIME now;
    GetLocalTime(&now);
    tick->Time = std::to_string(now.wMinute) + ":" + std::to_string(now.wSecond);
    SimPixels before = Desk->ClockPixels();
    bool posted = RepaintClock();
    Desk->Pump();
    SimPixels after = Desk->ClockPixels();
    // The colon cells where Explorer's copy of the engine lays them out.
    RECT colon[2];
    Desk->InExplorer([&] {
        RECT client, face;
        int x, y;
        ComputeClockOrigin(&client, &face, &x, &y);
        int start = TimeRowStart(x);
        const TimeCell cells[2] = {FirstColonCell, SecondColonCell};
        for (int i = 0; i < 2; i++) {
            int left = start + TimeCellOffset(cells[i], ClockState.ShowSeconds != 0);
            colon[i] = RECT{left, y, left + ClockState.DigitWidth, y + ClockState.DigitHeight};
        }
    });
    bool uniform[2];
    for (int i = 0; i < 2; i++) {
        uniform[i] = true;
        for (int y = colon[i].top; y < colon[i].bottom; y++)
            for (int x = colon[i].left; x < colon[i].right; x++)
                uniform[i] = uniform[i] && after.At(x, y) == after.At(colon[i].left, colon[i].top);
    }
    tick->ColonsShown = !uniform[0] && !uniform[1];
    tick->ColonsHidden = uniform[0] && uniform[1];
    return DeskCheck(posted && after.Pixels != before.Pixels, "the face did not change at %s", tick->Time.c_str());
}

bool DeskStockClockBack()
{
    DWORD answer = (DWORD)Desk->SendToClock(ClockSizeMessage, 0, 0);
    int height = StandinThickness(Desk->Layout);
    SimPixels now = Desk->ClockPixels();
    return DeskCheck(answer == (DWORD)MAKELONG(StandinStockClockWidth, height), "the stock size answer is %08lx",
                     (unsigned long)answer) &&
           DeskCheck(Desk->Rects() == StockRects, "the taskbar's windows did not go back") &&
           DeskCheck(now.Pixels == StockPixels.Pixels, "the stock clock's pixels differ from before the attach");
}

bool DeskValue(const char *key, const char *name, DWORD *type, std::vector<uint8_t> *data)
{
    return SimRegGetValue(key, name, type, data);
}

std::string DeskAutostartLine() { return "C:\\Program Files\\Dialwick\\dialwick.exe"; }
