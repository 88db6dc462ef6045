// Loading and releasing the two bitmaps of a skin, with their cell metrics.
#include "engine/skin_bitmaps.h"

#include <stdio.h>
#include <string.h>

// SkinBaseDir\name\file, or false when it does not fit a Windows path.
static bool ComposeSkinPath(char (&path)[PathSize], const char *name, const char *file)
{
    int n = snprintf(path, sizeof(path), "%s\\%s\\%s", ClockState.SkinBaseDir, name, file);
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
    char numbersPath[PathSize], textPath[PathSize];
    // A name that cannot be held, or paths that cannot be formed, are a failed load.
    if (strlen(name) >= (size_t)SkinNameSize || !ComposeSkinPath(numbersPath, name, "NUMBERS.BMP") ||
        !ComposeSkinPath(textPath, name, "TEXT.BMP")) {
        RejectSkin(name);
        return ClockState.SkinLoaded;
    }

    BITMAP info;
    HBITMAP numbers = LoadSkinBitmap(numbersPath, &info);
    if (numbers) {
        ClockState.DigitWidth = (int32_t)((double)info.bmWidth / 11.0);
        ClockState.DigitHeight = info.bmHeight;
    }
    HBITMAP text = LoadSkinBitmap(textPath, &info);
    if (text) {
        ClockState.TextCellWidth = (int32_t)((double)info.bmWidth / 30.0);
        ClockState.TextCellHeight = (int32_t)((double)info.bmHeight / 3.0);
        ClockState.TextBitmapWidth = info.bmWidth;
        ClockState.TextBitmapHeight = info.bmHeight;
    }

    if (numbers && text) {
        FreeSkinBitmaps();
        ClockState.NumbersBitmap = numbers;
        ClockState.TextBitmap = text;
        memcpy(ClockState.CurrentSkinName, name, strlen(name) + 1);
        ClockState.SkinLoaded = FlagTrue;
        return ClockState.SkinLoaded;
    }
    if (numbers)
        DeleteObject(numbers);
    if (text)
        DeleteObject(text);
    RejectSkin(name);
    return ClockState.SkinLoaded;
}

void FreeSkinBitmaps()
{
    if (ClockState.NumbersBitmap) {
        DeleteObject(ClockState.NumbersBitmap);
        ClockState.NumbersBitmap = nullptr;
    }
    if (ClockState.TextBitmap) {
        DeleteObject(ClockState.TextBitmap);
        ClockState.TextBitmap = nullptr;
    }
}
