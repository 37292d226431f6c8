// Jobsmith's reading of a piped line: UTF-8 after a byte-order mark (how the
// monitor sends a password), code page 932 otherwise.
#include <gtest/gtest.h>

#include "jobtool/win32/Win32JobConsole.h"
#include "platform/win32/WindowsApi.h"

namespace tidemark::jobtool::win32 {
namespace {

// The bytes as Jobsmith's standard input, for one read.
std::optional<std::string> readPiped(const std::string& bytes) {
    HANDLE reader = nullptr, writer = nullptr;
    if (!::CreatePipe(&reader, &writer, nullptr, 0)) return std::nullopt;
    DWORD written = 0;
    ::WriteFile(writer, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(writer);
    const HANDLE before = ::GetStdHandle(STD_INPUT_HANDLE);
    ::SetStdHandle(STD_INPUT_HANDLE, reader);
    Win32JobConsole console;
    auto line = console.readSecretLine();
    ::SetStdHandle(STD_INPUT_HANDLE, before);
    ::CloseHandle(reader);
    return line;
}

TEST(JobsmithInput, APipedLineIsReadInItsEncoding) {
    const struct {
        const char* what;
        std::string bytes;
        std::optional<std::string> read;
    } cases[] = {
        {"UTF-8 after its mark", "\xEF\xBB\xBFP\xC3\xA4sswo\xCC\x88rt-\xE2\x82\xAC" "1 \xE6\x97\xA5\r\n",
         "P\xC3\xA4sswo\xCC\x88rt-\xE2\x82\xAC" "1 \xE6\x97\xA5"},
        {"code page 932", "\x83p\x83X\x83\x8F\x81[\x83h\r\n", "\xE3\x83\x91\xE3\x82\xB9\xE3\x83\xAF\xE3\x83\xBC\xE3\x83\x89"},
        {"the mark alone", "\xEF\xBB\xBF\r\n", ""},
        {"nothing", "", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(readPiped(c.bytes), c.read) << c.what;
}

} // namespace
} // namespace tidemark::jobtool::win32
