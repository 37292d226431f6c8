// The known-folders backend: the folders the suite uses exist.
#include "platform/win32/Win32KnownFolders.h"

#include "TestSupport.h"
#include "platform/win32/Win32Text.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace tidemark::win32 {
namespace {

bool isAbsolute(const std::string& path) {
    return path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
           path[1] == ':' && path[2] == '\\';
}

class Win32KnownFoldersByCsidl : public ::testing::TestWithParam<int> {};

TEST_P(Win32KnownFoldersByCsidl, IsAnExistingAbsoluteFolder) {
    Win32KnownFolders folders;
    const auto path = folders.folderPath(GetParam());
    ASSERT_TRUE(path.has_value());
    std::printf("CSIDL %d: %s\n", GetParam(), path->c_str());
    EXPECT_TRUE(isAbsolute(*path)) << *path;
    EXPECT_NE(path->back(), '\\') << *path;
    const DWORD attributes = ::GetFileAttributesW(toWide(*path).c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << *path;
    EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u) << *path;
}

INSTANTIATE_TEST_SUITE_P(SuiteFolders, Win32KnownFoldersByCsidl,
                         ::testing::Values(5, 7, 11, 22, 24, 26, 38));

TEST(Win32KnownFolders, UnknownCsidlIsNoFolder) {
    Win32KnownFolders folders;
    EXPECT_FALSE(folders.folderPath(0x7E).has_value());
    EXPECT_FALSE(folders.folderPath(-1).has_value());
}

TEST(Win32KnownFolders, AppDataIsTheEnvironmentsAppData) {
    Win32KnownFolders folders;
    const auto path = folders.folderPath(26);
    ASSERT_TRUE(path.has_value());
    wchar_t value[MAX_PATH * 2] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"APPDATA", value, MAX_PATH * 2);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(::CompareStringOrdinal(toWide(*path).c_str(), -1, value, -1, TRUE), CSTR_EQUAL)
        << *path << " vs " << fromWideBuffer(value);
}

} // namespace
} // namespace tidemark::win32
