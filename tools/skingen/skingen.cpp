// dialwick-skingen OUTDIR: writes the shipped skins as OUTDIR/<Name>/NUMBERS.BMP
// and OUTDIR/<Name>/TEXT.BMP, and the same drawn for 150 and 200 % in
// OUTDIR/<Name>/150/ and OUTDIR/<Name>/200/.
#include "engine/skin_scale.h"
#include "tools/common/image_write.h"
#include "tools/skingen/pixel_font.h"
#include "tools/skingen/stroke_font.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

enum class Edge { None, Shadow, Outline };

// The colours of one bitmap's glyphs: three tones from top to bottom and an
// edge, a drop shadow or an outline.
struct Look {
    uint32_t tones[3];
    Edge edge;
    uint32_t edgeColour;
};

// How one bitmap's glyphs are placed inside their cells at one scale.
struct CellStyle {
    int width;
    int height;
    int glyphX;  // glyph offset inside the cell
    int glyphY;
    int bandEnds[2];     // glyph rows below bandEnds[i] take tones[i], the rest tones[2]
    int edgeWidth;       // of the shadow or outline, in pixels
    StrokeSize strokes;  // the stroke font's glyph size; not used at 100 %
};

struct Scale {
    int percent;
    CellStyle digits;
    CellStyle text;
};

struct Skin {
    const char *name;
    uint32_t key;
    Glyph (*digitGlyph)(int);  // the 100 % digits
    Look digitLook;
    Look textLook;
    Scale scales[3];
};

// At 150 and 200 % the glyphs come from the stroke font, drawn at each size with
// a nib as wide as the 0's top bar must be deep for the colon dots (a quarter of
// the digit cell), and edges grown with the scale.
const Skin kSkins[] = {
    // Default: pale leaf digits with a soft shadow on deep forest green.
    {"Herb",
     Rgb(22, 44, 30),
     SmallDigitGlyph,
     {{Rgb(220, 246, 186), Rgb(190, 234, 154), Rgb(124, 200, 104)}, Edge::Shadow, Rgb(8, 22, 12)},
     {{Rgb(206, 240, 172), Rgb(180, 226, 148), Rgb(128, 196, 108)}, Edge::None, 0},
     {{100, {10, 16, 1, 0, {2, 7}, 1, {}}, {6, 8, 0, 0, {2, 4}, 0, {}}},
      {150, {15, 24, 1, 0, {3, 10}, 1, {12, 22, 3, 3}}, {9, 12, 0, 0, {3, 6}, 0, {7, 10, 1, 3}}},
      {200, {20, 32, 1, 0, {5, 14}, 2, {17, 30, 5, 5}}, {12, 16, 0, 0, {4, 8}, 0, {10, 14, 2, 4}}}}},
    // Large amber digits on warm charcoal, for tall taskbars.
    {"Ember",
     Rgb(36, 28, 24),
     LargeDigitGlyph,
     {{Rgb(255, 232, 160), Rgb(255, 204, 100), Rgb(240, 138, 40)}, Edge::Shadow, Rgb(10, 6, 4)},
     {{Rgb(255, 226, 150), Rgb(255, 204, 100), Rgb(240, 150, 56)}, Edge::Shadow, Rgb(10, 6, 4)},
     {{100, {12, 21, 1, 0, {3, 10}, 1, {}}, {7, 9, 0, 0, {2, 4}, 1, {}}},
      {150, {18, 32, 1, 0, {4, 15}, 1, {15, 30, 4, 4}}, {11, 14, 0, 0, {3, 6}, 1, {7, 10, 1, 3}}},
      {200, {24, 42, 1, 0, {6, 20}, 2, {20, 40, 6, 6}}, {14, 18, 0, 0, {4, 8}, 2, {10, 14, 2, 4}}}}},
    // Ice-white glyphs with a black outline, made for the transparent face. The top cap is a
    // mid-tone blue because the colon dots are cut from it and must show on light taskbars too.
    {"Frost",
     Rgb(40, 46, 56),
     SmallDigitGlyph,
     {{Rgb(30, 150, 255), Rgb(255, 255, 255), Rgb(176, 226, 255)}, Edge::Outline, Rgb(4, 6, 12)},
     {{Rgb(30, 150, 255), Rgb(255, 255, 255), Rgb(176, 226, 255)}, Edge::Outline, Rgb(4, 6, 12)},
     {{100, {11, 16, 1, 0, {2, 7}, 1, {}}, {7, 9, 1, 1, {1, 4}, 1, {}}},
      {150, {16, 24, 1, 0, {4, 10}, 1, {13, 22, 4, 4}}, {10, 13, 1, 1, {2, 6}, 1, {7, 10, 1, 3}}},
      {200, {22, 32, 2, 0, {5, 14}, 2, {16, 30, 5, 5}}, {14, 18, 2, 2, {2, 8}, 2, {10, 14, 2, 4}}}}},
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

uint32_t &At(Canvas &canvas, int x, int y) { return canvas.pixels[static_cast<size_t>(y) * canvas.width + x]; }

uint32_t PixelAt(const Canvas &canvas, int x, int y)
{
    return canvas.pixels[static_cast<size_t>(y) * canvas.width + x];
}

// The 100 % glyphs are the hand-drawn pixel font; larger scales draw the
// stroke font at their own size.
InkGlyph FromPixelFont(const Glyph &glyph)
{
    InkGlyph ink;
    if (!glyph.rows)
        return ink;
    ink.width = glyph.width;
    ink.height = glyph.height;
    for (int y = 0; y < glyph.height; ++y)
        for (int x = 0; x < glyph.width; ++x)
            ink.ink.push_back(GlyphInk(glyph, x, y) ? 1 : 0);
    return ink;
}

InkGlyph DigitGlyphAt(const Skin &skin, const Scale &scale, int digit)
{
    if (scale.percent == 100)
        return FromPixelFont(skin.digitGlyph(digit));
    return StrokeDigitGlyph(digit, scale.digits.strokes);
}

InkGlyph TextGlyphAt(const Scale &scale, char c)
{
    if (scale.percent == 100)
        return FromPixelFont(TextGlyph(c));
    return StrokeTextGlyph(c, scale.text.strokes);
}

bool NearInk(const InkGlyph &glyph, int gx, int gy, int reach)
{
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx)
            if (glyph.At(gx + dx, gy + dy))
                return true;
    return false;
}

bool InShadow(const InkGlyph &glyph, int gx, int gy, int depth)
{
    for (int d = 1; d <= depth; ++d)
        if (glyph.At(gx - d, gy - d))
            return true;
    return false;
}

// Paints one glyph into the cell whose top-left corner is (cellX, cellY);
// nothing spills into neighbouring cells.
void DrawCell(Canvas &canvas, int cellX, int cellY, const CellStyle &style, const Look &look, const InkGlyph &glyph)
{
    for (int y = 0; y < style.height; ++y) {
        for (int x = 0; x < style.width; ++x) {
            int gx = x - style.glyphX;
            int gy = y - style.glyphY;
            uint32_t &pixel = At(canvas, cellX + x, cellY + y);
            if (glyph.At(gx, gy))
                pixel = look.tones[gy < style.bandEnds[0] ? 0 : gy < style.bandEnds[1] ? 1 : 2];
            else if (look.edge == Edge::Outline && NearInk(glyph, gx, gy, style.edgeWidth))
                pixel = look.edgeColour;
            else if (look.edge == Edge::Shadow && InShadow(glyph, gx, gy, style.edgeWidth))
                pixel = look.edgeColour;
        }
    }
}

// An outline can close a small counter down to a single pixel, which a
// transparent face would show as a pin-hole; that pixel takes the outline colour.
void FillClosedCounters(Canvas &canvas, int cellX, int cellY, const CellStyle &style, const Look &look, uint32_t key)
{
    if (look.edge != Edge::Outline)
        return;
    for (int y = cellY + 1; y < cellY + style.height - 1; ++y) {
        for (int x = cellX + 1; x < cellX + style.width - 1; ++x) {
            bool closed = PixelAt(canvas, x, y) == key;
            for (int dy = -1; dy <= 1 && closed; ++dy)
                for (int dx = -1; dx <= 1 && closed; ++dx)
                    closed = (dx == 0 && dy == 0) || PixelAt(canvas, x + dx, y + dy) != key;
            if (closed)
                At(canvas, x, y) = look.edgeColour;
        }
    }
}

Canvas RenderNumbers(const Skin &skin, const Scale &scale)
{
    const CellStyle &style = scale.digits;
    Canvas canvas = MakeCanvas(kDigitCells * style.width, style.height, skin.key);
    for (int digit = 0; digit <= 9; ++digit) {
        DrawCell(canvas, digit * style.width, 0, style, skin.digitLook, DigitGlyphAt(skin, scale, digit));
        FillClosedCounters(canvas, digit * style.width, 0, style, skin.digitLook, skin.key);
    }
    return canvas;
}

Canvas RenderText(const Skin &skin, const Scale &scale)
{
    const CellStyle &style = scale.text;
    Canvas canvas = MakeCanvas(kTextColumns * style.width, kTextGridRows * style.height, skin.key);
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < kTextColumns; ++column) {
            char c = kTextRows[row][column];
            if (c != ' ') {
                DrawCell(canvas, column * style.width, row * style.height, style, skin.textLook, TextGlyphAt(scale, c));
                FillClosedCounters(canvas, column * style.width, row * style.height, style, skin.textLook, skin.key);
            }
        }
    }
    return canvas;
}

bool Fail(const Skin &skin, const Scale &scale, const char *what)
{
    std::fprintf(stderr, "dialwick-skingen: skin %s at %d %%: %s\n", skin.name, scale.percent, what);
    return false;
}

// A glyph pixel in the key colour would turn transparent on the face.
bool PaletteAvoidsKey(const Look &look, uint32_t key)
{
    for (uint32_t tone : look.tones)
        if (tone == key)
            return false;
    return look.edge == Edge::None || look.edgeColour != key;
}

// The right and bottom edges must not be clipped; a glyph may touch the top
// and left, as the digits do for the colon patch.
bool GlyphFits(const CellStyle &style, const Look &look, const InkGlyph &glyph)
{
    int margin = look.edge == Edge::None ? 0 : style.edgeWidth;
    return style.glyphX + glyph.width + margin <= style.width && style.glyphY + glyph.height + margin <= style.height;
}

bool HasInk(const InkGlyph &glyph)
{
    for (unsigned char ink : glyph.ink)
        if (ink)
            return true;
    return false;
}

bool CheckScale(const Skin &skin, const Scale &scale, const Canvas &numbers, const Canvas &text)
{
    // The clock takes a scale's artwork only when its cells are the base cells grown by the scale.
    const Scale &base = skin.scales[0];
    if (!GrownBy(base.digits.width, scale.digits.width, scale.percent) ||
        !GrownBy(base.digits.height, scale.digits.height, scale.percent) ||
        !GrownBy(base.text.width, scale.text.width, scale.percent) ||
        !GrownBy(base.text.height, scale.text.height, scale.percent))
        return Fail(skin, scale, "the cells are not the base cells grown by the scale");
    if (!PaletteAvoidsKey(skin.digitLook, skin.key) || !PaletteAvoidsKey(skin.textLook, skin.key))
        return Fail(skin, scale, "a glyph colour equals the key colour");
    for (int digit = 0; digit <= 9; ++digit)
        if (!GlyphFits(scale.digits, skin.digitLook, DigitGlyphAt(skin, scale, digit)))
            return Fail(skin, scale, "the digits do not fit their cells");
    for (int column = 0; column < kTextColumns; ++column)
        for (int row = 0; row < 2; ++row) {
            char c = kTextRows[row][column];
            if (c == ' ')
                continue;
            InkGlyph glyph = TextGlyphAt(scale, c);
            if (!HasInk(glyph))
                return Fail(skin, scale, "a text cell has no glyph");
            if (!GlyphFits(scale.text, skin.textLook, glyph))
                return Fail(skin, scale, "the text glyphs do not fit their cells");
        }

    // The clock cuts its colon dots from this patch of the 0.
    const int side = scale.digits.width / 4;
    const int left = scale.digits.width / 3;
    const uint32_t dot = PixelAt(numbers, left, 0);
    if (side < 1 || dot == skin.key)
        return Fail(skin, scale, "the colon patch of the 0 is empty");
    for (int y = 0; y < side; ++y)
        for (int x = left; x < left + side; ++x)
            if (PixelAt(numbers, x, y) != dot)
                return Fail(skin, scale, "the colon patch of the 0 is not one colour");

    if (PixelAt(text, text.width - 1, text.height - 1) != skin.key)
        return Fail(skin, scale, "the bottom-right pixel of TEXT.BMP is not the key colour");
    return true;
}

// The base pair in the skin's folder, each larger scale's in a folder named
// for its percentage inside it.
bool WriteScale(const std::string &outDir, const Skin &skin, const Scale &scale)
{
    Canvas numbers = RenderNumbers(skin, scale);
    Canvas text = RenderText(skin, scale);
    if (!CheckScale(skin, scale, numbers, text))
        return false;

    std::filesystem::path dir = std::filesystem::path(outDir) / skin.name;
    if (scale.percent != 100)
        dir /= std::to_string(scale.percent);
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error)
        return Fail(skin, scale, "cannot create the folder");

    std::string numbersPath = (dir / "NUMBERS.BMP").string();
    std::string textPath = (dir / "TEXT.BMP").string();
    if (!WriteImage(numbersPath.c_str(), numbers.width, numbers.height, numbers.pixels.data()) ||
        !WriteImage(textPath.c_str(), text.width, text.height, text.pixels.data()))
        return Fail(skin, scale, "cannot write the bitmaps");
    std::printf("%s %d %%: digits %dx%d, text %dx%d\n", skin.name, scale.percent, scale.digits.width,
                scale.digits.height, scale.text.width, scale.text.height);
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: dialwick-skingen OUTDIR\n");
        return 2;
    }
    bool ok = true;
    for (const Skin &skin : kSkins)
        for (const Scale &scale : skin.scales)
            ok = WriteScale(argv[1], skin, scale) && ok;
    return ok ? 0 : 1;
}
