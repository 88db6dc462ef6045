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
    size_t Length = 12345;
    void SetUp() override
    {
        SetUpLibrary();
        strcpy(Text, "untouched");
    }
    void TearDown() override { EXPECT_TRUE(NothingLeftOpen()); }
    bool Read(const char *path = Path) { return ReadRegistryString(HKEY_CURRENT_USER, path, Text, sizeof(Text), &Length); }
};

TEST_F(RegistryString, TextIsTheDataWithoutItsLastByte)
{
    Seed("Text", REG_SZ, Bytes(std::string("Herb\0", 5)));
    ASSERT_TRUE(Read());
    EXPECT_STREQ(Text, "Herb");
    EXPECT_EQ(Length, 4u);

    // Without a terminator the last character is what goes.
    Seed("Text", REG_SZ, Bytes("abc"));
    ASSERT_TRUE(Read());
    EXPECT_STREQ(Text, "ab");

    // Zero bytes inside are kept.
    Seed("Text", REG_SZ, Bytes(std::string("He\0rb\0", 6)));
    ASSERT_TRUE(Read());
    EXPECT_EQ(Length, 5u);
    EXPECT_EQ(0, memcmp(Text, "He\0rb\0", 6));
}

TEST_F(RegistryString, TerminatorOnlyOrNoDataIsEmptyText)
{
    Seed("Text", REG_SZ, {0});
    ASSERT_TRUE(Read());
    EXPECT_STREQ(Text, "");
    EXPECT_EQ(Length, 0u);

    strcpy(Text, "untouched");
    Seed("Text", REG_SZ, {});
    ASSERT_TRUE(Read());
    EXPECT_STREQ(Text, "");
}

TEST_F(RegistryString, EveryOtherTypeFailsAndLeavesTheText)
{
    for (DWORD type : {(DWORD)REG_NONE, (DWORD)REG_EXPAND_SZ, (DWORD)REG_BINARY, (DWORD)REG_DWORD,
                       (DWORD)REG_MULTI_SZ, (DWORD)REG_QWORD}) {
        Seed("Text", type, Bytes(std::string("Ember\0\0\0", 8)));
        EXPECT_FALSE(Read()) << type;
        EXPECT_STREQ(Text, "untouched");
        EXPECT_EQ(Length, 12345u);
    }
}

TEST_F(RegistryString, PathsThatNameNoValue)
{
    EXPECT_FALSE(Read()) << "no key";
    Seed("Other", REG_SZ, Bytes("x"));
    EXPECT_FALSE(Read()) << "no value";
    Seed("Text", REG_SZ, Bytes("x"));
    EXPECT_FALSE(Read("NoBackslashAnywhere"));
    EXPECT_FALSE(Read(nullptr));
    EXPECT_STREQ(Text, "untouched");
}

TEST_F(RegistryString, EmptyNamesAreTheDefaultValueAndTheRoot)
{
    Seed("", REG_SZ, Bytes(std::string("default\0", 8)));
    ASSERT_TRUE(Read("Software\\Orvantis\\Zantor\\Dialwick\\"));
    EXPECT_STREQ(Text, "default");

    SimRegSetValue("", "AtRoot", REG_SZ, "root", 5);
    ASSERT_TRUE(Read("\\AtRoot"));
    EXPECT_STREQ(Text, "root");
}

TEST_F(RegistryString, NamesIgnoreCase)
{
    Seed("Text", REG_SZ, Bytes(std::string("x\0", 2)));
    EXPECT_TRUE(Read("SOFTWARE\\orvantis\\ZANTOR\\dialwick\\TEXT"));
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
