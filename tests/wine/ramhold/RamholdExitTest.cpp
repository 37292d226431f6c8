// A program that ends while Ramhold.dll has a cleaning running must end at
// once and cleanly: no hang on the worker, no crash in the library's detach.
#include "RamholdTestSupport.h"

#include <gtest/gtest.h>

namespace tidemark::ramhold::test {
namespace {

// The helper's cleaning sits in a 30 s pause; waiting for it would show.
constexpr std::uint32_t kPromptMs = 10000;

ChildResult runHelper(const char* mode) {
    return runChild(programFolder() + "tm_ramhold_exit_helper.exe", mode, 60000);
}

void expectPromptCleanExit(const char* mode) {
    const ChildResult result = runHelper(mode);
    ASSERT_TRUE(result.finished) << mode << " still running after " << result.elapsedMs << " ms";
    EXPECT_EQ(result.exitCode, 0u) << mode;
    EXPECT_LT(result.elapsedMs, kPromptMs) << mode;
}

TEST(RamholdExitTest, ReturnFromMainDuringASlowCleaning) {
    expectPromptCleanExit("slow-return");
}

TEST(RamholdExitTest, ExitProcessDuringASlowCleaning) {
    expectPromptCleanExit("slow-exitprocess");
}

TEST(RamholdExitTest, ExitProcessFromAnotherThreadDuringASlowCleaning) {
    expectPromptCleanExit("slow-exitthread");
}

TEST(RamholdExitTest, ReturnFromMainWhileAFastCleaningTouchesPages) {
    expectPromptCleanExit("first-return");
}

TEST(RamholdExitTest, FreeLibraryWhileACleaningRunsKeepsTheCodeMapped) {
    expectPromptCleanExit("unload");
}

} // namespace
} // namespace tidemark::ramhold::test
