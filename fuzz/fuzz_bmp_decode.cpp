// Any bytes as a bitmap file for the simulated LoadImageA's decoder.
#include "fuzz/fuzz_desktop.h"
#include "platform/sim/sim_bmp_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    SimDecodedBitmap out;
    bool ok = SimDecodeBmp(data, size, &out);
    if (!ok) {
        FuzzRequire(out.Width == 0 && out.Height == 0 && out.Pixels.empty(), "a refused file leaves nothing");
        return 0;
    }
    FuzzRequire(out.Width > 0 && out.Height > 0, "a decoded bitmap has both sides");
    FuzzRequire((int64_t)out.Width * out.Height <= SimMaxBitmapPixels, "a decoded bitmap is within the bound");
    FuzzRequire(out.Pixels.size() == (size_t)out.Width * out.Height, "one pixel per position");
    for (uint32_t pixel : out.Pixels)
        FuzzRequire(pixel <= 0xFFFFFF, "pixels are COLORREF values");
    return 0;
}
