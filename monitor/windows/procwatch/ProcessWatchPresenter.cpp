#include "monitor/windows/procwatch/ProcessWatchPresenter.h"

#include <utility>

#include "monitor/windows/UnreadableSettings.h"
#include "monitor/core/MemoryCleaner.h"
#include "platform/KnownFolders.h"
#include "shared/settings/SettingsFiles.h"
#include "shared/settings/SettingsKeys.h"
#include "shared/system/CommandLine.h"
#include "shared/system/WindowlessProgram.h"

namespace tidemark::monitor {
namespace {

using Control = WatchControl;
using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

constexpr const char* kTitle = "プロセス監視設定";
constexpr const char* kFileIconTip = "選択されたファイルのアイコンを表示しています";
constexpr const char* kDeleteTip = "選択されているプロセスを削除します。";
constexpr const char* kApplyTip = "変更された設定を保存します";
constexpr const char* kUnsaved = "プロセス監視設定が変更されています。\r\n変更された設定内容が保存されていません。\r\n";

bool isListedKind(const std::string& name) {
    if (name.size() < 4) return false;
    const std::string tail = name.substr(name.size() - 4);
    return sameProgramName(tail, ".lnk") || sameProgramName(tail, ".exe") || sameProgramName(tail, "link");
}

std::string baseName(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    return (dot == std::string::npos ? name : name.substr(0, dot)) + ".exe";
}

} // namespace

ProcessWatchPresenter::ProcessWatchPresenter(MonitorContext& context, ProcessWatchView& view)
    : context_(context), view_(view) {}

void ProcessWatchPresenter::showModal() {
    view_.runModal();
    view_.stopTimer();
    stowel_.reset();
}

void ProcessWatchPresenter::load() {
    view_.setTooltip(Control::cover, "特定のプロセスが実行中に、メモリークリーナーを実行させないようにします");
    view_.setTooltip(Control::fileIcon, kFileIconTip);
    view_.setTooltip(Control::fileList,
                     "ここに表示されるファイルをドラッグして下にドロップするか、右クリックで追加してください");
    view_.setTooltip(Control::programFilesButton, "プログラムファイルフォルダに移動します");
    view_.setTooltip(Control::startMenuButton, "スタートメニューに移動します");
    view_.setTooltip(Control::startMenuAllButton, "スタートメニュー ( All Users ) に移動します");
    view_.setTooltip(Control::title, "ここに指定されたプロセスが実行中は、メモリークリーナーは実行されません");
    view_.setTooltip(Control::watchList, "実行形式のファイルかショートカットを、ここにドロップしてください");

    lastGoodDrive_ = view_.drive();
    ownName_ = baseName(context_.platform.process.executablePath());
    view_.enable(Control::deleteButton, false);
    markSaved();
    view_.setFilePattern("*.exe;*.lnk;*.link");
    onJumpClicked(platform::csidl::ProgramFiles);
    // An empty list for one that could not be read would be saved over it.
    if (!reload()) {
        tellSettingsUnreadable(context_.platform.messages, view_.handle());
        view_.close();
    }
}

void ProcessWatchPresenter::onDriveChosen(const std::string& drive) {
    const int error = view_.showDrive(drive);
    if (error == 0) {
        lastGoodDrive_ = drive;
        return;
    }
    if (error == 68 || error == 71)
        ask("リムーバブルデバイスをセットしてください", kTitle, MessageIcon::Exclamation);
    else
        ask("エラーナンバー " + std::to_string(error) +
                " エラーです\r\n表示されたエラーナンバーと、エラーが発生した出来るだけ詳しい状況を\r\n"
                "作者に連絡していただけると、以後のプログラム改善に大変助かります",
            kTitle, MessageIcon::Error);
    view_.showDrive(lastGoodDrive_);
}

void ProcessWatchPresenter::onJumpClicked(int csidl) {
    const auto folder = context_.platform.folders.folderPath(csidl);
    if (!folder) return;
    const std::string drive = folder->substr(0, folder->find('\\')) + "\\";
    if (view_.showDrive(drive) == 0) lastGoodDrive_ = view_.drive();
    view_.showFolder(*folder);
    clearFileIcon();
}

void ProcessWatchPresenter::onFileSelected() {
    if (view_.selectedFile()) showFileIcon();
}

void ProcessWatchPresenter::onFileCleared() { clearFileIcon(); }

void ProcessWatchPresenter::onFileRightClicked() {
    const auto file = view_.selectedFile();
    view_.enableMenuItem(WatchMenuItem::add, file && isListedKind(*file));
    view_.popUp(WatchPopup::fileList);
}

void ProcessWatchPresenter::onFileDoubleClicked() {
    const auto file = view_.selectedFile();
    if (file && isListedKind(*file)) add(selectedFilePath(), true);
    if (file) view_.clearFileSelection();
    clearFileIcon();
}

void ProcessWatchPresenter::onAddChosen() {
    if (!view_.selectedFile()) return;
    add(selectedFilePath(), true);
    view_.clearFileSelection();
    clearFileIcon();
}

void ProcessWatchPresenter::onFileMenuCancelled() {
    view_.clearFileSelection();
    clearFileIcon();
}

void ProcessWatchPresenter::onWatchKeyReleased() {
    if (view_.selectedWatch()) showWatchIcon();
}

void ProcessWatchPresenter::onWatchClicked() {
    const bool selected = view_.selectedWatch().has_value();
    view_.enable(Control::deleteButton, selected);
    view_.setTooltip(Control::deleteButton, selected ? kDeleteTip : "");
    if (selected)
        showWatchIcon();
    else
        view_.showIcon(Control::watchIcon, "", "");
}

void ProcessWatchPresenter::onWatchRightClicked() {
    const bool selected = view_.selectedWatch().has_value();
    view_.enableMenuItem(WatchMenuItem::remove, selected);
    view_.enable(Control::deleteButton, selected);
    view_.setTooltip(Control::deleteButton, selected ? kDeleteTip : "");
    view_.popUp(WatchPopup::watchList);
}

void ProcessWatchPresenter::onWatchDoubleClicked() {
    view_.clearWatchSelection();
    view_.enable(Control::deleteButton, false);
    view_.setTooltip(Control::deleteButton, "");
    view_.showIcon(Control::watchIcon, "", "");
}

void ProcessWatchPresenter::onWatchMenuCancelled() {
    view_.clearWatchSelection();
    view_.enable(Control::deleteButton, false);
    view_.showIcon(Control::watchIcon, "", "");
}

void ProcessWatchPresenter::onFilesDropped(const std::vector<std::string>& paths) {
    // Each file in turn without the question; a refused one leaves the
    // others to be added.
    for (const auto& path : paths) add(path, false);
}

void ProcessWatchPresenter::onDeleteClicked() {
    remove();
    view_.setTooltip(Control::deleteButton, "");
}

void ProcessWatchPresenter::onDeleteChosen() { remove(); }

void ProcessWatchPresenter::onApplyClicked() {
    if (save()) ask("プロセス設定が登録されました", "プロセス登録処理", MessageIcon::Information);
}

void ProcessWatchPresenter::onTransferChosen() {
    if (stowel_) return;
    if (changed_) {
        const auto answer = ask(std::string(kUnsaved) + "設定の保存と読込の前に、変更された設定を保存しますか？", kTitle,
                                MessageIcon::Exclamation, MessageButtons::YesNoCancel);
        if (answer == MessageAnswer::Cancel) return;
        if (answer == MessageAnswer::Yes && !save()) return;
    }
    const std::string path = windowless::ownFolder(context_.platform) + "\\Stowel.exe";
    view_.enableWindow(false);
    platform::StartedProgram started =
        context_.platform.launcher.startProgram(view_.handle(), quoteArgument(path), "", platform::showcmd::Normal);
    if (!started.program) {
        view_.enableWindow(true);
        ask("設定の保存と読込を行うプログラムを起動できませんでした。\r\n" + path, kTitle, MessageIcon::Error);
        return;
    }
    stowel_ = std::move(started.program);
    view_.startTimer(kStowelPollMs);
}

void ProcessWatchPresenter::onTimer() {
    if (!stowel_ || !stowel_->exitCode()) return;
    stowel_.reset();
    view_.stopTimer();
    view_.enableWindow(true);
    // The window now shows what the file holds: nothing is left unsaved.
    reload();
    markSaved();
    cleaning::readSettings(context_);
}

void ProcessWatchPresenter::onCloseRequested() {
    if (stowel_) return;
    if (changed_ && ask(std::string(kUnsaved) + "このまま終了しますか？", kTitle, MessageIcon::Exclamation,
                        MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    view_.stopTimer();
    view_.close();
}

std::string ProcessWatchPresenter::selectedFilePath() {
    std::string folder = view_.fileFolder();
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder + view_.selectedFile().value_or(std::string());
}

void ProcessWatchPresenter::showFileIcon() { view_.showIcon(Control::fileIcon, selectedFilePath(), kFileIconTip); }

void ProcessWatchPresenter::clearFileIcon() { view_.showIcon(Control::fileIcon, "", ""); }

void ProcessWatchPresenter::showWatchIcon() {
    const auto index = view_.selectedWatch();
    if (!index || *index >= entries_.size()) return;
    const WatchEntry& entry = entries_[*index];
    const std::string stored =
        SettingsFiles(context_.platform, context_.state).read(ini::section::ExitTrigProcList, entry.name);
    if (!stored.empty())
        view_.showIcon(Control::watchIcon, stored, "このプロセスは登録済みです");
    else
        view_.showIcon(Control::watchIcon, entry.path, "このプロセスは未登録です");
}

void ProcessWatchPresenter::add(const std::string& path, bool ask) {
    if (!addWatchedFile(context_.platform, view_.handle(), entries_, ownName_, path, ask)) return;
    view_.addWatchName(entries_.back().name);
    markChanged();
}

void ProcessWatchPresenter::remove() {
    const auto index = view_.selectedWatch();
    if (!index || *index >= entries_.size()) return;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(*index));
    view_.removeWatchName(*index);
    view_.enable(Control::deleteButton, false);
    view_.showIcon(Control::watchIcon, "", "");
    markChanged();
}

void ProcessWatchPresenter::markChanged() {
    changed_ = true;
    if (applyEnabled_) return;
    applyEnabled_ = true;
    view_.enable(Control::applyButton, true);
    view_.setTooltip(Control::applyButton, kApplyTip);
    view_.enableMenuItem(WatchMenuItem::apply, true);
}

void ProcessWatchPresenter::markSaved() {
    changed_ = false;
    applyEnabled_ = false;
    view_.enable(Control::applyButton, false);
    view_.setTooltip(Control::applyButton, "");
    view_.enableMenuItem(WatchMenuItem::apply, false);
}

bool ProcessWatchPresenter::save() {
    const bool ok = saveWatchList(context_.platform, context_.state, entries_);
    context_.state.settings.sharedWritable = ok;
    if (!ok) {
        ask("設定の保存に失敗しました", "プロセス登録処理", MessageIcon::Error);
        return false;
    }
    markSaved();
    return true;
}

bool ProcessWatchPresenter::reload() {
    // A file that cannot be read now leaves the list as it is.
    auto read = readWatchList(context_.platform, context_.state);
    if (!read) return false;
    entries_ = std::move(*read);
    std::vector<std::string> names;
    names.reserve(entries_.size());
    for (const auto& e : entries_) names.push_back(e.name);
    view_.setWatchNames(names);
    view_.showIcon(Control::watchIcon, "", "");
    return true;
}

MessageAnswer ProcessWatchPresenter::ask(const std::string& text, const std::string& title, MessageIcon icon,
                                         MessageButtons buttons) {
    platform::MessageRequest m;
    m.owner = view_.handle();
    m.text = text;
    m.title = title;
    m.icon = icon;
    m.buttons = buttons;
    return context_.platform.messages.show(m);
}

} // namespace tidemark::monitor
