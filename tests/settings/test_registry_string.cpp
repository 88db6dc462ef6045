// ReadRegistryString on a text longer than its buffer.
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

TEST_F(RegistryString, LongTextIsCutToTheBufferWithItsFullLength)
{
    std::string huge(1 << 20, 'A');
    huge.back() = 0;
    Seed("Text", REG_SZ, Bytes(huge));
    ASSERT_TRUE(Read());
    EXPECT_EQ(Length, huge.size() - 1);
    EXPECT_EQ(strlen(Text), sizeof(Text) - 1);
}

}  // namespace
