// LoadSettings and SaveSettings against the simulated registry: the skin
// name at the field's bounds and the autostart entry; registry texts longer
// than their buffer.
#include "engine/skin_bitmaps.h"
#include "settings/registry_string.h"
#include "settings/settings_store.h"
#include "tests/engine/test_support.h"
#include "tests/settings/settings_support.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

namespace {

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

// A registry text longer than the buffer: cut to it, with its whole length.
TEST_F(SettingsStore, LongRegistryTextIsCutToTheBufferWithItsFullLength)
{
    std::string huge(1 << 20, 'A');
    huge.back() = 0;
    Seed("Text", REG_SZ, Bytes(huge));
    char text[64];
    size_t length = 0;
    ASSERT_TRUE(ReadRegistryString(HKEY_CURRENT_USER, "Software\\Orvantis\\Zantor\\Dialwick\\Text", text, sizeof(text),
                                   &length));
    EXPECT_EQ(length, huge.size() - 1);
    EXPECT_EQ(strlen(text), sizeof(text) - 1);
}

}  // namespace
