#include "monitor/windows/procwatch/WatchListEditor.h"

#include <algorithm>

#include "shared/cleaner/ProcessWatch.h"
#include "shared/profile/ProfileEngine.h"
#include "shared/settings/CodePageText.h"
#include "shared/settings/SettingsKeys.h"

namespace tidemark::monitor {
namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

constexpr const char* kCrLf = "\r\n";

MessageAnswer say(platform::Platform& platform, platform::NativeWindow owner, const std::string& title,
                  const std::string& text, MessageIcon icon, MessageButtons buttons = MessageButtons::Ok) {
    platform::MessageRequest m;
    m.owner = owner;
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

char foldCase(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string item(const std::string& name) { return std::string("追加指定項目 ") + kCrLf + name + kCrLf; }

} // namespace

bool sameProgramName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return foldCase(x) == foldCase(y); });
}

std::optional<std::vector<WatchEntry>> readWatchList(platform::Platform& platform, ProgramState& state) {
    profile::ProfileEngine engine(platform);
    const profile::ProfileSection section = engine.readSection(ini::section::ExitTrigProcList, state.settings.sharedPath);
    if (!section.fileRead && section.error != platform::fileerror::FileNotFound) return std::nullopt;
    std::vector<WatchEntry> out;
    out.reserve(section.entries.size());
    for (const auto& entry : section.entries) {
        // A name the file repeats is one key to the profile functions.
        const bool seen = std::any_of(out.begin(), out.end(),
                                      [&](const WatchEntry& e) { return sameProgramName(e.name, entry.name); });
        if (!seen) out.push_back({entry.name, entry.value});
    }
    return out;
}

bool saveWatchList(platform::Platform& platform, ProgramState& state, const std::vector<WatchEntry>& list) {
    std::vector<profile::ProfileEdit> edits;
    edits.reserve(list.size() + 2);
    edits.push_back({ini::section::ExitTrigProcList, std::nullopt, std::nullopt});
    // A name no key can hold would fail the whole write: the list never
    // takes one, and one here is left out rather than losing the rest.
    for (const auto& entry : list)
        if (profile::isWritableKeyName(entry.name) && entry.path.find('\0') == std::string::npos)
            edits.push_back({ini::section::ExitTrigProcList, entry.name, entry.path});
    edits.push_back({ini::section::AppSettingFlag, std::string(ini::key::STMCProcReplaceFlag),
                     std::string(list.empty() ? ini::word::NonProc : ini::word::True)});
    profile::ProfileEngine engine(platform);
    return engine.writeAll(edits, state.settings.sharedPath);
}

bool addWatchedFile(platform::Platform& platform, platform::NativeWindow owner, std::vector<WatchEntry>& list,
                    const std::string& ownName, const std::string& path, bool ask) {
    const cleaner::DroppedFile dropped = cleaner::programOfDroppedFile(platform, path);
    const std::string& name = dropped.name;
    if (!dropped.isProgram) {
        say(platform, owner, "入力エラー", "実行形式のファイルかショートカットを指定してください", MessageIcon::Error);
        return false;
    }
    if (!profile::isWritableKeyName(name)) {
        say(platform, owner, "入力エラー",
            item(name) + "は設定ファイルの項目名にできない名前です。" + kCrLf +
                "「=」を含む名前と、「[」か「;」で始まる名前は追加指定できません。",
            MessageIcon::Error);
        return false;
    }
    const std::string outside = ansi::charactersOutside(platform.codePage, name);
    if (!outside.empty()) {
        // Stored in the settings file's code page it would name another
        // program ("Cafe.exe" for "Café.exe"), and this one never.
        say(platform, owner, "入力エラー",
            item(name) + "には設定ファイルに記録できない文字「" + outside + "」が含まれています。" + kCrLf +
                "追加指定することは出来ません。",
            MessageIcon::Error);
        return false;
    }
    if (sameProgramName(name, ownName)) {
        const auto answer = say(platform, owner, "プロセス監視設定の警告",
                                item(name) + "は現在実行中の「自分のプロセス」です。" + kCrLf +
                                    "このプロセスを追加指定すると、メモリークリーナーは実行されなくなります。" + kCrLf +
                                    "よろしいですか？",
                                MessageIcon::Exclamation, MessageButtons::YesNo);
        if (answer != MessageAnswer::Yes) return false;
        ask = false;
    }
    for (const auto& protectedName : protectedNames()) {
        if (!sameProgramName(name, protectedName)) continue;
        say(platform, owner, "プロセス監視設定の警告",
            item(name) + "はこのプログラムの管理に必要なプロセスです。" + kCrLf + "追加指定することは出来ません。",
            MessageIcon::Error);
        return false;
    }
    if (std::any_of(list.begin(), list.end(), [&](const WatchEntry& e) { return sameProgramName(e.name, name); })) {
        say(platform, owner, "プロセス監視設定", item(name) + "は登録済みです", MessageIcon::Exclamation);
        return false;
    }
    if (ask && say(platform, owner, "プロセス監視設定", item(name) + "を追加しますか？", MessageIcon::Information,
                   MessageButtons::YesNo) != MessageAnswer::Yes)
        return false;
    // The path only shows the program's icon: one the file cannot hold is
    // left out rather than stored changed.
    list.push_back({name, ansi::convertsExactly(platform.codePage, dropped.fullPath) ? dropped.fullPath : ""});
    return true;
}

} // namespace tidemark::monitor
