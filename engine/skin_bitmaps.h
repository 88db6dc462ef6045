#pragma once

#include "engine/clock_state.h"

// Loads NUMBERS.BMP and TEXT.BMP of the named skin folder under SkinBaseDir,
// and the skin's artwork for the clock window's DPI. Returns the new
// SkinLoaded; a null name returns false and changes nothing.
Flag LoadSkin(const char *name);

// Loads the loaded skin's artwork again when the clock window's DPI is not
// the one it was chosen for. True when the held artwork was replaced; when
// the files cannot be read any more, the held artwork stays.
bool FollowWindowDpi();

// Loads one skin bitmap with the platform's image loader and describes it.
// Null, as for a missing file, when its size cannot be read.
HBITMAP LoadSkinBitmap(const char *path, BITMAP *info);

// Releases both skin bitmaps and their DCs.
void FreeSkinBitmaps();
// Releases only the DCs: the next paint makes them again.
void FreeSkinDCs();

// The DC of a skin bitmap for painting into dest, made on first use; null
// when it cannot be made.
HDC HeldSkinDC(SkinDC *held, HBITMAP bitmap, HDC dest);

// Makes the masks and inks of both bitmaps for painting into dest, once,
// from the key colour; a pair that cannot be made is left empty.
void PrepareKeyedArt(HDC dest, COLORREF key);

// One pair of a skin's bitmaps, as loaded or made, before the clock holds it.
struct SkinArt {
    HBITMAP Numbers;
    HBITMAP Text;
    int32_t NumbersWidth, NumbersHeight;
    int32_t TextWidth, TextHeight;
    int32_t Scale;        // percent
    int32_t Enlargement;  // the whole factor it was enlarged from the base by; 1 when drawn
};

// Loads the skin's base pair (scale 100) or the pair of its scale folder.
// Each handle is null when its file could not be loaded; false, with
// nothing loaded, when the paths do not fit a Windows path.
bool LoadArtFiles(const char *name, int32_t scale, SkinArt *art);
void FreeArt(SkinArt *art);
