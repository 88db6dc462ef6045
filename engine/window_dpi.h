#pragma once

#include "platform/platform.h"

#include <stdint.h>

// The DPI a window is drawn at: its monitor's where Windows can tell
// (GetDpiForWindow), else the system DPI of its device context. 0 when
// neither answers or there is no window.
uint32_t ReadWindowDpi(HWND hwnd);
