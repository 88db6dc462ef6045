// Tests of the BMP decoder behind the simulated LoadImageA, on files made
// here; the bitmap suite is held to Wine's loader by tests/wine/bmp_compare.sh.
#include "platform/sim/sim_bmp_decode.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

bool Decode(const Bytes &file, SimDecodedBitmap *out) { return SimDecodeBmp(file.data(), file.size(), out); }

// Writes the low bytes of v, little-endian.
void Put(Bytes *b, size_t at, uint32_t v, int bytes = 4)
{
    for (int i = 0; i < bytes; ++i)
        (*b)[at + i] = uint8_t(v >> 8 * i);
}

// A file with an info header of headerSize bytes; masks go after a 40-byte
// header and inside longer ones. biClrUsed counts the palette's entries.
Bytes MakeBmp(uint32_t headerSize, int32_t width, int32_t height, int bpp, uint32_t compression,
              const std::vector<uint32_t> &masks, const Bytes &palette, const Bytes &bits)
{
    Bytes f(14 + headerSize, 0);
    for (size_t i = 0; i < masks.size(); ++i) {
        if (headerSize == 40)
            f.resize(f.size() + 4);
        Put(&f, headerSize == 40 ? f.size() - 4 : 14 + 40 + 4 * i, masks[i]);
    }
    const size_t offBits = f.size() + palette.size();
    f.insert(f.end(), palette.begin(), palette.end());
    f.insert(f.end(), bits.begin(), bits.end());
    const uint32_t fields[][2] = {{0, 'B' | 'M' << 8},           {2, uint32_t(f.size())},
                                  {10, uint32_t(offBits)},       {14, headerSize},
                                  {18, uint32_t(width)},         {22, uint32_t(height)},
                                  {26, 1 | uint32_t(bpp) << 16}, {30, compression},
                                  {34, uint32_t(bits.size())},   {46, uint32_t(palette.size() / 4)}};
    for (const auto &field : fields)
        Put(&f, field[0], field[1], field[0] == 0 ? 2 : 4);
    return f;
}

// RGBQUADs for the given COLORREFs.
Bytes Quads(const std::vector<uint32_t> &colours)
{
    Bytes q;
    for (uint32_t c : colours) {
        q.insert(q.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c), 0});
    }
    return q;
}

const uint32_t kRed = 0x0000ff, kGreen = 0x00ff00, kBlue = 0xff0000, kWhite = 0xffffff;

// What the bitmap suite does not hold: an RLE8 delta, the 52- and 56-byte
// headers, default masks, a palette of zero count after a zero offset.
TEST(BmpDecode, HandMadeFiles)
{
    std::vector<uint32_t> sixteen(16, kRed);
    sixteen[15] = kGreen;
    Bytes zeros = MakeBmp(40, 2, 1, 4, 0, {}, Quads(sixteen), {0xf0, 0, 0, 0});
    Put(&zeros, 10, 0);  // pixels follow the palette
    Put(&zeros, 46, 0);  // all 16 entries
    const struct {
        Bytes File;
        std::vector<uint32_t> Pixels;
    } cases[] = {
        // Bottom row: run, absolute run with padding, end of line; a delta
        // over the middle row; one pixel on the top row; end of bitmap.
        {MakeBmp(40, 5, 3, 8, 1, {}, Quads({kRed, kGreen, kBlue, kWhite}),
                 {2, 1, 0, 3, 0, 2, 3, 0, 0, 0, 0, 2, 2, 1, 1, 3, 0, 1}),
         {0, 0, kWhite, 0, 0, 0, 0, 0, 0, 0, kGreen, kGreen, kRed, kBlue, kWhite}},
        {MakeBmp(40, 2, 1, 16, 0, {}, {}, {0xff, 0x7f, 0x21, 0x04}), {kWhite, 0x080808}},
        {MakeBmp(40, 1, 1, 32, 0, {}, {}, {0x11, 0x22, 0x33, 0xaa}), {0x112233}},
        {MakeBmp(52, 1, 1, 32, 3, {0xff, 0xff00, 0xff0000}, {}, {0x11, 0x22, 0x33, 0}), {0x332211}},
        {MakeBmp(56, 1, 1, 32, 3, {0xff, 0xff00, 0xff0000}, {}, {0x11, 0x22, 0x33, 0}), {0x332211}},
        {zeros, {kGreen, kRed}},
    };
    for (const auto &c : cases) {
        SimDecodedBitmap bm;
        ASSERT_TRUE(Decode(c.File, &bm)) << &c - cases;
        EXPECT_EQ(bm.Pixels, c.Pixels) << &c - cases;
    }
}

TEST(BmpDecode, RefusesMalformedHeaders)
{
    const Bytes good = MakeBmp(40, 2, 2, 8, 0, {}, Quads({kRed, kGreen}), Bytes(8, 1));
    SimDecodedBitmap bm;
    ASSERT_TRUE(Decode(good, &bm));
    const std::vector<std::function<void(Bytes *)>> breaks = {
        [](Bytes *f) { (*f)[1] = 'A'; },                                        // not "BM"
        [](Bytes *f) { Put(f, 14, 64); },                                       // unknown header size
        [](Bytes *f) { Put(f, 18, 0); },                                        // zero width
        [](Bytes *f) { Put(f, 18, uint32_t(-2)); },                             // negative width
        [](Bytes *f) { Put(f, 22, 0); },                                        // zero height
        [](Bytes *f) { Put(f, 26, 2, 2); },                                     // two planes
        [](Bytes *f) { Put(f, 28, 2, 2); },                                     // 2 bpp
        [](Bytes *f) { Put(f, 28, 24, 2), Put(f, 30, 3); },                     // 24-bit bitfields
        [](Bytes *f) { Put(f, 30, 2); },                                        // RLE4 on 8 bpp
        [](Bytes *f) { Put(f, 30, 4); },                                        // JPEG
        [](Bytes *f) { Put(f, 30, 1), Put(f, 22, uint32_t(-2)); },              // top-down RLE
        [](Bytes *f) { Put(f, 10, uint32_t(f->size())); },                      // no pixel data
        [](Bytes *f) { Put(f, 10, 20); },                                       // pixels inside the header
        [](Bytes *f) { Put(f, 34, 100); },                                      // more data than held
        [](Bytes *f) { Put(f, 2, uint32_t(f->size() + 1)); },                   // claims a longer file
        [](Bytes *f) { Put(f, 46, 0x10000000); },                               // palette past the end
        [](Bytes *f) { (*f)[f->size() - 4] = 2; },                              // index past a two-entry palette
        [](Bytes *f) { Put(f, 18, 100000), Put(f, 22, 100000); },               // huge, not allocated (ASan)
        [](Bytes *f) { Put(f, 18, 60000), Put(f, 22, 60000), Put(f, 30, 1); },  // huge RLE
    };
    for (size_t i = 0; i < breaks.size(); ++i) {
        SCOPED_TRACE(i);
        Bytes f = good;
        breaks[i](&f);
        EXPECT_FALSE(Decode(f, &bm));
    }
    // Masks that are empty, overlapping, split or wider than the pixel.
    const std::vector<std::vector<uint32_t>> badMasks = {
        {0xf800, 0x07e0, 0}, {0xf800, 0x0fe0, 0x001f}, {0xf800, 0x07e0, 0x0015}, {0x1f800, 0x07e0, 0x001f}};
    for (const std::vector<uint32_t> &masks : badMasks) {
        EXPECT_FALSE(Decode(MakeBmp(40, 2, 1, 16, 3, masks, {}, Bytes(4, 0)), &bm));
    }
}

}  // namespace
