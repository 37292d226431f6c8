#include "shared/IniOpe.h"

#include "shared/IniKeys.h"
#include "shared/profile/ProfileEngine.h"

namespace tidemark {
namespace {

std::string folderOf(const std::string& path) {
    const auto pos = path.find_last_of("\\/");
    return pos == std::string::npos ? std::string() : path.substr(0, pos);
}

std::vector<std::string> keyNames(platform::Platform& platform, const std::string& file, const std::string& section,
                                  bool& bolGetIniResult, long& lngGetIniKeyNum) {
    profile::ProfileEngine engine(platform);
    const profile::ProfileNameList list = engine.readKeyNames(section, ini::buffer::KeyList, file);
    bolGetIniResult = list.count != 0 && !list.names.empty();
    lngGetIniKeyNum = bolGetIniResult ? static_cast<long>(list.names.size()) - 1 : 0;
    return bolGetIniResult ? list.names : std::vector<std::string>{};
}

std::string readValue(platform::Platform& platform, const std::string& file, const std::string& section,
                      const std::string& key, unsigned size, long& count) {
    profile::ProfileEngine engine(platform);
    const profile::ProfileText r = engine.readValue(section, key, size, file);
    count = static_cast<long>(r.count);
    return r.count == 0 ? std::string() : r.text;
}

} // namespace

std::string sharedSettingsPath(platform::ProcessInfo& process) {
    return folderOf(process.executablePath()) + "\\" + ini::kSettingsFileName;
}

std::string userSettingsPath(const std::string& appDataPath) {
    return appDataPath + ini::kUserSettingsFolder2 + "\\" + ini::kSettingsFileName;
}

bool IniOpe::IniWriteTask(const std::string& section, const std::optional<std::string>& key,
                          const std::optional<std::string>& value) {
    profile::ProfileEngine engine(platform_);
    return engine.writeString(section, key, key ? value : std::nullopt, state_.strIniFilePath);
}

bool IniOpe::IniWriteTask(const std::string& section, const std::string& key, std::int64_t number) {
    return IniWriteTask(section, key, std::optional<std::string>(std::to_string(number)));
}

profile::WriteOutcome IniOpe::IniWriteIfTask(const std::string& section, const std::string& key,
                                             const std::string& expected, const std::string& value) {
    return IniWriteIfTask({{section, key, expected}}, section, key, value);
}

profile::WriteOutcome IniOpe::IniWriteIfTask(const std::vector<profile::ExpectedValue>& expected,
                                             const std::string& section, const std::string& key,
                                             const std::string& value) {
    profile::ProfileEngine engine(platform_);
    return engine.writeStringIf(expected, section, key, value, state_.strIniFilePath);
}

std::string IniOpe::IniReadTask(const std::string& section, const std::string& key, long& count) {
    return readValue(platform_, state_.strIniFilePath, section, key, ini::buffer::Value, count);
}

bool IniOpe::ensureAppData() {
    if (state_.bolAppDataFlag) return true;
    const auto folder = platform_.folders.folderPath(platform::csidl::AppData);
    if (!folder) return false;
    state_.strAppDataPath = *folder;
    state_.bolAppDataFlag = true;
    return true;
}

bool IniOpe::LocalIniWriteTask(const std::string& section, const std::string& key,
                               const std::optional<std::string>& value) {
    if (!ensureAppData()) return false;
    // Either folder may exist already; that is not an error.
    platform_.files.createDirectory(state_.strAppDataPath + ini::kUserSettingsFolder1);
    platform_.files.createDirectory(state_.strAppDataPath + ini::kUserSettingsFolder2);
    profile::ProfileEngine engine(platform_);
    return engine.writeString(section, key, value, userSettingsPath(state_.strAppDataPath));
}

std::string IniOpe::LocalIniReadTask(const std::string& section, const std::string& key, long& count) {
    if (!ensureAppData()) {
        count = 0;
        return {};
    }
    return readValue(platform_, userSettingsPath(state_.strAppDataPath), section, key, ini::buffer::Value, count);
}

std::vector<std::string> IniOpe::GetIniKeyName(const std::string& section, bool& bolGetIniResult,
                                               long& lngGetIniKeyNum) {
    return keyNames(platform_, state_.strIniFilePath, section, bolGetIniResult, lngGetIniKeyNum);
}

} // namespace tidemark
