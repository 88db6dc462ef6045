#include "tools/preview/skin_pixels.h"

#include "engine/clock_state.h"
#include "engine/glyphs.h"
#include "engine/skin_bitmaps.h"
#include "engine/skin_scale.h"
#include "platform/sim/sim_control.h"

#include <algorithm>
#include <dirent.h>
#include <errno.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <utility>

// The loader only says that it failed; the host tells why, as far as it can.
static std::string WhyNotLoaded(const std::string &path)
{
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? "is missing" : std::string("cannot be read: ") + strerror(errno);
    if (S_ISDIR(st.st_mode))
        return "is a folder, not a file";
    FILE *f = fopen(path.c_str(), "rb");
    if (!f)
        return std::string("cannot be read: ") + strerror(errno);
    char magic[2] = {0, 0};
    size_t n = fread(magic, 1, sizeof(magic), f);
    fclose(f);
    if (n < 2 || magic[0] != 'B' || magic[1] != 'M')
        return "is not a bitmap file";
    return "is a bitmap the clock's loader refuses: damaged, cut short, of a kind it does not read, or too large";
}

// folder is the skin's own, or one of its scale folders inside it ("Herb\150").
static SkinPixels ReadSkinBitmap(const std::string &skinsDir, const std::string &skin, const std::string &folder,
                                 const char *file)
{
    SkinPixels out;
    std::string path = skinsDir + "\\" + folder + "\\" + file;
    if (skin.size() >= (size_t)SkinNameSize) {
        out.Problem = "cannot be loaded: the clock takes skin names of up to 199 characters";
        return out;
    }
    if (path.size() >= (size_t)PathSize) {
        out.Problem = "cannot be loaded: its path is longer than the 259 characters the clock takes";
        return out;
    }
    BITMAP info;
    HBITMAP bitmap = LoadSkinBitmap(path.c_str(), &info);
    if (!bitmap) {
        out.Problem = WhyNotLoaded(SimHostPath(path.c_str()));
        return out;
    }
    SimPixels pixels = SimReadBitmapPixels(bitmap);
    DeleteObject(bitmap);
    if (pixels.Width != info.bmWidth || pixels.Height != info.bmHeight) {
        out.Problem = "cannot be read back from the loaded bitmap";
        return out;
    }
    out.Loaded = true;
    out.Width = pixels.Width;
    out.Height = pixels.Height;
    out.Pixels = std::move(pixels.Pixels);
    return out;
}

// A name of digits only, as the scale folders have.
static bool IsNumber(const char *name)
{
    if (!*name)
        return false;
    for (const char *c = name; *c; c++)
        if (*c < '0' || *c > '9')
            return false;
    return true;
}

static bool IsScaleStep(const std::string &name)
{
    for (int32_t step : ScaleSteps)
        if (name == std::to_string(step))
            return true;
    return false;
}

static void ReadScaleFolders(const std::string &skinsDir, const std::string &skin, SkinFiles *files)
{
    std::string dir = skinsDir + "\\" + skin;
    for (int i = ScaleStepCount - 1; i >= 0; i--) {
        std::string folder = dir + "\\" + std::to_string(ScaleSteps[i]);
        struct stat st;
        if (stat(SimHostPath(folder.c_str()).c_str(), &st) != 0)
            continue;
        SkinScaleFiles scale;
        scale.Percent = ScaleSteps[i];
        if (S_ISDIR(st.st_mode)) {
            std::string inner = skin + "\\" + std::to_string(ScaleSteps[i]);
            scale.Numbers = ReadSkinBitmap(skinsDir, skin, inner, "NUMBERS.BMP");
            scale.Text = ReadSkinBitmap(skinsDir, skin, inner, "TEXT.BMP");
        } else {
            scale.Numbers.Problem = scale.Text.Problem = "cannot be read: its scale folder is a file";
        }
        files->Scales.push_back(std::move(scale));
    }
    DIR *listing = opendir(SimHostPath(dir.c_str()).c_str());
    if (!listing)
        return;
    std::vector<std::string> others;
    while (struct dirent *entry = readdir(listing))
        if (IsNumber(entry->d_name) && !IsScaleStep(entry->d_name))
            others.push_back(entry->d_name);
    closedir(listing);
    std::sort(others.begin(), others.end());
    files->OtherNumberedFolders = others;
}

SkinFiles ReadSkinFiles(const std::string &skinsDir, const std::string &skin)
{
    SkinFiles files;
    struct stat st;
    files.FolderExists = stat(SimHostPath((skinsDir + "\\" + skin).c_str()).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    if (files.FolderExists) {
        files.Numbers = ReadSkinBitmap(skinsDir, skin, skin, "NUMBERS.BMP");
        files.Text = ReadSkinBitmap(skinsDir, skin, skin, "TEXT.BMP");
        ReadScaleFolders(skinsDir, skin, &files);
    } else {
        files.Numbers.Problem = files.Text.Problem = "is missing";
    }
    return files;
}

uint32_t KeyColour(const SkinPixels &text) { return text.At(text.Width - 1, text.Height - 1); }

int DigitCellWidth(const SkinPixels &numbers) { return numbers.Loaded ? numbers.Width / 11 : 0; }
int TextCellWidth(const SkinPixels &text) { return text.Loaded ? text.Width / 30 : 0; }
int TextCellHeight(const SkinPixels &text) { return text.Loaded ? text.Height / 3 : 0; }

std::vector<SkinCell> DigitCells()
{
    std::vector<SkinCell> cells;
    for (int n = 0; n < 10; n++)
        cells.push_back({(char)('0' + n), n, 0});
    return cells;
}

std::vector<SkinCell> TextCells()
{
    std::vector<SkinCell> cells;
    for (int c = 1; c < 256; c++) {
        int column, row;
        if (!(c >= 'a' && c <= 'z') && TextGlyphCell((unsigned char)c, &column, &row))
            cells.push_back({(char)c, column, row});
    }
    std::sort(cells.begin(), cells.end(), [](const SkinCell &a, const SkinCell &b) {
        return a.Row != b.Row ? a.Row < b.Row : a.Column < b.Column;
    });
    return cells;
}

std::string QuotedCell(char c)
{
    if (c == '"')
        return "'\"'";
    return std::string("\"") + c + "\"";
}
