// tm_automate against the running target: output lines and exit codes.
#include "TargetProgram.h"

#include "platform/win32/Win32Text.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tidemark::automation::test {
namespace {

constexpr DWORD kRunTimeoutMs = 20000;

RunResult automate(const std::string& arguments) { return run(automateExePath(), arguments, kRunTimeoutMs); }

std::string pidArgument(const TargetProgram& target) { return std::to_string(target.pid()); }

TEST(CommandLine, PrintsAControlsTextAsUtf8) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    const RunResult result = automate("--pid " + pidArgument(target) + " text \"#32770\" " +
                                      quoteArgument(kTargetCaption) + " " + std::to_string(IDC_TARGET_LABEL));
    EXPECT_EQ(result.exitCode, std::optional<DWORD>(0)) << result.output;
    EXPECT_EQ(result.output, "メモリ使用率\n");
}

TEST(CommandLine, ListsWindowsOfAProcess) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    const RunResult result = automate("windows " + pidArgument(target));
    EXPECT_EQ(result.exitCode, std::optional<DWORD>(0)) << result.output;
    EXPECT_NE(result.output.find(kTargetCaption), std::string::npos) << result.output;
    EXPECT_NE(result.output.find(kTrayClass), std::string::npos) << result.output;
}

TEST(CommandLine, AnswersAMessageBox) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    ASSERT_TRUE(clickButton(target.control(IDC_TARGET_ASK)));
    const RunResult result = automate("msgbox " + pidArgument(target) + " --answer No");
    EXPECT_EQ(result.exitCode, std::optional<DWORD>(0)) << result.output;
    EXPECT_NE(result.output.find("text=メモリを解放しますか？\\r\\n解放には数秒かかります。\n"), std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find("buttons=Yes(6)"), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("icon=1"), std::string::npos) << result.output;
    EXPECT_TRUE(target.waitForLogLine("ask=no"));
}

TEST(CommandLine, ReadsATooltip) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    const RunResult result = automate("--pid " + pidArgument(target) + " tooltip * " + quoteArgument(kTargetCaption) +
                                      " " + std::to_string(IDC_TARGET_HIDE));
    EXPECT_EQ(result.exitCode, std::optional<DWORD>(0)) << result.output;
    EXPECT_EQ(result.output, "このフォームを隠します\n");
}

TEST(CommandLine, SendsATrayCallback) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    const RunResult result = automate("--pid " + pidArgument(target) + " send " + kTrayClass + " * " +
                                      std::to_string(WM_TARGET_TRAY_CALLBACK) + " 0 0x202");
    EXPECT_EQ(result.exitCode, std::optional<DWORD>(0)) << result.output;
    EXPECT_EQ(result.output, "0\n");
    EXPECT_TRUE(target.waitForLogLine("tray=left"));
}

TEST(CommandLine, CapturesAWindow) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    const std::string path = captureFolder() + "\\target-dialog-cli.png";
    const RunResult result = automate("--pid " + pidArgument(target) + " capture * " + quoteArgument(kTargetCaption) +
                                      " " + quoteArgument(path));
    EXPECT_EQ(result.exitCode, std::optional<DWORD>(0)) << result.output;
    EXPECT_NE(::GetFileAttributesW(win32::toWide(path).c_str()), INVALID_FILE_ATTRIBUTES);
}

// Under Wine a started program gets the starter's standard streams unless
// told otherwise; a shell reading tm_automate's output would then wait for
// the started program to end.
TEST(CommandLine, StartedProgramsHoldNoPipeOfTheCaller) {
    const std::string logPath = scratchFilePath(".log");
    const RunResult result = run(automateExePath(),
                                 "start " + quoteArgument(targetExePath()) + " --log " + quoteArgument(logPath), 8000);
    EXPECT_EQ(result.exitCode, std::optional<DWORD>(0)) << result.output;
    EXPECT_TRUE(result.outputClosed);
    const DWORD pid = static_cast<DWORD>(std::strtoul(result.output.c_str(), nullptr, 10));
    ASSERT_NE(pid, 0u) << result.output;
    Process started(win32::UniqueKernelHandle(
                        ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid)),
                    pid);
    ASSERT_TRUE(started.valid());
    EXPECT_TRUE(started.isRunning());
    EXPECT_TRUE(started.terminate());
    ::DeleteFileW(win32::toWide(logPath).c_str());
}

TEST(CommandLine, FailsQuicklyWhenNothingMatches) {
    const ULONGLONG before = ::GetTickCount64();
    const RunResult result = automate("--timeout 300 find * この窓はありません");
    EXPECT_EQ(result.exitCode, std::optional<DWORD>(1)) << result.output;
    EXPECT_LT(::GetTickCount64() - before, 10000u);
}

TEST(CommandLine, RejectsUnknownCommands) {
    const RunResult result = automate("frobnicate");
    EXPECT_EQ(result.exitCode, std::optional<DWORD>(2)) << result.output;
    EXPECT_TRUE(result.output.empty());
    EXPECT_NE(result.errors.find("unknown command frobnicate"), std::string::npos) << result.errors;
    EXPECT_NE(result.errors.find("usage:"), std::string::npos) << result.errors;
}

} // namespace
} // namespace tidemark::automation::test
