// The process backend: this test program's own path, command line and
// environment.
#include "platform/win32/Win32ProcessInfo.h"

#include "TestSupport.h"
#include "platform/win32/Win32Text.h"

#include <gtest/gtest.h>

namespace tidemark::win32 {
namespace {

bool endsWithIgnoringCase(const std::string& text, const std::string& tail) {
    if (text.size() < tail.size()) return false;
    const std::wstring a = toWide(text.substr(text.size() - tail.size()));
    const std::wstring b = toWide(tail);
    return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

TEST(Win32ProcessInfo, ExecutablePathIsThisProgram) {
    Win32ProcessInfo process;
    const std::string path = process.executablePath();
    EXPECT_TRUE(endsWithIgnoringCase(path, "\\tm_win32_platform_tests.exe")) << path;
    EXPECT_NE(::GetFileAttributesW(toWide(path).c_str()), INVALID_FILE_ATTRIBUTES) << path;
}

TEST(Win32ProcessInfo, CommandLineIsTheRawOne) {
    Win32ProcessInfo process;
    const std::string line = process.commandLine();
    EXPECT_EQ(line, fromWideBuffer(::GetCommandLineW()));
    EXPECT_NE(line.find("tm_win32_platform_tests"), std::string::npos) << line;
}

TEST(Win32ProcessInfo, EnvironmentVariablesInUnicode) {
    Win32ProcessInfo process;
    const wchar_t* name = L"TIDEMARK_TEST_VALUE";
    ASSERT_TRUE(::SetEnvironmentVariableW(name, L"\u30c6\u30b9\u30c8 value"));
    EXPECT_EQ(process.environmentVariable("TIDEMARK_TEST_VALUE"), std::optional<std::string>(
                                                                      "\xe3\x83\x86\xe3\x82\xb9\xe3\x83\x88 value"));
    ::SetEnvironmentVariableW(name, nullptr);
    EXPECT_EQ(process.environmentVariable("TIDEMARK_TEST_VALUE"), std::nullopt);
}

TEST(Win32ProcessInfo, LongEnvironmentValueIsReadWhole) {
    Win32ProcessInfo process;
    const std::wstring value(3000, L'x');
    ASSERT_TRUE(::SetEnvironmentVariableW(L"TIDEMARK_TEST_LONG", value.c_str()));
    const auto read = process.environmentVariable("TIDEMARK_TEST_LONG");
    ::SetEnvironmentVariableW(L"TIDEMARK_TEST_LONG", nullptr);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, std::string(3000, 'x'));
}

} // namespace
} // namespace tidemark::win32
