// The end-to-end scenarios; each returns when done and reports through Check.
#pragma once

#include "tests/e2e/e2e_face.h"

#include <string>

struct ScenarioArgs {
    std::string Dll;       // the library, Windows form
    std::string SkinsDir;  // the skins beside it
    std::string OutDir;    // where captures and hand-shake files go
    std::string Skin = "Herb";
    unsigned Options = 0;  // what the runner seeded the registry with
    int TaskbarHeight = 30;
    std::string Helper;      // the program that sends malformed hand-overs
    UINT Command = 0;        // for "command"
    bool Windows10 = false;  // the stand-in plays the Windows 10 taskbar
};

// The stand-in's clock before the library touched it.
struct StockClock {
    Capture Pixels;
    SYSTEMTIME Time{};
    std::string Rects;  // the taskbar's windows (DescribeTaskbarRects)
};

// Finds the stand-in, notes its stock clock, loads the library and attaches.
bool AttachScenario(const ScenarioArgs &args, FaceRun *run, StockClock *stock);
// The stand-in's own clock is back: its size answer, its size and its colours,
// and its pixels when the minute is still the one of the stock capture.
bool CheckStockClock(const FaceRun &run, const StockClock *stock);

// One of the flows shared with the simulation tests (tests/scenarios/flows.h).
struct Flow;
void RunFlow(const Flow &flow, const ScenarioArgs &args);

// For dialwick.exe itself: wait until the stand-in is skinned; close it;
// wait until the stand-in's own clock is back (after something else closed it).
void ScenarioWaitSkinned(const ScenarioArgs &args);
void ScenarioCloseController(const ScenarioArgs &args);
void ScenarioWaitStock(const ScenarioArgs &args);
// A dialwick.exe that hangs: holds its instance mutex for 30 s, has no window.
void ScenarioHoldInstance(const ScenarioArgs &args);
// Sends one WM_COMMAND to the clock, as a menu choice would (the demo uses it).
void ScenarioCommand(const ScenarioArgs &args);
// dialwick.exe against a controller that attached first, against programs
// that try to take or drop its clock, and killed.
void ScenarioRivals(const ScenarioArgs &args);
void ScenarioIntruders(const ScenarioArgs &args);
void ScenarioKilled(const ScenarioArgs &args);
// The Windows 11 stand-in, with dialwick.exe started by the runner: the
// library refuses it, and dialwick.exe says so in a message box, which is
// then closed.
void ScenarioWindows11(const ScenarioArgs &args);
