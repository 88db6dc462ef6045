// The flows that both runners act out, written once: the simulation tests
// (tests/shell/test_flows.cpp, two simulated processes) and the end-to-end
// scenarios under Wine (tests/e2e/desk_wine.cpp, the real library against
// the stand-in taskbar of another process). Each runner implements the desk
// below; the flows use nothing else.
#pragma once

#include "platform/platform.h"

#include <stdint.h>
#include <string>
#include <vector>

// What the clock should show: the skin and the FaceOption bits.
struct FlowFace {
    std::string Skin;
    unsigned Options = 0;
};

// A failed check reports its message through the desk's DeskFail; returns ok.
bool DeskCheck(bool ok, const char *format, ...);
void DeskFail(const char *message);

// As the controller: attach (the first call also notes the stock clock and
// checks that the library is mapped into the taskbar's process) and wait
// until the taskbar gave the clock the size it answers; detach; KillHooks.
LONG DeskAttach();
LONG DeskDetach();
LONG DeskKillHooks();
// One WM_COMMAND to the clock, as a menu choice would send it.
bool DeskCommand(UINT id);
// Opens the clock's popup menu with a right click and chooses the second
// skin of the Skins submenu, which is named skin.
bool DeskChooseSkinByMenu(const char *skin);
// Waits for the exit request from the clock; the controller detaches on it.
bool DeskExitRequested();
// Another program sends the clock each hand-over of MalformedHandOvers.
bool DeskSendMalformedHandOvers();
// Whether the taskbar is see-through, and how much.
bool DeskTaskbarLayered(BYTE *alpha);

// Makes the library take a fresh snapshot at least two seconds after its
// last one, so that its colons show.
bool DeskNewSnapshot();
// The clock shows the face the preview paints for this skin and these
// options at the last snapshot's time, and the taskbar's windows lie where
// the preview puts them. The name tells the captures apart.
bool DeskFaceShows(const std::string &name, const FlowFace &face);
// The taskbar's own clock is back as it was before the first attach: its
// size answer, its size, its pixels, and the taskbar's windows.
bool DeskStockClockBack();

// Waits for a new second and sends the repaint request in it; the face must
// change. Says whether the second directly follows the last request's, and
// whether the time row's colons both show or both hide.
struct DeskTick {
    bool FollowsLast = false;
    bool ColonsShown = false, ColonsHidden = false;
    std::string Time;
};
bool DeskNextTick(DeskTick *tick);

// A registry value of the current user; false when it is absent.
bool DeskValue(const char *key, const char *name, DWORD *type, std::vector<uint8_t> *data);
// The command line the autostart entry holds: dialwick.exe beside the library.
std::string DeskAutostartLine();

struct Flow {
    const char *Name;
    void (*Run)(FlowFace start);
};
extern const Flow Flows[];
extern const size_t FlowCount;
// The second skin by name of those the runners give the menu flow.
extern const char MenuFlowSkin[];
