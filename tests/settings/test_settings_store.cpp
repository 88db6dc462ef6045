// LoadSettings and SaveSettings against the simulated registry: the flag
// encoding, the skin name, the autostart entry and a settings key that
// cannot be had.
#include "engine/skin_bitmaps.h"
#include "settings/menu_language.h"
#include "settings/registry_string.h"
#include "settings/settings_store.h"
#include "tests/engine/test_support.h"
#include "tests/settings/settings_support.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

namespace {

const char *const FlagNames[] = {"ShowSeconds", "ShowDayOfWeek", "DateIsLeft",
                                 "EnglishTime", "ShowDate",      "TransparentClock"};

Flag *FlagField(int i)
{
    Flag *fields[] = {&ClockState.ShowSeconds, &ClockState.ShowDayOfWeek, &ClockState.DateIsLeft,
                      &ClockState.EnglishTime, &ClockState.ShowDate,      &ClockState.TransparentClock};
    return fields[i];
}

const char AutostartLine[] = "C:\\Program Files\\Zantor Dialwick\\dialwick.exe";

struct SettingsStore : ::testing::Test {
    TestSkinDir Skins;
    void SetUp() override
    {
        SetUpLibrary();
        Skins.AddSkin("Herb");
        Skins.AddSkin("Ember");
        snprintf(ClockState.SkinBaseDir, sizeof(ClockState.SkinBaseDir), "%s", Skins.Path.c_str());
    }
    void TearDown() override
    {
        EXPECT_TRUE(NothingLeftOpen());
        FreeSkinBitmaps();
    }
};

TEST_F(SettingsStore, EmptyKeyGivesEveryFlagTrueAndHerb)
{
    EXPECT_EQ(LoadSettings(), FlagTrue);
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(*FlagField(i), FlagTrue) << FlagNames[i];
    EXPECT_STREQ(ClockState.CurrentSkinName, "Herb");
    EXPECT_EQ(ClockState.StartWithWindows, 0);
    EXPECT_TRUE(SimRegKeyExists(SettingsKey));
    EXPECT_TRUE(SimRegValueNames(SettingsKey).empty()) << "loading writes nothing";
}

TEST_F(SettingsStore, FlagReadFromOneByteOfAnyTypeElseTrue)
{
    struct Case {
        DWORD Type;
        std::vector<uint8_t> Data;
        Flag Expected;
    } cases[] = {
        {REG_BINARY, {0x00}, 0},
        {REG_BINARY, {0x01}, FlagTrue},
        {REG_BINARY, {0xFF}, FlagTrue},
        {REG_DWORD, Dword(0), FlagTrue},  // four bytes do not fit the one-byte buffer
        {REG_BINARY, {0x00, 0x00}, FlagTrue},
        {REG_SZ, {0x00}, 0},              // the type is not looked at
        {REG_BINARY, {}, FlagTrue},       // no data at all
    };
    for (int flag = 0; flag < 6; flag++)
        for (const Case &c : cases) {
            SetUpLibrary();
            snprintf(ClockState.SkinBaseDir, sizeof(ClockState.SkinBaseDir), "%s", Skins.Path.c_str());
            Seed(FlagNames[flag], c.Type, c.Data);
            LoadSettings();
            EXPECT_EQ(*FlagField(flag), c.Expected) << FlagNames[flag] << " type " << c.Type << " size " << c.Data.size();
            FreeSkinBitmaps();
        }
}

TEST_F(SettingsStore, FlagsAreSavedAsOneByteAndReadBack)
{
    LoadSettings();
    ClockState.ShowSeconds = 0;
    ClockState.ShowDate = 0;
    ClockState.EnglishTime = 1;        // set from elsewhere: still true
    ClockState.TransparentClock = 0x100;  // its low byte is zero, yet it is true
    SaveSettings();
    const uint8_t expected[] = {0x00, 0xFF, 0xFF, 0xFF, 0x00, 0xFF};
    for (int i = 0; i < 6; i++) {
        StoredValue v = Stored(FlagNames[i]);
        EXPECT_EQ(v.Type, (DWORD)REG_BINARY) << FlagNames[i];
        EXPECT_EQ(v.Data, std::vector<uint8_t>{expected[i]}) << FlagNames[i];
    }
    ResetClockState();
    snprintf(ClockState.SkinBaseDir, sizeof(ClockState.SkinBaseDir), "%s", Skins.Path.c_str());
    LoadSettings();
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(*FlagField(i), expected[i] ? FlagTrue : 0) << FlagNames[i];
}

TEST_F(SettingsStore, SkinNameIsTheFirstHundredBytesOfTheField)
{
    Skins.AddSkin("Granite");
    LoadSkin("Granite");
    LoadSkin("Herb");  // leaves the end of "Granite" after Herb's terminator
    SaveSettings();
    StoredValue v = Stored("SkinName");
    EXPECT_EQ(v.Type, (DWORD)REG_SZ);
    ASSERT_EQ(v.Data.size(), 100u);
    EXPECT_EQ(0, memcmp(v.Data.data(), ClockState.CurrentSkinName, 100));
    EXPECT_EQ(std::string((const char *)v.Data.data(), 8), std::string("Herb\0te\0", 8));

    char text[300];
    size_t length = 0;
    ASSERT_TRUE(ReadRegistryString(HKEY_CURRENT_USER, "Software\\Orvantis\\Zantor\\Dialwick\\SkinName", text,
                                   sizeof(text), &length));
    EXPECT_EQ(length, 99u);
    EXPECT_STREQ(text, "Herb");
}

TEST_F(SettingsStore, LongSkinNameKeepsItsLastCharacter)
{
    std::string name(150, 'L');
    Skins.AddSkin(name);
    ASSERT_EQ(LoadSkin(name.c_str()), FlagTrue);
    SaveSettings();
    StoredValue v = Stored("SkinName");
    ASSERT_EQ(v.Data.size(), 151u);
    EXPECT_EQ(v.Data.back(), 0);

    ResetClockState();
    snprintf(ClockState.SkinBaseDir, sizeof(ClockState.SkinBaseDir), "%s", Skins.Path.c_str());
    EXPECT_EQ(LoadSettings(), FlagTrue);
    EXPECT_EQ(std::string(ClockState.CurrentSkinName), name);
}

// The stored skin name: REG_SZ up to its first zero byte, else Herb; a name
// whose folder is missing loads nothing, without falling back.
TEST_F(SettingsStore, StoredSkinName)
{
    std::string huge(1 << 20, 'A');
    const struct {
        DWORD Type;
        std::string Data;
        Flag Loaded;
        const char *Name;
    } cases[] = {
        {REG_EXPAND_SZ, std::string("Ember", 6), FlagTrue, "Herb"},
        {REG_BINARY, std::string("Ember", 6), FlagTrue, "Herb"},
        {REG_MULTI_SZ, std::string("Ember", 6), FlagTrue, "Herb"},
        {REG_SZ, std::string("Gone", 5), 0, ""},
        {REG_SZ, huge, 0, ""},  // a name that long names no folder
        {REG_SZ, std::string("Ember\0", 6) + huge, FlagTrue, "Ember"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Data.substr(0, 8) + " of type " + std::to_string(c.Type));
        SetUp();
        Seed("SkinName", c.Type, Bytes(c.Data));
        EXPECT_EQ(LoadSettings(), c.Loaded);
        EXPECT_EQ(ClockState.SkinLoaded, c.Loaded);
        EXPECT_STREQ(ClockState.CurrentSkinName, c.Name);
        EXPECT_EQ(SimLiveObjects(SimBitmaps), c.Loaded ? 2 : 0);
        FreeSkinBitmaps();
    }
}

TEST_F(SettingsStore, KeyThatCannotBeHadChangesNothing)
{
    LoadSkin("Ember");
    for (int i = 0; i < 6; i++)
        *FlagField(i) = i % 2 ? FlagTrue : 0;
    SimFailCall("RegCreateKeyExA", 1);
    EXPECT_EQ(LoadSettings(), 0);
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(*FlagField(i), i % 2 ? FlagTrue : 0);
    EXPECT_STREQ(ClockState.CurrentSkinName, "Ember");
    EXPECT_EQ(ClockState.SkinLoaded, FlagTrue);
    EXPECT_FALSE(SimRegKeyExists(SettingsKey));

    // Saving handles the autostart entry first, then finds no settings key.
    ClockState.StartWithWindows = FlagTrue;
    SimFailCall("RegCreateKeyExA", 2);
    SaveSettings();
    EXPECT_TRUE(Stored("ZantorDialwick", RunKey).Exists);
    EXPECT_FALSE(SimRegKeyExists(SettingsKey));
}

TEST_F(SettingsStore, AutostartEntry)
{
    // Saved as the library's folder, unquoted, and read back.
    ClockState.StartWithWindows = FlagTrue;
    SaveSettings();
    StoredValue v = Stored("ZantorDialwick", RunKey);
    EXPECT_EQ(v.Type, (DWORD)REG_EXPAND_SZ);
    EXPECT_EQ(v.Data, Bytes(std::string(AutostartLine, sizeof(AutostartLine))));
    ClockState.StartWithWindows = 0;
    LoadSettings();
    EXPECT_EQ(ClockState.StartWithWindows, FlagTrue);

    // Deleted, others kept; deleting it again is no error.
    SimRegSetValue(RunKey, "Other", REG_SZ, "y", 2);
    ClockState.StartWithWindows = 0;
    SaveSettings();
    SaveSettings();
    EXPECT_EQ(SimRegValueNames(RunKey), std::vector<std::string>{"Other"});
    LoadSettings();
    EXPECT_EQ(ClockState.StartWithWindows, 0);

    // An entry of any type, named in any case, counts.
    SimRegSetValue("SOFTWARE\\MICROSOFT\\Windows\\CurrentVersion\\RUN", "zantordialwick", REG_DWORD, "\0\0\0\0", 4);
    LoadSettings();
    EXPECT_EQ(ClockState.StartWithWindows, FlagTrue);

    // A Run key that cannot be opened reads as no entry.
    SimFailCall("RegCreateKeyExA", 2);
    LoadSettings();
    EXPECT_EQ(ClockState.StartWithWindows, 0);
}

TEST_F(SettingsStore, UnknownLibraryPathWritesNoCommandLine)
{
    SimRegSetValue(RunKey, "ZantorDialwick", REG_EXPAND_SZ, "C:\\old\\dialwick.exe", 20);
    ClockState.StartWithWindows = FlagTrue;
    SimFailCall("GetModuleHandleExA", 1);
    SaveSettings();
    EXPECT_EQ(Stored("ZantorDialwick", RunKey).Data, Bytes(std::string("C:\\old\\dialwick.exe", 20)));
    EXPECT_TRUE(Stored("ShowSeconds").Exists) << "the settings are saved all the same";
}

// Every registry call of loading, saving and a language change failing in
// turn: whatever is left undone, no key stays open.
TEST_F(SettingsStore, EveryFailedCallLeavesNoKeyOpen)
{
    for (const char *call : {"RegCreateKeyExA", "RegOpenKeyExA", "RegQueryValueExA", "RegSetValueExA",
                             "RegDeleteValueA", "GetModuleHandleExA"})
        for (int n = 1; n <= 16; n++) {
            SimClearFailures();
            SimFailCall(call, n);
            LoadSettings();
            ClockState.StartWithWindows = n % 2 ? FlagTrue : 0;
            SaveSettings();
            ApplyMenuLanguage((uint32_t)n);
            EXPECT_EQ(SimOpenRegistryKeys(), 0) << call << " " << n;
        }
}

}  // namespace
