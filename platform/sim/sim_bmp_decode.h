// Decoding of BMP files as Windows' image loader reads them.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <vector>

struct SimDecodedBitmap {
    int Width = 0;
    int Height = 0;
    // Row 0 is the top row; each pixel is a COLORREF (0x00BBGGRR).
    std::vector<uint32_t> Pixels;
};

// Largest image the decoder accepts, in pixels; larger headers are refused
// before anything is allocated.
constexpr int64_t SimMaxBitmapPixels = 64 * 1024 * 1024;

// Decodes a whole BMP file held in memory. Returns false, leaving *out empty,
// for anything that is not a complete, well-formed bitmap. Never reads outside
// data[0..size).
bool SimDecodeBmp(const uint8_t *data, size_t size, SimDecodedBitmap *out);
