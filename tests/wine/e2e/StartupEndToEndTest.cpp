// Tidemark.exe started for real: registration, the cleaner right, the
// start-up cleaning, a second start's hand-over, and exit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <regex>
#include <vector>

#include "TidemarkSession.h"
#include "monitor/windows/win32/resource.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Text.h"

namespace tidemark::e2e {
namespace {

using automation::Process;

void closeThroughTheMenuCommand(TidemarkSession& session, Process& tidemark) {
    HWND simple = session.simpleWindow(tidemark.id());
    ASSERT_NE(simple, nullptr);
    ASSERT_TRUE(automation::postMessage(simple, WM_COMMAND, IDM_TRAY_MENU_CLOSE, 0));
    const auto code = tidemark.waitForExit(15000);
    ASSERT_TRUE(code.has_value()) << "Tidemark did not end";
    EXPECT_EQ(*code, 0u);
}

TEST(TidemarkStartup, FirstStartRegistersTheUserTakesTheRightAndCleansOnce) {
    TidemarkSession session;
    Process tidemark = session.start();
    ASSERT_TRUE(tidemark);
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000)) << "no start-up cleaning recorded";
    const std::string sid = session.sid();
    ASSERT_FALSE(sid.empty());
    // The counters are renewed right after the time of the cleaning is stored.
    EXPECT_TRUE(session.waitForShared("GetRightChallenge", sid, 10000, std::string("3")));
    EXPECT_EQ(session.shared("UserAccountName", sid), session.userName());
    EXPECT_EQ(session.shared("AppSettingFlag", "MemCleanRightUser"), sid);
    EXPECT_EQ(session.shared("AppSettingFlag", "MemCleanRightTime"), "3");
    EXPECT_EQ(session.shared("GetRightChallenge", sid), "3");
    EXPECT_TRUE(session.shared("AppSettingFlag", "MemCleanExeMemSize").has_value());
    EXPECT_TRUE(session.shared("AppSettingFlag", "MemCleanSize").has_value());
    // The program shows nothing but its tray icon.
    HWND simple = session.simpleWindow(tidemark.id());
    HWND graph = session.graphWindow(tidemark.id());
    ASSERT_NE(simple, nullptr);
    ASSERT_NE(graph, nullptr);
    EXPECT_FALSE(::IsWindowVisible(simple));
    EXPECT_FALSE(::IsWindowVisible(graph));
    // The last-run line shows what was recorded.
    EXPECT_EQ(automation::controlText(automation::findControl(simple, IDC_LAST_RUN)),
              session.shared("AppSettingFlag", "ShExTime"));

    closeThroughTheMenuCommand(session, tidemark);
    EXPECT_EQ(session.shared("AppSettingFlag", "MemCleanRightUser"), "NoUser");
}

TEST(TidemarkStartup, SecondStartHandsOverAndTheRunningCopyAnswersWithinAMinute) {
    TidemarkSession session;
    Process first = session.start();
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000));

    Process second = session.start();
    const auto box = automation::waitForMessageBox(second.id(), 20000);
    ASSERT_TRUE(box.has_value()) << "the second start showed no message";
    EXPECT_EQ(box->caption, "Tidemark");
    EXPECT_EQ(box->text,
              "プログラムはすでに起動されています\r\nタスクトレイにアイコンがない場合は１分ほどお待ちください\r\n"
              "アイコンの再表示依頼をプログラムに通知しました");
    EXPECT_TRUE(box->hasIcon);
    EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
    EXPECT_EQ(session.user("AppSetting", "IconObjFlag"), session.userName());
    ASSERT_TRUE(automation::answerMessageBox(box->hwnd, IDOK));
    const auto code = second.waitForExit(10000);
    ASSERT_TRUE(code.has_value());

    // The running copy reads the request once a minute and marks it served.
    const bool served = automation::pollUntil(75000, [&] { return session.user("AppSetting", "IconObjFlag") == "True"; });
    EXPECT_TRUE(served);
    EXPECT_TRUE(first.isRunning());
}

TEST(TidemarkStartup, SecondStartFromTheStartupShortcutEndsSilently) {
    TidemarkSession session;
    Process first = session.start();
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000));
    Process second = session.start("stup");
    const auto code = second.waitForExit(15000);
    ASSERT_TRUE(code.has_value()) << "the second copy kept running";
    EXPECT_TRUE(automation::findMessageBoxes(second.id()).empty());
    EXPECT_FALSE(session.user("AppSetting", "IconObjFlag").has_value());
    EXPECT_TRUE(first.isRunning());
}

TEST(TidemarkStartup, CopyThatFindsTheRightTakenRunsWithoutCleaning) {
    TidemarkSession session;
    // Another logged-on user's SID is a profile that is loaded; a SID that is
    // no profile at all has left the machine, and this copy takes over.
    ASSERT_TRUE(session.system().platform().files.replaceContents(
                    session.sharedFile(), "[AppSettingFlag]\r\nMemCleanRightUser=SystemStartAdministrators\r\n"
                                          "ShExTime=2026/12/01 3:00:00\r\n") == 0);
    Process tidemark = session.start();
    HWND simple = session.simpleWindow(tidemark.id());
    ASSERT_NE(simple, nullptr);
    const bool shown = automation::pollUntil(20000, [&] {
        return automation::controlText(automation::findControl(simple, IDC_LAST_RUN)) ==
               std::optional<std::string>("2026/12/01 3:00:00");
    });
    EXPECT_TRUE(shown);
    EXPECT_EQ(session.shared("AppSettingFlag", "MemCleanRightUser"), "SystemStartAdministrators");
    EXPECT_EQ(session.shared("AppSettingFlag", "ShExTime"), "2026/12/01 3:00:00");
    closeThroughTheMenuCommand(session, tidemark);
    // A copy without the right leaves the holder alone when it ends.
    EXPECT_EQ(session.shared("AppSettingFlag", "MemCleanRightUser"), "SystemStartAdministrators");
}

// Installed where standard users may not add files (a program folder whose
// only writable entry is the settings file an administrator opened to
// everyone): a first start still registers the user, takes the right and
// cleans, and leaves no file beside the settings. locked-install.sh prepares
// the folder, makes it admit no new entry and names it here.
TEST(LockedInstall, FirstStartRegistersTakesTheRightAndCleans) {
    const char* folder = std::getenv("TIDEMARK_LOCKED_INSTALL");
    if (folder == nullptr || *folder == '\0') GTEST_SKIP() << "run through locked-install.sh";
    TidemarkSession session{std::string(folder)};
    const std::wstring probe = win32::toWide(session.folder() + "\\probe.tmp");
    win32::UniqueKernelHandle created(
        ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_FALSE(created.valid()) << "the folder still admits new files";

    Process tidemark = session.start();
    ASSERT_TRUE(tidemark);
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000)) << "no cleaning recorded";
    const std::string sid = session.sid();
    EXPECT_EQ(session.shared("UserAccountName", sid), session.userName());
    EXPECT_EQ(session.shared("AppSettingFlag", "MemCleanRightUser"), sid);
    EXPECT_TRUE(session.waitForShared("GetRightChallenge", sid, 10000, std::string("3")));
    EXPECT_EQ(session.shared("AppSettingFlag", "MemCleanForm"), "First");   // what was there stays
    closeThroughTheMenuCommand(session, tidemark);
    EXPECT_EQ(session.shared("AppSettingFlag", "MemCleanRightUser"), "NoUser");

    std::vector<std::string> names;
    WIN32_FIND_DATAW data{};
    win32::UniqueFindHandle find(::FindFirstFileW(win32::toWide(session.folder() + "\\*").c_str(), &data));
    ASSERT_TRUE(find.valid());
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(win32::fromWideBuffer(data.cFileName));
    } while (::FindNextFileW(find.get(), &data));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Ramhold.dll", "Tidemark.exe", "Tidemark.ini"}));
}

} // namespace
} // namespace tidemark::e2e
