// The launcher backend: the shell's result comes back as is.
#include "platform/win32/Win32Launcher.h"

#include "TestSupport.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Text.h"

#include <gtest/gtest.h>

namespace tidemark::win32 {
namespace {

TEST(Win32Launcher, MissingProgramIsFileNotFound) {
    test::ScratchFolder folder;
    Win32Clock clock;
    Win32Launcher launcher{clock};
    const auto result = launcher.shellExecute(0, "open", folder.file("absent.exe"), "", "", platform::showcmd::Hide);
    EXPECT_EQ(result, 2);
    EXPECT_EQ(launcher.shellExecuteAndWait(0, "open", folder.file("absent.exe"), "", "", platform::showcmd::Hide, 1000),
              2);
}

TEST(Win32Launcher, StartsAProgramWithItsParameters) {
    // The lock helper signals the event named in its parameters once it runs.
    const std::wstring eventName = L"Local\\tidemark-launch-" + std::to_wstring(::GetCurrentProcessId());
    UniqueKernelHandle started(::CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
    ASSERT_TRUE(started.valid());
    const std::string parameters = "exit \"C:\\ProgramData\\Tidemark\\launch " +
                                   std::to_string(::GetCurrentProcessId()) + ".ini\" " + fromWide(eventName);

    Win32Clock clock;
    Win32Launcher launcher{clock};
    const auto result = launcher.shellExecute(0, "", test::programFolder() + "\\tm_win32_lock_holder.exe",
                                              parameters, test::programFolder(), platform::showcmd::Hide);
    EXPECT_GT(result, 32);
    EXPECT_EQ(::WaitForSingleObject(started.get(), 20000), WAIT_OBJECT_0);
}

TEST(Win32Launcher, WaitedStartReturnsOnceTheProgramHasRun) {
    const std::wstring eventName = L"Local\\tidemark-waited-" + std::to_wstring(::GetCurrentProcessId());
    UniqueKernelHandle started(::CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
    ASSERT_TRUE(started.valid());
    const std::string parameters = "exit \"C:\\ProgramData\\Tidemark\\waited " +
                                   std::to_string(::GetCurrentProcessId()) + ".ini\" " + fromWide(eventName);
    Win32Clock clock;
    Win32Launcher launcher{clock};
    const auto result = launcher.shellExecuteAndWait(0, "", test::programFolder() + "\\tm_win32_lock_holder.exe",
                                                     parameters, test::programFolder(), platform::showcmd::Hide, 20000);
    EXPECT_GT(result, 32);
    EXPECT_EQ(::WaitForSingleObject(started.get(), 0), WAIT_OBJECT_0) << "returned before the program ran";
}

} // namespace
} // namespace tidemark::win32
