#pragma once

#include "platform/platform.h"

// The WH_CALLWNDPROC hook: subclasses on SubclassMessage, passes everything on.
LRESULT CALLBACK ClockHookProc(int code, WPARAM wParam, LPARAM lParam);

void SubclassClock();
void UnsubclassClock();

// The notification area's replacement procedure: repaints the face after a
// settings change, and makes room for the face on a taskbar that sizes the
// clock itself.
LRESULT CALLBACK NotifyWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
