// Skins made for a fault: flat digits, whose colon dots reach below
// NUMBERS.BMP or below the digit row.
#include "tests/e2e/e2e_scenarios.h"

#include "tools/common/image_write.h"

#include <string.h>
#include <string>
#include <vector>

namespace {

const COLORREF StandinBackground = RGB(26, 38, 54);

// Every digit cell and every text cell one colour of its own, none of them
// the stand-in's; the key colour only in TEXT.BMP's bottom-right pixel.
bool WriteTestSkin(const std::string &folder, int dw, int dh, int tcw, int tch)
{
    CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<uint32_t> numbers((size_t)11 * dw * dh), text((size_t)30 * tcw * 3 * tch);
    for (size_t i = 0; i < numbers.size(); i++)
        numbers[i] = RGB(200, 40 + 18 * (int)(i % (11 * dw) / dw), 90);
    for (size_t i = 0; i < text.size(); i++)
        text[i] = RGB(60 + 5 * (int)(i % (30 * tcw) / tcw), 180, 20 + 60 * (int)(i / (30 * tcw) / tch));
    text.back() = RGB(10, 20, 30);
    return WriteBmp24((folder + "\\NUMBERS.BMP").c_str(), 11 * dw, dh, numbers.data()) &&
           WriteBmp24((folder + "\\TEXT.BMP").c_str(), 30 * tcw, 3 * tch, text.data());
}

bool StoreSkinName(const std::string &name)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SettingsKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr))
        return false;
    char data[100] = {0};
    strncpy(data, name.c_str(), sizeof(data) - 1);
    bool ok = RegSetValueExA(key, "SkinName", 0, REG_SZ, (const BYTE *)data, sizeof(data)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

int CountColour(const Capture &c, COLORREF colour)
{
    int n = 0;
    for (uint32_t p : c.Pixels)
        n += p == colour;
    return n;
}

// A whole paint of what the clock shows now, read once it is stable.
bool RepaintWhole(const FaceRun &run, Capture *capture)
{
    InvalidateRect(run.Bar.Clock, nullptr, TRUE);
    return CaptureWindow(run.Bar.Clock, capture);
}

}  // namespace

void ScenarioFlatColons(const ScenarioArgs &args)
{
    // Dots a quarter of a digit wide: taller than NUMBERS.BMP (20 x 4), or
    // reaching below the digit row (24 x 14).
    const struct {
        const char *Name;
        int Width, Height;
    } shapes[] = {{"Flat4", 20, 4}, {"Flat14", 24, 14}};
    for (const auto &s : shapes)
        if (!Check(WriteTestSkin(args.SkinsDir + "\\" + s.Name, s.Width, s.Height, 6, 8), "cannot write %s", s.Name))
            return;
    FaceRun run;
    if (!Check(args.Skin == shapes[0].Name, "flat wants the skin %s seeded", shapes[0].Name) ||
        !AttachScenario(args, &run, nullptr))
        return;
    for (const auto &s : shapes) {
        if (run.Skin != s.Name) {
            run.Skin = s.Name;
            if (!Check(StoreSkinName(s.Name), "cannot store the skin name") ||
                !Check(AttachClock((args.SkinsDir + "\\README.md").c_str()) == -1, "%s does not load", s.Name))
                return;
            NoteSnapshot(&run);
        }
        Capture whole, ticked, repainted;
        if (!WaitClockSized(run) || !FreshSnapshot(&run) || !Check(RepaintWhole(run, &whole), "cannot read the clock"))
            return;
        Check(CountColour(whole, StandinBackground) == 0, "%s: %d pixels of a whole paint kept the stand-in's background",
              s.Name, CountColour(whole, StandinBackground));
        // The second after the snapshot hides the colons.
        SYSTEMTIME now;
        WaitUntil(2000, [&] {
            GetLocalTime(&now);
            return !SameSecond(now, run.FaceTime);
        });
        RepaintClockNow();
        NoteSnapshot(&run);
        WaitUntil(900, [&] { return CaptureRows(run.Bar.Clock, 0, 0x7FFF, &ticked) && !SameCapture(ticked, whole); });
        if (!Check(CaptureWindow(run.Bar.Clock, &ticked) && RepaintWhole(run, &repainted), "cannot read the clock"))
            return;
        int differ = 0;
        for (size_t i = 0; i < ticked.Pixels.size() && ticked.Width == repainted.Width; i++)
            differ += ticked.Pixels[i] != repainted.Pixels[i];
        Check(SameCapture(ticked, repainted), "%s: %d pixels after the colons hid differ from a whole paint", s.Name,
              differ);
    }
}
