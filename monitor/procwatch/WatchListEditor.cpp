#include "monitor/procwatch/WatchListEditor.h"

#include "shared/cleaner/ProcessWatch.h"
#include "shared/settings/SettingsKeys.h"
#include "shared/settings/SettingsFiles.h"

namespace tidemark::monitor {
namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

constexpr const char* kCrLf = "\r\n";

MessageAnswer say(platform::Platform& platform, const WatchListEdit& list, const std::string& title,
                  const std::string& text, MessageIcon icon, MessageButtons buttons = MessageButtons::Ok) {
    platform::MessageRequest m;
    m.owner = list.owner;
    m.title = title;
    m.text = text;
    m.icon = icon;
    m.buttons = buttons;
    return platform.messages.show(m);
}

std::vector<std::string> protectedNames() {
    std::vector<std::string> out;
    const std::string all = cleaner::kProtectedNames;
    std::size_t start = 0;
    for (;;) {
        const auto gt = all.find('>', start);
        out.push_back(all.substr(start, gt == std::string::npos ? std::string::npos : gt - start));
        if (gt == std::string::npos) break;
        start = gt + 1;
    }
    return out;
}

} // namespace

void readWatchList(platform::Platform& platform, ProgramState& state, WatchListEdit& list) {
    SettingsFiles files(platform, state);
    for (const auto& name : files.keyNames(ini::section::ExitTrigProcList)) {
        const std::string path = files.read(ini::section::ExitTrigProcList, name);
        if (path.empty()) continue;
        list.entries.push_back(name + ">" + path);
        list.names.push_back(name);
    }
}

void saveWatchList(platform::Platform& platform, ProgramState& state, WatchListEdit& list) {
    SettingsFiles files(platform, state);
    files.write(ini::section::ExitTrigProcList, std::nullopt, std::nullopt);
    if (!list.names.empty()) {
        for (std::size_t i = 0; i < list.names.size(); ++i) {
            const std::string& entry = list.entries[i];
            const auto gt = entry.find('>');
            files.write(ini::section::ExitTrigProcList, list.names[i],
                             gt == std::string::npos ? std::string() : entry.substr(gt + 1));
        }
        files.write(ini::section::AppSettingFlag, ini::key::STMCProcReplaceFlag, std::string(ini::word::True));
    } else {
        files.write(ini::section::AppSettingFlag, ini::key::STMCProcReplaceFlag, std::string(ini::word::NonProc));
    }
    say(platform, list, "プロセス登録処理", "プロセス設定が登録されました", MessageIcon::Information);
}

bool addDroppedFile(platform::Platform& platform, WatchListEdit& list, const std::string& ownName,
                    const std::string& path, bool& ask) {
    const cleaner::DroppedFile dropped = cleaner::programOfDroppedFile(platform, path);
    const std::string& name = dropped.name;
    if (!dropped.isProgram) {
        say(platform, list, "入力エラー", "実行形式のファイルかショートカットを指定してください", MessageIcon::Error);
        return false;
    }
    if (name == ownName) {
        const auto answer =
            say(platform, list, "プロセス監視設定の警告",
                std::string("追加指定項目 ") + kCrLf + name + kCrLf + "は現在実行中の「自分のプロセス」です。" + kCrLf +
                    "このプロセスを追加指定すると、メモリークリーナーは実行されなくなります。" + kCrLf + "よろしいですか？",
                MessageIcon::Exclamation, MessageButtons::YesNo);
        if (answer == MessageAnswer::No) return false;
        if (ask) ask = false;
    }
    for (const auto& protectedName : protectedNames()) {
        if (name == protectedName) {
            say(platform, list, "プロセス監視設定の警告",
                std::string("追加指定項目 ") + kCrLf + name + kCrLf + "はこのプログラムの管理に必要なプロセスです。" + kCrLf +
                    "追加指定することは出来ません。",
                MessageIcon::Error);
            return false;
        }
    }
    return addProgram(platform, list, name, ask, dropped.fullPath);
}

bool addProgram(platform::Platform& platform, WatchListEdit& list, const std::string& name, bool ask,
                const std::string& fullPath) {
    bool duplicate = false;
    for (const auto& entry : list.names) {
        if (entry != name) continue;
        say(platform, list, "プロセス監視設定", std::string("追加指定項目 ") + kCrLf + name + kCrLf + "は登録済みです",
            MessageIcon::Exclamation);
        duplicate = true;
    }
    if (duplicate) return false;
    if (ask) {
        const auto answer = say(platform, list, "プロセス監視設定",
                                std::string("追加指定項目 ") + kCrLf + name + kCrLf + "を追加しますか？",
                                MessageIcon::Information, MessageButtons::YesNo);
        if (answer == MessageAnswer::No) return false;
    }
    list.names.push_back(name);
    list.entries.push_back(name + ">" + fullPath);
    if (!list.saveEnabled) {
        list.saveEnabled = true;
        list.saveTooltip = "変更された設定を保存します";
        list.saveMenuEnabled = true;
    }
    return true;
}

} // namespace tidemark::monitor
