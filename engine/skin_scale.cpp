// Which artwork of a skin the clock holds at a DPI, and the whole-factor
// enlargement of the base artwork, made once when the skin loads.
#include "engine/skin_scale.h"

const int32_t ScaleSteps[ScaleStepCount] = {500, 450, 400, 350, 300, 250, 225, 200, 175, 150, 125};

int32_t ScalePercentOfDpi(uint32_t dpi)
{
    if (dpi < 96 || dpi > 480)
        return 100;
    return (int32_t)(dpi * 100 / 96);
}

int32_t ScaleDistance(int32_t pixels, int32_t scale) { return (pixels * scale + 50) / 100; }

// The face at its widest and tallest, whatever the options, must fit the
// 16-bit halves of the answer to the taskbar's size query.
static bool FaceFits(int64_t numbersWidth, int64_t numbersHeight, int64_t textWidth, int64_t textHeight, int32_t scale)
{
    int64_t dw = numbersWidth / 11, tcw = textWidth / 30, tch = textHeight / 3;
    int64_t gap = ScaleDistance(2, scale);
    int64_t width = 8 * (dw + gap) + ScaleDistance(4, scale) + 5 * tcw + 2 * gap + tch;
    int64_t height = numbersHeight + ScaleDistance(10, scale) + 3 * tch + gap;
    return width <= 0xFFFF && height <= 0xFFFF;
}

bool GrownBy(int64_t base, int64_t grown, int32_t scale)
{
    int64_t difference = grown * 100 - base * scale;
    return difference > -100 && difference < 100;
}

static bool SameCellLayout(const SkinArt &base, const SkinArt &drawn, int32_t scale)
{
    return GrownBy(base.NumbersWidth / 11, drawn.NumbersWidth / 11, scale) &&
           GrownBy(base.NumbersHeight, drawn.NumbersHeight, scale) &&
           GrownBy(base.TextWidth / 30, drawn.TextWidth / 30, scale) &&
           GrownBy(base.TextHeight / 3, drawn.TextHeight / 3, scale);
}

static bool TakeDrawnArt(const char *name, int32_t scale, SkinArt *art)
{
    SkinArt drawn;
    LoadArtFiles(name, scale, &drawn);
    if (!drawn.Numbers || !drawn.Text || !SameCellLayout(*art, drawn, scale) ||
        !FaceFits(drawn.NumbersWidth, drawn.NumbersHeight, drawn.TextWidth, drawn.TextHeight, scale)) {
        FreeArt(&drawn);
        return false;
    }
    FreeArt(art);
    *art = drawn;
    return true;
}

static bool TakeEnlargedArt(int32_t factor, SkinArt *art)
{
    SkinArt big = *art;
    big.NumbersWidth *= factor;
    big.NumbersHeight *= factor;
    big.TextWidth *= factor;
    big.TextHeight *= factor;
    big.Scale = 100 * factor;
    big.Enlargement = factor;
    if (!FaceFits(big.NumbersWidth, big.NumbersHeight, big.TextWidth, big.TextHeight, big.Scale))
        return false;
    big.Numbers = EnlargeBitmap(art->Numbers, art->NumbersWidth, art->NumbersHeight, factor);
    big.Text = big.Numbers ? EnlargeBitmap(art->Text, art->TextWidth, art->TextHeight, factor) : nullptr;
    if (!big.Numbers || !big.Text) {
        FreeArt(&big);
        return false;
    }
    FreeArt(art);
    *art = big;
    return true;
}

void ChooseArtForDpi(const char *name, uint32_t dpi, SkinArt *art)
{
    int32_t wanted = ScalePercentOfDpi(dpi);
    for (int32_t scale : ScaleSteps) {
        if (scale > wanted)
            continue;
        if (TakeDrawnArt(name, scale, art))
            return;
        if (scale % 100 == 0 && TakeEnlargedArt(scale / 100, art))
            return;
    }
}

// Columns first into a bitmap as wide as the result, then rows from it: one
// BitBlt per column and per row, whole pixels only, so nothing is ever
// resampled by a fraction. Starts with the source selected into from and
// the wide bitmap into to.
static bool CopyEnlarged(HDC from, HDC to, HBITMAP wide, HBITMAP result, int32_t width, int32_t height, int32_t factor)
{
    for (int32_t x = 0; x < width * factor; x++)
        if (!BitBlt(to, x, 0, 1, height, from, x / factor, 0, SRCCOPY))
            return false;
    // The wide bitmap leaves the one DC before it enters the other.
    if (!SelectObject(to, result) || !SelectObject(from, wide))
        return false;
    for (int32_t y = 0; y < height * factor; y++)
        if (!BitBlt(to, 0, y, width * factor, 1, from, 0, y / factor, SRCCOPY))
            return false;
    return true;
}

HBITMAP EnlargeBitmap(HBITMAP source, int32_t width, int32_t height, int32_t factor)
{
    HDC from = CreateCompatibleDC(nullptr);
    HDC to = CreateCompatibleDC(nullptr);
    HGDIOBJ fromDefault = from && to ? SelectObject(from, source) : nullptr;
    HGDIOBJ toDefault = nullptr;
    HBITMAP wide = nullptr, result = nullptr;
    if (fromDefault) {
        // Made while the source is selected, so they take its format, not the
        // monochrome one of a bare memory DC.
        wide = CreateCompatibleBitmap(from, width * factor, height);
        result = CreateCompatibleBitmap(from, width * factor, height * factor);
        toDefault = wide && result ? SelectObject(to, wide) : nullptr;
    }
    bool done = toDefault && CopyEnlarged(from, to, wide, result, width, height, factor);
    if (fromDefault)
        SelectObject(from, fromDefault);
    if (toDefault)
        SelectObject(to, toDefault);
    if (from)
        DeleteDC(from);
    if (to)
        DeleteDC(to);
    if (wide)
        DeleteObject(wide);
    if (!done && result) {
        DeleteObject(result);
        result = nullptr;
    }
    return result;
}
