// Regions as sets of disjoint rectangles. Keeping them disjoint makes every
// pixel of a region belong to exactly one rectangle, so clipped drawing
// touches each pixel once.
#include "platform/sim/sim_internal.h"

#include <algorithm>

bool SimRectEmpty(const RECT &r) { return r.left >= r.right || r.top >= r.bottom; }

RECT SimIntersect(const RECT &a, const RECT &b)
{
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (SimRectEmpty(r))
        r = RECT{0, 0, 0, 0};
    return r;
}

// The parts of a that lie outside b: at most four rectangles.
static void SubtractRect(const RECT &a, const RECT &b, std::vector<RECT> &out)
{
    RECT i = SimIntersect(a, b);
    if (SimRectEmpty(i)) {
        out.push_back(a);
        return;
    }
    if (a.top < i.top)
        out.push_back(RECT{a.left, a.top, a.right, i.top});
    if (i.bottom < a.bottom)
        out.push_back(RECT{a.left, i.bottom, a.right, a.bottom});
    if (a.left < i.left)
        out.push_back(RECT{a.left, i.top, i.left, i.bottom});
    if (i.right < a.right)
        out.push_back(RECT{i.right, i.top, a.right, i.bottom});
}

void SimRegionAddRect(SimRegionData &region, const RECT &rect)
{
    if (SimRectEmpty(rect))
        return;
    std::vector<RECT> pieces{rect};
    for (const RECT &have : region.Rects) {
        std::vector<RECT> next;
        for (const RECT &p : pieces)
            SubtractRect(p, have, next);
        pieces.swap(next);
        if (pieces.empty())
            return;
    }
    region.Rects.insert(region.Rects.end(), pieces.begin(), pieces.end());
}

void SimRegionUnion(SimRegionData &dst, const SimRegionData &src)
{
    for (const RECT &r : src.Rects)
        SimRegionAddRect(dst, r);
}

SimRegionData SimRegionIntersectRect(const SimRegionData &region, const RECT &rect)
{
    SimRegionData out;
    for (const RECT &r : region.Rects) {
        RECT i = SimIntersect(r, rect);
        if (!SimRectEmpty(i))
            out.Rects.push_back(i);
    }
    return out;
}

SimRegionData SimRegionIntersect(const SimRegionData &a, const SimRegionData &b)
{
    SimRegionData out;
    for (const RECT &r : b.Rects) {
        SimRegionData part = SimRegionIntersectRect(a, r);
        out.Rects.insert(out.Rects.end(), part.Rects.begin(), part.Rects.end());
    }
    return out;
}

SimRegionData SimRegionSubtract(const SimRegionData &a, const SimRegionData &b)
{
    SimRegionData out = a;
    for (const RECT &cut : b.Rects) {
        std::vector<RECT> next;
        for (const RECT &r : out.Rects)
            SubtractRect(r, cut, next);
        out.Rects.swap(next);
    }
    return out;
}

RECT SimRegionBox(const SimRegionData &region)
{
    if (region.Rects.empty())
        return RECT{0, 0, 0, 0};
    RECT box = region.Rects[0];
    for (const RECT &r : region.Rects) {
        box.left = std::min(box.left, r.left);
        box.top = std::min(box.top, r.top);
        box.right = std::max(box.right, r.right);
        box.bottom = std::max(box.bottom, r.bottom);
    }
    return box;
}

bool SimRegionContains(const SimRegionData &region, int x, int y)
{
    for (const RECT &r : region.Rects)
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            return true;
    return false;
}

int SimRegionType(const SimRegionData &region)
{
    if (region.Rects.empty())
        return NULLREGION;
    RECT box = SimRegionBox(region);
    int64_t area = 0;
    for (const RECT &r : region.Rects)
        area += (int64_t)(r.right - r.left) * (r.bottom - r.top);
    int64_t boxArea = (int64_t)(box.right - box.left) * (box.bottom - box.top);
    return area == boxArea ? SIMPLEREGION : COMPLEXREGION;
}

HRGN CreateRectRgn(int left, int top, int right, int bottom)
{
    if (SimShouldFail("CreateRectRgn"))
        return nullptr;
    SimGdiObject object{};
    object.Kind = SimRegions;
    RECT r{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    SimRegionAddRect(object.Region, r);
    return (HRGN)SimAddGdi(std::move(object));
}

int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode)
{
    if (SimShouldFail("CombineRgn"))
        return ERROR;
    SimGdiObject *d = SimFindGdi(dst, SimRegions);
    SimGdiObject *a = SimFindGdi(src1, SimRegions);
    SimGdiObject *b = mode == RGN_COPY ? a : SimFindGdi(src2, SimRegions);
    if (!d || !a || !b)
        return ERROR;
    SimRegionData result;
    switch (mode) {
    case RGN_COPY:
        result = a->Region;
        break;
    case RGN_OR:
        result = a->Region;
        SimRegionUnion(result, b->Region);
        break;
    case RGN_AND:
        result = SimRegionIntersect(a->Region, b->Region);
        break;
    case RGN_DIFF:
        result = SimRegionSubtract(a->Region, b->Region);
        break;
    case RGN_XOR:
        result = SimRegionSubtract(a->Region, b->Region);
        SimRegionUnion(result, SimRegionSubtract(b->Region, a->Region));
        break;
    default:
        return ERROR;
    }
    d->Region = std::move(result);
    return SimRegionType(d->Region);
}

int GetRgnBox(HRGN rgn, LPRECT rect)
{
    SimGdiObject *r = SimFindGdi(rgn, SimRegions);
    if (!r || !rect)
        return ERROR;
    *rect = SimRegionBox(r->Region);
    return SimRegionType(r->Region);
}

BOOL PtInRegion(HRGN rgn, int x, int y)
{
    SimGdiObject *r = SimFindGdi(rgn, SimRegions);
    return r && SimRegionContains(r->Region, x, y);
}

BOOL EqualRgn(HRGN a, HRGN b)
{
    SimGdiObject *ra = SimFindGdi(a, SimRegions);
    SimGdiObject *rb = SimFindGdi(b, SimRegions);
    if (!ra || !rb)
        return ERROR;
    return SimRegionSubtract(ra->Region, rb->Region).Rects.empty() &&
           SimRegionSubtract(rb->Region, ra->Region).Rects.empty();
}
