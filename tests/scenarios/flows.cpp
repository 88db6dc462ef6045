#include "tests/scenarios/flows.h"

#include "settings/registry_key.h"
#include "tests/scenarios/scenarios.h"

#include <stdarg.h>
#include <string.h>

const char MenuFlowSkin[] = "Frost";

bool DeskCheck(bool ok, const char *format, ...)
{
    if (ok)
        return true;
    char text[1024];
    va_list list;
    va_start(list, format);
    vsnprintf(text, sizeof(text), format, list);
    va_end(list);
    DeskFail(text);
    return false;
}

static std::string Hex(const std::vector<uint8_t> &bytes)
{
    std::string text;
    char two[4];
    for (uint8_t b : bytes)
        snprintf(two, sizeof(two), "%02x", b), text += two;
    return text.empty() ? "(empty)" : text;
}

// The value is of that type and holds exactly those bytes; with REG_NONE,
// that it is absent.
static bool ValueIs(const char *key, const char *name, DWORD type, const std::vector<uint8_t> &want, const char *step)
{
    DWORD got = REG_NONE;
    std::vector<uint8_t> data;
    bool present = DeskValue(key, name, &got, &data);
    if (type == REG_NONE)
        return DeskCheck(!present, "after %s: %s is present", step, name);
    return DeskCheck(present && got == type && data == want, "after %s: %s is type %lu, %s, not type %lu, %s", step,
                     name, (unsigned long)got, Hex(data).c_str(), (unsigned long)type, Hex(want).c_str());
}

static std::vector<uint8_t> TextBytes(const std::string &text)
{
    return std::vector<uint8_t>(text.c_str(), text.c_str() + text.size() + 1);
}

// The option bytes as the face has them, and the skin's name in its field
// of 100 bytes.
static void SettingsAre(const FlowFace &face, const char *step)
{
    for (const OptionCommand &o : OptionCommands)
        if (o.Bit)
            ValueIs(SettingsKeyPath, o.Value, REG_BINARY, {(uint8_t)((face.Options & o.Bit) ? 0xFF : 0x00)}, step);
    DWORD type = 0;
    std::vector<uint8_t> data;
    bool read = DeskValue(SettingsKeyPath, "SkinName", &type, &data);
    bool named = data.size() > face.Skin.size() && memcmp(data.data(), face.Skin.c_str(), face.Skin.size() + 1) == 0;
    DeskCheck(read && type == REG_SZ && data.size() == 100 && named, "after %s: SkinName is type %lu, %zu bytes %s",
              step, (unsigned long)type, data.size(), Hex(data).c_str());
}

static bool Attached() { return DeskCheck(DeskAttach() == -1, "SetClockOnTray attach did not return -1"); }

static void FlowAttach(FlowFace face)
{
    if (Attached() && DeskNewSnapshot())
        DeskFaceShows("attach-" + face.Skin, face);
}

// A repaint request in each new second: both colons show or both hide; they
// hide in the second right after the last request and show in the next, and
// show again two seconds or more after it.
static void FlowTicking(FlowFace face)
{
    if (!DeskCheck((face.Options & OptSeconds) && !(face.Options & (OptLeft | Opt12h)),
                   "ticking wants seconds without the date left and without 12-hour time") ||
        !Attached() || !DeskNewSnapshot() || !DeskFaceShows("tick-0", face))
        return;
    int shown = 0, hidden = 0;
    bool lastShown = true;
    for (int i = 0; i < 6; i++) {
        DeskTick tick;
        if (!DeskNextTick(&tick))
            return;
        const char *at = tick.Time.c_str();
        DeskCheck(tick.ColonsShown || tick.ColonsHidden, "at %s one colon shows and the other not", at);
        if (tick.FollowsLast)
            DeskCheck(tick.ColonsShown != lastShown, "the colons did not blink at %s", at);
        else
            DeskCheck(tick.ColonsShown, "the colons are hidden at %s, two seconds or more after the last request", at);
        shown += tick.ColonsShown;
        hidden += tick.ColonsHidden;
        lastShown = tick.ColonsShown;
    }
    DeskCheck(shown > 0 && hidden > 0, "the colons never blinked (%d shown, %d hidden)", shown, hidden);
}

// Every option command in the shared order: its byte, and the face it makes.
static void FlowOptions(FlowFace face)
{
    if (!Attached() || !DeskNewSnapshot() || !DeskFaceShows("options-start", face))
        return;
    for (UINT id : OptionOrder) {
        if (!DeskCommand(id))
            return;
        for (const OptionCommand &o : OptionCommands)
            if (o.Id == id)
                face.Options ^= o.Bit;
        std::string name = "options-" + std::to_string(id) + "-" + FormatFaceOptions(face.Options);
        for (char &c : name)
            if (c == ',')
                c = '+';
        SettingsAre(face, name.c_str());
        // The hour digits follow 12-hour time only from the next snapshot on.
        if (id == EnglishTimeCommand && !DeskNewSnapshot())
            return;
        DeskFaceShows(name, face);
    }
    std::string line = DeskAutostartLine();
    ValueIs(RunKeyPath, "ZantorDialwick", REG_NONE, {}, "the options");
    if (DeskCommand(StartWithWindowsCommand)) {
        ValueIs(RunKeyPath, "ZantorDialwick", REG_EXPAND_SZ, TextBytes(line), "command 205");
        SettingsAre(face, "205 on");
        DeskFaceShows("options-205-on", face);
    }
    if (DeskCommand(StartWithWindowsCommand)) {
        ValueIs(RunKeyPath, "ZantorDialwick", REG_NONE, {}, "command 205 again");
        DeskFaceShows("options-205-off", face);
    }
}

static void FlowLanguage(FlowFace)
{
    if (!Attached() || !DeskCommand(FirstLanguageCommand + ExpectedLanguageIndex))
        return;
    ValueIs(SettingsKeyPath, "Lang", REG_DWORD, {ExpectedLanguageIndex, 0, 0, 0}, ExpectedLanguage);
    for (const auto &text : ExpectedTexts)
        ValueIs(SettingsKeyPath, text[0], REG_SZ, TextBytes(text[1]), ExpectedLanguage);
}

static void FlowMenu(FlowFace face)
{
    if (!Attached() || !DeskNewSnapshot() || !DeskChooseSkinByMenu(MenuFlowSkin))
        return;
    face.Skin = MenuFlowSkin;
    SettingsAre(face, "the menu's skin");
    DeskFaceShows("menu-" + face.Skin, face);
}

// Hand-overs of the wrong size or without a terminated path, from another
// program, go to Explorer's procedure: the face stays as it was.
static void FlowHostileHandOvers(FlowFace face)
{
    if (Attached() && DeskNewSnapshot() && DeskFaceShows("copydata-before", face) && DeskSendMalformedHandOvers())
        DeskFaceShows("copydata-after", face);
}

// The taskbar made see-through and back, twice; the face stays.
static void FlowLayering(FlowFace face)
{
    if (!Attached() || !DeskNewSnapshot())
        return;
    for (int round = 0; round < 2; round++) {
        BYTE alpha = 0;
        if (!DeskCommand(LayeredModeCommand) ||
            !DeskCheck(DeskTaskbarLayered(&alpha) && alpha == 150, "the taskbar is not see-through at 150, round %d",
                       round) ||
            !DeskCommand(LayeredModeCommand) ||
            !DeskCheck(!DeskTaskbarLayered(&alpha), "the taskbar stays see-through, round %d", round))
            return;
    }
    DeskFaceShows("layering", face);
}

static void FlowExit(FlowFace)
{
    if (Attached() && DeskCommand(ExitCommand) && DeskExitRequested())
        DeskStockClockBack();
}

// Detached, the clock is the taskbar's again; the same mapped copy takes it
// once more, and KillHooks gives it back.
static void FlowDetach(FlowFace face)
{
    if (!Attached())
        return;
    DeskCheck(DeskDetach() == -1, "SetClockOnTray detach did not return -1");
    DeskStockClockBack();
    if (Attached() && DeskNewSnapshot())
        DeskFaceShows("detach-again", face);
    DeskCheck(DeskKillHooks() == 0, "KillHooks did not return 0");
    DeskStockClockBack();
}

const Flow Flows[] = {
    {"attach", FlowAttach}, {"ticking", FlowTicking},   {"options", FlowOptions},           {"language", FlowLanguage},
    {"menu", FlowMenu},     {"layering", FlowLayering}, {"copydata", FlowHostileHandOvers}, {"exit", FlowExit},
    {"detach", FlowDetach},
};
const size_t FlowCount = sizeof(Flows) / sizeof(Flows[0]);
