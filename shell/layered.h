#pragma once

#include "platform/platform.h"

// SetLayeredWindowAttributes, looked up at run time; 0 when it is missing.
BOOL SetLayeredAttributes(HWND hwnd, COLORREF key, BYTE alpha);

// Makes the taskbar translucent (LayeredMode set) or opaque again.
void ApplyLayeredMode();
