// The display options of a face as the tools name them on their command lines.
#pragma once

#include <string>

enum FaceOption : unsigned {
    OptSeconds = 1,
    OptDate = 2,
    OptLeft = 4,
    OptWeekday = 8,
    Opt12h = 16,
    OptTransparent = 32,
};

// Parses "seconds,date,left,weekday,12h,transparent" (any subset, any
// order), or "none".
bool ParseFaceOptions(const char *list, unsigned *options);
std::string FormatFaceOptions(unsigned options);

// Sets the six option flags of the clock's record from a mask of FaceOption bits.
void SetOptionFlags(unsigned options);
