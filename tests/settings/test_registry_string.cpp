// ReadRegistryString on every type and size of value, and on paths that name
// no value.
#include "settings/registry_string.h"
#include "tests/settings/settings_support.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {

const char Path[] = "Software\\Orvantis\\Zantor\\Dialwick\\Text";

struct RegistryString : ::testing::Test {
    char Text[64];
    size_t Length = 0;
    void SetUp() override
    {
        SetUpLibrary();
        strcpy(Text, "untouched");
        Length = 12345;
    }
    void TearDown() override { EXPECT_TRUE(NothingLeftOpen()); }
    bool Read(const char *path = Path) { return ReadRegistryString(HKEY_CURRENT_USER, path, Text, sizeof(Text), &Length); }
};

// What a read gives for each stored value; a failed read leaves the text and
// the length as they were.
TEST_F(RegistryString, EveryTypeAndSizeOfValue)
{
    const std::string ember("Ember\0\0\0", 8);
    const struct {
        const char *Why;
        const char *Name;  // the value stored under the settings key
        DWORD Type;
        std::string Data;
        const char *ReadPath;
        bool Ok;
        std::string Text;  // compared up to Length + 1 bytes
        size_t Length;
    } cases[] = {
        {"the data without its last byte", "Text", REG_SZ, std::string("Herb\0", 5), Path, true, "Herb", 4},
        {"without a terminator the last character goes", "Text", REG_SZ, "abc", Path, true, "ab", 2},
        {"zero bytes inside are kept", "Text", REG_SZ, std::string("He\0rb\0", 6), Path, true,
         std::string("He\0rb", 5), 5},
        {"a terminator only", "Text", REG_SZ, std::string(1, '\0'), Path, true, "", 0},
        {"no data at all", "Text", REG_SZ, "", Path, true, "", 0},
        {"REG_NONE", "Text", REG_NONE, ember, Path, false, "untouched", 12345},
        {"REG_EXPAND_SZ", "Text", REG_EXPAND_SZ, ember, Path, false, "untouched", 12345},
        {"REG_BINARY", "Text", REG_BINARY, ember, Path, false, "untouched", 12345},
        {"REG_DWORD", "Text", REG_DWORD, ember, Path, false, "untouched", 12345},
        {"REG_MULTI_SZ", "Text", REG_MULTI_SZ, ember, Path, false, "untouched", 12345},
        {"REG_QWORD", "Text", REG_QWORD, ember, Path, false, "untouched", 12345},
        {"no such value", "Other", REG_SZ, "x", Path, false, "untouched", 12345},
        {"no backslash", "Text", REG_SZ, "x", "NoBackslashAnywhere", false, "untouched", 12345},
        {"no path", "Text", REG_SZ, "x", nullptr, false, "untouched", 12345},
        {"the empty name is the default value", "", REG_SZ, std::string("default\0", 8),
         "Software\\Orvantis\\Zantor\\Dialwick\\", true, "default", 7},
        {"names ignore case", "Text", REG_SZ, std::string("x\0", 2), "SOFTWARE\\orvantis\\ZANTOR\\dialwick\\TEXT",
         true, "x", 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Why);
        SetUp();
        Seed(c.Name, c.Type, Bytes(c.Data));
        EXPECT_EQ(Read(c.ReadPath), c.Ok);
        EXPECT_EQ(std::string(Text, c.Text.size() + 1), c.Text + '\0');
        EXPECT_EQ(Length, c.Length);
    }
    SetUp();
    EXPECT_FALSE(Read()) << "no key";
    SimRegSetValue("", "AtRoot", REG_SZ, "root", 5);
    ASSERT_TRUE(Read("\\AtRoot")) << "the empty key name is the root";
    EXPECT_STREQ(Text, "root");
}

TEST_F(RegistryString, LongTextIsCutToTheBufferWithItsFullLength)
{
    std::string huge(1 << 20, 'A');
    huge.back() = 0;
    Seed("Text", REG_SZ, Bytes(huge));
    ASSERT_TRUE(Read());
    EXPECT_EQ(Length, huge.size() - 1);
    EXPECT_EQ(strlen(Text), sizeof(Text) - 1);
}

TEST_F(RegistryString, FailedCallsLeaveNoKeyOpen)
{
    Seed("Text", REG_SZ, Bytes(std::string("x\0", 2)));
    const struct {
        const char *Call;
        int N;
    } failures[] = {{"RegOpenKeyExA", 1}, {"RegQueryValueExA", 1}, {"RegQueryValueExA", 2}};
    for (const auto &f : failures) {
        SimFailCall(f.Call, f.N);
        EXPECT_FALSE(Read()) << f.Call << " " << f.N;
        EXPECT_EQ(SimOpenRegistryKeys(), 0);
        EXPECT_STREQ(Text, "untouched");
        SimClearFailures();
    }
}

}  // namespace
