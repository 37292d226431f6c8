#include "shared/cleaner/ProcessWatch.h"

#include <cctype>

#include "shared/settings/SettingsFiles.h"
#include "shared/settings/SettingsKeys.h"

namespace tidemark::cleaner {
namespace {

bool endsWithNoCase(const std::string& s, const char* tail) {
    const std::string t(tail);
    if (s.size() < t.size()) return false;
    for (std::size_t i = 0; i < t.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[s.size() - t.size() + i])) != t[i]) return false;
    return true;
}

bool equalNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string afterLastBackslash(const std::string& path) {
    const auto pos = path.find_last_of('\\');
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

} // namespace

bool watchedProgramRunning(platform::Platform& platform, ProgramState& state, std::vector<std::string>& watchNames) {
    return runningWatchedProgram(platform, state, watchNames).has_value();
}

std::optional<std::string> runningWatchedProgram(platform::Platform& platform, ProgramState& state,
                                                 std::vector<std::string>& watchNames) {
    const std::optional<std::string> unknown = std::string();
    SettingsFiles files(platform, state);
    // A file that cannot be read tells nothing: no cleaning on it, as when
    // the running programs cannot be read.
    const std::optional<std::string> flag = files.tryRead(ini::section::AppSettingFlag, ini::key::STMCProcReplaceFlag);
    if (!flag) return unknown;
    if (flag->empty() || *flag == ini::word::NonProc) return std::nullopt;
    // Every copy (each user's, the system-start cleaner) reads the list for
    // itself: the flag tells only the first reader that it changed.
    // The whole section: a list of a few thousand programs outgrows any
    // fixed buffer, and the ones cut off would never be waited for.
    const auto entries = files.tryReadSection(ini::section::ExitTrigProcList);
    if (!entries) return unknown;
    watchNames.clear();
    for (const auto& entry : *entries) watchNames.push_back(entry.name);
    if (*flag == ini::word::True) {
        if (watchNames.empty()) return std::nullopt;
        // Still written, for copies that keep the list until it is set.
        state.settings.sharedWritable =
            files.write(ini::section::AppSettingFlag, ini::key::STMCProcReplaceFlag, std::string(ini::word::False));
    }
    const std::optional<std::string> watch = files.tryRead(ini::section::AppSettingFlag, ini::key::ProcWatchSetting);
    if (!watch) return unknown;
    if (watch->empty() || *watch == ini::word::False) return std::nullopt;

    const auto running = runningProgramNames(platform);
    if (!running) return unknown;
    for (const auto& name : watchNames)
        for (const auto& process : *running)
            if (equalNoCase(name, process)) return name;
    return std::nullopt;
}

std::optional<std::vector<std::string>> runningProgramNames(platform::Platform& platform) {
    const auto names = platform.processes.processNames();
    if (!names || names->empty()) return std::nullopt;
    std::vector<std::string> out;
    out.reserve(names->size());
    for (const auto& name : *names) {
        out.push_back(name);
        platform.clock.sleepMs(1);   // gives the processor away between entries
    }
    return out;
}

DroppedFile programOfDroppedFile(platform::Platform& platform, const std::string& path) {
    DroppedFile out;
    out.fullPath = endsWithNoCase(path, ".lnk") ? platform.shortcuts.targetPath(path).value_or(std::string()) : path;
    if (!endsWithNoCase(out.fullPath, ".exe")) return out;
    out.isProgram = true;
    out.name = afterLastBackslash(out.fullPath);
    return out;
}

} // namespace tidemark::cleaner
