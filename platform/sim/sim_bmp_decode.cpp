// Decoding of BMP files as Windows' image loader reads them: colours equal
// what LoadImageA(IMAGE_BITMAP, LR_LOADFROMFILE) then GetPixel give on a
// 32-bpp screen. Where the loader is lenient with a broken file (it paints
// out-of-palette indices black and reads whatever follows a short file),
// the file is refused instead. Pixels an RLE stream skips on purpose, with a
// delta or an early end of line, stay black as they do there.
#include "platform/sim/sim_bmp_decode.h"

#include <utility>

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;

constexpr int64_t kFileHeaderSize = 14;
constexpr int64_t kCoreHeaderSize = 12;
constexpr int64_t kInfoHeaderSize = 40;
// Windows' loader refuses info headers with a side beyond this.
constexpr int64_t kMaxSide = 65535;
// Pixels per metre (25400 dpi); no device is that fine, so a larger
// density only comes from a corrupt header.
constexpr int64_t kMaxDensity = 1000000;

struct Channel {
    uint32_t Mask = 0;
    int Shift = 0;
    int Len = 0;
};

struct Layout {
    int64_t Width = 0;
    int64_t Height = 0;
    bool TopDown = false;
    int Bpp = 0;
    uint32_t Compression = kBiRgb;
    Channel Channels[3];  // red, green, blue
    uint32_t Palette[256] = {};
    int PaletteSize = 0;
    int64_t SizeImage = 0;
    int64_t HeaderEnd = 0;  // end of the header and of any masks after it
    int64_t BitsOffset = 0;
    int64_t BitsEnd = 0;
};

uint32_t Le16(const uint8_t *p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }

uint32_t Le32(const uint8_t *p) { return Le16(p) | Le16(p + 2) << 16; }

int32_t Le32Signed(const uint8_t *p) { return int32_t(Le32(p)); }

uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | g << 8 | b << 16; }

// Masks must be non-empty, contiguous, disjoint and inside the pixel.
bool MakeChannels(const uint32_t masks[3], int bpp, Channel out[3])
{
    const uint64_t pixelMask = (uint64_t(1) << bpp) - 1;
    for (int i = 0; i < 3; ++i) {
        const uint32_t mask = masks[i];
        if (mask == 0 || mask > pixelMask)
            return false;
        int shift = 0;
        while (!(mask >> shift & 1))
            ++shift;
        int len = 0;
        while (shift + len < 32 && (mask >> (shift + len) & 1))
            ++len;
        if ((uint64_t(mask) >> shift) != (uint64_t(1) << len) - 1)
            return false;
        out[i] = Channel{mask, shift, len};
    }
    return !(masks[0] & masks[1]) && !(masks[0] & masks[2]) && !(masks[1] & masks[2]);
}

// Wine's DIB engine widens a short channel by repeating its top bits once,
// so a 5-bit value v becomes (v << 3) | (v >> 2); longer ones keep the top 8.
uint32_t ChannelTo8(uint32_t pixel, const Channel &c)
{
    uint32_t v = (pixel & c.Mask) >> c.Shift;
    if (c.Len >= 8)
        return v >> (c.Len - 8);
    v <<= 8 - c.Len;
    return (v | v >> c.Len) & 0xff;
}

uint32_t MaskedColor(uint32_t pixel, const Channel ch[3])
{
    return Rgb(ChannelTo8(pixel, ch[0]), ChannelTo8(pixel, ch[1]), ChannelTo8(pixel, ch[2]));
}

bool ValidCombination(uint32_t compression, int bpp, bool topDown)
{
    switch (compression) {
    case kBiRgb:
        return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
    case kBiRle8:
        return bpp == 8 && !topDown;
    case kBiRle4:
        return bpp == 4 && !topDown;
    case kBiBitfields:
        return bpp == 16 || bpp == 32;
    default:
        return false;
    }
}

// Reads `count` palette entries of `entrySize` bytes (3 for RGBTRIPLE, 4 for
// RGBQUAD); only the first 2^bpp can ever be indexed.
bool ReadPalette(const uint8_t *data, int64_t size, int64_t at, int64_t count, int entrySize, Layout *l)
{
    if (at + count * entrySize > size)
        return false;
    l->PaletteSize = int(count < (int64_t(1) << l->Bpp) ? count : (int64_t(1) << l->Bpp));
    for (int i = 0; i < l->PaletteSize; ++i) {
        const uint8_t *e = data + at + int64_t(i) * entrySize;
        l->Palette[i] = Rgb(e[2], e[1], e[0]);
    }
    return true;
}

// OS/2 1.x header: unsigned 16-bit sides, always a full RGBTRIPLE palette.
bool ParseCoreHeader(const uint8_t *data, int64_t size, Layout *l, int64_t *defaultBits)
{
    const uint8_t *h = data + kFileHeaderSize;
    l->Width = Le16(h + 4);
    l->Height = Le16(h + 6);
    l->Bpp = int(Le16(h + 10));
    if (Le16(h + 8) != 1)
        return false;
    if (l->Bpp != 1 && l->Bpp != 4 && l->Bpp != 8 && l->Bpp != 24)
        return false;
    l->HeaderEnd = kFileHeaderSize + kCoreHeaderSize;
    const int64_t count = l->Bpp <= 8 ? int64_t(1) << l->Bpp : 0;
    *defaultBits = l->HeaderEnd + count * 3;
    return count == 0 || ReadPalette(data, size, l->HeaderEnd, count, 3, l);
}

bool ParseInfoHeader(const uint8_t *data, int64_t size, int64_t headerSize, Layout *l, int64_t *defaultBits)
{
    const uint8_t *h = data + kFileHeaderSize;
    l->Width = Le32Signed(h + 4);
    const int64_t height = Le32Signed(h + 8);
    l->TopDown = height < 0;
    l->Height = height < 0 ? -height : height;
    l->Bpp = int(Le16(h + 14));
    l->Compression = Le32(h + 16);
    l->SizeImage = Le32(h + 20);
    const int64_t densityX = Le32Signed(h + 24);
    const int64_t densityY = Le32Signed(h + 28);
    const int64_t clrUsed = Le32(h + 32);
    if (Le16(h + 12) != 1 || l->Width > kMaxSide || l->Height > kMaxSide)
        return false;
    if (densityX > kMaxDensity || densityX < -kMaxDensity)
        return false;
    if (densityY > kMaxDensity || densityY < -kMaxDensity)
        return false;
    if (!ValidCombination(l->Compression, l->Bpp, l->TopDown))
        return false;

    l->HeaderEnd = kFileHeaderSize + headerSize;
    uint32_t masks[3] = {0x7c00, 0x03e0, 0x001f};
    if (l->Bpp == 32) {
        masks[0] = 0xff0000;
        masks[1] = 0x00ff00;
        masks[2] = 0x0000ff;
    }
    if (l->Compression == kBiBitfields) {
        // A plain info header is followed by the three masks; later
        // versions carry them inside the header.
        if (headerSize == kInfoHeaderSize)
            l->HeaderEnd += 12;
        if (l->HeaderEnd > size)
            return false;
        for (int i = 0; i < 3; ++i)
            masks[i] = Le32(h + kInfoHeaderSize + 4 * i);
    }
    if ((l->Bpp == 16 || l->Bpp == 32) && !MakeChannels(masks, l->Bpp, l->Channels))
        return false;

    // The loader skips at most 256 entries when the data offset is zero.
    const int64_t count = clrUsed ? clrUsed : (l->Bpp <= 8 ? int64_t(1) << l->Bpp : 0);
    *defaultBits = l->HeaderEnd + (count < 256 ? count : 256) * 4;
    return l->Bpp > 8 || ReadPalette(data, size, l->HeaderEnd, count, 4, l);
}

bool ParseHeaders(const uint8_t *data, int64_t size, Layout *l)
{
    if (size < kFileHeaderSize + 4 || data[0] != 'B' || data[1] != 'M')
        return false;
    if (Le32(data + 2) > size)
        return false;
    l->BitsOffset = Le32(data + 10);
    const int64_t headerSize = Le32(data + kFileHeaderSize);
    if (kFileHeaderSize + headerSize > size)
        return false;
    int64_t defaultBits = 0;
    bool ok = false;
    if (headerSize == kCoreHeaderSize) {
        ok = ParseCoreHeader(data, size, l, &defaultBits);
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 || headerSize == 124) {
        ok = ParseInfoHeader(data, size, headerSize, l, &defaultBits);
    }
    if (!ok || l->Width <= 0 || l->Height <= 0)
        return false;
    if (l->Width * l->Height > SimMaxBitmapPixels)
        return false;
    // A zero offset means the pixels follow the palette directly.
    if (l->BitsOffset == 0)
        l->BitsOffset = defaultBits;
    // A header claiming more pixel data than the file holds means a cut file.
    if (l->BitsOffset + l->SizeImage > size)
        return false;
    // Compressed data ends where the header says; plain rows are sized by
    // the stride, whatever the header says.
    const bool rle = l->Compression == kBiRle8 || l->Compression == kBiRle4;
    l->BitsEnd = rle && l->SizeImage ? l->BitsOffset + l->SizeImage : size;
    return l->BitsOffset >= l->HeaderEnd && l->BitsOffset < l->BitsEnd;
}

bool IndexedColor(const Layout &l, uint32_t index, uint32_t *color)
{
    if (index >= uint32_t(l.PaletteSize))
        return false;
    *color = l.Palette[index];
    return true;
}

bool DecodeRow(const Layout &l, const uint8_t *src, uint32_t *dst)
{
    for (int64_t x = 0; x < l.Width; ++x) {
        switch (l.Bpp) {
        case 1:
            if (!IndexedColor(l, src[x >> 3] >> (7 - (x & 7)) & 1, &dst[x]))
                return false;
            break;
        case 4:
            if (!IndexedColor(l, src[x >> 1] >> ((x & 1) ? 0 : 4) & 0xf, &dst[x]))
                return false;
            break;
        case 8:
            if (!IndexedColor(l, src[x], &dst[x]))
                return false;
            break;
        case 16:
            dst[x] = MaskedColor(Le16(src + 2 * x), l.Channels);
            break;
        case 24:
            dst[x] = Rgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
            break;
        default:
            dst[x] = MaskedColor(Le32(src + 4 * x), l.Channels);
            break;
        }
    }
    return true;
}

bool DecodePlain(const uint8_t *data, const Layout &l, std::vector<uint32_t> *pixels)
{
    const int64_t stride = (l.Width * l.Bpp + 31) / 32 * 4;
    if (stride * l.Height > l.BitsEnd - l.BitsOffset)
        return false;
    pixels->resize(size_t(l.Width * l.Height));
    for (int64_t row = 0; row < l.Height; ++row) {
        const int64_t y = l.TopDown ? row : l.Height - 1 - row;
        const uint8_t *src = data + l.BitsOffset + row * stride;
        if (!DecodeRow(l, src, pixels->data() + y * l.Width))
            return false;
    }
    return true;
}

struct RleCursor {
    int64_t X = 0;
    int64_t Row = 0;  // counted from the bottom
    // Encoders such as ImageMagick's also encode a row's padding, so a run
    // may reach the end of the padded row; what lies past the width is
    // dropped, as Windows clips it. Going further is corrupt data.
    int64_t RowEnd = 0;
};

// Writes `count` pixels at the cursor; index i comes from indexAt(i).
template <typename IndexAt>
bool PutRun(const Layout &l, RleCursor *c, int64_t count, IndexAt indexAt, std::vector<uint32_t> *pixels)
{
    if (c->Row >= l.Height || c->X + count > c->RowEnd)
        return false;
    uint32_t *row = pixels->data() + (l.Height - 1 - c->Row) * l.Width;
    for (int64_t i = 0; i < count; ++i) {
        uint32_t colour = 0;
        if (!IndexedColor(l, indexAt(i), &colour))
            return false;
        if (c->X + i < l.Width)
            row[c->X + i] = colour;
    }
    c->X += count;
    return true;
}

// Pixels the stream never writes stay black, as in a fresh screen bitmap.
bool DecodeRle(const uint8_t *data, const Layout &l, std::vector<uint32_t> *pixels)
{
    const bool four = l.Compression == kBiRle4;
    pixels->assign(size_t(l.Width * l.Height), 0);
    RleCursor c;
    c.RowEnd = (l.Width * l.Bpp + 31) / 32 * 32 / l.Bpp;
    int64_t pos = l.BitsOffset;
    while (pos + 2 <= l.BitsEnd) {
        const int64_t count = data[pos];
        const uint32_t value = data[pos + 1];
        pos += 2;
        if (count > 0) {
            auto index = [&](int64_t i) { return four ? (i & 1 ? value & 0xf : value >> 4) : value; };
            if (!PutRun(l, &c, count, index, pixels))
                return false;
        } else if (value == 0) {
            c.X = 0;
            ++c.Row;
        } else if (value == 1) {
            return true;
        } else if (value == 2) {
            if (pos + 2 > l.BitsEnd)
                return false;
            c.X += data[pos];
            c.Row += data[pos + 1];
            pos += 2;
            if (c.X > c.RowEnd || c.Row > l.Height)
                return false;
        } else {
            // Absolute run: literal indices, padded to a 16-bit boundary.
            const int64_t bytes = four ? (int64_t(value) + 1) / 2 : value;
            const int64_t padded = (bytes + 1) & ~int64_t(1);
            if (pos + padded > l.BitsEnd)
                return false;
            const uint8_t *src = data + pos;
            auto index = [&](int64_t i) {
                return four ? uint32_t(i & 1 ? src[i / 2] & 0xf : src[i / 2] >> 4) : uint32_t(src[i]);
            };
            if (!PutRun(l, &c, value, index, pixels))
                return false;
            pos += padded;
        }
    }
    return false;  // no end-of-bitmap marker: the stream was cut
}

}  // namespace

bool SimDecodeBmp(const uint8_t *data, size_t size, SimDecodedBitmap *out)
{
    if (!out)
        return false;
    *out = SimDecodedBitmap();
    if (!data || size > size_t(INT64_MAX))
        return false;
    Layout layout;
    if (!ParseHeaders(data, int64_t(size), &layout))
        return false;
    std::vector<uint32_t> pixels;
    const bool rle = layout.Compression == kBiRle8 || layout.Compression == kBiRle4;
    const bool ok = rle ? DecodeRle(data, layout, &pixels) : DecodePlain(data, layout, &pixels);
    if (!ok)
        return false;
    out->Width = int(layout.Width);
    out->Height = int(layout.Height);
    out->Pixels = std::move(pixels);
    return true;
}
