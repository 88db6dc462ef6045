// Loading and releasing the two bitmaps of a skin, with their cell metrics.
#include "engine/skin_bitmaps.h"

#include "engine/skin_scale.h"
#include "engine/window_dpi.h"

#include <stdio.h>
#include <string.h>

// SkinBaseDir\name\file, or SkinBaseDir\name\scale\file for another scale;
// false when it does not fit a Windows path.
static bool ComposeSkinPath(char (&path)[PathSize], const char *name, int32_t scale, const char *file)
{
    int n = scale == 100
                ? snprintf(path, sizeof(path), "%s\\%s\\%s", ClockState.SkinBaseDir, name, file)
                : snprintf(path, sizeof(path), "%s\\%s\\%d\\%s", ClockState.SkinBaseDir, name, (int)scale, file);
    return n > 0 && n < PathSize;
}

// A bitmap whose size cannot be read is no use for cell metrics: it counts
// as not loaded, so no skin is accepted with metrics of another bitmap.
HBITMAP LoadSkinBitmap(const char *path, BITMAP *info)
{
    HBITMAP bitmap = (HBITMAP)LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (bitmap && GetObjectA(bitmap, sizeof(*info), info) == 0) {
        DeleteObject(bitmap);
        bitmap = nullptr;
    }
    return bitmap;
}

bool LoadArtFiles(const char *name, int32_t scale, SkinArt *art)
{
    *art = SkinArt{nullptr, nullptr, 0, 0, 0, 0, scale, 1};
    char numbersPath[PathSize], textPath[PathSize];
    if (!ComposeSkinPath(numbersPath, name, scale, "NUMBERS.BMP") ||
        !ComposeSkinPath(textPath, name, scale, "TEXT.BMP"))
        return false;
    BITMAP info;
    art->Numbers = LoadSkinBitmap(numbersPath, &info);
    if (art->Numbers) {
        art->NumbersWidth = info.bmWidth;
        art->NumbersHeight = info.bmHeight;
    }
    art->Text = LoadSkinBitmap(textPath, &info);
    if (art->Text) {
        art->TextWidth = info.bmWidth;
        art->TextHeight = info.bmHeight;
    }
    return true;
}

void FreeArt(SkinArt *art)
{
    if (art->Numbers)
        DeleteObject(art->Numbers);
    if (art->Text)
        DeleteObject(art->Text);
    art->Numbers = nullptr;
    art->Text = nullptr;
}

static void StoreDigitMetrics(const SkinArt &art)
{
    ClockState.DigitWidth = (int32_t)((double)art.NumbersWidth / 11.0);
    ClockState.DigitHeight = art.NumbersHeight;
}

static void StoreTextMetrics(const SkinArt &art)
{
    ClockState.TextCellWidth = (int32_t)((double)art.TextWidth / 30.0);
    ClockState.TextCellHeight = (int32_t)((double)art.TextHeight / 3.0);
    ClockState.TextBitmapWidth = art.TextWidth;
    ClockState.TextBitmapHeight = art.TextHeight;
}

// Releases the held pair and holds this one.
static void HoldArt(const SkinArt &art, uint32_t dpi)
{
    FreeSkinBitmaps();
    ClockState.NumbersBitmap = art.Numbers;
    ClockState.TextBitmap = art.Text;
    StoreDigitMetrics(art);
    StoreTextMetrics(art);
    ClockState.ArtScale = art.Scale;
    ClockState.ArtEnlargement = art.Enlargement;
    ClockState.SkinDpi = dpi;
}

static void RejectSkin(const char *name)
{
    if (strcmp(ClockState.CurrentSkinName, name) == 0)
        ClockState.CurrentSkinName[0] = 0;
    ClockState.SkinLoaded = 0;
}

Flag LoadSkin(const char *name)
{
    if (!name)
        return 0;
    SkinArt art;
    // A name that cannot be held, or paths that cannot be formed, are a failed load.
    if (strlen(name) >= (size_t)SkinNameSize || !LoadArtFiles(name, 100, &art)) {
        RejectSkin(name);
        return ClockState.SkinLoaded;
    }
    // Each bitmap's metrics are stored as soon as it loads, before the pair is judged.
    if (art.Numbers)
        StoreDigitMetrics(art);
    if (art.Text)
        StoreTextMetrics(art);
    if (!art.Numbers || !art.Text) {
        FreeArt(&art);
        RejectSkin(name);
        return ClockState.SkinLoaded;
    }
    uint32_t dpi = ReadWindowDpi(ClockState.ClockWnd);
    ChooseArtForDpi(name, dpi, &art);
    HoldArt(art, dpi);
    memcpy(ClockState.CurrentSkinName, name, strlen(name) + 1);
    ClockState.SkinLoaded = FlagTrue;
    return ClockState.SkinLoaded;
}

bool FollowWindowDpi()
{
    if (!ClockState.SkinLoaded)
        return false;
    uint32_t dpi = ReadWindowDpi(ClockState.ClockWnd);
    if (dpi == ClockState.SkinDpi)
        return false;
    // Noted even when the files fail, so that each size query does not read them again.
    ClockState.SkinDpi = dpi;
    SkinArt art;
    if (!LoadArtFiles(ClockState.CurrentSkinName, 100, &art) || !art.Numbers || !art.Text) {
        FreeArt(&art);
        return false;
    }
    ChooseArtForDpi(ClockState.CurrentSkinName, dpi, &art);
    HoldArt(art, dpi);
    return true;
}

HDC HeldSkinDC(SkinDC *held, HBITMAP bitmap, HDC dest)
{
    if (!held->DC) {
        held->DC = CreateCompatibleDC(dest);
        held->Previous = held->DC ? SelectObject(held->DC, bitmap) : nullptr;
        // Without its bitmap the DC is no use; the next paint tries again.
        if (held->DC && !held->Previous) {
            DeleteDC(held->DC);
            held->DC = nullptr;
        }
    }
    if (held->DC)
        SetMapMode(held->DC, GetMapMode(dest));
    return held->DC;
}

static void FreeSkinDC(SkinDC *held)
{
    if (!held->DC)
        return;
    SelectObject(held->DC, held->Previous);
    DeleteDC(held->DC);
    if (held->Made)
        DeleteObject(held->Made);
    *held = SkinDC{};
}

// A bitmap of the art's size in a DC of its own, for painting into dest.
static bool MakeHeldBitmap(SkinDC *held, HDC dest, int width, int height)
{
    HBITMAP bitmap = CreateCompatibleBitmap(dest, width, height);
    if (!bitmap)
        return false;
    if (HeldSkinDC(held, bitmap, dest)) {
        held->Made = bitmap;
        return true;
    }
    DeleteObject(bitmap);
    return false;
}

static void SplitArt(HDC art, HBITMAP bitmap, HDC dest, COLORREF key, SkinDC *mask, SkinDC *ink)
{
    BITMAP info;
    if (mask->DC || !art || GetObjectA(bitmap, sizeof(info), &info) != sizeof(info))
        return;
    // A failed MakeHeldBitmap leaves its record empty: only the mask can
    // hold something to free.
    if (!MakeHeldBitmap(mask, dest, info.bmWidth, info.bmHeight) ||
        !MakeHeldBitmap(ink, dest, info.bmWidth, info.bmHeight)) {
        FreeSkinDC(mask);
        return;
    }
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    for (int y = 0; y < info.bmHeight; y++)
        for (int x = 0; x < info.bmWidth; x++) {
            COLORREF c = GetPixel(art, x, y);
            bool keyed = c == key;
            SetPixel(mask->DC, x, y, keyed ? white : black);
            SetPixel(ink->DC, x, y, keyed ? black : c);
        }
}

void PrepareKeyedArt(HDC dest, COLORREF key)
{
    SkinDC *const made[] = {&ClockState.NumbersMask, &ClockState.NumbersInk, &ClockState.TextMask, &ClockState.TextInk};
    for (SkinDC *m : made)
        if (m->DC)
            SetMapMode(m->DC, GetMapMode(dest));
    SplitArt(ClockState.NumbersDC.DC, ClockState.NumbersBitmap, dest, key, &ClockState.NumbersMask,
             &ClockState.NumbersInk);
    SplitArt(ClockState.TextDC.DC, ClockState.TextBitmap, dest, key, &ClockState.TextMask, &ClockState.TextInk);
}

void FreeSkinDCs()
{
    SkinDC *const held[] = {&ClockState.NumbersDC,  &ClockState.TextDC,   &ClockState.NumbersMask,
                            &ClockState.NumbersInk, &ClockState.TextMask, &ClockState.TextInk};
    for (SkinDC *h : held)
        FreeSkinDC(h);
}

void FreeSkinBitmaps()
{
    FreeSkinDCs();
    if (ClockState.NumbersBitmap) {
        DeleteObject(ClockState.NumbersBitmap);
        ClockState.NumbersBitmap = nullptr;
    }
    if (ClockState.TextBitmap) {
        DeleteObject(ClockState.TextBitmap);
        ClockState.TextBitmap = nullptr;
    }
}
