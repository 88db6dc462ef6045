#include "tools/preview/skin_check.h"

#include "engine/skin_scale.h"
#include "tools/preview/skin_pixels.h"

#include <stdarg.h>
#include <stdio.h>

namespace {

enum Level { Info, Warning, Error };

struct Findings {
    int Errors = 0;
    int Warnings = 0;
};

__attribute__((format(printf, 3, 4))) void Report(Findings *f, Level level, const char *format, ...)
{
    static const char *const Prefix[] = {"info", "warning", "error"};
    if (level == Warning)
        f->Warnings++;
    if (level == Error)
        f->Errors++;
    printf("%s: ", Prefix[level]);
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    putchar('\n');
}

std::string Count(int n, const char *noun) { return std::to_string(n) + " " + noun + (n == 1 ? "" : "s"); }

const char *Verb(int n) { return n == 1 ? "is" : "are"; }

unsigned Red(uint32_t c) { return c & 0xFF; }
unsigned Green(uint32_t c) { return (c >> 8) & 0xFF; }
unsigned Blue(uint32_t c) { return (c >> 16) & 0xFF; }

// One bitmap's cells and how bad a faulty cell is there.
struct CellGrid {
    const char *File;
    const SkinPixels *Bitmap;
    std::vector<SkinCell> Cells;
    int Width, Height;
    bool HaveKey;
    uint32_t Key;
    Level Faulty;         // for an empty or duplicate cell
    const char *Because;  // what such a cell does to the face
};

bool CellIsKey(const CellGrid &g, const SkinCell &c)
{
    for (int y = 0; y < g.Height; y++)
        for (int x = 0; x < g.Width; x++)
            if (g.Bitmap->At(c.Column * g.Width + x, c.Row * g.Height + y) != g.Key)
                return false;
    return true;
}

// Hashing first keeps the pairwise comparison cheap for large cells.
uint64_t CellHash(const CellGrid &g, const SkinCell &c)
{
    uint64_t h = 1469598103934665603ull;
    for (int y = 0; y < g.Height; y++)
        for (int x = 0; x < g.Width; x++) {
            h ^= g.Bitmap->At(c.Column * g.Width + x, c.Row * g.Height + y);
            h *= 1099511628211ull;
        }
    return h;
}

bool SameCells(const CellGrid &g, const SkinCell &a, const SkinCell &b)
{
    for (int y = 0; y < g.Height; y++)
        for (int x = 0; x < g.Width; x++)
            if (g.Bitmap->At(a.Column * g.Width + x, a.Row * g.Height + y) !=
                g.Bitmap->At(b.Column * g.Width + x, b.Row * g.Height + y))
                return false;
    return true;
}

// A key-colour pixel with glyph pixels all around it, diagonals included:
// ink that hit the key colour, or a counter closed down to one pixel. The
// background and real counters are larger, and a notch between ink and its
// shadow still touches the background diagonally.
bool IsPinHole(const SkinPixels &b, int x, int y, uint32_t key)
{
    if (b.At(x, y) != key)
        return false;
    for (int dy = -1; dy <= 1; dy++)
        for (int dx = -1; dx <= 1; dx++)
            if ((dx || dy) && b.At(x + dx, y + dy) == key)
                return false;
    return true;
}

int PinHoles(const CellGrid &g, const SkinCell &c)
{
    int x0 = c.Column * g.Width, y0 = c.Row * g.Height, holes = 0;
    for (int y = y0 + 1; y < y0 + g.Height - 1; y++)
        for (int x = x0 + 1; x < x0 + g.Width - 1; x++)
            holes += IsPinHole(*g.Bitmap, x, y, g.Key);
    return holes;
}

bool IsDigitOrLetter(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'); }

void CheckCells(Findings *f, const CellGrid &g)
{
    std::vector<bool> empty(g.Cells.size());
    std::vector<uint64_t> hash(g.Cells.size());
    for (size_t i = 0; i < g.Cells.size(); i++) {
        const SkinCell &c = g.Cells[i];
        empty[i] = g.HaveKey && CellIsKey(g, c);
        if (empty[i]) {
            Report(f, g.Faulty, "%s cell %s is empty (all key colour): %s", g.File, QuotedCell(c.Character).c_str(),
                   g.Because);
            continue;
        }
        hash[i] = CellHash(g, c);
        // Each later cell names the first one it repeats, so a pair is reported once.
        for (size_t j = 0; j < i; j++)
            if (!empty[j] && hash[j] == hash[i] && SameCells(g, g.Cells[j], c)) {
                Report(f, g.Faulty, "%s cell %s is identical to cell %s: %s", g.File, QuotedCell(c.Character).c_str(),
                       QuotedCell(g.Cells[j].Character).c_str(), g.Because);
                break;
            }
        int holes = g.HaveKey && IsDigitOrLetter(c.Character) ? PinHoles(g, c) : 0;
        if (holes)
            Report(f, Warning, "%s cell %s has %s: key colour enclosed by the glyph shows as a hole in the face",
                   g.File, QuotedCell(c.Character).c_str(), Count(holes, "pin-hole").c_str());
    }
}

// One pair of a skin's bitmaps as the messages name them: "NUMBERS.BMP", or
// "150/NUMBERS.BMP" in a scale folder.
struct Pair {
    std::string NumbersName, TextName;
    const SkinPixels &Numbers, &Text;
};

// The colons are two squares cut from the top of the "0" cell.
void CheckColonPatch(Findings *f, const Pair &p, uint32_t key)
{
    const SkinPixels &numbers = p.Numbers;
    const char *name = p.NumbersName.c_str();
    int dw = DigitCellWidth(numbers), side = dw / 4, left = dw / 3;
    if (side == 0) {
        Report(f, Error,
               "%s cells are %d pixels wide, under 4: the colon dots have side 0, so the colons are "
               "invisible",
               name, dw);
        return;
    }
    int rows = side < numbers.Height ? side : numbers.Height, keyed = 0;
    for (int y = 0; y < rows; y++)
        for (int x = left; x < left + side; x++)
            keyed += numbers.At(x, y) == key;
    if (keyed == side * rows)
        Report(f, Error,
               "%s colon patch (%d x %d at %d, 0 in the \"0\" cell) is all key colour: the colons are "
               "invisible (an opaque face is filled with the key colour, a transparent one skips it)",
               name, side, side, left);
    else if (keyed)
        Report(f, Warning,
               "%s colon patch (%d x %d at %d, 0 in the \"0\" cell) has %d of its %d pixels in "
               "the key colour: the colon dots have holes",
               name, side, side, left, keyed, side * rows);
}

void CheckNumbers(Findings *f, const Pair &p)
{
    const SkinPixels &numbers = p.Numbers, &text = p.Text;
    const char *name = p.NumbersName.c_str();
    int dw = DigitCellWidth(numbers);
    if (dw == 0) {
        Report(f, Error, "%s is %d pixels wide, fewer than its 11 cells: no digit can be drawn", name, numbers.Width);
        return;
    }
    int lost = numbers.Width - 11 * dw;
    if (lost)
        Report(f, Warning,
               "%s is %d pixels wide, not a multiple of 11: %s right of the 11 cells %s never "
               "drawn",
               name, numbers.Width, Count(lost, "pixel column").c_str(), Verb(lost));
    if (text.Loaded)
        CheckColonPatch(f, p, KeyColour(text));
    else
        Report(f, Info, "%s colon patch, empty cells and pin-holes not checked: the key colour comes from %s", name,
               p.TextName.c_str());
    CellGrid g{name,
               &numbers,
               DigitCells(),
               dw,
               numbers.Height,
               text.Loaded,
               text.Loaded ? KeyColour(text) : 0,
               Error,
               "the time can't be read"};
    CheckCells(f, g);
}

void CheckText(Findings *f, const Pair &p)
{
    const SkinPixels &text = p.Text;
    const char *name = p.TextName.c_str();
    int tcw = TextCellWidth(text), tch = TextCellHeight(text);
    if (tcw == 0)
        Report(f, Error, "%s is %d pixels wide, fewer than its 30 cells: no text can be drawn", name, text.Width);
    if (tch == 0)
        Report(f, Error, "%s is %d pixels high, fewer than its 3 cell rows: no text can be drawn", name, text.Height);
    if (tcw == 0 || tch == 0)
        return;
    int lostColumns = text.Width - 30 * tcw, lostRows = text.Height - 3 * tch;
    if (lostColumns)
        Report(f, Warning, "%s is %d pixels wide, not a multiple of 30: %s right of the 30 cells %s never drawn", name,
               text.Width, Count(lostColumns, "pixel column").c_str(), Verb(lostColumns));
    if (lostRows)
        Report(f, Warning, "%s is %d pixels high, not a multiple of 3: %s below the 3 cell rows %s never drawn", name,
               text.Height, Count(lostRows, "pixel row").c_str(), Verb(lostRows));
    CellGrid g{name,
               &text,
               TextCells(),
               tcw,
               tch,
               true,
               KeyColour(text),
               Warning,
               "that character shows as nothing or as the wrong one"};
    CheckCells(f, g);
}

// A loaded bitmap's sizes, or the error that it did not load.
void ReportLoad(Findings *f, const std::string &file, const SkinPixels &b, const char *cell, int cellWidth,
                int cellHeight)
{
    if (!b.Loaded)
        Report(f, Error, "%s %s", file.c_str(), b.Problem.c_str());
    else
        Report(f, Info, "%s %d x %d, %s cell %d x %d", file.c_str(), b.Width, b.Height, cell, cellWidth, cellHeight);
}

// Sizes, key colour and the checks of one pair on its own.
void CheckPair(Findings *f, const Pair &p)
{
    ReportLoad(f, p.NumbersName, p.Numbers, "digit", DigitCellWidth(p.Numbers), p.Numbers.Height);
    ReportLoad(f, p.TextName, p.Text, "text", TextCellWidth(p.Text), TextCellHeight(p.Text));
    if (p.Text.Loaded) {
        uint32_t key = KeyColour(p.Text);
        Report(f, Info, "key colour %u, %u, %u (R, G, B of the bottom-right pixel of %s)", Red(key), Green(key),
               Blue(key), p.TextName.c_str());
    }
    if (p.Numbers.Loaded)
        CheckNumbers(f, p);
    if (p.Text.Loaded)
        CheckText(f, p);
}

bool CellDrawn(const SkinPixels &b, int width, int height, const SkinCell &c, uint32_t key)
{
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            if (b.At(c.Column * width + x, c.Row * height + y) != key)
                return true;
    return false;
}

// The characters drawn in one pair and empty in the other.
std::string DrawnOnlyIn(const SkinPixels &a, const SkinPixels &b, const std::vector<SkinCell> &cells, int aWidth,
                        int aHeight, int bWidth, int bHeight, uint32_t key)
{
    std::string list;
    for (const SkinCell &c : cells)
        if (CellDrawn(a, aWidth, aHeight, c, key) && !CellDrawn(b, bWidth, bHeight, c, key))
            list += (list.empty() ? "" : ", ") + QuotedCell(c.Character);
    return list;
}

// A scale's pair against the base: the clock passes artwork over whose cells
// are not the base cells grown by the scale, and a face should show the same
// glyphs and background at every scale.
void CheckAgainstBase(Findings *f, const Pair &base, const Pair &p, int percent)
{
    if (!base.Numbers.Loaded || !base.Text.Loaded || !p.Numbers.Loaded || !p.Text.Loaded)
        return;
    int dw = DigitCellWidth(p.Numbers), tcw = TextCellWidth(p.Text), tch = TextCellHeight(p.Text);
    int baseDw = DigitCellWidth(base.Numbers), baseTcw = TextCellWidth(base.Text), baseTch = TextCellHeight(base.Text);
    bool digitsGrown = GrownBy(baseDw, dw, percent) && GrownBy(base.Numbers.Height, p.Numbers.Height, percent);
    bool textGrown = GrownBy(baseTcw, tcw, percent) && GrownBy(baseTch, tch, percent);
    if (!digitsGrown)
        Report(f, Error,
               "%s digit cell %d x %d is not the base's %d x %d grown to %d %%: the clock passes the %d %% "
               "artwork over",
               p.NumbersName.c_str(), dw, p.Numbers.Height, baseDw, base.Numbers.Height, percent, percent);
    if (!textGrown)
        Report(f, Error,
               "%s text cell %d x %d is not the base's %d x %d grown to %d %%: the clock passes the %d %% "
               "artwork over",
               p.TextName.c_str(), tcw, tch, baseTcw, baseTch, percent, percent);
    uint32_t key = KeyColour(p.Text), baseKey = KeyColour(base.Text);
    if (key != baseKey)
        Report(f, Error,
               "%s key colour %u, %u, %u is not the base's %u, %u, %u: the face's background changes with "
               "the scale",
               p.TextName.c_str(), Red(key), Green(key), Blue(key), Red(baseKey), Green(baseKey), Blue(baseKey));
    if (!digitsGrown || !textGrown || dw == 0 || tcw == 0 || tch == 0 || baseDw == 0 || baseTcw == 0 || baseTch == 0)
        return;
    const struct {
        const Pair &From, &To;
        const char *Where;
    } directions[] = {{base, p, "at %d %%"}, {p, base, "at 100 %% but drawn at %d %%"}};
    for (const auto &d : directions) {
        std::string digits = DrawnOnlyIn(d.From.Numbers, d.To.Numbers, DigitCells(), DigitCellWidth(d.From.Numbers),
                                         d.From.Numbers.Height, DigitCellWidth(d.To.Numbers), d.To.Numbers.Height,
                                         KeyColour(d.From.Text));
        std::string text =
            DrawnOnlyIn(d.From.Text, d.To.Text, TextCells(), TextCellWidth(d.From.Text), TextCellHeight(d.From.Text),
                        TextCellWidth(d.To.Text), TextCellHeight(d.To.Text), KeyColour(d.From.Text));
        char where[64];
        snprintf(where, sizeof(where), d.Where, percent);
        if (!digits.empty())
            Report(f, Error, "digits %s have no glyph %s: the time can't be read at every scale", digits.c_str(),
                   where);
        if (!text.empty())
            Report(f, Warning, "characters %s have no glyph %s: they show at one scale and not at the other",
                   text.c_str(), where);
    }
}

}  // namespace

int CheckSkin(const std::string &skinsDir, const std::string &skin, const SkinFiles &files)
{
    Findings f;
    if (!files.FolderExists) {
        Report(&f, Error, "skin folder %s/%s is missing", skinsDir.c_str(), skin.c_str());
    } else {
        Pair base{"NUMBERS.BMP", "TEXT.BMP", files.Numbers, files.Text};
        CheckPair(&f, base);
        for (const SkinScaleFiles &scale : files.Scales) {
            std::string folder = std::to_string(scale.Percent) + "/";
            Pair p{folder + "NUMBERS.BMP", folder + "TEXT.BMP", scale.Numbers, scale.Text};
            CheckPair(&f, p);
            CheckAgainstBase(&f, base, p, scale.Percent);
        }
        for (const std::string &name : files.OtherNumberedFolders)
            Report(&f, Warning,
                   "folder %s is not a scale the clock looks for (125, 150, 175, 200, 225, 250, 300, "
                   "350, 400, 450 or 500): it is never read",
                   name.c_str());
    }
    printf("%s, %s\n", Count(f.Errors, "error").c_str(), Count(f.Warnings, "warning").c_str());
    return f.Errors;
}
