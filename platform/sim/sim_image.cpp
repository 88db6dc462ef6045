// LoadImageA for bitmap files: a device-dependent bitmap of the screen's
// 32-bit format, as Windows makes it without LR_CREATEDIBSECTION.
#include "platform/sim/sim_bmp_decode.h"
#include "platform/sim/sim_internal.h"

#include <stdio.h>

// Files larger than this cannot be a bitmap the decoder would accept.
static const long MaxBitmapFileBytes = 512L * 1024 * 1024;

static bool ReadWholeFile(const char *path, std::vector<uint8_t> &bytes)
{
    FILE *f = fopen(path, "rb");
    if (!f)
        return false;
    bool ok = fseek(f, 0, SEEK_END) == 0;
    long size = ok ? ftell(f) : -1;
    ok = ok && size >= 0 && size <= MaxBitmapFileBytes && fseek(f, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize((size_t)size);
        ok = size == 0 || fread(bytes.data(), 1, (size_t)size, f) == (size_t)size;
    }
    fclose(f);
    return ok;
}

HANDLE LoadImageA(HINSTANCE, LPCSTR name, UINT type, int cx, int cy, UINT flags)
{
    if (SimShouldFail("LoadImageA"))
        return nullptr;
    // Only what the system asks for: a bitmap file at its natural size.
    if (!name || type != IMAGE_BITMAP || !(flags & LR_LOADFROMFILE) || cx != 0 || cy != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(SimHostPath(name).c_str(), bytes)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    SimDecodedBitmap decoded;
    if (!SimDecodeBmp(bytes.data(), bytes.size(), &decoded))
        return nullptr;
    SimGdiObject object{};
    object.Kind = SimBitmaps;
    object.Bitmap.Width = decoded.Width;
    object.Bitmap.Height = decoded.Height;
    object.Bitmap.BitsPixel = 32;
    object.Bitmap.Pixels = std::move(decoded.Pixels);
    return (HANDLE)SimAddGdi(std::move(object));
}
