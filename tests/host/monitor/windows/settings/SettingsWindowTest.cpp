// The settings window through its presenter, on the simulated machine.
#include <gtest/gtest.h>

#include "monitor/core/MemoryCleaner.h"
#include "monitor/windows/settings/SettingsFigures.h"
#include "platform/sim/SimPaths.h"
#include "shared/cleaner/CleanerRules.h"
#include "shared/settings/SettingsFiles.h"
#include "support/RecordingViews.h"
#include "support/SimFixture.h"

namespace tidemark::monitor {
namespace {

using A = platform::MessageAnswer;
using C = SettingsControl;
using Boxes = std::vector<std::string>;   // "title: text"
constexpr std::uint64_t MB = 1048576;
const std::string kCommon = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp";
const std::string kOwn = "C:\\Users\\alice\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup";
const std::string kSaveFailed = "設定保存の失敗: 設定の保存に失敗しました";
const std::string kNotRemembered = "記憶されません: 設定の書込み権がないので\rこの設定はログオフ後、記憶されません";

class Settings : public testing::SimFixture {
protected:
    Settings() {
        s.settings.sharedPath = sharedSettingsPath(alice.platform().process);
        s.user.sid = testing::kAliceSid;
        s.user.logonName = "alice";
        for (const std::string& f : {machine.programFolder, kCommon, kOwn}) machine.files.makeDirectories(f);
        memory(1024);
        ui.windows.createStatusWindows();
    }
    void memory(std::uint64_t totalMB) {
        machine.setMemory(totalMB * MB, totalMB * MB / 2);
        cleaning::refreshMemoryStatus(ui.windows.context());
    }
    SettingsPresenter& presenter() { return ui.windows.settings(); }
    std::string shared(const char* section, const std::string& key) {
        return files.read(section, key);
    }
    std::string user(const char* section, const std::string& key) {
        return files.readUser(section, key);
    }
    Boxes boxes() {
        Boxes out;
        for (const auto& m : machine.messages) out.push_back(m.request.title + ": " + m.request.text);
        machine.messages.clear();
        return out;
    }
    void decide(const std::string& trigger, const std::string& size) {
        view.texts[C::TriggerBox] = trigger;
        view.texts[C::SizeBox] = size;
        presenter().onDecideClicked();
    }

    MonitorState s;
    testing::RecordedWindows ui{alice.platform(), s};
    testing::RecordingSettingsView& view = ui.settings;
    SettingsFiles files{alice.platform(), s};
};

TEST(SettingsFigures, FiguresOfAnyLengthAndTheHighestTrigger) {
    const std::pair<const char*, std::int64_t> texts[] = {
        {"", 0}, {"123", 123}, {"12abc", 12}, {"abc", 0}, {"-5", -5}, {"99999999999999999999999999", INT64_MAX}};
    for (const auto& [text, figure] : texts) EXPECT_EQ(settings::figureOf(text), figure) << text;
    EXPECT_TRUE(settings::acceptsTypedCharacter('7') && settings::acceptsTypedCharacter(8) && settings::acceptsTypedCharacter(22));
    EXPECT_FALSE(settings::acceptsTypedCharacter('a') || settings::acceptsTypedCharacter('.') || settings::acceptsTypedCharacter(13));
    const std::pair<std::uint64_t, std::int64_t> totals[] = {{512 * MB, 447}, {512 * MB + MB / 2, 448}, {64 * MB, 0}};
    for (const auto& [total, highest] : totals) {
        EXPECT_EQ(cleaner::highestTriggerMB(total), highest) << total;
        if (highest == 0) continue;   // the cleaner's reader keeps exactly that value, and not one more
        EXPECT_LT(highest * static_cast<std::int64_t>(MB), cleaner::asSigned(total) - cleaner::k64MB);
        EXPECT_GE((highest + 1) * static_cast<std::int64_t>(MB), cleaner::asSigned(total) - cleaner::k64MB);
    }
}

TEST_F(Settings, AutomaticValuesFollowPhysicalMemory) {
    presenter().open();
    for (const auto& [totalMB, figure] : {std::pair{1024, "128"}, {96, "50"}, {300, "100"}, {24 * 1024, "128"}}) {
        memory(totalMB);
        presenter().onAutoClicked();
        EXPECT_EQ(view.texts[C::TriggerBox], figure) << totalMB;
        EXPECT_EQ(view.texts[C::SizeBox], figure) << totalMB;
    }
    EXPECT_EQ(view.focused.back(), C::DecideButton);
    EXPECT_EQ(shared("AppSettingFlag", "MemCleanExeMemSize"), "");   // nothing stored before 決定
}

struct DecideCase {
    std::uint64_t totalMB;
    std::string trigger, size;
    std::vector<A> answers;
    Boxes boxes;
    std::int64_t storedTrigger, storedSize;   // MB; the boxes show them after
};

const std::string kTriggerLow = "設定警告: トリガーレベルが低すぎます\r最低推奨レベルの 50MByte に設定しますか？";
const std::string kSizeLow = "設定警告: 確保するメモリー量が低すぎます\r最低推奨レベルの 50MByte に設定しますか？";
const std::string kSize4G = "設定エラー: 確保するメモリー量は４Ｇバイト以下です。";
std::string triggerHigh(int mb) { return "設定エラー: トリガーレベルが高すぎます\r最高レベルの " + std::to_string(mb) + " MByte に設定されます"; }
std::string sizeHigh(int mb) { return "設定エラー: 確保するメモリー量が、大きすぎます\r確保する最高レベルの " + std::to_string(mb) + " MByte に設定されます。"; }
std::string triggerSet(int mb) { return "設定完了: トリガーレベルは " + std::to_string(mb) + " MByte に設定されました"; }
std::string sizeSet(int mb) { return "設定完了: 確保するメモリー量は " + std::to_string(mb) + " MByte に設定されました"; }

TEST_F(Settings, DecideChecksBothFiguresAndStoresThemTogether) {
    const std::vector<DecideCase> cases = {
        {1024, "200", "100", {}, {}, 200, 100},
        {1024, "30", "100", {A::Yes}, {kTriggerLow, triggerSet(50)}, 50, 100},
        {1024, "30", "100", {A::No}, {kTriggerLow, triggerSet(30)}, 30, 100},
        {1024, "", "100", {A::No}, {kTriggerLow, triggerSet(0)}, 0, 100},
        {1024, "30", "70", {A::Cancel}, {kTriggerLow}, 128, 70},   // the stored trigger back, the size still stored
        {512, "500", "100", {}, {triggerHigh(447)}, 447, 100},
        {512, "99999999999999999999999", "100", {}, {triggerHigh(447)}, 447, 100},
        {1024, "12abc", "100", {A::No}, {kTriggerLow, triggerSet(12)}, 12, 100},
        {1024, "200", "5000", {}, {kSize4G, sizeHigh(960)}, 200, 960},
        {8192, "200", "5000", {}, {kSize4G}, 200, 4096},
        {1024, "100", "20", {A::Yes}, {kSizeLow, sizeSet(50)}, 100, 50},
        {1024, "100", "", {A::No}, {kSizeLow, sizeSet(0)}, 100, 0},
        {1024, "100", "20", {A::Cancel}, {kSizeLow}, 100, 128},
        {1024, "10", "10", {A::Yes, A::No}, {kTriggerLow, kSizeLow, triggerSet(50), sizeSet(10)}, 50, 10},
    };
    for (const DecideCase& c : cases) {
        SCOPED_TRACE(c.trigger + " / " + c.size);
        memory(c.totalMB);
        files.write("AppSettingFlag", "MemCleanExeMemSize", std::to_string(128 * MB));   // read on opening
        files.write("AppSettingFlag", "MemCleanSize", std::string("128"));
        presenter().open();
        boxes();   // the cleaner's own box about a changed memory size
        machine.scriptedAnswers.assign(c.answers.begin(), c.answers.end());
        decide(c.trigger, c.size);
        EXPECT_EQ(boxes(), c.boxes);
        EXPECT_EQ(view.texts[C::TriggerBox], std::to_string(c.storedTrigger));
        EXPECT_EQ(view.texts[C::SizeBox], std::to_string(c.storedSize));
        EXPECT_EQ(shared("AppSettingFlag", "PhysMemSize"), std::to_string(c.totalMB * MB));
        cleaning::readSettings(ui.windows.context());   // the cleaner reads back what was stored
        EXPECT_EQ(s.cleaner.triggerBytes, c.storedTrigger * static_cast<std::int64_t>(MB));
        EXPECT_EQ(s.cleaner.sizeMB, c.storedSize);
        presenter().onClosed();
    }
}

TEST_F(Settings, OthersThanAdministratorsAndAnUnwritableFileGetNoCleanerValues) {
    presenter().open();
    EXPECT_EQ(view.texts[C::TriggerBox], "128");
    EXPECT_TRUE(view.enabled.empty());
    EXPECT_EQ(view.texts[C::UserStartup], "alice に設定");
    EXPECT_EQ(view.tooltips[C::UserIcon], "alice のアイコンをアクティブにします");
    presenter().onClosed();
    for (const bool administrator : {false, true}) {
        machine.findUser("alice")->groups = {administrator ? "Administrators" : "Users"};
        s.settings.sharedWritable = !administrator;
        view.enabled.clear();
        view.texts.clear();
        presenter().open();
        for (C c : {C::TriggerBox, C::SizeBox, C::CleanerFrame, C::AutoButton, C::DecideButton, C::AllUsersStartup, C::AllUsersIcon})
            EXPECT_FALSE(view.enabled.at(c));
        EXPECT_EQ(view.enabled.size(), 7u);
        EXPECT_EQ(view.texts.count(C::TriggerBox), administrator ? 0u : 1u);   // "****" stays
        presenter().onClosed();
    }
}

TEST_F(Settings, OpeningWritesNothingAndMakesNoShortcut) {
    files.write("StartupSetting", std::string("AllUsers"), std::string("True"));
    files.write("IconSetting", std::string("AllUsers"), std::string("True"));
    files.writeUser("StartupSetting", testing::kAliceSid, std::string("True"));
    files.writeUser("IconSetting", testing::kAliceSid, std::string("True"));
    files.writeUser("AppSetting", "FormStyle", std::string("1"));
    const int writes = machine.files.writeCount();
    presenter().open();
    EXPECT_EQ(machine.files.writeCount(), writes);
    EXPECT_TRUE(machine.shortcutDetails.empty());
    for (C c : {C::AllUsersStartup, C::AllUsersIcon, C::UserStartup, C::UserIcon, C::GraphOption}) EXPECT_TRUE(view.checked[c]);
    EXPECT_FALSE(view.checked[C::NumbersOption]);
}

TEST_F(Settings, ShortcutsAndIconsAreMadeAndStored) {
    presenter().open();
    for (const auto& [box, folder] : {std::pair{C::AllUsersStartup, kCommon}, {C::UserStartup, kOwn}}) {
        const std::string link = folder + "\\Tidemark.lnk";
        view.click(box);
        const auto d = machine.shortcutDetails.at(sim::pathKey(link));
        EXPECT_EQ(d.target + " " + d.arguments + " " + d.description,
                  "C:\\Program Files\\Tidemark\\Tidemark.exe stup システムメモリーを監視します");
        view.click(box);
        EXPECT_FALSE(machine.files.fileExists(link));
    }
    view.click(C::AllUsersIcon);
    view.click(C::UserIcon);
    EXPECT_TRUE(s.display.allUsersIcon && s.display.userIcon);
    EXPECT_EQ(shared("StartupSetting", "AllUsers") + user("StartupSetting", testing::kAliceSid), "FalseFalse");
    EXPECT_EQ(shared("IconSetting", "AllUsers") + user("IconSetting", testing::kAliceSid), "TrueTrue");
    EXPECT_TRUE(boxes().empty());
}

TEST_F(Settings, AShortcutThatCannotBeMadeOrRemovedIsNoSetting) {
    presenter().open();
    machine.files.denyNewEntriesIn(kCommon);
    view.click(C::AllUsersStartup);
    EXPECT_EQ(boxes(), Boxes{"スタートアップ設定: スタートアップのショートカットを作成できませんでした。\r\nアクセスが拒否されました。"});
    EXPECT_FALSE(view.checked[C::AllUsersStartup]);
    EXPECT_EQ(shared("StartupSetting", "AllUsers"), "");
    machine.files.allowNewEntriesIn(kCommon);
    view.click(C::AllUsersStartup);
    machine.files.denyWrites(kCommon + "\\Tidemark.lnk");
    view.click(C::AllUsersStartup);
    EXPECT_EQ(boxes(), Boxes{"スタートアップ設定: スタートアップのショートカットを削除できませんでした。\r\nアクセスが拒否されました。"});
    EXPECT_TRUE(view.checked[C::AllUsersStartup]);
    EXPECT_EQ(shared("StartupSetting", "AllUsers"), "True");
}

TEST_F(Settings, NoFailedWriteIsShownAsSaved) {
    presenter().open();
    machine.files.denyWrites(s.settings.sharedPath);
    view.click(C::AllUsersStartup);   // the key fails: the shortcut goes again
    EXPECT_FALSE(machine.files.fileExists(kCommon + "\\Tidemark.lnk"));
    view.click(C::AllUsersIcon);
    decide("200", "100");
    EXPECT_EQ(boxes(), (Boxes{kSaveFailed, kSaveFailed, kSaveFailed}));
    EXPECT_FALSE(view.checked[C::AllUsersStartup] || view.checked[C::AllUsersIcon] || s.display.allUsersIcon);
    EXPECT_EQ(view.texts[C::TriggerBox] + "/" + view.texts[C::SizeBox], "128/128");
    // The user's file: icon and style hold for this run, the shortcut goes back.
    machine.files.denyWrites("C:\\Users\\alice\\AppData\\Roaming\\Quillon");
    view.click(C::UserIcon);
    view.click(C::GraphOption);
    view.click(C::UserStartup);
    EXPECT_EQ(boxes(), (Boxes{kNotRemembered, kNotRemembered, kSaveFailed}));
    EXPECT_TRUE(s.display.userIcon && s.display.windowStyle == 1);
    EXPECT_FALSE(view.checked[C::UserStartup] || machine.files.fileExists(kOwn + "\\Tidemark.lnk"));
}

TEST_F(Settings, WithoutASidNoPerUserKeyIsWritten) {
    presenter().open();
    s.user.sid.clear();
    view.click(C::UserIcon);
    view.click(C::UserStartup);
    EXPECT_TRUE(s.display.userIcon && machine.files.fileExists(kOwn + "\\Tidemark.lnk"));
    EXPECT_EQ(boxes(), Boxes{kNotRemembered});
    EXPECT_EQ(machine.files.contents("C:\\Users\\alice\\AppData\\Roaming\\Quillon\\Kestrel\\Tidemark.ini"), "");
}

TEST_F(Settings, StyleSwitchesTheStatusWindowAtOnce) {
    ui.windows.toggleSimpleWindow();
    presenter().open();
    ui.log.clear();
    view.click(C::GraphOption);
    view.click(C::GraphOption);   // already selected: nothing
    EXPECT_EQ(user("AppSetting", "FormStyle"), "1");
    view.click(C::NumbersOption);
    EXPECT_EQ(user("AppSetting", "FormStyle"), "0");
    EXPECT_EQ(ui.log, (testing::Log{"frmSimple hidden", "frmGraph shown", "frmGraph hidden", "frmSimple shown"}));
}

TEST_F(Settings, OpenedOnceFromTheTrayAndTheStatusWindowsAndModallyOnANewMemorySize) {
    ui.windows.tray().menuCommand(TrayCommand::Fix);
    ui.windows.window(StatusWindow::Simple).onSettingsClicked();
    ui.windows.window(StatusWindow::Graph).onSettingsClicked();
    EXPECT_EQ(view.fronts, 2);
    ui.windows.closeSettingsWindow();
    EXPECT_FALSE(s.windows.settingsOpen);
    ui.windows.window(StatusWindow::Graph).onSettingsClicked();
    presenter().onClosed();
    EXPECT_EQ(ui.log, (testing::Log{"settings created", "settings shown", "settings destroyed", "settings created",
                                    "settings shown", "settings destroyed"}));
    ui.log.clear();
    s.cleaner.known = true;
    files.write("AppSettingFlag", "PhysMemSize", std::string("1"));
    memory(2048);   // more memory since the values were last read
    view.whileModal = [&] {
        EXPECT_EQ(view.texts[C::TriggerBox], "128");
        decide("100", "90");   // chosen for the memory there is now
    };
    cleaning::readSettings(ui.windows.context());
    EXPECT_EQ(ui.log, (testing::Log{"settings created", "settings modal", "settings destroyed"}));
    EXPECT_EQ(boxes().size(), 1u);   // the cleaner's own box; the window did not read again
    EXPECT_EQ(shared("AppSettingFlag", "PhysMemSize"), std::to_string(2048 * MB));
    cleaning::readSettings(ui.windows.context());
    EXPECT_EQ(ui.log.size(), 3u) << "opened again on the same memory";
}

TEST_F(Settings, FocusSelectsItsPageLettersBeepAndTheWindowStaysOnTheWorkArea) {
    presenter().open();
    for (const auto& [control, tab] : {std::pair{C::UserStartup, SettingsTab::Startup}, {C::AllUsersIcon, SettingsTab::Icon},
                                       {C::NumbersOption, SettingsTab::Screen}, {C::SizeBox, SettingsTab::Cleaner}}) {
        presenter().onFocused(control);
        EXPECT_EQ(view.tab, tab);
    }
    EXPECT_EQ(view.selected, std::vector<C>{C::SizeBox});
    EXPECT_FALSE(presenter().onCharacterTyped(C::TriggerBox, 'a'));
    EXPECT_EQ(view.beeps, 1);
    machine.workArea = platform::Rect{0, 30, 1920, 1050};
    for (const auto& [dpi, width] : {std::pair{96, 300}, {192, 300}, {192, 700}}) {
        presenter().onClosed();
        view.dpiValue = dpi;
        view.widthPixels = width;
        presenter().open();
        EXPECT_EQ(view.position, (PixelPoint{std::min(1920 - twipsToPixels(4995, dpi), 1920 - width), 30 + twipsToPixels(2400, dpi)}));
    }
}

} // namespace
} // namespace tidemark::monitor
