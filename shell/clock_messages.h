// The messages the library, the controller, the stand-in taskbar and the
// end-to-end tests exchange. Registered ones go by name: a name gives the
// same id in every process, so both copies of the library and the controller
// agree on them.
#pragma once

#include "platform/platform.h"

// Explorer asks the clock window, and on Windows 10 from 1607 the
// notification area, for the clock's size: width low, height high.
constexpr UINT ClockSizeMessage = WM_USER + 100;
// Posted to the controller when the user chooses Exit. Its value is the size
// query's, but it goes to another window. The installer sends it too
// (packaging/installer.nsi keeps the number).
constexpr UINT ExitRequestMessage = WM_USER + 100;

constexpr char PaintClockMessageName[] = "PaintClockMessage";
constexpr char UnsubclassMessageName[] = "UnsubclassMessage";
constexpr char SubclassMessageName[] = "SubclassMessage";
// Sent to the clock window: Explorer's copy answers with the window of the
// controller it holds, 0 when none (as Explorer's own clock answers it).
constexpr char ControllerQueryMessageName[] = "ControllerQueryMessage";
// Posted by Explorer's copy to the controller it held once it lets the clock
// go, whoever asked: that controller may want it back.
constexpr char ClockReleasedMessageName[] = "ClockReleasedMessage";
