#include "tools/standin/face_render.h"

#include "engine/clock_attach.h"
#include "engine/face_layout.h"
#include "engine/paint_clock.h"
#include "engine/skin_bitmaps.h"
#include "engine/time_snapshot.h"
#include "settings/registry_key.h"
#include "settings/settings_store.h"
#include "tools/standin/standin_windows.h"
#include "tools/standin/taskbar_rects.h"

#include <string.h>

void AttachSettings(const FaceRequest &request)
{
    snprintf(ClockState.SkinBaseDir, sizeof(ClockState.SkinBaseDir), "%s", request.SkinsDir.c_str());
    LoadSettings();
    if (!request.Skin.empty())
        LoadSkin(request.Skin.c_str());
    if (request.HaveOptions)
        SetOptionFlags(request.Options);
}

// The skin a request shows: its own, or the one the settings name.
static std::string SkinOfRequest(const FaceRequest &request)
{
    char name[SkinNameSize + 1];
    if (!request.UseSettings || !request.Skin.empty())
        return request.Skin;
    return ReadSettingsString("SkinName", name, sizeof(name)) ? name : "Herb";
}

void AdoptStandinTaskbar(const StandinTaskbar &taskbar)
{
    StartClockBlink();
    AdoptClockWindows(taskbar.Tray, taskbar.Notify, taskbar.Clock);
    ClockState.PreviousNotifyProc = (WNDPROC)GetWindowLongPtrA(taskbar.Notify, GWLP_WNDPROC);
}

// What the library does when it starts in a process and takes over the clock:
// adopt the windows, read the settings, take the first snapshot.
static void AttachEngine(const StandinTaskbar &taskbar, const FaceRequest &request)
{
    ResetClockState();
    AdoptStandinTaskbar(taskbar);
    if (request.UseSettings) {
        AttachSettings(request);
    } else {
        snprintf(ClockState.SkinBaseDir, sizeof(ClockState.SkinBaseDir), "%s", request.SkinsDir.c_str());
        SetOptionFlags(request.Options);
    }
    SnapshotTime();
}

// The part of the client area that the window's ancestors leave visible.
static RECT VisibleClientRect(HWND hwnd)
{
    RECT visible;
    GetClientRect(hwnd, &visible);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    for (HWND p = GetParent(hwnd); p; p = GetParent(p)) {
        RECT parent;
        GetClientRect(p, &parent);
        POINT parentOrigin{0, 0};
        ClientToScreen(p, &parentOrigin);
        OffsetRect(&parent, parentOrigin.x - origin.x, parentOrigin.y - origin.y);
        IntersectRect(&visible, &visible, &parent);
    }
    return visible;
}

// Pixels the taskbar clips away read differently on every platform; they
// are reported as NotVisiblePixel.
static void ReadClientPixels(HWND hwnd, FaceImage *image)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    RECT visible = VisibleClientRect(hwnd);
    image->Width = rc.right;
    image->Height = rc.bottom;
    image->Pixels.assign((size_t)rc.right * rc.bottom, NotVisiblePixel);
    HDC dc = GetDC(hwnd);
    if (!dc)
        return;
    for (int y = visible.top; y < visible.bottom; y++)
        for (int x = visible.left; x < visible.right; x++)
            image->Pixels[(size_t)y * rc.right + x] = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
}

// Which of the skin's two files the loader refuses, for the error message.
static std::string UnreadableSkinFile(const FaceRequest &request, const std::string &skin)
{
    std::string numbers = request.SkinsDir + "\\" + skin + "\\NUMBERS.BMP";
    HANDLE bitmap = LoadImageA(nullptr, numbers.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (!bitmap)
        return numbers;
    DeleteObject(bitmap);
    return request.SkinsDir + "\\" + skin + "\\TEXT.BMP";
}

bool RenderFace(HINSTANCE instance, const FaceRequest &request, FaceImage *image, std::string *error)
{
    if (!RegisterStandinClasses(instance)) {
        *error = "cannot register the stand-in taskbar's window classes";
        return false;
    }
    StandinLayout layout;
    layout.TaskbarHeight = request.TaskbarHeight;
    layout.Vertical = request.Vertical;
    layout.Mode = request.Mode;
    StandinTaskbar taskbar = CreateStandinTaskbar(instance, layout);
    if (!taskbar.Clock) {
        *error = "cannot create the stand-in taskbar";
        return false;
    }
    AttachEngine(taskbar, request);
    if (!(request.UseSettings ? ClockState.SkinLoaded : LoadSkin(request.Skin.c_str()))) {
        std::string skin = SkinOfRequest(request);
        *error = "cannot load skin \"" + skin + "\": " + UnreadableSkinFile(request, skin) +
                 " is missing or not a readable bitmap";
        FreeSkinBitmaps();
        DestroyWindow(taskbar.Tray);
        return false;
    }
    image->FaceWidth = FaceWidth();
    image->FaceHeight = FaceHeight();
    image->Dpi = ClockState.SkinDpi;
    image->ArtScale = ClockState.ArtScale;
    image->ArtEnlargement = ClockState.ArtEnlargement;
    int width = request.ClientWidth ? request.ClientWidth : image->FaceWidth;
    int height = request.ClientHeight ? request.ClientHeight : image->FaceHeight;
    PlaceStandinClock(taskbar, width, height);
    RECT client, face;
    ComputeClockOrigin(&client, &face, &image->OriginX, &image->OriginY);

    // Let the stand-in paint itself first, then paint the face over the whole clock.
    UpdateWindow(taskbar.Tray);
    UpdateWindow(taskbar.Notify);
    RepaintWholeFace(taskbar.Clock, TRUE);
    ReadClientPixels(taskbar.Clock, image);
    image->Rects = DescribeTaskbarRects(taskbar.Tray);

    FreeSkinBitmaps();
    DestroyWindow(taskbar.Tray);
    UnregisterStandinClasses(instance);
    return true;
}
