// The system-start registration with the real Tidemark and a stand-in
// Jobsmith that records its command line and its standard input. Wine's
// Task Scheduler refuses the tasks' dotted names and runs no task, so the
// test plays the scheduler: it runs the real Corvid "PassTest" once the test
// task is asked for.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "AdminWindowsDriver.h"
#include "platform/win32/Win32Text.h"

namespace tidemark::e2e {
namespace {

using automation::Process;

// Beyond code page 932 too: what is typed is what Jobsmith gets.
constexpr const char* kPassword = "P\xC3\xA4ssw\xC3\xB6rt-\xE2\x82\xAC" "1 p@ss \"x\"";

struct JobsmithRun {
    std::string commandLine, input;
};

class PasswordRegistration : public ::testing::Test {
protected:
    PasswordRegistration() {
        const std::string from = automation::currentProgramFolder();
        ::CopyFileW(win32::toWide(from + "\\tm_jobsmith_standin.exe").c_str(),
                    win32::toWide(session.folder() + "\\Jobsmith.exe").c_str(), FALSE);
        ::CopyFileW(win32::toWide(from + "\\Corvid.exe").c_str(), win32::toWide(session.folder() + "\\Corvid.exe").c_str(),
                    FALSE);
        log = session.folder() + "\\jobsmith.log";
        ::SetEnvironmentVariableW(L"TIDEMARK_STANDIN_LOG", win32::toWide(log).c_str());
        ::SetEnvironmentVariableW(L"TIDEMARK_STANDIN_EXIT", nullptr);
        ::SetEnvironmentVariableW(L"TIDEMARK_STANDIN_HANG", nullptr);
    }
    ~PasswordRegistration() override {
        ::SetEnvironmentVariableW(L"TIDEMARK_STANDIN_LOG", nullptr);
        ::SetEnvironmentVariableW(L"TIDEMARK_STANDIN_EXIT", nullptr);
        ::SetEnvironmentVariableW(L"TIDEMARK_STANDIN_HANG", nullptr);
        for (DWORD id : automation::processIdsByExeName("Corvid.exe")) {
            HANDLE p = ::OpenProcess(PROCESS_TERMINATE, FALSE, id);
            if (p) ::TerminateProcess(p, 1), ::CloseHandle(p);
        }
    }
    std::vector<JobsmithRun> runs() {
        std::ifstream file(log, std::ios::binary);
        std::vector<JobsmithRun> out;
        std::string line;
        while (std::getline(file, line)) {
            const auto tab = line.find('\t');
            out.push_back({line.substr(0, tab), tab == std::string::npos ? "" : line.substr(tab + 1)});
        }
        return out;
    }
    // Tidemark, the administrator window, its box ticked: the dialog.
    HWND openPasswordDialog() {
        tidemark = session.start();
        if (!session.waitForShared("AppSettingFlag", "ShExTime", 30000)) return nullptr;
        admin = openAdminWindow(session, tidemark.id());
        if (!admin || !automation::clickButton(automation::findControl(admin, IDC_SYSTEM_START_BOX))) return nullptr;
        automation::WindowCriteria dialog;
        dialog.caption = "パスワード設定";
        dialog.processId = tidemark.id();
        dialog.visibleOnly = true;
        return automation::waitForWindow(dialog, 10000);
    }
    // Both boxes typed; Enter in the first moves on, Enter in the second
    // starts the test.
    void enterPassword(HWND dialog, const std::string& password) {
        HWND first = automation::findControl(dialog, IDC_PASSWORD_BOX);
        HWND second = automation::findControl(dialog, IDC_CONFIRM_BOX);
        ASSERT_TRUE(automation::setControlText(first, password));
        ASSERT_TRUE(automation::setControlText(second, password));
        automation::postMessage(first, WM_KEYDOWN, VK_RETURN, 0);
        automation::postMessage(first, WM_KEYUP, VK_RETURN, 0);
        ::Sleep(500);
        EXPECT_TRUE(runs().empty()) << "Enter in the first box starts nothing";
        automation::postMessage(second, WM_KEYDOWN, VK_RETURN, 0);
        automation::postMessage(second, WM_KEYUP, VK_RETURN, 0);
    }

    TidemarkSession session;
    std::string log;
    Process tidemark;
    HWND admin = nullptr;
};

TEST_F(PasswordRegistration, PasswordOnStandardInputTestPassesAndSystemStartIsRequested) {
    HWND dialog = openPasswordDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(automation::controlText(automation::findControl(dialog, IDC_ACCOUNT)), session.userName());
    EXPECT_FALSE(session.capture(dialog, "password_window").empty());
    enterPassword(dialog, kPassword);
    // The scheduler's part: the test task runs Corvid "PassTest".
    ASSERT_TRUE(automation::pollUntil(20000, [&] { return runs().size() >= 2; }));
    const std::string corvidArguments = "PassTest";
    Process corvid = automation::start(session.folder() + "\\Corvid.exe", corvidArguments);
    ASSERT_TRUE(corvid.valid());
    const auto question = automation::waitForMessageBox(tidemark.id(), 30000, "今すぐ再起動しますか");
    ASSERT_TRUE(question.has_value());
    EXPECT_EQ(question->caption, "再起動が必要");
    ASSERT_TRUE(automation::answerMessageBox(question->hwnd, IDNO));
    EXPECT_TRUE(automation::pollUntil(5000, [&] { return !::IsWindow(dialog); }));
    EXPECT_EQ(automation::checkState(automation::findControl(admin, IDC_SYSTEM_START_BOX)), automation::CheckState::Checked);

    const auto all = runs();
    ASSERT_EQ(all.size(), 4u);
    const std::string folder = session.folder();
    const std::vector<std::string> expected = {
        "\"Quillon Kestrel Soon Start Task.job\" /DELETE",
        "\"Quillon Kestrel Soon Start Task.job\" \"/SOON\" \"Quillon Program Auto Set Task !!\" \"\\\"" + folder +
            "\\Corvid.exe\\\"\" \"PassTest\"",
        "\"Quillon Kestrel SYSTEM Start Task.job\" /DELETE",
        "\"Quillon Kestrel SYSTEM Start Task.job\" \"/SYS\" \"Quillon Program Auto Set Task !! App Start CASCADA\" "
        "\"\\\"" + folder + "\\Cascada.exe\\\"\" \"RUN\"",
    };
    for (std::size_t i = 0; i < all.size(); ++i) {
        SCOPED_TRACE(all[i].commandLine);
        EXPECT_EQ(all[i].commandLine.rfind("\"" + folder + "\\Jobsmith.exe\" " + expected[i], 0), 0u);
        // Every process the run started: Jobsmith's runs, Corvid, Tidemark.
        EXPECT_EQ(all[i].commandLine.find("p@ss"), std::string::npos);
        EXPECT_EQ(all[i].input, i % 2 ? std::string("\xEF\xBB\xBF") + kPassword : "");   // UTF-8 after its mark
    }
    EXPECT_NE(all[3].commandLine.find("\"RUN\" \"" ), std::string::npos);   // the account follows as the sixth word
    EXPECT_EQ(corvidArguments.find("p@ss"), std::string::npos);
    EXPECT_EQ(session.shared("AppSettingFlag", "PassTest"), std::optional<std::string>("True"));
    EXPECT_TRUE(tidemark.isRunning());
}

TEST_F(PasswordRegistration, WithoutTheTestTaskRunningTheWrongPasswordBoxComesAfterTheWatch) {
    HWND dialog = openPasswordDialog();
    ASSERT_NE(dialog, nullptr);
    const DWORD start = ::GetTickCount();
    enterPassword(dialog, "wrong");
    const auto wrong = automation::waitForMessageBox(tidemark.id(), 120000, "パスワードが間違っています。");
    ASSERT_TRUE(wrong.has_value());
    EXPECT_GE(::GetTickCount() - start, 74000u);
    EXPECT_EQ(wrong->caption, "パスワードが違います");
    ASSERT_TRUE(automation::answerMessageBox(wrong->hwnd, IDOK));
    // Ready again: enabled, both boxes empty, the test task deleted.
    EXPECT_TRUE(automation::pollUntil(
        5000, [&] { return ::IsWindowEnabled(automation::findControl(dialog, IDC_PASSWORD_BOX)) != FALSE; }));
    EXPECT_EQ(automation::controlText(automation::findControl(dialog, IDC_PASSWORD_BOX)), "");
    ASSERT_TRUE(automation::pollUntil(10000, [&] { return runs().size() == 3; }));
    EXPECT_NE(runs()[2].commandLine.find("\"Quillon Kestrel Soon Start Task.job\" /DELETE"), std::string::npos);
    ASSERT_TRUE(automation::clickButton(automation::findControl(dialog, IDC_PASSWORD_CANCEL)));
    EXPECT_TRUE(automation::pollUntil(5000, [&] { return !::IsWindow(dialog); }));
    EXPECT_EQ(automation::checkState(automation::findControl(admin, IDC_SYSTEM_START_BOX)),
              automation::CheckState::Unchecked);
}

TEST_F(PasswordRegistration, AFailingJobsmithIsReportedAtOnce) {
    ::SetEnvironmentVariableW(L"TIDEMARK_STANDIN_EXIT", L"0x80041318");
    HWND dialog = openPasswordDialog();
    ASSERT_NE(dialog, nullptr);
    const DWORD start = ::GetTickCount();
    enterPassword(dialog, kPassword);
    const auto failed = automation::waitForMessageBox(tidemark.id(), 20000, "パスワード試験実行に失敗しました");
    ASSERT_TRUE(failed.has_value());
    EXPECT_LT(::GetTickCount() - start, 15000u);
    EXPECT_EQ(failed->caption, "パスワード設定");
    ASSERT_TRUE(automation::answerMessageBox(failed->hwnd, IDOK));
    EXPECT_TRUE(automation::pollUntil(5000, [&] { return !::IsWindow(dialog); }));
    EXPECT_EQ(runs().size(), 1u);
}

// A run that never returns can be given up: キャンセル stays usable while it
// runs, ends it, and the test is reported as not done.
TEST_F(PasswordRegistration, AJobsmithThatNeverReturnsIsEndedByCancel) {
    ::SetEnvironmentVariableW(L"TIDEMARK_STANDIN_HANG", L"1");
    HWND dialog = openPasswordDialog();
    ASSERT_NE(dialog, nullptr);
    enterPassword(dialog, kPassword);
    ASSERT_TRUE(automation::pollUntil(10000, [&] { return runs().size() == 1; }));
    ASSERT_TRUE(automation::pollUntil(10000, [] { return !automation::processIdsByExeName("Jobsmith.exe").empty(); }));
    HWND cancel = automation::findControl(dialog, IDC_PASSWORD_CANCEL);
    EXPECT_EQ(::IsWindowEnabled(automation::findControl(dialog, IDC_PASSWORD_BOX)), FALSE);
    ASSERT_NE(::IsWindowEnabled(cancel), FALSE);
    ASSERT_TRUE(automation::clickButton(cancel));
    const auto failed = automation::waitForMessageBox(tidemark.id(), 10000, "パスワード試験実行に失敗しました");
    ASSERT_TRUE(failed.has_value());
    EXPECT_TRUE(automation::pollUntil(5000, [] { return automation::processIdsByExeName("Jobsmith.exe").empty(); }))
        << "the run was left running";
    ASSERT_TRUE(automation::answerMessageBox(failed->hwnd, IDOK));
    EXPECT_TRUE(automation::pollUntil(5000, [&] { return !::IsWindow(dialog); }));
    EXPECT_EQ(runs().size(), 1u);
}

} // namespace
} // namespace tidemark::e2e
