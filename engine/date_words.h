#pragma once

#include <stdint.h>

// English date words for the face; they follow neither the menu language nor the locale.
const char *MonthAbbreviation();
const char *DayOfWeekName();
uint16_t DayOfWeekNameLength();
