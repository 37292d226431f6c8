// Starting, waiting for and ending programs under test.
#include "TargetProgram.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tidemark::automation::test {
namespace {

TEST(Processes, StartFailsForAMissingProgramWithTheSystemsReason) {
    const StartResult result = startProcess(currentProgramFolder() + "\\no-such-program.exe");
    EXPECT_FALSE(result.process.valid());
    EXPECT_EQ(result.error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(Processes, WaitForExitGivesTheProgramsExitCode) {
    TargetProgram target("--exit-code 7");
    ASSERT_TRUE(target.ready());
    EXPECT_TRUE(target.process().isRunning());
    EXPECT_FALSE(target.process().waitForExit(100).has_value());
    ASSERT_TRUE(chooseMenuCommand(target.dialog(), IDM_TARGET_EXIT));
    const std::optional<DWORD> code = target.process().waitForExit(kEventTimeoutMs);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 7u);
    EXPECT_FALSE(target.process().isRunning());
    EXPECT_TRUE(target.waitForLogLine("exit=7"));
}

TEST(Processes, WaitingForTheWindowOfAProgramEndsWhenTheProgramDoes) {
    // The command-line tool prints its usage and ends without a window.
    Process tool = start(automateExePath());
    ASSERT_TRUE(tool.valid());
    WindowCriteria criteria;
    criteria.caption = kTargetCaption;
    const ULONGLONG started = ::GetTickCount64();
    EXPECT_EQ(waitForProgramWindow(tool, criteria, 120000), nullptr);
    EXPECT_LT(::GetTickCount64() - started, 60000u);
    EXPECT_FALSE(tool.isRunning());
}

TEST(Processes, TerminateEndsTheProgram) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    EXPECT_TRUE(target.process().terminate(42));
    EXPECT_EQ(target.process().waitForExit(0), std::optional<DWORD>(42));
}

TEST(Processes, DestructionEndsAProgramLeftRunning) {
    DWORD pid = 0;
    win32::UniqueKernelHandle watcher;
    {
        Process process = start(targetExePath());
        ASSERT_TRUE(process.valid());
        pid = process.id();
        watcher.reset(::OpenProcess(SYNCHRONIZE, FALSE, pid));
        ASSERT_TRUE(watcher.valid());
    }
    EXPECT_EQ(::WaitForSingleObject(watcher.get(), 0), static_cast<DWORD>(WAIT_OBJECT_0));
}

TEST(Processes, MovingHandsOverOwnership) {
    Process first = start(targetExePath());
    ASSERT_TRUE(first.valid());
    const DWORD pid = first.id();
    Process second = std::move(first);
    EXPECT_FALSE(first.valid());
    EXPECT_EQ(second.id(), pid);
    EXPECT_TRUE(second.isRunning());
}

TEST(Processes, FindsRunningProgramsByExecutableName) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    const std::vector<DWORD> ids = processIdsByExeName("TM_AUTOMATION_TARGET.EXE");
    EXPECT_NE(std::find(ids.begin(), ids.end(), target.pid()), ids.end());
    EXPECT_TRUE(processIdsByExeName("no-such-program.exe").empty());
}

TEST(Processes, QuotesArgumentsByTheCommandLineRules) {
    EXPECT_EQ(quoteArgument("plain"), "plain");
    EXPECT_EQ(quoteArgument(""), "\"\"");
    EXPECT_EQ(quoteArgument("two words"), "\"two words\"");
    EXPECT_EQ(quoteArgument("say \"hi\""), "\"say \\\"hi\\\"\"");
    EXPECT_EQ(quoteArgument("C:\\dir with space\\"), "\"C:\\dir with space\\\\\"");
    EXPECT_EQ(quoteArgument("a\\\\\"b"), "\"a\\\\\\\\\\\"b\"");
}

TEST(Processes, RunCollectsAConsoleProgramsOutputAndExitCode) {
    const RunResult result = run(automateExePath(), "--help", 10000);
    ASSERT_TRUE(result.exitCode.has_value());
    EXPECT_EQ(*result.exitCode, 0u);
    EXPECT_TRUE(result.outputClosed);
    EXPECT_NE(result.output.find("usage: tm_automate"), std::string::npos);
    EXPECT_TRUE(result.errors.empty()) << result.errors;
}

} // namespace
} // namespace tidemark::automation::test
