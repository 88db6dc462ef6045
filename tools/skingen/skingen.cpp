// dialwick-skingen OUTDIR: writes the shipped skins as OUTDIR/<Name>/NUMBERS.BMP
// and OUTDIR/<Name>/TEXT.BMP.
#include "tools/common/image_write.h"
#include "tools/skingen/pixel_font.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b)
{
    return r | (g << 8) | (b << 16);
}

enum class Edge { None, Shadow, Outline };

// How one bitmap's glyphs are placed and coloured inside their cells.
struct CellStyle {
    int width;
    int height;
    int glyphX;   // glyph offset inside the cell
    int glyphY;
    int bandEnds[2]; // glyph rows below bandEnds[i] take tones[i], the rest tones[2]
    uint32_t tones[3];
    Edge edge;
    uint32_t edgeColour;
};

struct Skin {
    const char *name;
    uint32_t key;
    Glyph (*digitGlyph)(int);
    CellStyle digits;
    CellStyle text;
};

const Skin kSkins[] = {
    // Default: pale leaf digits with a soft shadow on deep forest green.
    {"Herb", Rgb(22, 44, 30), SmallDigitGlyph,
     {10, 16, 1, 0, {2, 7}, {Rgb(220, 246, 186), Rgb(190, 234, 154), Rgb(124, 200, 104)},
      Edge::Shadow, Rgb(8, 22, 12)},
     {6, 8, 0, 0, {2, 4}, {Rgb(206, 240, 172), Rgb(180, 226, 148), Rgb(128, 196, 108)}, Edge::None, 0}},
    // Large amber digits on warm charcoal, for tall taskbars.
    {"Ember", Rgb(36, 28, 24), LargeDigitGlyph,
     {12, 21, 1, 0, {3, 10}, {Rgb(255, 232, 160), Rgb(255, 204, 100), Rgb(240, 138, 40)},
      Edge::Shadow, Rgb(10, 6, 4)},
     {7, 9, 0, 0, {2, 4}, {Rgb(255, 226, 150), Rgb(255, 204, 100), Rgb(240, 150, 56)}, Edge::Shadow,
      Rgb(10, 6, 4)}},
    // Ice-white glyphs with a black outline, made for the transparent face. The top cap is a
    // mid-tone blue because the colon dots are cut from it and must show on light taskbars too.
    {"Frost", Rgb(40, 46, 56), SmallDigitGlyph,
     {11, 16, 1, 0, {2, 7}, {Rgb(30, 150, 255), Rgb(255, 255, 255), Rgb(176, 226, 255)},
      Edge::Outline, Rgb(4, 6, 12)},
     {7, 9, 1, 1, {1, 4}, {Rgb(30, 150, 255), Rgb(255, 255, 255), Rgb(176, 226, 255)}, Edge::Outline,
      Rgb(4, 6, 12)}},
};

// TEXT.BMP columns, left to right; a space marks a cell left empty.
const char *const kTextRows[2] = {
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ\"@  ",
    "0123456789  :() '!_+\\/[]^&%.=$",
};
const int kTextColumns = 30;
const int kTextGridRows = 3;
const int kDigitCells = 11;

struct Canvas {
    int width;
    int height;
    std::vector<uint32_t> pixels;
};

Canvas MakeCanvas(int width, int height, uint32_t fill)
{
    return {width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, fill)};
}

uint32_t &At(Canvas &canvas, int x, int y)
{
    return canvas.pixels[static_cast<size_t>(y) * canvas.width + x];
}

uint32_t PixelAt(const Canvas &canvas, int x, int y)
{
    return canvas.pixels[static_cast<size_t>(y) * canvas.width + x];
}

bool NearInk(const Glyph &glyph, int gx, int gy)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (GlyphInk(glyph, gx + dx, gy + dy))
                return true;
    return false;
}

// Paints one glyph into the cell whose top-left corner is (cellX, cellY);
// nothing spills into neighbouring cells.
void DrawCell(Canvas &canvas, int cellX, int cellY, const CellStyle &style, const Glyph &glyph)
{
    for (int y = 0; y < style.height; ++y) {
        for (int x = 0; x < style.width; ++x) {
            int gx = x - style.glyphX;
            int gy = y - style.glyphY;
            uint32_t &pixel = At(canvas, cellX + x, cellY + y);
            if (GlyphInk(glyph, gx, gy))
                pixel = style.tones[gy < style.bandEnds[0] ? 0 : gy < style.bandEnds[1] ? 1 : 2];
            else if (style.edge == Edge::Outline && NearInk(glyph, gx, gy))
                pixel = style.edgeColour;
            else if (style.edge == Edge::Shadow && GlyphInk(glyph, gx - 1, gy - 1))
                pixel = style.edgeColour;
        }
    }
}

// An outline can close a small counter down to a single pixel, which a
// transparent face would show as a pin-hole; that pixel takes the outline colour.
void FillClosedCounters(Canvas &canvas, int cellX, int cellY, const CellStyle &style, uint32_t key)
{
    if (style.edge != Edge::Outline)
        return;
    for (int y = cellY + 1; y < cellY + style.height - 1; ++y) {
        for (int x = cellX + 1; x < cellX + style.width - 1; ++x) {
            bool closed = PixelAt(canvas, x, y) == key;
            for (int dy = -1; dy <= 1 && closed; ++dy)
                for (int dx = -1; dx <= 1 && closed; ++dx)
                    closed = (dx == 0 && dy == 0) || PixelAt(canvas, x + dx, y + dy) != key;
            if (closed)
                At(canvas, x, y) = style.edgeColour;
        }
    }
}

Canvas RenderNumbers(const Skin &skin)
{
    const CellStyle &style = skin.digits;
    Canvas canvas = MakeCanvas(kDigitCells * style.width, style.height, skin.key);
    for (int digit = 0; digit <= 9; ++digit) {
        DrawCell(canvas, digit * style.width, 0, style, skin.digitGlyph(digit));
        FillClosedCounters(canvas, digit * style.width, 0, style, skin.key);
    }
    return canvas;
}

Canvas RenderText(const Skin &skin)
{
    const CellStyle &style = skin.text;
    Canvas canvas = MakeCanvas(kTextColumns * style.width, kTextGridRows * style.height, skin.key);
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < kTextColumns; ++column) {
            char c = kTextRows[row][column];
            if (c != ' ') {
                DrawCell(canvas, column * style.width, row * style.height, style, TextGlyph(c));
                FillClosedCounters(canvas, column * style.width, row * style.height, style, skin.key);
            }
        }
    }
    return canvas;
}

bool Fail(const Skin &skin, const char *what)
{
    std::fprintf(stderr, "dialwick-skingen: skin %s: %s\n", skin.name, what);
    return false;
}

// A glyph pixel in the key colour would turn transparent on the face.
bool PaletteAvoidsKey(const CellStyle &style, uint32_t key)
{
    for (uint32_t tone : style.tones)
        if (tone == key)
            return false;
    return style.edge == Edge::None || style.edgeColour != key;
}

// The right and bottom edges must not be clipped; a glyph may touch the top
// and left, as the digits do for the colon patch.
bool GlyphFits(const CellStyle &style, const Glyph &glyph)
{
    int margin = style.edge == Edge::None ? 0 : 1;
    return style.glyphX + glyph.width + margin <= style.width &&
           style.glyphY + glyph.height + margin <= style.height;
}

bool CheckSkin(const Skin &skin, const Canvas &numbers, const Canvas &text)
{
    if (!PaletteAvoidsKey(skin.digits, skin.key) || !PaletteAvoidsKey(skin.text, skin.key))
        return Fail(skin, "a glyph colour equals the key colour");
    if (!GlyphFits(skin.digits, skin.digitGlyph(0)) || !GlyphFits(skin.text, TextGlyph('A')))
        return Fail(skin, "the glyphs do not fit their cells");
    for (int column = 0; column < kTextColumns; ++column)
        for (int row = 0; row < 2; ++row)
            if (kTextRows[row][column] != ' ' && !TextGlyph(kTextRows[row][column]).rows)
                return Fail(skin, "a text cell has no glyph");

    // The clock cuts its colon dots from this patch of the 0.
    const int side = skin.digits.width / 4;
    const int left = skin.digits.width / 3;
    const uint32_t dot = PixelAt(numbers, left, 0);
    if (side < 1 || dot == skin.key)
        return Fail(skin, "the colon patch of the 0 is empty");
    for (int y = 0; y < side; ++y)
        for (int x = left; x < left + side; ++x)
            if (PixelAt(numbers, x, y) != dot)
                return Fail(skin, "the colon patch of the 0 is not one colour");

    if (PixelAt(text, text.width - 1, text.height - 1) != skin.key)
        return Fail(skin, "the bottom-right pixel of TEXT.BMP is not the key colour");
    return true;
}

bool WriteSkin(const std::string &outDir, const Skin &skin)
{
    Canvas numbers = RenderNumbers(skin);
    Canvas text = RenderText(skin);
    if (!CheckSkin(skin, numbers, text))
        return false;

    std::filesystem::path dir = std::filesystem::path(outDir) / skin.name;
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error)
        return Fail(skin, "cannot create the skin folder");

    std::string numbersPath = (dir / "NUMBERS.BMP").string();
    std::string textPath = (dir / "TEXT.BMP").string();
    if (!WriteImage(numbersPath.c_str(), numbers.width, numbers.height, numbers.pixels.data()) ||
        !WriteImage(textPath.c_str(), text.width, text.height, text.pixels.data()))
        return Fail(skin, "cannot write the bitmaps");
    std::printf("%s: digits %dx%d, text %dx%d\n", skin.name, skin.digits.width,
                skin.digits.height, skin.text.width, skin.text.height);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: dialwick-skingen OUTDIR\n");
        return 2;
    }
    bool ok = true;
    for (const Skin &skin : kSkins)
        ok = WriteSkin(argv[1], skin) && ok;
    return ok ? 0 : 1;
}
