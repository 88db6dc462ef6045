// Tests of the BMP decoder behind the simulated LoadImageA.
#include "platform/sim/sim_bmp_decode.h"
#include "tests/test_data.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

const std::string kSuite = TestDataPath("bmpsuite/");

Bytes ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Decode(const Bytes &file, SimDecodedBitmap *out) {
    return SimDecodeBmp(file.data(), file.size(), out);
}

void Put16(Bytes *b, size_t at, uint32_t v) {
    (*b)[at] = uint8_t(v);
    (*b)[at + 1] = uint8_t(v >> 8);
}

void Put32(Bytes *b, size_t at, uint32_t v) {
    Put16(b, at, v);
    Put16(b, at + 2, v >> 16);
}

uint32_t Get32(const Bytes &b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

// A file with an info header of headerSize bytes; masks go after a 40-byte
// header and inside longer ones. biClrUsed counts the palette's entries.
Bytes MakeBmp(uint32_t headerSize, int32_t width, int32_t height, int bpp, uint32_t compression,
              const std::vector<uint32_t> &masks, const Bytes &palette, const Bytes &bits) {
    Bytes f(14 + headerSize, 0);
    for (size_t i = 0; i < masks.size(); ++i) {
        if (headerSize == 40) f.resize(f.size() + 4);
        Put32(&f, headerSize == 40 ? f.size() - 4 : 14 + 40 + 4 * i, masks[i]);
    }
    const size_t offBits = f.size() + palette.size();
    f.insert(f.end(), palette.begin(), palette.end());
    f.insert(f.end(), bits.begin(), bits.end());
    f[0] = 'B';
    f[1] = 'M';
    Put32(&f, 2, uint32_t(f.size()));
    Put32(&f, 10, uint32_t(offBits));
    Put32(&f, 14, headerSize);
    Put32(&f, 18, uint32_t(width));
    Put32(&f, 22, uint32_t(height));
    Put16(&f, 26, 1);
    Put16(&f, 28, uint32_t(bpp));
    Put32(&f, 30, compression);
    Put32(&f, 34, uint32_t(bits.size()));
    Put32(&f, 46, uint32_t(palette.size() / 4));
    return f;
}

// RGBQUADs for the given COLORREFs.
Bytes Quads(const std::vector<uint32_t> &colours) {
    Bytes q;
    for (uint32_t c : colours) {
        q.insert(q.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c), 0});
    }
    return q;
}

const uint32_t kRed = 0x0000ff, kGreen = 0x00ff00, kBlue = 0xff0000, kWhite = 0xffffff;

// Source colours for ImageMagick; the first eight survive 5- and 6-bit channels.
const uint32_t kColours[20] = {0x0000ff, 0x00ff00, 0xff0000, 0x00ffff, 0xffff00, 0xff00ff, 0xffffff,
                               0x000000, 0x204080, 0x1e140a, 0x7280fa, 0xc08040, 0x332211, 0x3264c8,
                               0x2db45a, 0x634221, 0x8ce6f0, 0x82004b, 0x008cff, 0x578b2e};
constexpr int kSrcW = 11, kSrcH = 6;

uint32_t SourcePixel(int x, int y, int colours) { return kColours[(x * 3 + y * 5) % colours]; }

struct ConvertCase {
    const char *Name;
    int Colours;
    const char *Args; // ends with the output format prefix
    uint32_t HeaderSize;
    int Bpp;
    uint32_t Compression;
};

const ConvertCase kConvertCases[] = {
    {"core24", 20, "BMP2:", 12, 24, 0},
    {"core8", 20, "-type Palette BMP2:", 12, 8, 0},
    {"core4", 12, "-type Palette BMP2:", 12, 4, 0},
    {"core1", 2, "-type Palette BMP2:", 12, 1, 0},
    {"info24", 20, "BMP3:", 40, 24, 0},
    {"info8", 20, "-type Palette -compress None BMP3:", 40, 8, 0},
    {"info4", 12, "-type Palette BMP3:", 40, 4, 0},
    {"info1", 2, "-type Palette BMP3:", 40, 1, 0},
    {"info32", 20, "-alpha on -define bmp3:alpha=true BMP3:", 40, 32, 0},
    {"rle8", 20, "-type Palette -compress RLE BMP3:", 40, 8, 1},
    {"v5rle8", 12, "-type Palette -compress RLE BMP:", 124, 8, 1},
    {"v5_24", 20, "BMP:", 124, 24, 0},
    {"v5_32", 20, "-alpha on BMP:", 124, 32, 3},
    {"v5_565", 8, "-define bmp:subtype=RGB565 BMP:", 124, 16, 3},
    {"v5_555", 8, "-define bmp:subtype=RGB555 BMP:", 124, 16, 3},
};

TEST(BmpDecode, ReadsWhatImageMagickWrites) {
    if (std::system("convert -version > /dev/null 2>&1") != 0) GTEST_SKIP() << "convert is missing";
    const fs::path dir = fs::path(testing::TempDir()) / "dialwick_bmp_decode";
    fs::create_directories(dir);
    for (const ConvertCase &c : kConvertCases) {
        SCOPED_TRACE(c.Name);
        const std::string ppm = (dir / (std::string(c.Name) + ".ppm")).string();
        const std::string bmp = (dir / (std::string(c.Name) + ".bmp")).string();
        const std::string magic =
            "P6 " + std::to_string(kSrcW) + " " + std::to_string(kSrcH) + " 255\n";
        Bytes src(magic.begin(), magic.end());
        std::vector<uint32_t> expected;
        for (int y = 0; y < kSrcH; ++y) {
            for (int x = 0; x < kSrcW; ++x) {
                const uint32_t p = SourcePixel(x, y, c.Colours);
                src.insert(src.end(), {uint8_t(p), uint8_t(p >> 8), uint8_t(p >> 16)});
                expected.push_back(p);
            }
        }
        std::ofstream out(ppm, std::ios::binary);
        out.write(reinterpret_cast<const char *>(src.data()), std::streamsize(src.size()));
        out.close();
        ASSERT_EQ(std::system(("convert '" + ppm + "' " + c.Args + "'" + bmp + "'").c_str()), 0);

        const Bytes file = ReadFile(bmp);
        ASSERT_GE(file.size(), 34u);
        const bool core = c.HeaderSize == 12;
        EXPECT_EQ(Get32(file, 14), c.HeaderSize);
        EXPECT_EQ(file[core ? 24 : 28], c.Bpp);
        EXPECT_EQ(core ? 0 : Get32(file, 30), c.Compression);
        SimDecodedBitmap bm;
        ASSERT_TRUE(Decode(file, &bm));
        EXPECT_EQ(bm.Width, kSrcW);
        EXPECT_EQ(bm.Height, kSrcH);
        EXPECT_EQ(bm.Pixels, expected);
    }
}

TEST(BmpDecode, Rle8RunsDeltaAndAbsolute) {
    // Bottom row: run, absolute run with padding, end of line; then a delta
    // over the middle row; one pixel on the top row; end of bitmap.
    const Bytes rle = {2, 1, 0, 3, 0, 2, 3, 0, 0, 0, 0, 2, 2, 1, 1, 3, 0, 1};
    const Bytes f = MakeBmp(40, 5, 3, 8, 1, {}, Quads({kRed, kGreen, kBlue, kWhite}), rle);
    SimDecodedBitmap bm;
    ASSERT_TRUE(Decode(f, &bm));
    const std::vector<uint32_t> expected = {0, 0, kWhite, 0, 0,   0, 0, 0, 0, 0,
                                            kGreen, kGreen, kRed, kBlue, kWhite};
    EXPECT_EQ(bm.Pixels, expected);
}

TEST(BmpDecode, Rle4RunsAndAbsolute) {
    const Bytes rle = {3, 0x12, 0, 3, 0x20, 0x10, 0, 0, 4, 0x21, 0, 1};
    const Bytes f = MakeBmp(40, 6, 2, 4, 2, {}, Quads({kRed, kGreen, kBlue}), rle);
    SimDecodedBitmap bm;
    ASSERT_TRUE(Decode(f, &bm));
    const std::vector<uint32_t> expected = {kBlue, kGreen, kBlue, kGreen, 0,     0,
                                            kGreen, kBlue, kGreen, kBlue, kRed, kGreen};
    EXPECT_EQ(bm.Pixels, expected);
}

TEST(BmpDecode, Bitfields565WidenLikeWine) {
    const Bytes bits = {0x00, 0xf8, 0xe0, 0x07, 0x1f, 0x00, 0x10, 0x84};
    const Bytes f = MakeBmp(40, 2, 2, 16, 3, {0xf800, 0x07e0, 0x001f}, {}, bits);
    SimDecodedBitmap bm;
    ASSERT_TRUE(Decode(f, &bm));
    // 5-bit 16 -> 0x84, 6-bit 32 -> 0x82: the top bits repeat once.
    EXPECT_EQ(bm.Pixels, (std::vector<uint32_t>{kBlue, 0x848284, kRed, kGreen}));
}

TEST(BmpDecode, DefaultMasksAndEveryHeaderVersion) {
    SimDecodedBitmap bm;
    ASSERT_TRUE(Decode(MakeBmp(40, 2, 1, 16, 0, {}, {}, {0xff, 0x7f, 0x21, 0x04}), &bm));
    EXPECT_EQ(bm.Pixels, (std::vector<uint32_t>{kWhite, 0x080808}));
    ASSERT_TRUE(Decode(MakeBmp(40, 1, 1, 32, 0, {}, {}, {0x11, 0x22, 0x33, 0xaa}), &bm));
    EXPECT_EQ(bm.Pixels, (std::vector<uint32_t>{0x112233}));
    for (uint32_t size : {40u, 52u, 56u, 108u, 124u}) {
        SCOPED_TRACE(size);
        const Bytes f =
            MakeBmp(size, 1, 1, 32, 3, {0xff, 0xff00, 0xff0000}, {}, {0x11, 0x22, 0x33, 0});
        ASSERT_TRUE(Decode(f, &bm));
        EXPECT_EQ(bm.Pixels, (std::vector<uint32_t>{0x332211}));
    }
}

TEST(BmpDecode, TopDownRowsComeFirst) {
    const Bytes bits = {0xff, 0, 0, 0, 0xff, 0, 0, 0, 0, 0, 0xff, 0xff, 0xff, 0xff, 0, 0};
    const Bytes f = MakeBmp(40, 2, -2, 24, 0, {}, {}, bits);
    SimDecodedBitmap bm;
    ASSERT_TRUE(Decode(f, &bm));
    EXPECT_EQ(bm.Pixels, (std::vector<uint32_t>{kBlue, kGreen, kRed, kWhite}));
}

TEST(BmpDecode, CoreHeaderWithTriplePalette) {
    Bytes f = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 32, 0, 0, 0, 12, 0, 0, 0, 3, 0, 2, 0, 1, 0, 1, 0,
               0, 0, 0xff, 0xff, 0, 0, 0xa0, 0, 0, 0, 0x40, 0, 0, 0};
    Put32(&f, 2, uint32_t(f.size()));
    SimDecodedBitmap bm;
    ASSERT_TRUE(Decode(f, &bm));
    EXPECT_EQ(bm.Pixels, (std::vector<uint32_t>{kRed, kBlue, kRed, kBlue, kRed, kBlue}));
}

TEST(BmpDecode, PaletteSizeAndDataOffset) {
    SimDecodedBitmap bm;
    std::vector<uint32_t> sixteen(16, kRed);
    sixteen[15] = kGreen;
    Bytes f = MakeBmp(40, 2, 1, 4, 0, {}, Quads(sixteen), {0xf0, 0, 0, 0});
    Put32(&f, 10, 0);  // zero offset: pixels follow the palette
    Put32(&f, 46, 0);  // zero count: all 16 entries
    ASSERT_TRUE(Decode(f, &bm));
    EXPECT_EQ(bm.Pixels, (std::vector<uint32_t>{kGreen, kRed}));
    f = MakeBmp(40, 2, 1, 4, 0, {}, Quads({kRed, kGreen}), {0x12, 0, 0, 0});
    Put32(&f, 46, 2);
    EXPECT_FALSE(Decode(f, &bm)); // index 2 is past a two-entry palette
    EXPECT_TRUE(bm.Pixels.empty());
}

TEST(BmpDecode, RefusesMalformedHeaders) {
    const Bytes good = MakeBmp(40, 2, 2, 8, 0, {}, Quads({kRed, kGreen}), Bytes(8, 1));
    SimDecodedBitmap bm;
    ASSERT_TRUE(Decode(good, &bm));
    const std::vector<std::function<void(Bytes *)>> breaks = {
        [](Bytes *f) { (*f)[1] = 'A'; },                               // not "BM"
        [](Bytes *f) { Put32(f, 14, 64); },                            // unknown header size
        [](Bytes *f) { Put32(f, 18, 0); },                             // zero width
        [](Bytes *f) { Put32(f, 18, uint32_t(-2)); },                  // negative width
        [](Bytes *f) { Put32(f, 22, 0); },                             // zero height
        [](Bytes *f) { Put16(f, 26, 2); },                             // two planes
        [](Bytes *f) { Put16(f, 28, 2); },                             // 2 bpp
        [](Bytes *f) { Put16(f, 28, 24), Put32(f, 30, 3); },           // 24-bit bitfields
        [](Bytes *f) { Put32(f, 30, 2); },                             // RLE4 on 8 bpp
        [](Bytes *f) { Put32(f, 30, 4); },                             // JPEG
        [](Bytes *f) { Put32(f, 30, 1), Put32(f, 22, uint32_t(-2)); }, // top-down RLE
        [](Bytes *f) { Put32(f, 10, uint32_t(f->size())); },           // no pixel data
        [](Bytes *f) { Put32(f, 10, 20); },                            // pixels inside the header
        [](Bytes *f) { Put32(f, 34, 100); },                           // more data than held
        [](Bytes *f) { Put32(f, 2, uint32_t(f->size() + 1)); },        // claims a longer file
        [](Bytes *f) { Put32(f, 46, 0x10000000); },                    // palette past the end
    };
    for (size_t i = 0; i < breaks.size(); ++i) {
        SCOPED_TRACE(i);
        Bytes f = good;
        breaks[i](&f);
        EXPECT_FALSE(Decode(f, &bm));
    }
    // Masks that are empty, overlapping, split or wider than the pixel.
    const std::vector<std::vector<uint32_t>> badMasks = {{0xf800, 0x07e0, 0},
                                                         {0xf800, 0x0fe0, 0x001f},
                                                         {0xf800, 0x07e0, 0x0015},
                                                         {0x1f800, 0x07e0, 0x001f}};
    for (const std::vector<uint32_t> &masks : badMasks) {
        EXPECT_FALSE(Decode(MakeBmp(40, 2, 1, 16, 3, masks, {}, Bytes(4, 0)), &bm));
    }
}

TEST(BmpDecode, RefusesHugeHeadersWithoutAllocating) {
    // Under ASan an allocation of this size would abort the test.
    SimDecodedBitmap bm;
    EXPECT_FALSE(Decode(MakeBmp(40, 100000, 100000, 24, 0, {}, {}, Bytes(64, 0)), &bm));
    EXPECT_FALSE(Decode(MakeBmp(40, 60000, -60000, 32, 0, {}, {}, Bytes(64, 0)), &bm));
    EXPECT_FALSE(Decode(MakeBmp(40, 60000, 60000, 8, 1, {}, Quads({kRed}), {0, 1}), &bm));
    EXPECT_FALSE(Decode(MakeBmp(40, 8000, 8000, 24, 0, {}, {}, Bytes(64, 0)), &bm));
}

TEST(BmpDecode, SuiteGoodFilesDecode) {
    ASSERT_TRUE(HaveTestData("bmpsuite"));
    std::vector<std::string> names;
    for (const auto &e : fs::directory_iterator(kSuite + "g")) {
        names.push_back(e.path().filename().string());
    }
    ASSERT_GE(names.size(), 20u);
    SimDecodedBitmap bm;
    for (const std::string &name : names) {
        EXPECT_TRUE(Decode(ReadFile(kSuite + "g/" + name), &bm)) << name;
    }
    // Each group holds one picture in several encodings.
    const std::vector<std::vector<std::string>> groups = {
        {"pal8", "pal8-0", "pal8os2", "pal8rle", "pal8topdown", "pal8v4", "pal8v5"},
        {"rgb24", "rgb24pal", "rgb32", "rgb32bf", "rgb32bfdef"},
        {"rgb16", "rgb16bfdef"},
        {"rgb16-565", "rgb16-565pal"},
        {"pal4", "pal4rle"},
        {"pal1", "pal1wb"}};
    for (const auto &group : groups) {
        SimDecodedBitmap first;
        ASSERT_TRUE(Decode(ReadFile(kSuite + "g/" + group[0] + ".bmp"), &first));
        for (const std::string &name : group) {
            ASSERT_TRUE(Decode(ReadFile(kSuite + "g/" + name + ".bmp"), &bm));
            EXPECT_EQ(bm.Pixels, first.Pixels) << name;
        }
    }
    // Colours read off the files' own palettes and channel layouts.
    const struct {
        const char *Name;
        int X, Y;
        uint32_t Colour;
    } spots[] = {{"pal8", 0, 0, kRed},        {"pal8", 63, 32, kWhite},
                 {"pal8", 126, 0, 0xccaa99},  {"rgb24", 126, 0, 0xbd9f9f},
                 {"rgb16", 126, 0, 0xbd9c9c}, {"rgb16-565", 126, 0, 0xbd9e9c},
                 {"pal1bg", 0, 0, 0x40ff40},  {"pal1bg", 0, 63, 0xff4040}};
    for (const auto &s : spots) {
        ASSERT_TRUE(Decode(ReadFile(kSuite + "g/" + s.Name + ".bmp"), &bm));
        ASSERT_EQ(bm.Width, 127);
        EXPECT_EQ(bm.Pixels[size_t(s.Y * 127 + s.X)], s.Colour) << s.Name << " " << s.X << ","
                                                                 << s.Y;
    }
}

TEST(BmpDecode, SuiteBadFilesRefused) {
    ASSERT_TRUE(HaveTestData("bmpsuite"));
    size_t count = 0;
    for (const auto &e : fs::directory_iterator(kSuite + "b")) {
        SimDecodedBitmap bm;
        EXPECT_FALSE(Decode(ReadFile(e.path().string()), &bm)) << e.path();
        EXPECT_TRUE(bm.Pixels.empty());
        ++count;
    }
    EXPECT_GE(count, 20u);
}

TEST(BmpDecode, TruncatedFilesRefused) {
    ASSERT_TRUE(HaveTestData("bmpsuite"));
    const char *names[] = {"pal1", "pal4rle", "pal8rle", "pal8os2", "rgb16-565", "rgb24", "rgb32bf",
                           "pal8v5"};
    for (const char *name : names) {
        SCOPED_TRACE(name);
        const Bytes full = ReadFile(kSuite + "g/" + name + ".bmp");
        SimDecodedBitmap bm;
        ASSERT_TRUE(Decode(full, &bm));
        for (size_t len = 0; len < full.size(); ++len) {
            Bytes cut(full.begin(), full.begin() + std::ptrdiff_t(len));
            ASSERT_FALSE(Decode(cut, &bm)) << len;
            // Also with the sizes in the headers agreeing with the cut.
            if (len >= 38) {
                Put32(&cut, 2, uint32_t(len));
                if (Get32(cut, 14) != 12) Put32(&cut, 34, 0);
            }
            ASSERT_FALSE(Decode(cut, &bm)) << len;
        }
    }
}

} // namespace
