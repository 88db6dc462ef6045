#include "tools/preview/skin_check.h"

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

std::string Count(int n, const char *noun)
{
    return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
}

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
    Level Faulty;        // for an empty or duplicate cell
    const char *Because; // what such a cell does to the face
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
                Report(f, g.Faulty, "%s cell %s is identical to cell %s: %s", g.File,
                       QuotedCell(c.Character).c_str(), QuotedCell(g.Cells[j].Character).c_str(), g.Because);
                break;
            }
        int holes = g.HaveKey && IsDigitOrLetter(c.Character) ? PinHoles(g, c) : 0;
        if (holes)
            Report(f, Warning,
                   "%s cell %s has %s: key colour enclosed by the glyph shows as a hole in the face",
                   g.File, QuotedCell(c.Character).c_str(), Count(holes, "pin-hole").c_str());
    }
}

// The colons are two squares cut from the top of the "0" cell.
void CheckColonPatch(Findings *f, const SkinPixels &numbers, uint32_t key)
{
    int dw = DigitCellWidth(numbers), side = dw / 4, left = dw / 3;
    if (side == 0) {
        Report(f, Error, "NUMBERS.BMP cells are %d pixels wide, under 4: the colon dots have side 0, so the colons are "
                         "invisible", dw);
        return;
    }
    int rows = side < numbers.Height ? side : numbers.Height, keyed = 0;
    for (int y = 0; y < rows; y++)
        for (int x = left; x < left + side; x++)
            keyed += numbers.At(x, y) == key;
    if (keyed == side * rows)
        Report(f, Error,
               "NUMBERS.BMP colon patch (%d x %d at %d, 0 in the \"0\" cell) is all key colour: the colons are "
               "invisible (an opaque face is filled with the key colour, a transparent one skips it)",
               side, side, left);
    else if (keyed)
        Report(f, Warning, "NUMBERS.BMP colon patch (%d x %d at %d, 0 in the \"0\" cell) has %d of its %d pixels in "
                           "the key colour: the colon dots have holes", side, side, left, keyed, side * rows);
}

void CheckNumbers(Findings *f, const SkinPixels &numbers, const SkinPixels &text)
{
    int dw = DigitCellWidth(numbers);
    if (dw == 0) {
        Report(f, Error, "NUMBERS.BMP is %d pixels wide, fewer than its 11 cells: no digit can be drawn",
               numbers.Width);
        return;
    }
    int lost = numbers.Width - 11 * dw;
    if (lost)
        Report(f, Warning, "NUMBERS.BMP is %d pixels wide, not a multiple of 11: %s right of the 11 cells %s never "
                           "drawn", numbers.Width, Count(lost, "pixel column").c_str(), Verb(lost));
    if (text.Loaded)
        CheckColonPatch(f, numbers, KeyColour(text));
    else
        Report(f, Info,
               "NUMBERS.BMP colon patch, empty cells and pin-holes not checked: the key colour comes from TEXT.BMP");
    CellGrid g{"NUMBERS.BMP", &numbers, DigitCells(), dw, numbers.Height, text.Loaded,
               text.Loaded ? KeyColour(text) : 0, Error, "the time can't be read"};
    CheckCells(f, g);
}

void CheckText(Findings *f, const SkinPixels &text)
{
    int tcw = TextCellWidth(text), tch = TextCellHeight(text);
    if (tcw == 0)
        Report(f, Error, "TEXT.BMP is %d pixels wide, fewer than its 30 cells: no text can be drawn", text.Width);
    if (tch == 0)
        Report(f, Error, "TEXT.BMP is %d pixels high, fewer than its 3 cell rows: no text can be drawn", text.Height);
    if (tcw == 0 || tch == 0)
        return;
    int lostColumns = text.Width - 30 * tcw, lostRows = text.Height - 3 * tch;
    if (lostColumns)
        Report(f, Warning, "TEXT.BMP is %d pixels wide, not a multiple of 30: %s right of the 30 cells %s never drawn",
               text.Width, Count(lostColumns, "pixel column").c_str(), Verb(lostColumns));
    if (lostRows)
        Report(f, Warning, "TEXT.BMP is %d pixels high, not a multiple of 3: %s below the 3 cell rows %s never drawn",
               text.Height, Count(lostRows, "pixel row").c_str(), Verb(lostRows));
    CellGrid g{"TEXT.BMP", &text, TextCells(), tcw, tch, true, KeyColour(text), Warning,
               "that character shows as nothing or as the wrong one"};
    CheckCells(f, g);
}

// A loaded bitmap's sizes, or the error that it did not load.
void ReportLoad(Findings *f, const char *file, const SkinPixels &b, const char *cell, int cellWidth, int cellHeight)
{
    if (!b.Loaded)
        Report(f, Error, "%s %s", file, b.Problem.c_str());
    else
        Report(f, Info, "%s %d x %d, %s cell %d x %d", file, b.Width, b.Height, cell, cellWidth, cellHeight);
}

} // namespace

int CheckSkin(const std::string &skinsDir, const std::string &skin, const SkinFiles &files)
{
    Findings f;
    if (!files.FolderExists) {
        Report(&f, Error, "skin folder %s/%s is missing", skinsDir.c_str(), skin.c_str());
    } else {
        const SkinPixels &numbers = files.Numbers, &text = files.Text;
        ReportLoad(&f, "NUMBERS.BMP", numbers, "digit", DigitCellWidth(numbers), numbers.Height);
        ReportLoad(&f, "TEXT.BMP", text, "text", TextCellWidth(text), TextCellHeight(text));
        if (text.Loaded) {
            uint32_t key = KeyColour(text);
            Report(&f, Info, "key colour %u, %u, %u (R, G, B of the bottom-right pixel of TEXT.BMP)", Red(key),
                   Green(key), Blue(key));
        }
        if (numbers.Loaded)
            CheckNumbers(&f, numbers, text);
        if (text.Loaded)
            CheckText(&f, text);
    }
    printf("%s, %s\n", Count(f.Errors, "error").c_str(), Count(f.Warnings, "warning").c_str());
    return f.Errors;
}
