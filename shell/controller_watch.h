// Explorer's copy holds on to the controller that attached: only that
// controller may hand over again or take the clock back while it runs, and
// once it is gone, killed or crashed, the clock goes back to Explorer.
#pragma once

#include "platform/platform.h"

// The timer on the clock window that looks for the controller, with an id
// far from the small ones a clock's own timers use.
constexpr UINT_PTR ControllerWatchTimer = 0x445A;
// Each repaint request sets the watch afresh, so while the controller asks
// once a second the watch never fires and Explorer wakes only for the paint;
// once the requests stop, a gone controller's face is gone within two seconds.
constexpr UINT ControllerWatchInterval = 1500;

// Notes the controller of an accepted hand-over and starts watching it.
void HoldController(HWND controller);
// A repaint request: the controller is heard from, the watch waits again.
void HeardFromController();
// Stops watching: the clock has no controller. The one it had is told.
void ReleaseController();
// Whether a message that names sender may act for the controller: sender is
// the controller, or no controller runs.
bool ActsForController(HWND sender);
// The watch timer: gives the clock back when the controller is gone.
void WatchController();
