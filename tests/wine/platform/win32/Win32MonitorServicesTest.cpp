// The backends the monitor relies on: memory figures, the running processes,
// shortcuts, one copy per session and the user's date and time formats.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <regex>

#include "platform/win32/Win32KnownFolders.h"
#include "platform/win32/Win32LocaleFormat.h"
#include "platform/win32/Win32MemoryStatus.h"
#include "platform/win32/Win32ProcessSnapshot.h"
#include "platform/win32/Win32Shortcuts.h"
#include "platform/win32/Win32SingleInstance.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/TestSupport.h"

namespace tidemark::win32 {
namespace {

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

TEST(Win32MonitorServices, MemoryFiguresAreConsistent) {
    const auto m = Win32MemoryStatus().query();
    ASSERT_TRUE(m.has_value());
    EXPECT_GT(m->totalPhys, 0u);
    EXPECT_LE(m->availPhys, m->totalPhys);
    EXPECT_LE(m->memoryLoad, 100u);
}

TEST(Win32MonitorServices, SnapshotListsThisProgram) {
    const auto names = Win32ProcessSnapshot().processNames();
    ASSERT_TRUE(names.has_value());
    ASSERT_FALSE(names->empty());
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::string own = fromWideBuffer(self);
    own = own.substr(own.find_last_of('\\') + 1);
    EXPECT_NE(std::find_if(names->begin(), names->end(), [&](const std::string& n) { return lower(n) == lower(own); }),
              names->end());
}

TEST(Win32MonitorServices, ShortcutIsWrittenAndItsTargetReadBack) {
    test::ScratchFolder folder;
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Win32Shortcuts shortcuts;
    const std::string link = folder.file("ゲーム.lnk");
    platform::ShortcutDetails details;
    details.target = "C:\\windows\\notepad.exe";
    details.arguments = "stup";
    ASSERT_TRUE(shortcuts.create(link, details));
    EXPECT_EQ(lower(shortcuts.targetPath(link).value_or("")), "c:\\windows\\notepad.exe");
    EXPECT_FALSE(shortcuts.targetPath(folder.file("none.lnk")).has_value());
    ::CoUninitialize();
}

TEST(Win32MonitorServices, OneCopyPerSessionAndName) {
    Win32SingleInstance first, second;
    const std::string name = "test." + std::to_string(::GetCurrentProcessId());
    EXPECT_FALSE(first.anotherIsRunning(name));
    EXPECT_TRUE(second.anotherIsRunning(name));
    EXPECT_FALSE(second.anotherIsRunning(name + ".other"));
}

TEST(Win32MonitorServices, OneCopyPerMachineApartFromTheSessionsCopies) {
    Win32SingleInstance first, second;
    const std::string name = "machine." + std::to_string(::GetCurrentProcessId());
    EXPECT_FALSE(first.anotherIsRunningOnMachine(name));
    EXPECT_TRUE(second.anotherIsRunningOnMachine(name));
    EXPECT_FALSE(second.anotherIsRunning(name));   // the session's namespace is another
}

TEST(Win32MonitorServices, SystemFolderHoldsTheSystemTools) {
    Win32KnownFolders folders;
    const auto system = folders.folderPath(platform::csidl::System);
    ASSERT_TRUE(system.has_value());
    EXPECT_EQ(lower(*system), "c:\\windows\\system32");
}

TEST(Win32MonitorServices, DateAndTimeInTheUsersFormats) {
    Win32LocaleFormat locale;
    platform::LocalTime t;
    t.year = 2026, t.month = 12, t.day = 7, t.hour = 9, t.minute = 5, t.second = 3;
    const std::string date = locale.shortDate(t);
    const std::string time = locale.longTime(t);
    EXPECT_NE(date.find("2026"), std::string::npos) << date;
    EXPECT_TRUE(std::regex_search(time, std::regex("9:05:03"))) << time;
}

} // namespace
} // namespace tidemark::win32
