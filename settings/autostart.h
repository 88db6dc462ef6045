// The autostart entry of the controlling executable in the user's Run key.
#pragma once

#include "engine/clock_state.h"

// -1 when the Run key holds the entry, of any type and content; 0 otherwise,
// also when the Run key cannot be opened.
Flag AutostartEntryExists();

// Writes the entry when wanted, deletes it otherwise.
void UpdateAutostartEntry(Flag wanted);
