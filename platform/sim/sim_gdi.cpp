// Device contexts, bitmaps, brushes and the copy operations, with real pixels.
#include "platform/sim/sim_internal.h"

#include <algorithm>

static HBITMAP StockBitmap()
{
    if (!Sim().StockBitmap) {
        SimGdiObject object{};
        object.Kind = SimBitmaps;
        object.Bitmap.Width = 1;
        object.Bitmap.Height = 1;
        object.Bitmap.BitsPixel = 1;
        object.Bitmap.Pixels.assign(1, 0);
        object.Bitmap.Stock = true;
        Sim().StockBitmap = (HBITMAP)SimAddGdi(std::move(object));
    }
    return Sim().StockBitmap;
}

static SimBitmapData *BitmapOf(HGDIOBJ handle)
{
    auto it = Sim().Gdi.find((uintptr_t)handle);
    if (it == Sim().Gdi.end() || it->second.Kind != SimBitmaps)
        return nullptr;
    return &it->second.Bitmap;
}

SimSurface SimDCSurface(SimGdiObject *dc)
{
    SimSurface s;
    if (!dc)
        return s;
    if (dc->DC.Window) {
        SimWindowData *w = SimFindWindow(dc->DC.Window);
        if (!w)
            return s;
        RECT rc;
        GetClientRect(dc->DC.Window, &rc);
        s.Pixels = w->Surface.data();
        s.Width = rc.right;
        s.Height = rc.bottom;
        s.IsWindow = true;
        return s;
    }
    SimBitmapData *b = BitmapOf(dc->DC.State.Bitmap);
    if (!b)
        return s;
    s.Pixels = b->Pixels.data();
    s.Width = b->Width;
    s.Height = b->Height;
    return s;
}

static SimGdiObject *FindDC(HDC hdc) { return SimFindGdi(hdc, SimDCs); }

HDC CreateCompatibleDC(HDC hdc)
{
    if (SimShouldFail("CreateCompatibleDC"))
        return nullptr;
    if (hdc && !FindDC(hdc))
        return nullptr;
    SimGdiObject object{};
    object.Kind = SimDCs;
    object.DC.State.Bitmap = StockBitmap();
    HDC dc = (HDC)SimAddGdi(std::move(object));
    return dc;
}

static void ReleaseSelection(HGDIOBJ bitmap)
{
    auto it = Sim().Gdi.find((uintptr_t)bitmap);
    if (it == Sim().Gdi.end() || it->second.Kind != SimBitmaps)
        return;
    it->second.Bitmap.SelectedInto = nullptr;
    if (it->second.PendingDelete)
        Sim().Gdi.erase(it);
}

BOOL DeleteDC(HDC hdc)
{
    SimGdiObject *dc = FindDC(hdc);
    if (!dc || dc->DC.Window)
        return FALSE;
    ReleaseSelection(dc->DC.State.Bitmap);
    SimFreeGdi(hdc);
    return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object)
{
    if (SimShouldFail("SelectObject"))
        return nullptr;
    SimGdiObject *dc = FindDC(hdc);
    auto it = Sim().Gdi.find((uintptr_t)object);
    if (!dc || it == Sim().Gdi.end() || it->second.PendingDelete)
        return nullptr;
    SimGdiObject &obj = it->second;
    switch (obj.Kind) {
    case SimBitmaps: {
        // Only memory DCs take bitmaps, and a bitmap sits in one DC at a time.
        if (dc->DC.Window)
            return nullptr;
        if (!obj.Bitmap.Stock && obj.Bitmap.SelectedInto && obj.Bitmap.SelectedInto != hdc)
            return nullptr;
        HGDIOBJ previous = dc->DC.State.Bitmap;
        if (previous == object)
            return previous;
        if (!obj.Bitmap.Stock)
            obj.Bitmap.SelectedInto = hdc;
        dc->DC.State.Bitmap = object;
        dc->DC.DrawableValid = false;
        ReleaseSelection(previous);
        return previous;
    }
    case SimRegions: {
        // Selecting a region makes a copy of it the clipping region.
        dc->DC.State.HasClip = true;
        dc->DC.State.Clip = obj.Region;
        dc->DC.DrawableValid = false;
        return (HGDIOBJ)(uintptr_t)SimRegionType(obj.Region);
    }
    default:
        return nullptr;
    }
}

BOOL DeleteObject(HGDIOBJ object)
{
    auto it = Sim().Gdi.find((uintptr_t)object);
    if (it == Sim().Gdi.end() || it->second.Kind == SimDCs || it->second.PendingDelete)
        return FALSE;
    SimGdiObject &obj = it->second;
    if (obj.Kind == SimBitmaps) {
        if (obj.Bitmap.Stock)
            return TRUE;
        // Like Wine, a bitmap deleted while selected goes when it is deselected.
        if (obj.Bitmap.SelectedInto) {
            obj.PendingDelete = true;
            return TRUE;
        }
    }
    Sim().Gdi.erase(it);
    return TRUE;
}

int GetObjectA(HANDLE object, int size, LPVOID buffer)
{
    if (SimShouldFail("GetObjectA"))
        return 0;
    SimGdiObject *obj = SimFindGdi(object, SimBitmaps);
    if (!obj)
        return 0;
    if (!buffer)
        return (int)sizeof(BITMAP);
    if (size < (int)sizeof(BITMAP))
        return 0;
    BITMAP bm{};
    bm.bmType = 0;
    bm.bmWidth = obj->Bitmap.Width;
    bm.bmHeight = obj->Bitmap.Height;
    bm.bmBitsPixel = (WORD)obj->Bitmap.BitsPixel;
    bm.bmWidthBytes = ((obj->Bitmap.Width * obj->Bitmap.BitsPixel + 15) / 16) * 2;
    bm.bmPlanes = 1;
    *(BITMAP *)buffer = bm;
    return (int)sizeof(BITMAP);
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height)
{
    if (SimShouldFail("CreateCompatibleBitmap") || !FindDC(hdc) || width < 0 || height < 0 ||
        (int64_t)width * height > 64 * 1024 * 1024)
        return nullptr;
    SimGdiObject object{};
    object.Kind = SimBitmaps;
    object.Bitmap.Width = width;
    object.Bitmap.Height = height;
    object.Bitmap.Pixels.assign((size_t)width * height, 0);
    return (HBITMAP)SimAddGdi(std::move(object));
}

int SaveDC(HDC hdc)
{
    SimGdiObject *dc = FindDC(hdc);
    if (!dc)
        return 0;
    dc->DC.Saved.push_back(dc->DC.State);
    return (int)dc->DC.Saved.size();
}

BOOL RestoreDC(HDC hdc, int savedDC)
{
    SimGdiObject *dc = FindDC(hdc);
    if (!dc)
        return FALSE;
    int level = savedDC < 0 ? (int)dc->DC.Saved.size() + 1 + savedDC : savedDC;
    if (level < 1 || level > (int)dc->DC.Saved.size())
        return FALSE;
    SimDCState state = dc->DC.Saved[level - 1];
    dc->DC.Saved.resize(level - 1);
    if (state.Bitmap != dc->DC.State.Bitmap && !SelectObject(hdc, state.Bitmap))
        state.Bitmap = dc->DC.State.Bitmap;
    dc->DC.State = state;
    dc->DC.DrawableValid = false;
    return TRUE;
}

BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT old)
{
    SimGdiObject *dc = FindDC(hdc);
    if (!dc)
        return FALSE;
    if (old)
        *old = dc->DC.State.WindowOrg;
    dc->DC.State.WindowOrg = POINT{x, y};
    return TRUE;
}

BOOL GetWindowOrgEx(HDC hdc, LPPOINT point)
{
    SimGdiObject *dc = FindDC(hdc);
    if (!dc || !point)
        return FALSE;
    *point = dc->DC.State.WindowOrg;
    return TRUE;
}

int GetMapMode(HDC hdc)
{
    SimGdiObject *dc = FindDC(hdc);
    return dc ? dc->DC.State.MapMode : 0;
}

// Only MM_TEXT maps logical units one to one onto pixels; the other modes are
// kept and reported but not scaled (nothing of the system draws with them).
int SetMapMode(HDC hdc, int mode)
{
    SimGdiObject *dc = FindDC(hdc);
    if (!dc || mode < MM_TEXT || mode > MM_ANISOTROPIC)
        return 0;
    int old = dc->DC.State.MapMode;
    dc->DC.State.MapMode = mode;
    return old;
}

// The rectangles of device space a DC may draw into: the window's visible
// region (or the whole bitmap) within the application's clipping region.
static const SimRegionData &VisibleRegion(SimGdiObject *dc, const SimSurface &s)
{
    if (dc->DC.DrawableValid)
        return dc->DC.Drawable;
    RECT bounds{0, 0, s.Width, s.Height};
    SimRegionData visible;
    if (dc->DC.Window)
        visible = SimRegionIntersectRect(dc->DC.Visible, bounds);
    else
        SimRegionAddRect(visible, bounds);
    if (dc->DC.State.HasClip)
        visible = SimRegionIntersect(visible, dc->DC.State.Clip);
    dc->DC.Drawable = std::move(visible);
    dc->DC.DrawableValid = true;
    return dc->DC.Drawable;
}

// A copy of the region becomes the clipping region; no region removes it.
int SelectClipRgn(HDC hdc, HRGN region)
{
    SimGdiObject *dc = FindDC(hdc);
    if (!dc)
        return ERROR;
    if (!region) {
        dc->DC.State.HasClip = false;
        dc->DC.State.Clip = SimRegionData{};
        dc->DC.DrawableValid = false;
        return SIMPLEREGION;
    }
    SimGdiObject *obj = SimFindGdi(region, SimRegions);
    if (!obj)
        return ERROR;
    dc->DC.State.HasClip = true;
    dc->DC.State.Clip = obj->Region;
    dc->DC.DrawableValid = false;
    return SimRegionType(obj->Region);
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom)
{
    SimGdiObject *dc = FindDC(hdc);
    if (!dc)
        return ERROR;
    SimSurface s = SimDCSurface(dc);
    if (!dc->DC.State.HasClip) {
        dc->DC.State.Clip = SimRegionData{};
        SimRegionAddRect(dc->DC.State.Clip, RECT{0, 0, s.Width, s.Height});
        dc->DC.State.HasClip = true;
    }
    POINT org = dc->DC.State.WindowOrg;
    SimRegionData cut;
    SimRegionAddRect(cut, RECT{left - org.x, top - org.y, right - org.x, bottom - org.y});
    dc->DC.State.Clip = SimRegionSubtract(dc->DC.State.Clip, cut);
    dc->DC.DrawableValid = false;
    return SimRegionType(dc->DC.State.Clip);
}

// Whether any pixel of the rectangle lies where the DC may draw.
BOOL RectVisible(HDC hdc, const RECT *rect)
{
    SimGdiObject *dc = FindDC(hdc);
    if (!dc || !rect)
        return FALSE;
    SimSurface s = SimDCSurface(dc);
    POINT org = dc->DC.State.WindowOrg;
    RECT target{rect->left - org.x, rect->top - org.y, rect->right - org.x, rect->bottom - org.y};
    return !SimRegionIntersectRect(VisibleRegion(dc, s), target).Rects.empty();
}

static void CountWritten(const SimSurface &s, const RECT &r)
{
    if (s.IsWindow)
        Sim().WindowPixelsWritten += (int64_t)(r.right - r.left) * (r.bottom - r.top);
}

// Copies w x h pixels from src (device coordinates sx, sy) to dst (dx, dy),
// limited to the destination's visible region and the source's bounds.
// keyed: source pixels equal to key are skipped. rop: SRCCOPY, or SRCAND
// and SRCPAINT, which combine source and destination bit by bit.
static BOOL Copy(HDC dstDC, int x, int y, int w, int h, HDC srcDC, int sx, int sy, bool keyed, COLORREF key,
                 DWORD rop = SRCCOPY)
{
    SimGdiObject *dst = FindDC(dstDC);
    SimGdiObject *src = FindDC(srcDC);
    if (!dst || !src || w < 0 || h < 0)
        return FALSE;
    POINT dOrg = dst->DC.State.WindowOrg, sOrg = src->DC.State.WindowOrg;
    int dx = x - dOrg.x, dy = y - dOrg.y;
    int srcX = sx - sOrg.x, srcY = sy - sOrg.y;
    SimSurface ds = SimDCSurface(dst), ss = SimDCSurface(src);
    if (!ds.Pixels || !ss.Pixels)
        return FALSE;
    // Destination pixels whose source lies outside the source bitmap are left alone.
    RECT srcRect = SimIntersect(RECT{srcX, srcY, srcX + w, srcY + h}, RECT{0, 0, ss.Width, ss.Height});
    RECT target{srcRect.left - srcX + dx, srcRect.top - srcY + dy, srcRect.right - srcX + dx,
                srcRect.bottom - srcY + dy};
    if (SimRectEmpty(srcRect))
        return TRUE;
    std::vector<uint32_t> copy;
    const uint32_t *from = ss.Pixels;
    int fromWidth = ss.Width;
    if (ss.Pixels == ds.Pixels) {
        copy.assign(ss.Pixels, ss.Pixels + (size_t)ss.Width * ss.Height);
        from = copy.data();
    }
    SimRegionData visible = SimRegionIntersectRect(VisibleRegion(dst, ds), target);
    for (const RECT &r : visible.Rects) {
        for (int py = r.top; py < r.bottom; py++) {
            const uint32_t *srow = from + (size_t)(py - dy + srcY) * fromWidth + (r.left - dx + srcX);
            uint32_t *drow = ds.Pixels + (size_t)py * ds.Width + r.left;
            for (int px = 0; px < r.right - r.left; px++)
                if (rop == SRCAND)
                    drow[px] &= srow[px];
                else if (rop == SRCPAINT)
                    drow[px] |= srow[px];
                else if (!keyed || srow[px] != key)
                    drow[px] = srow[px];
        }
        CountWritten(ds, r);
    }
    return TRUE;
}

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop)
{
    if (SimShouldFail("BitBlt") || (rop != SRCCOPY && rop != SRCAND && rop != SRCPAINT))
        return FALSE;
    return Copy(dst, x, y, width, height, src, srcX, srcY, false, 0, rop);
}

// Stretching is not simulated: the system always copies at the same size.
BOOL TransparentBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                    int srcHeight, UINT transparent)
{
    if (SimShouldFail("TransparentBlt") || width != srcWidth || height != srcHeight)
        return FALSE;
    if (width < 0 || height < 0)
        return FALSE;
    return Copy(dst, x, y, width, height, src, srcX, srcY, true, transparent & 0xFFFFFF);
}

COLORREF GetPixel(HDC hdc, int x, int y)
{
    SimGdiObject *dc = FindDC(hdc);
    if (!dc)
        return CLR_INVALID;
    SimSurface s = SimDCSurface(dc);
    int px = x - dc->DC.State.WindowOrg.x, py = y - dc->DC.State.WindowOrg.y;
    if (!s.Pixels || !SimRegionContains(VisibleRegion(dc, s), px, py))
        return CLR_INVALID;
    return s.Pixels[(size_t)py * s.Width + px];
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color)
{
    SimGdiObject *dc = FindDC(hdc);
    if (!dc)
        return CLR_INVALID;
    SimSurface s = SimDCSurface(dc);
    int px = x - dc->DC.State.WindowOrg.x, py = y - dc->DC.State.WindowOrg.y;
    if (!s.Pixels || !SimRegionContains(VisibleRegion(dc, s), px, py))
        return CLR_INVALID;
    s.Pixels[(size_t)py * s.Width + px] = color & 0xFFFFFF;
    CountWritten(s, RECT{px, py, px + 1, py + 1});
    return color & 0xFFFFFF;
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    if (SimShouldFail("CreateSolidBrush"))
        return nullptr;
    SimGdiObject object{};
    object.Kind = SimBrushes;
    object.BrushColor = color & 0xFFFFFF;
    return (HBRUSH)SimAddGdi(std::move(object));
}

int FillRect(HDC hdc, const RECT *rect, HBRUSH brush)
{
    if (SimShouldFail("FillRect"))
        return 0;
    SimGdiObject *dc = FindDC(hdc);
    SimGdiObject *b = SimFindGdi(brush, SimBrushes);
    if (!dc || !b || !rect)
        return 0;
    SimSurface s = SimDCSurface(dc);
    if (!s.Pixels)
        return 0;
    POINT org = dc->DC.State.WindowOrg;
    RECT target{rect->left - org.x, rect->top - org.y, rect->right - org.x, rect->bottom - org.y};
    SimRegionData visible = SimRegionIntersectRect(VisibleRegion(dc, s), target);
    for (const RECT &r : visible.Rects) {
        for (int py = r.top; py < r.bottom; py++)
            std::fill(s.Pixels + (size_t)py * s.Width + r.left, s.Pixels + (size_t)py * s.Width + r.right,
                      b->BrushColor);
        CountWritten(s, r);
    }
    return 1;
}

SimPixels SimReadBitmapPixels(HBITMAP bitmap)
{
    SimPixels out;
    SimBitmapData *b = BitmapOf(bitmap);
    if (!b)
        return out;
    out.Width = b->Width;
    out.Height = b->Height;
    out.Pixels = b->Pixels;
    return out;
}
