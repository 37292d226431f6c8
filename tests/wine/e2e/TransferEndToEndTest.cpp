// End-to-end runs of the transfer tools installed beside Tidemark: Inkett
// with every kind of argument and its boxes answered, Stowel through the
// system's own file dialogs (a 2,000-entry list out and back in), and a
// running Tidemark that takes an imported list at its next minute.
#include <gtest/gtest.h>

#include <functional>

#include "TidemarkSession.h"
#include "platform/win32/Win32Text.h"
#include "shared/profile/ProfileEngine.h"

namespace tidemark::e2e {
namespace {

using win32::toWide;

constexpr const char* kStowelCaption = "Tidemark設定 保存・読込み";

std::uint64_t totalPhysicalMemory() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    ::GlobalMemoryStatusEx(&status);
    return status.ullTotalPhys;
}

struct ToolRun {
    std::optional<DWORD> exitCode;
    std::vector<automation::MessageBoxInfo> boxes;
    std::vector<std::string> titles() const {
        std::vector<std::string> out;
        for (const auto& b : boxes) out.push_back(b.caption);
        return out;
    }
};

// Reads and answers every box of the program until it ends: the scripted
// buttons first, then each box's first button.
ToolRun answerUntilExit(automation::Process& process, std::vector<int> answers = {},
                        const std::function<void(const automation::MessageBoxInfo&)>& inspect = nullptr) {
    ToolRun run;
    for (int i = 0; i < 120 && !run.exitCode; ++i) {
        if (auto box = automation::waitForMessageBox(process.id(), 250)) {
            if (inspect) inspect(*box);
            run.boxes.push_back(*box);
            const int button = answers.empty() ? box->buttons.front() : answers.front();
            if (!answers.empty()) answers.erase(answers.begin());
            automation::answerMessageBox(box->hwnd, button);
        }
        run.exitCode = process.waitForExit(0);
    }
    return run;
}

class TransferTools : public ::testing::Test {
protected:
    TransferTools() {
        const std::string bin = automation::currentProgramFolder();
        for (const char* file : {"Stowel.exe", "Inkett.exe"})
            EXPECT_TRUE(::CopyFileW(toWide(bin + "\\" + file).c_str(), toWide(session_.folder() + "\\" + file).c_str(), FALSE))
                << file << ": " << ::GetLastError();
        files_ = session_.folder() + "\\My Files";
        ::CreateDirectoryW(toWide(files_).c_str(), nullptr);
    }
    ~TransferTools() override {
        for (const char* exe : {"Stowel.exe", "Inkett.exe"})
            for (DWORD pid : automation::processIdsByExeName(exe)) {
                HANDLE h = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
                if (h) ::TerminateProcess(h, 99), ::WaitForSingleObject(h, 5000), ::CloseHandle(h);
            }
        WIN32_FIND_DATAW found{};
        HANDLE search = ::FindFirstFileW(toWide(files_ + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do ::DeleteFileW((toWide(files_ + "\\") + found.cFileName).c_str());
            while (::FindNextFileW(search, &found));
            ::FindClose(search);
        }
        ::RemoveDirectoryW(toWide(files_).c_str());
        for (const char* file : {"Stowel.exe", "Inkett.exe"}) ::DeleteFileW(toWide(session_.folder() + "\\" + file).c_str());
    }

    void put(const std::string& path, const std::string& bytes) {
        ASSERT_EQ(session_.system().platform().files.replaceContents(path, bytes), 0u) << path;
    }
    std::string contents(const std::string& path) {
        return session_.system().platform().files.readAll(path).bytes;
    }
    profile::ProfileSection section(const std::string& path, const std::string& name) {
        return profile::ProfileEngine(session_.system().platform()).readSection(name, path);
    }
    std::string transferFile(std::uint64_t phys, const std::string& rest = "MemCleanForm=Slow\r\n") {
        return "[AppSettingFlag]\r\nPhysMemSize=" + std::to_string(phys) + "\r\n" + rest;
    }
    ToolRun inkett(const std::string& arguments, std::vector<int> answers = {},
                   const std::function<void(const automation::MessageBoxInfo&)>& inspect = nullptr) {
        auto started = automation::startProcess(session_.folder() + "\\Inkett.exe", arguments, files_,
                                                automation::StdStreams::None);
        return answerUntilExit(started.process, std::move(answers), inspect);
    }

    TidemarkSession session_;
    std::string files_;
};

TEST_F(TransferTools, InkettTakesEveryFormOfPathAndRefusesWithoutTouchingTheSettings) {
    const std::uint64_t total = totalPhysicalMemory();
    const std::string saved = files_ + "\\Saved settings.vesk";
    put(saved, transferFile(total));
    put(files_ + "\\UPPER CASE.VESK", transferFile(total));
    put(files_ + "\\notes.txt", transferFile(total));
    put(files_ + "\\other memory.vesk", transferFile(total + (1 << 20)));
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919) & 0xFF);
    put(files_ + "\\binary.vesk", binary);
    wchar_t shortName[MAX_PATH] = {};
    ::GetShortPathNameW(toWide(saved).c_str(), shortName, MAX_PATH);

    const std::string original = "[AppSettingFlag]\r\nMemCleanForm=First\r\n";
    struct Case {
        std::string arguments;
        std::vector<std::string> titles;
        bool imported;
        std::vector<int> answers;
    };
    const std::string done = "設定読込み情報";
    const std::vector<Case> cases = {
        {"", {"単独実行できません"}, false, {}},
        {"\"" + saved + "\"", {done}, true, {}},
        {"\"" + files_ + "\\UPPER CASE.VESK\"", {done}, true, {}},
        {"\"Saved settings.vesk\"", {done}, true, {}},
        {win32::fromWideBuffer(shortName), {done}, true, {}},
        {"\"" + files_ + "\\notes.txt\"", {"インポートできません"}, false, {}},
        {"\"" + files_ + "\\missing.vesk\"", {"設定ファイル読込みの失敗"}, false, {}},
        {"\"" + files_ + "\\binary.vesk\"", {"設定ファイル読込みの失敗"}, false, {}},
        {"\"" + files_ + "\\other memory.vesk\"", {"設定読込み処理の警告"}, false, {IDNO}},
        {"\"" + files_ + "\\other memory.vesk\"", {"設定読込み処理の警告", done}, true, {IDYES}},
    };
    for (const Case& c : cases) {
        put(session_.sharedFile(), original);
        bool noPreselected = true;
        const ToolRun run = inkett(c.arguments, c.answers, [&](const automation::MessageBoxInfo& box) {
            if (box.caption == "設定読込み処理の警告")
                noPreselected = (::GetWindowLongW(automation::findControl(box.hwnd, IDNO), GWL_STYLE) & BS_DEFPUSHBUTTON) != 0;
        });
        ASSERT_TRUE(run.exitCode.has_value()) << c.arguments;
        EXPECT_EQ(*run.exitCode, c.imported ? 0u : 1u) << c.arguments;
        EXPECT_EQ(run.titles(), c.titles) << c.arguments;
        EXPECT_TRUE(noPreselected) << "No is the default button";
        if (c.imported) EXPECT_EQ(session_.shared("AppSettingFlag", "MemCleanForm"), "Slow") << c.arguments;
        else EXPECT_EQ(contents(session_.sharedFile()), original) << c.arguments;
    }
}

// The system's file dialog of Stowel's that is neither its window nor a box.
HWND fileDialogOf(DWORD processId) {
    return automation::pollUntil(15000, [&]() -> HWND {
        automation::WindowCriteria criteria;
        criteria.className = "#32770";
        criteria.processId = processId;
        criteria.visibleOnly = true;
        for (HWND w : automation::findWindows(criteria)) {
            const auto caption = automation::controlText(w);
            if (caption && *caption != kStowelCaption && !automation::isMessageBox(w)) return w;
        }
        return nullptr;
    });
}

// Types the path into the dialog's file name box and presses its OK button.
bool chooseInDialog(HWND dialog, const std::string& path) {
    HWND name = automation::findControl(dialog, 0x47C);   // cmb13, the file name combo box
    if (name) name = automation::findControl(name, "Edit", "");
    if (!name) name = automation::findControl(dialog, 0x480);   // edt1, where there is no combo box
    return name && automation::setControlText(name, path) &&
           automation::clickButton(automation::findControl(dialog, IDOK));
}

TEST_F(TransferTools, StowelCarriesTwoThousandWatchedProgramsOutAndBackThroughTheFileDialogs) {
    std::string settings = "[AppSettingFlag]\r\nPhysMemSize=" + std::to_string(totalPhysicalMemory()) +
                           "\r\nMemCleanSize=100\r\nProcWatchSetting=True\r\n[ExitTrigProcList]\r\n";
    for (int i = 0; i < 2000; ++i)
        settings += "Program" + std::to_string(i) + ".exe=C:\\Program Files\\Apps\\Program" + std::to_string(i) + ".exe\r\n";
    put(session_.sharedFile(), settings);

    automation::Process stowel = automation::start(session_.folder() + "\\Stowel.exe", "", session_.folder());
    automation::WindowCriteria criteria;
    criteria.caption = kStowelCaption;
    criteria.visibleOnly = true;
    HWND window = automation::waitForProgramWindow(stowel, criteria, 30000);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(automation::clickButton(automation::findControl(window, "Button", "設定保存 (&S)")));
    HWND dialog = fileDialogOf(stowel.id());
    ASSERT_NE(dialog, nullptr);
    session_.capture(dialog, "Stowel_save_dialog");
    // Without an extension: the dialog adds the default one.
    ASSERT_TRUE(chooseInDialog(dialog, files_ + "\\round trip"));
    ToolRun run = answerUntilExit(stowel);
    ASSERT_TRUE(run.exitCode.has_value());
    EXPECT_EQ(run.titles(), std::vector<std::string>{"設定書込み情報"});
    const std::string exported = files_ + "\\round trip.vesk";
    EXPECT_EQ(section(exported, "ExitTrigProcList").entries.size(), 2000u);

    put(session_.sharedFile(), "[AppSettingFlag]\r\nMemCleanSize=50\r\n[ExitTrigProcList]\r\nMine.exe=C:\\Mine.exe\r\n");
    stowel = automation::start(session_.folder() + "\\Stowel.exe", "", session_.folder());
    window = automation::waitForProgramWindow(stowel, criteria, 30000);
    ASSERT_NE(window, nullptr);
    HWND load = automation::findControl(window, "Button", "設定読込 (&L)");
    // A cancelled dialog leaves the window for another try.
    ASSERT_TRUE(automation::clickButton(load));
    dialog = fileDialogOf(stowel.id());
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(automation::clickButton(automation::findControl(dialog, IDCANCEL)));
    ASSERT_TRUE(automation::pollUntil(5000, [&] { return !::IsWindow(dialog); }));
    EXPECT_TRUE(stowel.isRunning());
    EXPECT_TRUE(::IsWindowVisible(window));
    ASSERT_TRUE(automation::clickButton(load));
    dialog = fileDialogOf(stowel.id());
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(chooseInDialog(dialog, exported));
    run = answerUntilExit(stowel);
    ASSERT_TRUE(run.exitCode.has_value());
    EXPECT_EQ(run.titles(), std::vector<std::string>{"設定読込み情報"});
    EXPECT_EQ(section(session_.sharedFile(), "ExitTrigProcList").entries.size(), 2001u);
    EXPECT_EQ(session_.shared("AppSettingFlag", "MemCleanSize"), "100");
    EXPECT_EQ(session_.shared("AppSettingFlag", "STMCProcReplaceFlag"), "True");
}

TEST_F(TransferTools, ARunningTidemarkTakesTheImportedListWithinAMinute) {
    automation::Process tidemark = session_.start();
    ASSERT_TRUE(session_.waitForShared("AppSettingFlag", "ShExTime", 30000));
    const std::string saved = files_ + "\\list.vesk";
    // The monitor looks at the list when memory is low: a trigger just
    // under the limit (all but 64 MiB) makes every minute a low one, and a
    // cleaning of 1 MB costs nothing.
    const std::uint64_t total = totalPhysicalMemory();
    put(saved, transferFile(total, "MemCleanExeMemSize=" + std::to_string(total - (64 << 20) - 1) +
                                       "\r\nMemCleanSize=1\r\n[ExitTrigProcList]\r\nWatched.exe=C:\\Watched.exe\r\n"));
    const ToolRun run = inkett("\"" + saved + "\"");
    ASSERT_EQ(run.exitCode, std::optional<DWORD>(0));
    EXPECT_EQ(session_.shared("ExitTrigProcList", "Watched.exe"), "C:\\Watched.exe");
    // The monitor reads the list and lowers the flag at its minute tick.
    EXPECT_TRUE(session_.waitForShared("AppSettingFlag", "STMCProcReplaceFlag", 75000, std::string("False")));
    EXPECT_TRUE(tidemark.isRunning());
}

} // namespace
} // namespace tidemark::e2e
