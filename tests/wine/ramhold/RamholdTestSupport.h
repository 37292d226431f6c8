// Helpers of the Ramhold tests under Wine: where the programs are, bounded
// polling, child processes.
#pragma once
#include "platform/win32/WindowsApi.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tidemark::ramhold::test {

// The folder of this test program (the build's bin folder), UTF-8, with a
// trailing backslash.
std::string programFolder();

// Polls `done` every 10 ms until it holds or `timeoutMs` passes.
bool waitUntil(const std::function<bool()>& done, std::uint32_t timeoutMs);

struct ChildResult {
    bool finished = false; // false: still running at the timeout (then killed)
    DWORD exitCode = 0;
    std::uint64_t elapsedMs = 0;
};

// Runs `program` with `arguments` and waits for it.
ChildResult runChild(const std::string& program, const std::string& arguments, std::uint32_t timeoutMs);

// A folder under %TEMP% removed with its files at the end of the test.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; } // trailing backslash

private:
    std::string path_;
};

} // namespace tidemark::ramhold::test
