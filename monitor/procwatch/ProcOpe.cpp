#include "monitor/procwatch/ProcOpe.h"

#include "monitor/procwatch/ProcessWatch.h"
#include "shared/IniKeys.h"
#include "shared/IniOpe.h"

namespace tidemark::monitor::ProcOpe {
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
    const std::string all = ProcessWatch::kProtectedNames;
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

void ProcListReadTask(platform::Platform& platform, ProgramState& state, WatchListEdit& list) {
    IniOpe ini(platform, state);
    bool found = false;
    long last = 0;
    const auto names = ini.GetIniKeyName(ini::section::ExitTrigProcList, found, last);
    if (!found) return;
    for (const auto& name : names) {
        long n = 0;
        const std::string path = ini.IniReadTask(ini::section::ExitTrigProcList, name, n);
        if (path.empty()) continue;
        list.HideLstDrop.push_back(name + ">" + path);
        list.lstDrop.push_back(name);
    }
}

void ProcListWriteTask(platform::Platform& platform, ProgramState& state, WatchListEdit& list) {
    IniOpe ini(platform, state);
    ini.IniWriteTask(ini::section::ExitTrigProcList, std::nullopt, std::nullopt);
    if (!list.lstDrop.empty()) {
        for (std::size_t i = 0; i < list.lstDrop.size(); ++i) {
            const std::string& entry = list.HideLstDrop[i];
            const auto gt = entry.find('>');
            ini.IniWriteTask(ini::section::ExitTrigProcList, list.lstDrop[i],
                             gt == std::string::npos ? std::string() : entry.substr(gt + 1));
        }
        ini.IniWriteTask(ini::section::AppSettingFlag, ini::key::STMCProcReplaceFlag, std::string(ini::word::True));
    } else {
        ini.IniWriteTask(ini::section::AppSettingFlag, ini::key::STMCProcReplaceFlag, std::string(ini::word::NonProc));
    }
    say(platform, list, "プロセス登録処理", "プロセス設定が登録されました", MessageIcon::Information);
}

void ProcAddCheckTask(platform::Platform& platform, WatchListEdit& list, const std::string& ownName,
                      const std::string& path, bool& ask, bool& changed) {
    std::string name, fullPath;
    if (!ProcessWatch::GetProcName(platform, path, name, fullPath)) {
        say(platform, list, "入力エラー", "実行形式のファイルかショートカットを指定してください", MessageIcon::Error);
        return;
    }
    if (name == ownName) {
        const auto answer =
            say(platform, list, "プロセス監視設定の警告",
                std::string("追加指定項目 ") + kCrLf + name + kCrLf + "は現在実行中の「自分のプロセス」です。" + kCrLf +
                    "このプロセスを追加指定すると、メモリークリーナーは実行されなくなります。" + kCrLf + "よろしいですか？",
                MessageIcon::Exclamation, MessageButtons::YesNo);
        if (answer == MessageAnswer::No) return;
        if (ask) ask = false;
    }
    for (const auto& protectedName : protectedNames()) {
        if (name == protectedName) {
            say(platform, list, "プロセス監視設定の警告",
                std::string("追加指定項目 ") + kCrLf + name + kCrLf + "はこのプログラムの管理に必要なプロセスです。" + kCrLf +
                    "追加指定することは出来ません。",
                MessageIcon::Error);
            return;
        }
    }
    ProcAddTask(platform, list, name, ask, fullPath, changed);
}

void ProcAddTask(platform::Platform& platform, WatchListEdit& list, const std::string& name, bool ask,
                 const std::string& fullPath, bool& changed) {
    bool duplicate = false;
    for (const auto& entry : list.lstDrop) {
        if (entry != name) continue;
        say(platform, list, "プロセス監視設定", std::string("追加指定項目 ") + kCrLf + name + kCrLf + "は登録済みです",
            MessageIcon::Exclamation);
        duplicate = true;
    }
    if (duplicate) return;
    if (ask) {
        const auto answer = say(platform, list, "プロセス監視設定",
                                std::string("追加指定項目 ") + kCrLf + name + kCrLf + "を追加しますか？",
                                MessageIcon::Information, MessageButtons::YesNo);
        if (answer == MessageAnswer::No) return;
    }
    list.lstDrop.push_back(name);
    list.HideLstDrop.push_back(name + ">" + fullPath);
    changed = true;
    if (!list.cmdReflecEnabled) {
        list.cmdReflecEnabled = true;
        list.cmdReflecTooltip = "変更された設定を保存します";
        list.mnuSettingReflecEnabled = true;
    }
}

} // namespace tidemark::monitor::ProcOpe
