#include "tools/preview/skin_grid.h"

#include "tools/common/image_write.h"
#include "tools/preview/skin_pixels.h"
#include "tools/skingen/pixel_font.h"

#include <stdint.h>
#include <vector>

namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | g << 8 | b << 16; }

const uint32_t Paper = Rgb(232, 232, 232);
const uint32_t Ink = Rgb(24, 24, 24);
const uint32_t GridLine = Rgb(255, 0, 255);
const uint32_t ColonMark = Rgb(0, 224, 255);
const uint32_t Hatch = Rgb(96, 96, 96);
const uint32_t Grey = Rgb(200, 200, 200);

const int Margin = 12;
const int CaptionScale = 2;
// Cells are enlarged until the narrowest is about this wide, so labels fit.
const int TargetCellWidth = 24;
const int MaxScale = 16;
// Keeps the picture and its buffers modest for any bitmap the loader takes.
const int MaxSide = 4096;

struct Canvas {
    int Width, Height;
    std::vector<uint32_t> Pixels;
    void Put(int x, int y, uint32_t c)
    {
        if (x >= 0 && y >= 0 && x < Width && y < Height)
            Pixels[(size_t)y * Width + x] = c;
    }
};

// Capitals, digits and the clock's punctuation; anything else is a blank.
void DrawLabel(Canvas *canvas, int x, int y, const std::string &text, int scale, uint32_t colour)
{
    for (char c : text) {
        Glyph glyph = TextGlyph(c >= 'a' && c <= 'z' ? (char)(c - 'a' + 'A') : c);
        for (int gy = 0; gy < glyph.height * scale; gy++)
            for (int gx = 0; gx < glyph.width * scale; gx++)
                if (GlyphInk(glyph, gx / scale, gy / scale))
                    canvas->Put(x + gx, y + gy, colour);
        x += (glyph.width + 1) * scale;
    }
}

int LabelWidth(const std::string &text, int scale) { return (int)text.size() * (TextGlyph('A').width + 1) * scale; }

// One horizontal slice of a bitmap as it is shown: its rows, the cells of
// the grid across it and their labels (0 for a cell the clock never draws).
struct Strip {
    const SkinPixels *Bitmap;
    int SourceY, Rows;
    int CellWidth, Columns;  // 0: no grid, all undrawn
    int GridRows;            // the rows the grid covers, from SourceY
    std::vector<char> Labels;
    bool ColonPatch;
    const char *Note;  // in the band, for a strip the clock never draws from
};

struct Layout {
    int Scale, LabelScale, Band, Caption;
};

uint32_t Blend(uint32_t a, uint32_t b)
{
    return Rgb(((a & 0xFF) + (b & 0xFF)) / 2, ((a >> 8 & 0xFF) + (b >> 8 & 0xFF)) / 2,
               ((a >> 16 & 0xFF) + (b >> 16 & 0xFF)) / 2);
}

bool Undrawn(const Strip &s, int x)
{
    if (s.CellWidth == 0 || x >= s.CellWidth * s.Columns)
        return true;
    return s.Labels[x / s.CellWidth] == 0;
}

// Draws the strip's band of labels and its pixels with (x0, y0) the top
// left of the band; returns the height used.
int DrawStrip(Canvas *canvas, const Layout &l, const Strip &s, int x0, int y0)
{
    int top = y0 + l.Band, S = l.Scale, cell = s.CellWidth * S;
    if (s.Note)
        DrawLabel(canvas, x0, y0 + (l.Band - 7 * l.LabelScale) / 2, s.Note, l.LabelScale, Ink);
    for (int column = 0; column < (int)s.Labels.size(); column++)
        if (s.Labels[column]) {
            std::string label(1, s.Labels[column]);
            int labelWidth = LabelWidth(label, l.LabelScale) - l.LabelScale;
            DrawLabel(canvas, x0 + column * cell + (cell - labelWidth) / 2, y0 + (l.Band - 7 * l.LabelScale) / 2, label,
                      l.LabelScale, Ink);
        }
    for (int y = 0; y < s.Rows * S; y++)
        for (int x = 0; x < s.Bitmap->Width * S; x++) {
            uint32_t c = s.Bitmap->At(x / S, s.SourceY + y / S);
            if (Undrawn(s, x / S))
                c = (x + y) % 8 == 0 ? Hatch : Blend(c, Grey);
            canvas->Put(x0 + x, top + y, c);
        }
    if (s.CellWidth) {
        int gridWidth = s.Columns * cell, gridHeight = s.GridRows * S;
        for (int k = 0; k <= s.Columns; k++)
            for (int y = 0; y <= gridHeight; y++)
                canvas->Put(x0 + k * cell, top + y, GridLine);
        for (int x = 0; x <= gridWidth; x++) {
            canvas->Put(x0 + x, top, GridLine);
            canvas->Put(x0 + x, top + gridHeight, GridLine);
        }
    }
    if (s.ColonPatch) {
        // The square the colon dots are cut from, outlined along its edge.
        int side = s.CellWidth / 4 * S, left = x0 + s.CellWidth / 3 * S;
        for (int i = 0; i < side; i++) {
            canvas->Put(left + i, top, ColonMark);
            canvas->Put(left + i, top + side - 1, ColonMark);
            canvas->Put(left, top + i, ColonMark);
            canvas->Put(left + side - 1, top + i, ColonMark);
        }
    }
    return l.Band + s.Rows * S + 1;
}

const char *const NoCells = "TOO SMALL FOR ITS CELLS: NEVER DRAWN";

std::vector<Strip> NumbersStrips(const SkinPixels &numbers)
{
    int dw = DigitCellWidth(numbers);
    Strip s{&numbers,
            0,
            numbers.Height,
            dw,
            dw ? 11 : 0,
            numbers.Height,
            std::vector<char>(dw ? 11 : 0, 0),
            dw / 4 > 0,
            dw ? nullptr : NoCells};
    if (dw)
        for (const SkinCell &c : DigitCells())
            s.Labels[c.Column] = c.Character;
    return {s};
}

std::vector<Strip> TextStrips(const SkinPixels &text)
{
    int tcw = TextCellWidth(text), tch = TextCellHeight(text);
    if (tcw == 0 || tch == 0)
        return {Strip{&text, 0, text.Height, 0, 0, 0, {}, false, NoCells}};
    std::vector<Strip> strips;
    for (int row = 0; row < 3; row++) {
        int rows = row < 2 ? tch : text.Height - 2 * tch;
        strips.push_back(Strip{&text, row * tch, rows, tcw, 30, tch, std::vector<char>(30, 0), false,
                               row == 2 ? "ROW 2: NEVER DRAWN" : nullptr});
    }
    for (const SkinCell &c : TextCells())
        strips[c.Row].Labels[c.Column] = c.Character;
    return strips;
}

int StripsHeight(const Layout &l, const std::vector<Strip> &strips)
{
    int h = 0;
    for (const Strip &s : strips)
        h += l.Band + s.Rows * l.Scale + 1;
    return h;
}

std::string SizeCaption(const char *file, const SkinPixels &b, int cellWidth, int cellHeight)
{
    return std::string(file) + "  " + std::to_string(b.Width) + " X " + std::to_string(b.Height) + "  CELL " +
           std::to_string(cellWidth) + " X " + std::to_string(cellHeight);
}

// The narrower of the two cell widths that are not 0; 0 when both are.
int NarrowestCell(int dw, int tcw)
{
    if (dw && tcw)
        return dw < tcw ? dw : tcw;
    return dw ? dw : tcw;
}

int ChooseScale(int narrowest)
{
    int scale = narrowest ? (TargetCellWidth + narrowest - 1) / narrowest : 1;
    return scale > MaxScale ? MaxScale : scale;
}

// One pair of bitmaps as the picture shows it: its captions and strips, or
// a caption that it could not be read.
struct Section {
    std::string NumbersCaption, TextCaption;
    const SkinPixels *Text;
    std::vector<Strip> NumbersStrips, TextStrips;
    bool Readable;
};

Section MakeSection(const std::string &folder, const SkinPixels &numbers, const SkinPixels &text)
{
    Section s{folder + "NUMBERS.BMP", folder + "TEXT.BMP", &text, {}, {}, numbers.Loaded && text.Loaded};
    if (!s.Readable) {
        s.NumbersCaption += numbers.Loaded ? "" : " CANNOT BE READ";
        s.TextCaption += text.Loaded ? "" : " CANNOT BE READ";
        return s;
    }
    int dw = DigitCellWidth(numbers), tcw = TextCellWidth(text), tch = TextCellHeight(text);
    s.NumbersCaption = SizeCaption(s.NumbersCaption.c_str(), numbers, dw, numbers.Height);
    s.TextCaption = SizeCaption(s.TextCaption.c_str(), text, tcw, tch) + "  KEY";
    s.NumbersStrips = NumbersStrips(numbers);
    s.TextStrips = TextStrips(text);
    return s;
}

int SectionHeight(const Layout &l, const Section &s)
{
    if (!s.Readable)
        return 2 * l.Caption + Margin;
    return 2 * Margin + 2 * l.Caption + StripsHeight(l, s.NumbersStrips) + StripsHeight(l, s.TextStrips);
}

// Draws a section with its top at y; returns the y below it.
int DrawSection(Canvas *canvas, const Layout &l, const Section &s, int y)
{
    DrawLabel(canvas, Margin, y, s.NumbersCaption, CaptionScale, Ink);
    y += l.Caption;
    for (const Strip &strip : s.NumbersStrips)
        y += DrawStrip(canvas, l, strip, Margin, y);
    if (s.Readable)
        y += Margin;
    DrawLabel(canvas, Margin, y, s.TextCaption, CaptionScale, Ink);
    if (s.Readable) {
        // A swatch of the key colour after the caption's "KEY".
        int swatchX = Margin + LabelWidth(s.TextCaption, CaptionScale) + 2, side = 7 * CaptionScale;
        uint32_t key = KeyColour(*s.Text);
        for (int sy = -1; sy <= side; sy++)
            for (int sx = -1; sx <= side; sx++)
                canvas->Put(swatchX + sx, y + sy, sx < 0 || sy < 0 || sx == side || sy == side ? Ink : key);
    }
    y += l.Caption;
    for (const Strip &strip : s.TextStrips)
        y += DrawStrip(canvas, l, strip, Margin, y);
    return y + Margin;
}

}  // namespace

bool WriteSkinGrid(const SkinFiles &files, const char *path, std::string *error)
{
    const SkinPixels &numbers = files.Numbers, &text = files.Text;
    for (const SkinPixels *b : {&numbers, &text})
        if (!b->Loaded) {
            *error =
                std::string("cannot draw the grid: ") + (b == &numbers ? "NUMBERS.BMP " : "TEXT.BMP ") + b->Problem;
            return false;
        }
    // The base first, then each scale folder below it at the same enlargement,
    // so the scales compare at a glance.
    std::vector<Section> sections{MakeSection("", numbers, text)};
    int widest = numbers.Width > text.Width ? numbers.Width : text.Width;
    for (const SkinScaleFiles &scale : files.Scales) {
        sections.push_back(MakeSection(std::to_string(scale.Percent) + "/", scale.Numbers, scale.Text));
        for (const SkinPixels *b : {&scale.Numbers, &scale.Text})
            if (b->Loaded && b->Width > widest)
                widest = b->Width;
    }

    int narrowest = NarrowestCell(DigitCellWidth(numbers), TextCellWidth(text));
    Layout l{ChooseScale(narrowest), 1, 0, 7 * CaptionScale + 8};
    int captionWidth = 0;
    for (const Section &s : sections)
        for (int w : {LabelWidth(s.NumbersCaption, CaptionScale),
                      LabelWidth(s.TextCaption, CaptionScale) + 7 * CaptionScale + 4})
            captionWidth = w > captionWidth ? w : captionWidth;
    int width = 0, height = 0;
    for (;; l.Scale--) {
        l.LabelScale = narrowest * l.Scale >= 14 ? 2 : 1;
        l.Band = 7 * l.LabelScale + 6;
        int pictureWidth = widest * l.Scale + 1 > captionWidth ? widest * l.Scale + 1 : captionWidth;
        width = 2 * Margin + pictureWidth;
        height = Margin;
        for (const Section &s : sections)
            height += SectionHeight(l, s);
        if ((width <= MaxSide && height <= MaxSide) || l.Scale == 1)
            break;
    }
    if (width > MaxSide || height > MaxSide) {
        *error = "cannot draw the grid: it would be " + std::to_string(width) + " x " + std::to_string(height) +
                 " pixels, more than " + std::to_string(MaxSide) + " a side";
        return false;
    }

    Canvas canvas{width, height, std::vector<uint32_t>((size_t)width * height, Paper)};
    int y = Margin;
    for (const Section &s : sections)
        y = DrawSection(&canvas, l, s, y);

    if (!WriteImage(path, width, height, canvas.Pixels.data())) {
        *error = std::string("cannot write ") + path;
        return false;
    }
    return true;
}
