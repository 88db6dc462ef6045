// The simulated registry holds to Windows where the settings rely on it:
// strings without a terminator as Wine reads them.
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

TEST_F(Registry, StringWithoutTerminatorGetsOneWhereTheBufferHasRoom)
{
    const struct {
        DWORD Type;
        DWORD BufferSize;  // 0: no buffer
        LSTATUS Result;
        const char *Buffer;  // its first four bytes; '-' untouched
    } cases[] = {
        {REG_SZ, 0, ERROR_SUCCESS, "----"},        {REG_SZ, 1, ERROR_MORE_DATA, "----"},
        {REG_SZ, 2, ERROR_SUCCESS, "AB--"},        {REG_SZ, 3, ERROR_SUCCESS, "AB\0-"},
        {REG_SZ, 8, ERROR_SUCCESS, "AB\0-"},       {REG_EXPAND_SZ, 8, ERROR_SUCCESS, "AB\0-"},
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

TEST_F(Registry, ReservedIsRefusedByTheKeyCallOnly)
{
    HKEY other = nullptr;
    EXPECT_EQ(
        RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Other", 1, nullptr, 0, KEY_ALL_ACCESS, nullptr, &other, nullptr),
        ERROR_INVALID_PARAMETER);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(RegSetValueExA(Key, "Any", 1, REG_SZ, (const BYTE *)"x", 2), ERROR_SUCCESS);
}

}  // namespace
