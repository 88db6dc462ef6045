#include "tools/skingen/stroke_font.h"

#include <cfenv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// Text strokes on a grid 4 wide and 6 high, digits on one 4 by 8: strokes
// separated by '|', each a polyline of "x,y" points, or "*x,y", a dot. The
// grid is where the nib's top-left corner goes, from 0 to the glyph's size
// less the nib; a dot is a square of the size's dot width centred on the
// nib there.
struct StrokeEntry {
    char ch;
    const char *strokes;
};

const StrokeEntry kTextStrokes[] = {
    {'A', "0,6 0,1 1,0 3,0 4,1 4,6|0,3 4,3"},
    {'B', "0,0 3,0 4,1 4,2 3,3 0,3|3,3 4,4 4,5 3,6 0,6 0,0"},
    {'C', "4,1 3,0 1,0 0,1 0,5 1,6 3,6 4,5"},
    {'D', "0,0 2,0 4,2 4,4 2,6 0,6 0,0"},
    {'E', "4,0 0,0 0,6 4,6|0,3 3,3"},
    {'F', "4,0 0,0 0,6|0,3 3,3"},
    {'G', "4,1 3,0 1,0 0,1 0,5 1,6 4,6 4,3 2,3"},
    {'H', "0,0 0,6|4,0 4,6|0,3 4,3"},
    {'I', "1,0 3,0|2,0 2,6|1,6 3,6"},
    {'J', "2,0 4,0|3,0 3,5 2,6 1,6 0,5"},
    {'K', "0,0 0,6|4,0 1,3 4,6|0,3 1,3"},
    {'L', "0,0 0,6 4,6"},
    {'M', "0,6 0,0 2,2 4,0 4,6|2,2 2,3"},
    {'N', "0,6 0,0|0,1 4,5|4,0 4,6"},
    {'O', "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0"},
    {'P', "0,6 0,0 3,0 4,1 4,2 3,3 0,3"},
    {'Q', "1,0 3,0 4,1 4,4 2,6 1,6 0,5 0,1 1,0|2,4 4,6"},
    {'R', "0,6 0,0 3,0 4,1 4,2 3,3 0,3|2,3 4,6"},
    {'S', "4,1 3,0 1,0 0,1 0,2 1,3 3,3 4,4 4,5 3,6 1,6 0,5"},
    {'T', "0,0 4,0|2,0 2,6"},
    {'U', "0,0 0,5 1,6 3,6 4,5 4,0"},
    {'V', "0,0 0,4 2,6 4,4 4,0"},
    {'W', "0,0 0,5 1,6 2,5 3,6 4,5 4,0|2,3 2,5"},
    {'X', "0,0 0,1 4,5 4,6|4,0 4,1 0,5 0,6"},
    {'Y', "0,0 0,1 2,3 4,1 4,0|2,3 2,6"},
    {'Z', "0,0 4,0 4,1 0,5 0,6 4,6"},
    {'0', "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0|1,4 3,2"},
    {'1', "0,2 2,0 2,6|0,6 4,6"},
    {'2', "0,1 1,0 3,0 4,1 4,2 0,6 4,6"},
    {'3', "0,0 4,0 2,2 3,2 4,3 4,5 3,6 1,6 0,5"},
    {'4', "3,6 3,0 0,4 4,4"},
    {'5', "4,0 0,0 0,2 3,2 4,3 4,5 3,6 1,6 0,5"},
    {'6', "3,0 2,0 0,2 0,5 1,6 3,6 4,5 4,4 3,3 0,3"},
    {'7', "0,0 4,0 4,1 1,4 1,6"},
    {'8', "1,0 3,0 4,1 4,2 3,3 1,3 0,2 0,1 1,0|1,3 3,3 4,4 4,5 3,6 1,6 0,5 0,4 1,3"},
    {'9', "4,3 1,3 0,2 0,1 1,0 3,0 4,1 4,4 2,6 1,6"},
    {'"', "1,0 1,2|3,0 3,2"},
    {'@', "4,6 1,6 0,5 0,1 1,0 3,0 4,1 4,4 2,4 2,2 4,2"},
    {':', "*2,1.5|*2,4.5"},
    {'(', "3,0 1,2 1,4 3,6"},
    {')', "1,0 3,2 3,4 1,6"},
    {'\'', "2,0 2,2"},
    {'!', "2,0 2,4|2,6 2,6"},
    {'_', "0,6 4,6"},
    {'+', "2,1 2,5|0,3 4,3"},
    {'\\', "0,0 0,1 4,5 4,6"},
    {'/', "4,0 4,1 0,5 0,6"},
    {'[', "3,0 1,0 1,6 3,6"},
    {']', "1,0 3,0 3,6 1,6"},
    {'^', "0,2 2,0 4,2"},
    {'&', "4,6 1,3 0,2 0,1 1,0 2,0 3,1 2,2 0,4 0,5 1,6 2,6 4,4"},
    {'%', "0,6 4,0|*0.5,0.5|*3.5,5.5"},
    {'.', "*2,5.5"},
    {'=', "0,2 4,2|0,4 4,4"},
    {'$', "4,1 1,1 0,2 1,3 3,3 4,4 3,5 0,5|2,0 2,6"},
};

// Digits for the time row: the 0's top is straight across its middle, for
// the colon dots cut from it.
const char *const kDigitStrokes[10] = {
    "0.5,0 3.5,0 4,0.5 4,7.5 3.5,8 0.5,8 0,7.5 0,0.5 0.5,0",
    "0,1.5 2,0 2,8|0.5,8 3.5,8",
    "0,1 0.5,0 3.5,0 4,0.5 4,3.5 3.5,4 0.5,4 0,4.5 0,8 4,8",
    "0,1 0.5,0 3.5,0 4,0.5 4,7.5 3.5,8 0.5,8 0,7|1.5,4 4,4",
    "0,0 0,4 4,4|4,0 4,8",
    "4,0 0,0 0,4 3.5,4 4,4.5 4,7.5 3.5,8 0.5,8 0,7",
    "4,1 3.5,0 0.5,0 0,0.5 0,7.5 0.5,8 3.5,8 4,7.5 4,4.5 3.5,4 0,4",
    "0,0 4,0 4,8",
    "0.5,0 3.5,0 4,0.5 4,3.5 3.5,4 0.5,4 0,3.5 0,0.5 0.5,0|0.5,4 3.5,4 4,4.5 4,7.5 3.5,8 0.5,8 0,7.5 0,4.5 0.5,4",
    "0,7 0.5,8 3.5,8 4,7.5 4,0.5 3.5,0 0.5,0 0,0.5 0,3.5 0.5,4 4,4",
};

struct Point {
    int x, y;
};

// Grid units to pixels, ties to the even pixel so that a glyph drawn on an
// odd number of pixels per two units stays symmetric.
int ToPixels(double units, int span, int grid)
{
    std::fesetround(FE_TONEAREST);
    return static_cast<int>(std::nearbyint(units * span / grid));
}

void Stamp(InkGlyph &glyph, int x, int y, int side)
{
    for (int dy = 0; dy < side; ++dy)
        for (int dx = 0; dx < side; ++dx) {
            int px = x + dx, py = y + dy;
            if (px >= 0 && py >= 0 && px < glyph.width && py < glyph.height)
                glyph.ink[static_cast<size_t>(py) * glyph.width + px] = 1;
        }
}

// The nib from a to b, one pixel step at a time (Bresenham).
void Sweep(InkGlyph &glyph, Point a, Point b, int nib)
{
    int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
    int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        Stamp(glyph, a.x, a.y, nib);
        if (a.x == b.x && a.y == b.y)
            return;
        int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            a.x += sx;
        }
        if (twice <= dx) {
            error += dx;
            a.y += sy;
        }
    }
}

InkGlyph Draw(const char *strokes, int gridWidth, int gridHeight, const StrokeSize &size)
{
    InkGlyph glyph;
    glyph.width = size.width;
    glyph.height = size.height;
    glyph.ink.assign(static_cast<size_t>(size.width) * size.height, 0);
    const char *p = strokes;
    bool first = true;
    Point last{0, 0};
    while (*p) {
        if (*p == '|') {
            first = true;
            ++p;
            continue;
        }
        bool dot = *p == '*';
        if (dot)
            ++p;
        char *end;
        double x = std::strtod(p, &end);
        double y = std::strtod(end + 1, &end);
        p = end;
        while (*p == ' ')
            ++p;
        Point at{ToPixels(x, size.width - size.nib, gridWidth), ToPixels(y, size.height - size.nib, gridHeight)};
        if (dot)
            Stamp(glyph, at.x + (size.nib - size.dot) / 2, at.y + (size.nib - size.dot) / 2, size.dot);
        else
            Sweep(glyph, first ? at : last, at, size.nib);
        last = at;
        first = false;
    }
    return glyph;
}

}  // namespace

bool InkGlyph::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return false;
    return ink[static_cast<size_t>(y) * width + x] != 0;
}

InkGlyph StrokeTextGlyph(char c, const StrokeSize &size)
{
    for (const StrokeEntry &entry : kTextStrokes)
        if (entry.ch == c)
            return Draw(entry.strokes, 4, 6, size);
    return InkGlyph{};
}

InkGlyph StrokeDigitGlyph(int digit, const StrokeSize &size)
{
    if (digit < 0 || digit > 9)
        return InkGlyph{};
    return Draw(kDigitStrokes[digit], 4, 8, size);
}
