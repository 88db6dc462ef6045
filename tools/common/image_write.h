#pragma once
#include <cstdint>

// Image writers for the host-side tools. Pixels are COLORREF values
// 0x00BBGGRR, row 0 at the top, width * height of them.
// Each returns false on bad arguments or any I/O failure; a file that
// could not be written completely is removed.

bool WritePng(const char *path, int width, int height, const uint32_t *pixels);
bool WriteBmp24(const char *path, int width, int height, const uint32_t *pixels);

// ".bmp" (any case) selects BMP, every other name PNG.
bool WriteImage(const char *path, int width, int height, const uint32_t *pixels);
