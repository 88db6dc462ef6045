#pragma once

#include "platform/platform.h"
#include "shell/clock_messages.h"

#include <stdint.h>

// The clock's replacement window procedure.
LRESULT CALLBACK ClockWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The data of the hand-over from the controller's copy of the library.
constexpr int HandOverHostPathSize = 260;
constexpr int HandOverReservedSize = 200;
constexpr DWORD HandOverRecordSize = 464;
struct HandOverRecord {
    char HostPath[HandOverHostPathSize];
    char ReservedText[HandOverReservedSize];
    uint32_t ControllerWnd;  // window handles are 32-bit significant on 64-bit Windows too
};
static_assert(sizeof(HandOverRecord) == HandOverRecordSize, "the record's layout is fixed");
