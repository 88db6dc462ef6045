// The one include through which the system reaches Windows. On Windows it is
// <windows.h>; elsewhere the simulated Windows declares the same calls.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// The pager control's notification, which the taskbar's layout turns on.
#include <commctrl.h>
#else
#include "platform/sim/sim_windows.h"
#endif
