// The places of the taskbar's windows as text, so that a stand-in under Wine
// and one in the simulation can be compared line by line.
#pragma once

#include "platform/platform.h"

#include <string>

// The notification area relative to the taskbar, then each of its children
// relative to it, one line each: class, left, top, right, bottom.
std::string DescribeTaskbarRects(HWND tray);

// Writes the text as it is (no line-end conversion); false on any failure.
bool WriteRectsFile(const char *path, const std::string &rects);
