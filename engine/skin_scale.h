#pragma once

#include "engine/skin_bitmaps.h"

// Windows' scale settings above 100 %, largest first: the names of the
// folders a skin may hold artwork for larger scales in.
constexpr int ScaleStepCount = 11;
extern const int32_t ScaleSteps[ScaleStepCount];

// The scale in percent a DPI asks for: DPI x 100 / 96. 100 for a DPI that
// cannot be right: 0 (unknown), below 96, or above 480 (500 %, the largest
// scale Windows offers).
int32_t ScalePercentOfDpi(uint32_t dpi);

// A distance of the 100 % face at a scale in percent, rounded.
int32_t ScaleDistance(int32_t pixels, int32_t scale);

// Whether a cell size of a scale's artwork is the base size grown by the
// scale, to the pixel below or above.
bool GrownBy(int64_t base, int64_t grown, int32_t scale);

// Replaces the skin's base pair in *art with the best artwork for the DPI:
// of the scales not above the DPI's, the largest that the skin has drawn in
// its scale folder or that is a whole multiple of 100 % (the base enlarged
// pixel by pixel); drawn artwork wins at the same scale. Artwork whose cells
// are not the base's grown by the scale, that does not load, or whose face
// could pass 65,535 pixels is passed over; at worst the base stays.
void ChooseArtForDpi(const char *name, uint32_t dpi, SkinArt *art);

// A copy of the bitmap enlarged by a whole factor, each pixel a factor x
// factor block; null when GDI refuses any step.
HBITMAP EnlargeBitmap(HBITMAP source, int32_t width, int32_t height, int32_t factor);
