// The names of the library's registered window messages: a name gives the
// same id in every process, so both copies of the library and the controller
// agree on them.
#pragma once

constexpr char PaintClockMessageName[] = "PaintClockMessage";
constexpr char UnsubclassMessageName[] = "UnsubclassMessage";
constexpr char SubclassMessageName[] = "SubclassMessage";
// Sent to the clock window: Explorer's copy answers with the window of the
// controller it holds, 0 when none (as Explorer's own clock answers it).
constexpr char ControllerQueryMessageName[] = "ControllerQueryMessage";
