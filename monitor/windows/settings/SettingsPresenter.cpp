#include "monitor/windows/settings/SettingsPresenter.h"

#include <algorithm>
#include <vector>

#include "monitor/core/MemoryCleaner.h"
#include "monitor/core/MonitorLifecycle.h"
#include "monitor/windows/settings/SettingsFigures.h"
#include "shared/accounts/AccountGroups.h"
#include "shared/accounts/ProfileScan.h"
#include "shared/accounts/UserRegistration.h"
#include "shared/profile/ProfileEngine.h"
#include "shared/settings/DisplayChoices.h"
#include "shared/settings/SettingsFiles.h"
#include "shared/settings/SettingsKeys.h"
#include "shared/system/SystemQueries.h"
#include "shared/ui/Twips.h"

namespace tidemark::monitor {
namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;
namespace key = ini::key;
namespace section = ini::section;
namespace word = ini::word;
using namespace settings;

constexpr std::int64_t kMB = 1048576;
constexpr const char* kShortcutName = "\\Tidemark.lnk";
constexpr const char* kShortcutDescription = "システムメモリーを監視します";
constexpr const char* kWarningTitle = "設定警告";
constexpr const char* kDoneTitle = "設定完了";
constexpr const char* kErrorTitle = "設定エラー";

// Where the window goes: its left edge this far left of the work area's
// right edge, its top this far below the work area's top.
constexpr int kLeftOfRightEdgeTwips = 4995;
constexpr int kBelowTopTwips = 2400;

SettingsTab tabOf(SettingsControl control) {
    switch (control) {
    case SettingsControl::StartupFrame:
    case SettingsControl::AllUsersStartup:
    case SettingsControl::UserStartup: return SettingsTab::Startup;
    case SettingsControl::IconFrame:
    case SettingsControl::AllUsersIcon:
    case SettingsControl::UserIcon: return SettingsTab::Icon;
    case SettingsControl::ScreenFrame:
    case SettingsControl::GraphOption:
    case SettingsControl::NumbersOption: return SettingsTab::Screen;
    default: return SettingsTab::Cleaner;
    }
}

bool isAdministrator(platform::Platform& platform) {
    return AccountGroups(platform).isMember(word::Administrators).member;
}

std::string folderOf(const std::string& path) {
    const auto pos = path.find_last_of("\\/");
    return pos == std::string::npos ? std::string() : path.substr(0, pos);
}

const char* flagWord(bool on) { return on ? word::True : word::False; }

} // namespace

SettingsPresenter::SettingsPresenter(MonitorContext& context, SettingsView& view) : context_(context), view_(view) {}

void SettingsPresenter::open() {
    if (isOpen()) {
        bringToFront();
        return;
    }
    view_.create();
    load();
    view_.show();
}

void SettingsPresenter::openModal() {
    if (isOpen()) {
        bringToFront();
        return;
    }
    view_.create();
    load();
    view_.runModal();
    // However the window went, it is closed now.
    context_.state.windows.settingsOpen = false;
}

void SettingsPresenter::bringToFront() {
    if (isOpen()) view_.bringToFront();
}

void SettingsPresenter::close() {
    if (!isOpen()) return;
    onClosed();
}

void SettingsPresenter::onClosed() {
    context_.state.windows.settingsOpen = false;
    view_.destroy();
}

void SettingsPresenter::load() {
    MonitorState& s = context_.state;
    platform::Platform& p = context_.platform;
    // Open from here on: what the cleaner's read below raises finds the
    // window open and does not open a second one.
    s.windows.settingsOpen = true;
    if (s.user.sid.empty()) scanUserProfiles(p, s);
    if (!s.cleaner.readBusy) cleaning::readSettings(context_);
    placeWindow();

    view_.setTooltip(SettingsControl::CleanerFrame, "メモリークリーナーの設定をします");
    view_.setTooltip(SettingsControl::TriggerBox,
                     "メモリークリーナーを起動するトリガーメモリー（残りメモリー）サイズを決定します");
    view_.setTooltip(SettingsControl::SizeBox, "メモリークリーナーのクリーニングサイズを決定します");
    view_.setTooltip(SettingsControl::AutoButton, "Tidemarkの推奨設定値を算出します");
    view_.setTooltip(SettingsControl::DecideButton, "設定を決定します");
    view_.setTooltip(SettingsControl::StartupFrame, "ログオンしたときプログラムを実行するか決定します");
    view_.setTooltip(SettingsControl::AllUsersStartup, "ログオンしたすべての人がこのプログラムを実行します");
    view_.setTooltip(SettingsControl::IconFrame,
                     "Win XP の実行環境の場合、タスクトレイのアイコンを常に表示するか決定します");
    view_.setTooltip(SettingsControl::AllUsersIcon, "ログオンしたすべての人のアイコンをアクティブにします");
    view_.setTooltip(SettingsControl::ScreenFrame, "表示されるフォームのスタイルを決定します");
    view_.setTooltip(SettingsControl::GraphOption, "使用物理メモリをグラフ表示します");
    view_.setTooltip(SettingsControl::NumbersOption, "シンプルな数字のみで表示します");
    view_.setText(SettingsControl::UserStartup, s.user.logonName + " に設定");
    view_.setTooltip(SettingsControl::UserStartup, s.user.logonName + " がログオンした時プログラムが実行されます");
    view_.setText(SettingsControl::UserIcon, s.user.logonName + " に設定");
    view_.setTooltip(SettingsControl::UserIcon, s.user.logonName + " のアイコンをアクティブにします");

    const bool admin = isAdministrator(p);
    if (s.settings.sharedWritable) {
        view_.setText(SettingsControl::TriggerBox, std::to_string(s.cleaner.triggerBytes / kMB));
        view_.setText(SettingsControl::SizeBox, std::to_string(s.cleaner.sizeMB));
    }
    if (!s.settings.sharedWritable || !admin) {
        for (SettingsControl c : {SettingsControl::TriggerBox, SettingsControl::SizeBox, SettingsControl::CleanerFrame,
                                  SettingsControl::AutoButton, SettingsControl::DecideButton,
                                  SettingsControl::AllUsersStartup, SettingsControl::AllUsersIcon})
            view_.enable(c, false);
    }
    showStoredChoices();
}

void SettingsPresenter::placeWindow() {
    const auto corner = workAreaTopRight(context_.platform, context_.state.mainWindow);
    const bool known = corner.has_value();
    const long right = known ? corner->right : 0, top = known ? corner->top : 0;
    const int dpi = view_.dpi();
    int left = static_cast<int>(right) - twipsToPixels(kLeftOfRightEdgeTwips, dpi);
    // A window wider than that still ends at the work area's right edge.
    if (known && left + view_.width() > right) left = static_cast<int>(right) - view_.width();
    view_.moveTo(std::max(left, 0), static_cast<int>(top) + twipsToPixels(kBelowTopTwips, dpi));
}

// The boxes and buttons take the stored choices; nothing is written and no
// shortcut is made by opening the window.
void SettingsPresenter::showStoredChoices() {
    MonitorState& s = context_.state;
    if (s.settings.sharedWritable) {
        view_.setChecked(SettingsControl::AllUsersStartup, readShared(section::StartupSetting, key::AllUsers) == word::True);
        view_.setChecked(SettingsControl::AllUsersIcon, readShared(section::IconSetting, key::AllUsers) == word::True);
    }
    if (s.settings.userFileUsable && !s.user.sid.empty()) {
        view_.setChecked(SettingsControl::UserStartup,
                         readUser(section::StartupSetting, s.user.sid) == word::True);
        view_.setChecked(SettingsControl::UserIcon, readUser(section::IconSetting, s.user.sid) == word::True);
        readWindowStyle(context_.platform, s);
    } else {
        // Nothing stored for this user: this run's choices, and the
        // shortcut as it lies in the user's Startup folder.
        const auto folder = context_.platform.folders.folderPath(platform::csidl::Startup);
        view_.setChecked(SettingsControl::UserStartup, folder && context_.platform.files.fileExists(*folder + kShortcutName));
        view_.setChecked(SettingsControl::UserIcon, s.display.userIcon);
    }
    shownStyle_ = s.display.windowStyle == 1 ? 1 : 0;
    view_.setChecked(shownStyle_ == 1 ? SettingsControl::GraphOption : SettingsControl::NumbersOption, true);
}

void SettingsPresenter::onAutoClicked() {
    const Recommended r = recommendedValues(context_.state.memory.totalBytes);
    view_.setText(SettingsControl::TriggerBox, std::to_string(r.triggerMB));
    view_.setText(SettingsControl::SizeBox, std::to_string(r.sizeMB));
    view_.focus(SettingsControl::DecideButton);
}

void SettingsPresenter::onDecideClicked() {
    MonitorState& s = context_.state;
    std::vector<std::string> notices;
    const std::int64_t previousTrigger = s.cleaner.triggerBytes;
    const std::int16_t previousSize = s.cleaner.sizeMB;
    const std::optional<std::int64_t> trigger = decideTrigger(notices);
    const std::int64_t sizeMB = decideSize(notices);
    const std::int64_t newTrigger = trigger.value_or(previousTrigger);
    const auto newSize = static_cast<std::int16_t>(std::clamp<std::int64_t>(sizeMB, 0, kHighestSizeMB));
    if (!storeCleanerValues(newTrigger, newSize)) {
        // Nothing was stored: the boxes show what is.
        view_.setText(SettingsControl::TriggerBox, std::to_string(previousTrigger / kMB));
        view_.setText(SettingsControl::SizeBox, std::to_string(previousSize));
        tellSaveFailed();
        return;
    }
    s.cleaner.triggerBytes = newTrigger;
    s.cleaner.sizeMB = newSize;
    s.cleaner.physMemSize = cleaner::asSigned(s.memory.totalBytes);
    s.cleaner.known = true;
    for (const std::string& notice : notices) box(kDoneTitle, notice, MessageIcon::None);
    view_.focus(SettingsControl::TriggerBox);
}

// The trigger to store, in bytes; nullopt: the stored one stays.
std::optional<std::int64_t> SettingsPresenter::decideTrigger(std::vector<std::string>& notices) {
    const std::int64_t t = figureOf(view_.text(SettingsControl::TriggerBox));
    if (t < kLowestRecommendedMB) {
        const MessageAnswer a = box(kWarningTitle, "トリガーレベルが低すぎます\r最低推奨レベルの 50MByte に設定しますか？",
                                    MessageIcon::Exclamation, MessageButtons::YesNoCancel);
        if (a == MessageAnswer::Yes) {
            view_.setText(SettingsControl::TriggerBox, "50");
            notices.push_back("トリガーレベルは 50 MByte に設定されました");
            return 50 * kMB;
        }
        if (a == MessageAnswer::No) {
            const std::int64_t kept = std::max<std::int64_t>(t, 0);
            view_.setText(SettingsControl::TriggerBox, std::to_string(kept));
            notices.push_back("トリガーレベルは " + std::to_string(kept) + " MByte に設定されました");
            return kept * kMB;
        }
        view_.setText(SettingsControl::TriggerBox, std::to_string(context_.state.cleaner.triggerBytes / kMB));
        return std::nullopt;
    }
    std::int64_t mb = t;
    const std::int64_t highest = cleaner::highestTriggerMB(context_.state.memory.totalBytes);
    if (mb > highest) {
        box(kErrorTitle, "トリガーレベルが高すぎます\r最高レベルの " + std::to_string(highest) + " MByte に設定されます",
            MessageIcon::Error);
        mb = highest;
    }
    view_.setText(SettingsControl::TriggerBox, std::to_string(mb));
    return mb * kMB;
}

// The cleaning size to store, in MB.
std::int64_t SettingsPresenter::decideSize(std::vector<std::string>& notices) {
    const std::uint64_t total = context_.state.memory.totalBytes;
    std::int64_t s = figureOf(view_.text(SettingsControl::SizeBox));
    if (s > kHighestSizeMB) {
        box(kErrorTitle, "確保するメモリー量は４Ｇバイト以下です。", MessageIcon::Error);
        s = kHighestSizeMB;
        view_.setText(SettingsControl::SizeBox, std::to_string(s));
    }
    if (sizeTooLarge(s, total)) {
        const std::int64_t highest = highestSizeMB(total);
        box(kErrorTitle,
            "確保するメモリー量が、大きすぎます\r確保する最高レベルの " + std::to_string(highest) + " MByte に設定されます。",
            MessageIcon::Error);
        s = highest;
    } else if (s < kLowestRecommendedMB) {
        const MessageAnswer a = box(kWarningTitle, "確保するメモリー量が低すぎます\r最低推奨レベルの 50MByte に設定しますか？",
                                    MessageIcon::Exclamation, MessageButtons::YesNoCancel);
        if (a == MessageAnswer::Yes) {
            s = kLowestRecommendedMB;
            notices.push_back("確保するメモリー量は 50 MByte に設定されました");
        } else if (a == MessageAnswer::No) {
            s = std::max<std::int64_t>(s, 0);
            notices.push_back("確保するメモリー量は " + std::to_string(s) + " MByte に設定されました");
        } else {
            s = context_.state.cleaner.sizeMB;
        }
    }
    view_.setText(SettingsControl::SizeBox, std::to_string(s));
    return s;
}

// The trigger, the size and, for an administrator, the physical memory they
// were chosen for, in one write of the shared file.
bool SettingsPresenter::storeCleanerValues(std::int64_t trigger, std::int16_t sizeMB) {
    MonitorState& s = context_.state;
    std::vector<profile::ProfileEdit> edits{
        {section::AppSettingFlag, std::string(key::MemCleanExeMemSize), std::to_string(trigger)},
        {section::AppSettingFlag, std::string(key::MemCleanSize), std::to_string(sizeMB)},
    };
    if (isAdministrator(context_.platform))
        edits.push_back({section::AppSettingFlag, std::string(key::PhysMemSize),
                         std::to_string(cleaner::asSigned(s.memory.totalBytes))});
    s.settings.sharedWritable = profile::ProfileEngine(context_.platform).writeAll(edits, s.settings.sharedPath);
    return s.settings.sharedWritable;
}

void SettingsPresenter::onCheckClicked(SettingsControl checkBox, bool ticked) {
    switch (checkBox) {
    case SettingsControl::AllUsersStartup: onStartupClicked(true, ticked); break;
    case SettingsControl::UserStartup: onStartupClicked(false, ticked); break;
    case SettingsControl::AllUsersIcon: onAllUsersIconClicked(ticked); break;
    case SettingsControl::UserIcon: onUserIconClicked(ticked); break;
    default: break;
    }
}

// The shortcut is the setting: made or removed first, and the key written
// only when that worked; a key that cannot be written takes the shortcut
// back with it.
void SettingsPresenter::onStartupClicked(bool allUsers, bool ticked) {
    MonitorState& s = context_.state;
    platform::Platform& p = context_.platform;
    const SettingsControl checkBox = allUsers ? SettingsControl::AllUsersStartup : SettingsControl::UserStartup;
    const std::optional<std::string> startupFolder =
        systemFolder(p, allUsers ? platform::csidl::CommonStartup : platform::csidl::Startup);
    if (!startupFolder) {
        view_.setChecked(checkBox, !ticked);
        box("フォルダ取得の失敗", "システムフォルダの取得に失敗しました", MessageIcon::Error);
        return;
    }
    const std::string path = *startupFolder + kShortcutName;
    const platform::ShortcutDetails details{folderOf(p.process.executablePath()) + "\\Tidemark.exe",
                                            lifecycle::kStartupArgument, {}, kShortcutDescription};
    auto apply = [&](bool make) { return make ? p.shortcuts.create(path, details) : p.shortcuts.remove(path); };
    const platform::ShortcutResult done = apply(ticked);
    if (!done) {
        view_.setChecked(checkBox, !ticked);
        box("スタートアップ設定",
            std::string(ticked ? "スタートアップのショートカットを作成できませんでした。"
                               : "スタートアップのショートカットを削除できませんでした。") +
                "\r\n" + done.error,
            MessageIcon::Error);
        return;
    }
    // Without a SID there is no key for this user: the shortcut alone
    // holds the choice.
    if (!allUsers && s.user.sid.empty()) return;
    SettingsFiles files(p, s);
    bool written = false;
    if (allUsers) {
        written = files.write(section::StartupSetting, std::string(key::AllUsers), std::string(flagWord(ticked)));
        s.settings.sharedWritable = written;
    } else {
        written = files.writeUser(section::StartupSetting, s.user.sid, std::string(flagWord(ticked)));
        s.settings.userFileUsable = written;
    }
    if (written) return;
    apply(!ticked);
    view_.setChecked(checkBox, !ticked);
    tellSaveFailed();
}

void SettingsPresenter::onAllUsersIconClicked(bool ticked) {
    MonitorState& s = context_.state;
    s.settings.sharedWritable = SettingsFiles(context_.platform, s)
                            .write(section::IconSetting, std::string(key::AllUsers), std::string(flagWord(ticked)));
    if (s.settings.sharedWritable) {
        s.display.allUsersIcon = ticked;
        return;
    }
    view_.setChecked(SettingsControl::AllUsersIcon, !ticked);
    tellSaveFailed();
}

// The choice holds for this run whatever the write does; the user hears
// when it will not outlive the logon.
void SettingsPresenter::onUserIconClicked(bool ticked) {
    MonitorState& s = context_.state;
    s.display.userIcon = ticked;
    if (s.user.sid.empty()) {
        tellNotRemembered();
        return;
    }
    s.settings.userFileUsable = SettingsFiles(context_.platform, s)
                            .writeUser(section::IconSetting, s.user.sid, std::string(flagWord(ticked)));
    if (!s.settings.userFileUsable) tellNotRemembered();
}

void SettingsPresenter::onOptionSelected(SettingsControl option) {
    MonitorState& s = context_.state;
    const int style = option == SettingsControl::GraphOption ? 1 : 0;
    if (style == shownStyle_) return;
    shownStyle_ = style;
    s.settings.userFileUsable = SettingsFiles(context_.platform, s)
                            .writeUser(section::AppSetting, key::FormStyle, std::to_string(style));
    if (!s.settings.userFileUsable) tellNotRemembered();
    s.display.windowStyle = style;
    lifecycle::applyWindowStyle(context_);
}

bool SettingsPresenter::onCharacterTyped(SettingsControl, std::uint32_t code) {
    if (acceptsTypedCharacter(code)) return true;
    view_.beep();
    return false;
}

void SettingsPresenter::onFocused(SettingsControl control) {
    view_.selectTab(tabOf(control));
    if (control == SettingsControl::TriggerBox || control == SettingsControl::SizeBox) view_.selectAll(control);
}

MessageAnswer SettingsPresenter::box(const std::string& title, const std::string& text, MessageIcon icon,
                                     MessageButtons buttons) {
    platform::MessageRequest m;
    m.owner = view_.handle();
    m.title = title;
    m.text = text;
    m.icon = icon;
    m.buttons = buttons;
    return context_.platform.messages.show(m);
}

void SettingsPresenter::tellNotRemembered() {
    box("記憶されません", "設定の書込み権がないので\rこの設定はログオフ後、記憶されません", MessageIcon::Information);
}

void SettingsPresenter::tellSaveFailed() { box("設定保存の失敗", "設定の保存に失敗しました", MessageIcon::Error); }

std::string SettingsPresenter::readShared(const char* sectionName, const std::string& keyName) {
    return SettingsFiles(context_.platform, context_.state).read(sectionName, keyName);
}

std::string SettingsPresenter::readUser(const char* sectionName, const std::string& keyName) {
    return SettingsFiles(context_.platform, context_.state).readUser(sectionName, keyName);
}

} // namespace tidemark::monitor
