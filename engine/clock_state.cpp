#include "engine/clock_state.h"

#include <string.h>

ClockStateRecord ClockState;

void ResetClockState() { memset(&ClockState, 0, sizeof(ClockState)); }
