#include "tools/common/image_write.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// Keeps every buffer size well inside 32-bit file and chunk fields.
const int64_t kMaxPixels = 64 * 1024 * 1024;

bool ValidArgs(const char *path, int width, int height, const uint32_t *pixels)
{
    return path && pixels && width > 0 && height > 0 && static_cast<int64_t>(width) * height <= kMaxPixels;
}

uint8_t Red(uint32_t c) { return static_cast<uint8_t>(c & 0xFF); }
uint8_t Green(uint32_t c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
uint8_t Blue(uint32_t c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }

void PutLe16(Bytes &out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutLe32(Bytes &out, uint32_t v)
{
    PutLe16(out, v & 0xFFFF);
    PutLe16(out, v >> 16);
}

void PutBe32(Bytes &out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

// Writes the whole buffer at once so a failure can drop the file.
bool SaveBytes(const char *path, const Bytes &data)
{
    FILE *f = std::fopen(path, "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    if (std::fclose(f) != 0)
        ok = false;
    if (!ok)
        std::remove(path);
    return ok;
}

uint32_t Crc32(const uint8_t *data, size_t size)
{
    static uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        ready = true;
    }
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

uint32_t Adler32(const Bytes &data)
{
    uint32_t a = 1, b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

// The CRC covers the chunk type and data, not the length.
void PutChunk(Bytes &out, const char *type, const Bytes &data)
{
    PutBe32(out, static_cast<uint32_t>(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBe32(out, Crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored (uncompressed) deflate blocks.
Bytes ZlibStored(const Bytes &raw)
{
    Bytes z = {0x78, 0x01};
    size_t pos = 0;
    do {
        size_t len = raw.size() - pos;
        if (len > 65535)
            len = 65535;
        bool last = pos + len == raw.size();
        z.push_back(last ? 1 : 0);
        PutLe16(z, static_cast<uint32_t>(len));
        PutLe16(z, static_cast<uint32_t>(~len & 0xFFFF));
        z.insert(z.end(), raw.begin() + pos, raw.begin() + pos + len);
        pos += len;
    } while (pos < raw.size());
    PutBe32(z, Adler32(raw));
    return z;
}

bool EndsWithBmp(const char *path)
{
    size_t n = std::strlen(path);
    if (n < 4)
        return false;
    const char *ext = path + n - 4;
    const char *want = ".bmp";
    for (int i = 0; i < 4; ++i) {
        char c = ext[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != want[i])
            return false;
    }
    return true;
}

}  // namespace

bool WritePng(const char *path, int width, int height, const uint32_t *pixels)
{
    if (!ValidArgs(path, width, height, pixels))
        return false;

    Bytes raw;
    raw.reserve(static_cast<size_t>(height) * (1 + 3 * static_cast<size_t>(width)));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // filter type None
        const uint32_t *row = pixels + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            raw.push_back(Red(row[x]));
            raw.push_back(Green(row[x]));
            raw.push_back(Blue(row[x]));
        }
    }

    Bytes ihdr;
    PutBe32(ihdr, static_cast<uint32_t>(width));
    PutBe32(ihdr, static_cast<uint32_t>(height));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace

    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(out, "IHDR", ihdr);
    PutChunk(out, "IDAT", ZlibStored(raw));
    PutChunk(out, "IEND", Bytes());
    return SaveBytes(path, out);
}

bool WriteBmp24(const char *path, int width, int height, const uint32_t *pixels)
{
    if (!ValidArgs(path, width, height, pixels))
        return false;

    const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t imageSize = stride * static_cast<uint32_t>(height);
    const uint32_t headerSize = 14 + 40;

    Bytes out;
    out.reserve(headerSize + imageSize);
    out.push_back('B');
    out.push_back('M');
    PutLe32(out, headerSize + imageSize);
    PutLe32(out, 0);
    PutLe32(out, headerSize);

    PutLe32(out, 40);
    PutLe32(out, static_cast<uint32_t>(width));
    PutLe32(out, static_cast<uint32_t>(height));  // positive: bottom-up
    PutLe16(out, 1);
    PutLe16(out, 24);
    PutLe32(out, 0);  // BI_RGB
    PutLe32(out, imageSize);
    PutLe32(out, 2835);  // 72 dpi
    PutLe32(out, 2835);
    PutLe32(out, 0);
    PutLe32(out, 0);

    for (int y = height - 1; y >= 0; --y) {
        const uint32_t *row = pixels + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            out.push_back(Blue(row[x]));
            out.push_back(Green(row[x]));
            out.push_back(Red(row[x]));
        }
        out.resize(out.size() + (stride - static_cast<uint32_t>(width) * 3), 0);
    }
    return SaveBytes(path, out);
}

bool WriteImage(const char *path, int width, int height, const uint32_t *pixels)
{
    if (!path)
        return false;
    if (EndsWithBmp(path))
        return WriteBmp24(path, width, height, pixels);
    return WritePng(path, width, height, pixels);
}
