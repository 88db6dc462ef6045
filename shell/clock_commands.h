#pragma once

#include "platform/platform.h"
#include "settings/menu_commands.h"

// Carries out one WM_COMMAND id at the clock window.
void RunClockCommand(HWND hwnd, unsigned id);

// Starts the date and time control panel.
void OpenDateTimePanel();
