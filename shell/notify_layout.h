// The taskbar of Windows 10 from 1607 sizes the clock itself: it asks the
// notification area, not the clock, for its size, places the clock at
// Explorer's own clock size and lays the buttons after it. Here the face
// gets its room there, and everything goes back on detach. On a taskbar that
// asks the clock, none of this acts.
#pragma once

#include "platform/platform.h"

// A new subclassing: nothing is moved yet, and the clock's place is Explorer's.
void StartNotifyLayout();

// The notification area's answer to the size query, grown by what the face
// needs beyond Explorer's own clock (its width, or its height on a vertical
// taskbar).
LRESULT GrowNotifyAnswer(LRESULT answer);

// Explorer places the clock (a size and a position at once): its own place
// is noted, and the clock keeps the face's size.
void KeepFaceSize(WINDOWPOS *pos);

// After Explorer has laid the notification area out: the clock has the
// face's size, and what lies after the clock starts where the face ends.
void FitNotifyChildren();

// The clock and every moved window back where Explorer had them.
void RestoreNotifyLayout();

// Has the taskbar lay itself out again, as after the user moved or sized it.
void RelayoutTaskbar();
