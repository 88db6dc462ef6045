// The shared test data beside the checkout (../shared/testdata), for the
// tests that read it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>

// A file or folder of the shared test data.
inline std::string TestDataPath(const std::string &relative)
{
    return std::string(DIALWICK_TESTDATA_DIR) + "/" + relative;
}

// A test that reads a folder of the shared test data asserts this first, so
// a machine without it fails naming the folder instead of reading nothing.
inline ::testing::AssertionResult HaveTestData(const std::string &folder)
{
    struct stat st;
    std::string path = TestDataPath(folder);
    if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the shared test data folder " << path
                                         << " is missing: this test reads its files";
}
