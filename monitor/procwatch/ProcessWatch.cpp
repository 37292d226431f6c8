#include "monitor/procwatch/ProcessWatch.h"

#include <cctype>

#include "shared/IniKeys.h"
#include "shared/IniOpe.h"

namespace tidemark::monitor::ProcessWatch {
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

bool checkProcessTask(platform::Platform& platform, ProgramState& state, std::vector<std::string>& watchNames) {
    IniOpe ini(platform, state);
    long n = 0;
    const std::string flag = ini.IniReadTask(ini::section::AppSettingFlag, ini::key::STMCProcReplaceFlag, n);
    if (n == 0) return false;
    if (flag == ini::word::True) {
        bool found = false;
        long last = 0;
        watchNames = ini.GetIniKeyName(ini::section::ExitTrigProcList, found, last);
        if (!found) return false;
        state.bolIniWriteFlag =
            ini.IniWriteTask(ini::section::AppSettingFlag, ini::key::STMCProcReplaceFlag, std::string(ini::word::False));
    } else if (flag == ini::word::NonProc) {
        return false;
    }
    const std::string watch = ini.IniReadTask(ini::section::AppSettingFlag, ini::key::ProcWatchSetting, n);
    if (n == 0 || watch == ini::word::False) return false;

    long lastProcess = -1;
    const std::vector<std::string> running = GetSnapShot(platform, lastProcess);
    if (lastProcess == -1) return true;
    for (const auto& name : watchNames)
        for (const auto& process : running)
            if (equalNoCase(name, process)) return true;
    return false;
}

std::vector<std::string> GetSnapShot(platform::Platform& platform, long& lngSnpShtCount) {
    const auto names = platform.processes.processNames();
    if (!names || names->empty()) {
        lngSnpShtCount = -1;
        return {};
    }
    std::vector<std::string> out;
    out.reserve(names->size());
    for (const auto& name : *names) {
        out.push_back(name);
        platform.clock.sleepMs(1);   // gives the processor away between entries
    }
    lngSnpShtCount = static_cast<long>(out.size()) - 1;
    return out;
}

bool GetProcName(platform::Platform& platform, const std::string& strDropPath, std::string& strProcName,
                 std::string& strProcFullPath) {
    strProcName.clear();
    if (endsWithNoCase(strDropPath, ".lnk")) {
        const std::string target = platform.shortcuts.targetPath(strDropPath).value_or(std::string());
        strProcFullPath = target;
        if (!endsWithNoCase(target, ".exe")) return false;
        strProcName = afterLastBackslash(target);
        return true;
    }
    strProcFullPath = strDropPath;
    if (!endsWithNoCase(strDropPath, ".exe")) return false;
    strProcName = afterLastBackslash(strDropPath);
    return true;
}

} // namespace tidemark::monitor::ProcessWatch
