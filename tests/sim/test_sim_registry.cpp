// The simulated registry holds to Windows where the settings rely on it:
// names without case, size queries, short buffers, the default value, access
// rights, exact types and bytes, and open keys counted.
#include "platform/sim/sim_control.h"

#include <gtest/gtest.h>

#include <string.h>
#include <string>

namespace {

struct Registry : ::testing::Test {
    HKEY Key = nullptr;
    void SetUp() override
    {
        SimReset();
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Test", 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &Key, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override
    {
        RegCloseKey(Key);
        EXPECT_EQ(SimOpenRegistryKeys(), 0);
    }
};

TEST_F(Registry, CreateMakesParentsAndReportsWhatItDid)
{
    HKEY k;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "A\\B\\C", 0, nullptr, 0, KEY_READ, nullptr, &k, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, (DWORD)REG_CREATED_NEW_KEY);
    RegCloseKey(k);
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "a\\b\\c\\", 0, nullptr, 0, KEY_READ, nullptr, &k, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, (DWORD)REG_OPENED_EXISTING_KEY) << "names ignore case; a trailing backslash is allowed";
    RegCloseKey(k);
    EXPECT_TRUE(SimRegKeyExists("A\\B"));
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "\\A", 0, nullptr, 0, KEY_READ, nullptr, &k, nullptr),
              ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "A\\Missing", 0, KEY_READ, &k), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(k, nullptr);
}

TEST_F(Registry, QueryReportsSizeAndTypeAndRefusesShortBuffers)
{
    ASSERT_EQ(RegSetValueExA(Key, "Name", 0, REG_SZ, (const BYTE *)"Herb", 5), ERROR_SUCCESS);
    DWORD type = 0, size = 0;
    EXPECT_EQ(RegQueryValueExA(Key, "NAME", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, (DWORD)REG_SZ);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(RegQueryValueExA(Key, "name", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);

    BYTE buffer[8];
    memset(buffer, 0x77, sizeof(buffer));
    size = 1;
    EXPECT_EQ(RegQueryValueExA(Key, "Name", nullptr, &type, buffer, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(buffer[1], 0x77) << "nothing written past the buffer";
    size = sizeof(buffer);
    EXPECT_EQ(RegQueryValueExA(Key, "Name", nullptr, &type, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 5u);
    EXPECT_STREQ((const char *)buffer, "Herb");
    EXPECT_EQ(RegQueryValueExA(Key, "Name", nullptr, &type, buffer, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueExA(Key, "Other", nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
}

// "AB" stored without a terminator, read with buffers of every size, as
// Wine answers.
TEST_F(Registry, StringWithoutTerminatorGetsOneWhereTheBufferHasRoom)
{
    const struct {
        DWORD Type;
        DWORD BufferSize;  // 0: no buffer
        LSTATUS Result;
        const char *Buffer;  // its first four bytes; '-' untouched
    } cases[] = {
        {REG_SZ, 0, ERROR_SUCCESS, "----"},      {REG_SZ, 1, ERROR_MORE_DATA, "----"},
        {REG_SZ, 2, ERROR_SUCCESS, "AB--"},      {REG_SZ, 3, ERROR_SUCCESS, "AB\0-"},
        {REG_SZ, 8, ERROR_SUCCESS, "AB\0-"},     {REG_EXPAND_SZ, 8, ERROR_SUCCESS, "AB\0-"},
        {REG_MULTI_SZ, 8, ERROR_SUCCESS, "AB\0-"}, {REG_BINARY, 8, ERROR_SUCCESS, "AB--"},
    };
    for (const auto &c : cases) {
        RegSetValueExA(Key, "Bare", 0, c.Type, (const BYTE *)"ABCD", 2);
        BYTE buffer[8];
        memset(buffer, '-', sizeof(buffer));
        DWORD size = c.BufferSize;
        EXPECT_EQ(RegQueryValueExA(Key, "Bare", nullptr, nullptr, c.BufferSize ? buffer : nullptr, &size), c.Result)
            << c.Type << " " << c.BufferSize;
        EXPECT_EQ(size, 2u) << "the stored size, " << c.Type << " " << c.BufferSize;
        EXPECT_EQ(std::string((const char *)buffer, 4), std::string(c.Buffer, 4)) << c.Type << " " << c.BufferSize;
    }
}

TEST_F(Registry, TypesAndBytesAreKeptExactly)
{
    const BYTE odd[] = {'a', 0, 'b'};  // a string without a terminator, a zero inside
    RegSetValueExA(Key, "Odd", 0, REG_SZ, odd, sizeof(odd));
    RegSetValueExA(Key, "Custom", 0, 0x1234, odd, 2);
    RegSetValueExA(Key, "Empty", 0, REG_BINARY, nullptr, 0);
    DWORD type;
    std::vector<uint8_t> data;
    ASSERT_TRUE(SimRegGetValue("software\\test", "odd", &type, &data));
    EXPECT_EQ(data, std::vector<uint8_t>(odd, odd + 3));
    ASSERT_TRUE(SimRegGetValue("Software\\Test", "Custom", &type, &data));
    EXPECT_EQ(type, 0x1234u);
    ASSERT_TRUE(SimRegGetValue("Software\\Test", "Empty", &type, &data));
    EXPECT_TRUE(data.empty());
    EXPECT_EQ(RegSetValueExA(Key, "Bad", 0, REG_BINARY, nullptr, 4), ERROR_NOACCESS);
}

TEST_F(Registry, DefaultValueIsTheEmptyName)
{
    RegSetValueExA(Key, nullptr, 0, REG_SZ, (const BYTE *)"d", 2);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(Key, "", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 2u);
    EXPECT_EQ(SimRegValueNames("Software\\Test"), std::vector<std::string>{""});
}

TEST_F(Registry, DeleteAndAccessRights)
{
    RegSetValueExA(Key, "V", 0, REG_DWORD, (const BYTE *)"\1\0\0\0", 4);
    HKEY reader;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Test", 0, KEY_READ, &reader), ERROR_SUCCESS);
    EXPECT_EQ(SimOpenRegistryKeys(), 2);
    EXPECT_EQ(RegSetValueExA(reader, "V", 0, REG_DWORD, (const BYTE *)"\2\0\0\0", 4), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValueA(reader, "V"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValueA(Key, "v"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueA(Key, "V"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCloseKey(reader), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(reader), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

TEST_F(Registry, InjectedFailuresOpenNothing)
{
    HKEY k = (HKEY)1;
    SimFailCall("RegOpenKeyExA", 1);
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Test", 0, KEY_READ, &k), ERROR_SUCCESS);
    EXPECT_EQ(k, nullptr);
    SimFailCall("RegCreateKeyExA", 1);
    EXPECT_NE(RegCreateKeyExA(HKEY_CURRENT_USER, "New", 0, nullptr, 0, KEY_READ, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    EXPECT_FALSE(SimRegKeyExists("New"));
    EXPECT_EQ(SimOpenRegistryKeys(), 1);
}

TEST_F(Registry, ResetEmptiesTheTree)
{
    SimRegSetValue("Software\\Other", "X", REG_BINARY, "\1", 1);
    RegCloseKey(Key);
    SimReset();
    EXPECT_FALSE(SimRegKeyExists("Software"));
    EXPECT_EQ(SimOpenRegistryKeys(), 0);
    Key = nullptr;
}

}  // namespace
