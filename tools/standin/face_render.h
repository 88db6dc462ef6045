// Paints one face with the engine into a stand-in taskbar and reads the clock
// window's client area back. The preview tool runs it on the simulation, the
// Wine probe on a real Win32; both must give the same pixels.
#pragma once

#include "platform/platform.h"
#include "tools/standin/face_options.h"
#include "tools/standin/standin_windows.h"

#include <stdint.h>
#include <string>
#include <vector>

struct FaceRequest {
    std::string SkinsDir;  // Windows form on Windows, host form in the simulation
    std::string Skin;
    unsigned Options = 0;
    int ClientWidth = 0;  // 0: the face's size
    int ClientHeight = 0;
    int TaskbarHeight = 30;
    bool Vertical = false;
    StandinMode Mode = StandinClassic;  // classic or Windows 10
    // Start from the user's settings in the registry, as the library does on
    // hand-over (LoadSettings); Skin, when not empty, and Options, when
    // HaveOptions, override what they hold.
    bool UseSettings = false;
    bool HaveOptions = false;
};

// Stands for the pixels of the clock that the taskbar clips away.
constexpr uint32_t NotVisiblePixel = RGB(255, 255, 255);

struct FaceImage {
    int FaceWidth = 0, FaceHeight = 0;
    // The clock window's DPI as the engine read it, and the artwork it chose.
    uint32_t Dpi = 0;
    int ArtScale = 100, ArtEnlargement = 1;
    int OriginX = 0, OriginY = 0;
    int Width = 0, Height = 0;
    std::vector<uint32_t> Pixels;  // COLORREF, row 0 at the top
    std::string Rects;             // the taskbar's windows (DescribeTaskbarRects)
};

// Points the engine at the stand-in's windows as the library does when it
// starts. The stand-in's notification area is not subclassed: its own
// procedure stands for the one the library would have replaced.
void AdoptStandinTaskbar(const StandinTaskbar &taskbar);

// Points SkinBaseDir at the request's skins, runs LoadSettings and applies
// the request's overrides.
void AttachSettings(const FaceRequest &request);

// Creates the stand-in taskbar, loads the skin, sizes the clock and paints it
// once. The time is whatever GetLocalTime reports. On failure returns false
// with a one-line message in *error.
bool RenderFace(HINSTANCE instance, const FaceRequest &request, FaceImage *image, std::string *error);
