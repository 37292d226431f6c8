// The process watch window driven as a person would: opened from the
// administrator window over a list of 2,000 programs, which a change made
// and undone saves unchanged; programs added by double-click, by the file
// list's menu and by a drop from another program through OLE; the list read
// back with the system's profile functions; and the running monitor passing
// over its cleaning while a listed program runs.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "AdminWindowsDriver.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Text.h"

namespace tidemark::e2e {
namespace {

using automation::Process;

std::string fileBytes(const std::string& path) {
    win32::UniqueKernelHandle file(::CreateFileW(win32::toWide(path).c_str(), GENERIC_READ,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return {};
    std::string bytes(::GetFileSize(file.get(), nullptr), '\0');
    DWORD read = 0;
    ::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

bool putFile(const std::string& path, const std::string& bytes) {
    win32::UniqueKernelHandle file(
        ::CreateFileW(win32::toWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// The watch list's section as the file holds it, up to the next section.
std::string watchSection(const std::string& bytes) {
    const auto start = bytes.find("[ExitTrigProcList]");
    if (start == std::string::npos) return {};
    const auto next = bytes.find("\r\n[", start);
    return bytes.substr(start, next == std::string::npos ? std::string::npos : next + 2 - start);
}

std::vector<std::string> systemSection(const std::string& file, const char* section) {
    std::vector<wchar_t> buffer(1 << 20);
    const DWORD length = ::GetPrivateProfileSectionW(win32::toWide(section).c_str(), buffer.data(),
                                                     static_cast<DWORD>(buffer.size()), win32::toWide(file).c_str());
    std::vector<std::string> lines;
    for (DWORD i = 0; i < length;) {
        const std::wstring line(buffer.data() + i);
        i += static_cast<DWORD>(line.size()) + 1;
        lines.push_back(win32::fromWide(line));
    }
    return lines;
}

std::string systemValue(const std::string& file, const char* section, const char* key) {
    wchar_t value[1024] = {};
    ::GetPrivateProfileStringW(win32::toWide(section).c_str(), win32::toWide(key).c_str(), L"", value, 1024,
                               win32::toWide(file).c_str());
    return win32::fromWideBuffer(value);
}

int itemCount(HWND list) { return static_cast<int>(automation::sendMessage(list, LB_GETCOUNT).value_or(-1)); }

int itemIndex(HWND list, const std::string& text) {
    const std::wstring wide = win32::toWide(text);
    return static_cast<int>(automation::sendMessage(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                    reinterpret_cast<LPARAM>(wide.c_str()))
                                .value_or(LB_ERR));
}

// The mouse on a list box's item, as the system posts it: a click of the
// left or the right button, or a double click.
enum class Click { left, right, twice };
bool clickItem(HWND list, int index, Click click) {
    RECT item{};
    if (index < 0 || automation::sendMessage(list, LB_GETITEMRECT, static_cast<WPARAM>(index),
                                             reinterpret_cast<LPARAM>(&item)).value_or(LB_ERR) == LB_ERR)
        return false;
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    if (click == Click::right)
        return automation::postMessage(list, WM_RBUTTONDOWN, MK_RBUTTON, at) && automation::postMessage(list, WM_RBUTTONUP, 0, at);
    bool posted = automation::postMessage(list, WM_LBUTTONDOWN, MK_LBUTTON, at) && automation::postMessage(list, WM_LBUTTONUP, 0, at);
    if (click == Click::twice)
        posted = posted && automation::postMessage(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at) &&
                 automation::postMessage(list, WM_LBUTTONUP, 0, at);
    return posted;
}

bool answerAddQuestion(DWORD processId, const std::string& name) {
    const auto question = automation::waitForMessageBox(processId, 10000, name + "\r\nを追加しますか？");
    return question && question->caption == "プロセス監視設定" && automation::answerMessageBox(question->hwnd, IDYES);
}

bool applyAndConfirm(HWND window, DWORD processId) {
    if (!automation::clickButton(automation::findControl(window, IDC_WATCH_APPLY_BUTTON))) return false;
    const auto saved = automation::waitForMessageBox(processId, 10000, "プロセス設定が登録されました");
    return saved && saved->caption == "プロセス登録処理" && automation::answerMessageBox(saved->hwnd, IDOK);
}

TEST(ProcessWatch, ListedByClickMenuAndDropSavedWholeAndWaitedForByTheMonitor) {
    TidemarkSession session;
    const std::string ini = session.sharedFile();
    // Two programs in a folder of Program Files, where the window starts,
    // and one beside the monitor: copies of the drop helper, which also
    // runs until it is ended.
    const std::string helper = automation::currentProgramFolder() + "\\tm_drop_source.exe";
    wchar_t programFiles[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, programFiles)));
    const std::string folder = win32::fromWideBuffer(programFiles) + "\\Tidemark Watch Test";
    ::CreateDirectoryW(win32::toWide(folder).c_str(), nullptr);
    const std::string byClick = folder + "\\ByClick.exe", byMenu = folder + "\\ByMenu.exe";
    const std::string dropped = session.folder() + "\\Dropped.exe";
    const std::string unstorable = session.folder() + "\\Café.exe";   // the settings file's code page lacks "é"
    for (const std::string& copy : {byClick, byMenu, dropped, unstorable})
        ASSERT_TRUE(::CopyFileW(win32::toWide(helper).c_str(), win32::toWide(copy).c_str(), FALSE)) << copy;

    // Every minute is one to clean in (a trigger of all but 64 MiB), with
    // the watch on over 2,000 programs and one without a path.
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    ASSERT_TRUE(::GlobalMemoryStatusEx(&memory));
    std::string text = "[AppSettingFlag]\r\nMemCleanExeMemSize=" + std::to_string(memory.ullTotalPhys - (64u << 20) - 1) +
                       "\r\nMemCleanSize=64\r\nProcWatchSetting=True\r\nSTMCProcReplaceFlag=NonProc\r\n[ExitTrigProcList]\r\n";
    for (int i = 0; i < 2000; ++i)
        text += "Program" + std::to_string(i) + ".exe=C:\\Vendor\\Program" + std::to_string(i) + ".exe\r\n";
    text += "NoPath.exe=\r\n";
    ASSERT_TRUE(putFile(ini, text));
    const std::string listed = watchSection(text);

    Process tidemark = session.start();
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000));
    HWND admin = openAdminWindow(session, tidemark.id());
    ASSERT_NE(admin, nullptr);
    HWND watch = openWatchWindow(admin, tidemark.id());
    ASSERT_NE(watch, nullptr);
    HWND list = automation::findControl(watch, IDC_WATCH_LIST);
    HWND files = automation::findControl(watch, IDC_FILE_LIST);
    HWND folders = automation::findControl(watch, IDC_FOLDER_LIST);
    EXPECT_EQ(itemCount(list), 2001);
    EXPECT_FALSE(automation::isEnabled(automation::findControl(watch, IDC_WATCH_APPLY_BUTTON)));

    ASSERT_TRUE(clickItem(folders, itemIndex(folders, "[Tidemark Watch Test]"), Click::twice));
    ASSERT_TRUE(automation::pollUntil(5000, [&] { return itemCount(files) == 2; }));

    // A program added and deleted again: the save leaves the list as it was.
    ASSERT_TRUE(clickItem(files, itemIndex(files, "ByClick.exe"), Click::twice));
    ASSERT_TRUE(answerAddQuestion(tidemark.id(), "ByClick.exe"));
    ASSERT_TRUE(automation::pollUntil(5000, [&] { return itemCount(list) == 2002; }));
    ASSERT_TRUE(automation::postMessage(list, WM_VSCROLL, SB_BOTTOM, 0));
    ASSERT_TRUE(automation::pollUntil(5000, [&] { return automation::sendMessage(list, LB_GETTOPINDEX).value_or(0) > 1900; }));
    ASSERT_TRUE(clickItem(list, 2001, Click::left));
    HWND remove = automation::findControl(watch, IDC_DELETE_BUTTON);
    ASSERT_TRUE(automation::pollUntil(5000, [&] { return automation::isEnabled(remove); }));
    ASSERT_TRUE(automation::clickButton(remove));
    ASSERT_TRUE(automation::pollUntil(5000, [&] { return itemCount(list) == 2001; }));
    ASSERT_TRUE(applyAndConfirm(watch, tidemark.id()));
    EXPECT_EQ(watchSection(fileBytes(ini)), listed) << "the section is not byte for byte what it was";
    EXPECT_EQ(systemValue(ini, "AppSettingFlag", "STMCProcReplaceFlag"), "True");

    // Added by double-click and by the file list's menu, each after its
    // question, and dropped from another program without one.
    ASSERT_TRUE(clickItem(files, itemIndex(files, "ByClick.exe"), Click::twice));
    ASSERT_TRUE(answerAddQuestion(tidemark.id(), "ByClick.exe"));
    ASSERT_TRUE(clickItem(files, itemIndex(files, "ByMenu.exe"), Click::left));
    ASSERT_TRUE(clickItem(files, itemIndex(files, "ByMenu.exe"), Click::right));
    HWND menu = automation::waitForPopupMenu(tidemark.id(), 10000);
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(automation::choosePopupMenuItemByMnemonic(menu, "a"));
    ASSERT_TRUE(answerAddQuestion(tidemark.id(), "ByMenu.exe"));
    ASSERT_TRUE(automation::pollUntil(5000, [&] { return itemCount(list) == 2003; }));
    RECT target{};
    ::GetWindowRect(list, &target);
    const auto drop = automation::run(helper,
                                      "drop " + std::to_string((target.left + target.right) / 2) + " " +
                                          std::to_string((target.top + target.bottom) / 2) + " " +
                                          automation::quoteArgument(dropped),
                                      30000);
    EXPECT_EQ(drop.exitCode, std::optional<DWORD>(0)) << drop.output;
    ASSERT_TRUE(automation::pollUntil(5000, [&] { return itemCount(list) == 2004; }));
    for (HWND box : automation::findMessageBoxes(tidemark.id()))
        EXPECT_NE(::GetWindow(box, GW_OWNER), watch) << "a drop asks nothing";
    EXPECT_FALSE(session.capture(watch, "process_watch_window_added").empty());

    // A drop that needs a box returns at once: the program dragged from
    // leaves its drag before the box is answered. Café.exe is refused by
    // name, never listed as another program's best-fit spelling.
    const auto refusedDrop = automation::run(helper,
                                             "drop " + std::to_string((target.left + target.right) / 2) + " " +
                                                 std::to_string((target.top + target.bottom) / 2) + " " +
                                                 automation::quoteArgument(unstorable),
                                             5000);
    EXPECT_EQ(refusedDrop.exitCode, std::optional<DWORD>(0)) << "still inside its drag: " << refusedDrop.output;
    const auto refused = automation::waitForMessageBox(tidemark.id(), 10000);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->caption, "入力エラー");
    EXPECT_NE(refused->text.find("Café.exe"), std::string::npos) << refused->text;
    ASSERT_TRUE(automation::answerMessageBox(refused->hwnd, IDOK));
    EXPECT_EQ(itemCount(list), 2004);

    // Saved while a listed program runs; the monitor's next look at the
    // list (it takes the changed flag back) finds it and does not clean.
    Process running = automation::start(byMenu, "wait");
    ASSERT_TRUE(running);
    ASSERT_TRUE(applyAndConfirm(watch, tidemark.id()));
    const std::optional<std::string> lastRun = session.shared("AppSettingFlag", "ShExTime");
    EXPECT_EQ(systemValue(ini, "AppSettingFlag", "STMCProcReplaceFlag"), "True");
    const auto lines = systemSection(ini, "ExitTrigProcList");
    ASSERT_EQ(lines.size(), 2004u);
    EXPECT_EQ(lines[0], "Program0.exe=C:\\Vendor\\Program0.exe");
    EXPECT_EQ(lines[2000], "NoPath.exe=");
    EXPECT_EQ(lines[2001], "ByClick.exe=" + byClick);
    EXPECT_EQ(lines[2002], "ByMenu.exe=" + byMenu);
    EXPECT_EQ(lines[2003], "Dropped.exe=" + dropped);
    EXPECT_EQ(systemValue(ini, "ExitTrigProcList", "dropped.EXE"), dropped);

    // Saved: closing asks nothing.
    ASSERT_TRUE(automation::clickButton(automation::findControl(watch, IDC_WATCH_CLOSE_BUTTON)));
    EXPECT_TRUE(automation::pollUntil(5000, [&] { return !::IsWindow(watch); }));
    ASSERT_TRUE(automation::postMessage(admin, WM_CLOSE, 0, 0));
    EXPECT_TRUE(automation::pollUntil(5000, [&] { return !::IsWindow(admin); }));

    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "STMCProcReplaceFlag", 75000, std::string("False")));
    ::Sleep(5000);
    EXPECT_EQ(session.shared("AppSettingFlag", "ShExTime"), lastRun) << "cleaned while a listed program ran";
    // Once it ends, the next minute cleans again.
    ASSERT_TRUE(running.terminate());
    EXPECT_TRUE(automation::pollUntil(75000, [&] { return session.shared("AppSettingFlag", "ShExTime") != lastRun; }));
    EXPECT_TRUE(tidemark.isRunning());

    for (const std::string& copy : {byClick, byMenu, dropped, unstorable}) ::DeleteFileW(win32::toWide(copy).c_str());
    ::RemoveDirectoryW(win32::toWide(folder).c_str());
}

} // namespace
} // namespace tidemark::e2e
