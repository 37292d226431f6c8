#include "shared/settings/SettingsFiles.h"

#include "shared/profile/ProfileEngine.h"
#include "shared/settings/SettingsKeys.h"

namespace tidemark {
namespace {

std::string folderOf(const std::string& path) {
    const auto pos = path.find_last_of("\\/");
    return pos == std::string::npos ? std::string() : path.substr(0, pos);
}

std::optional<std::string> readValue(platform::Platform& platform, const std::string& file,
                                     const std::string& section, const std::string& key) {
    profile::ProfileEngine engine(platform);
    const profile::ProfileText r = engine.readValue(section, key, ini::buffer::Value, file);
    if (r.unreadable) return std::nullopt;
    return r.count == 0 ? std::string() : r.text;
}

} // namespace

std::string sharedSettingsPath(platform::ProcessInfo& process) {
    return folderOf(process.executablePath()) + "\\" + ini::kSettingsFileName;
}

std::string userSettingsPath(const std::string& appDataPath) {
    return appDataPath + ini::kUserSettingsFolder2 + "\\" + ini::kSettingsFileName;
}

bool SettingsFiles::write(const std::string& section, const std::optional<std::string>& key,
                          const std::optional<std::string>& value) {
    profile::ProfileEngine engine(platform_);
    return engine.writeString(section, key, key ? value : std::nullopt, state_.settings.sharedPath);
}

bool SettingsFiles::write(const std::string& section, const std::string& key, std::int64_t number) {
    return write(section, key, std::optional<std::string>(std::to_string(number)));
}

profile::WriteOutcome SettingsFiles::writeIf(const std::string& section, const std::string& key,
                                             const std::string& expectedValue, const std::string& value) {
    return writeIf({{section, key, expectedValue}}, section, key, value);
}

profile::WriteOutcome SettingsFiles::writeIf(const std::vector<profile::ExpectedValue>& expected,
                                             const std::string& section, const std::string& key,
                                             const std::string& value) {
    profile::ProfileEngine engine(platform_);
    return engine.writeStringIf(expected, section, key, value, state_.settings.sharedPath);
}

std::string SettingsFiles::read(const std::string& section, const std::string& key) {
    return tryRead(section, key).value_or(std::string());
}

std::optional<std::string> SettingsFiles::tryRead(const std::string& section, const std::string& key) {
    return readValue(platform_, state_.settings.sharedPath, section, key);
}

std::vector<std::string> SettingsFiles::keyNames(const std::string& section) {
    return tryKeyNames(section).value_or(std::vector<std::string>{});
}

std::optional<std::vector<std::string>> SettingsFiles::tryKeyNames(const std::string& section) {
    profile::ProfileEngine engine(platform_);
    const profile::ProfileNameList list = engine.readKeyNames(section, ini::buffer::KeyList, state_.settings.sharedPath);
    if (list.unreadable) return std::nullopt;
    return list.count == 0 ? std::vector<std::string>{} : list.names;
}

std::optional<std::vector<profile::ProfileEntry>> SettingsFiles::tryReadSection(const std::string& section) {
    profile::ProfileEngine engine(platform_);
    profile::ProfileSection read = engine.readSection(section, state_.settings.sharedPath);
    if (!read.fileRead && read.error != platform::fileerror::FileNotFound &&
        read.error != platform::fileerror::PathNotFound)
        return std::nullopt;
    return std::move(read.entries);
}

bool SettingsFiles::writeAll(const std::vector<profile::ProfileEdit>& edits) {
    profile::ProfileEngine engine(platform_);
    return engine.writeAll(edits, state_.settings.sharedPath);
}

profile::WriteOutcome SettingsFiles::writeAllIf(const std::vector<profile::ExpectedValue>& expected,
                                                const std::vector<profile::ProfileEdit>& edits) {
    profile::ProfileEngine engine(platform_);
    return engine.writeAllIf(expected, edits, state_.settings.sharedPath);
}

bool SettingsFiles::ensureAppData() {
    if (state_.settings.appDataKnown) return true;
    const auto folder = platform_.folders.folderPath(platform::csidl::AppData);
    if (!folder) return false;
    state_.settings.appDataPath = *folder;
    state_.settings.appDataKnown = true;
    return true;
}

bool SettingsFiles::writeUser(const std::string& section, const std::string& key,
                              const std::optional<std::string>& value) {
    if (!ensureAppData()) return false;
    // Either folder may exist already; that is not an error.
    platform_.files.createDirectory(state_.settings.appDataPath + ini::kUserSettingsFolder1);
    platform_.files.createDirectory(state_.settings.appDataPath + ini::kUserSettingsFolder2);
    profile::ProfileEngine engine(platform_);
    return engine.writeString(section, key, value, userSettingsPath(state_.settings.appDataPath));
}

std::string SettingsFiles::readUser(const std::string& section, const std::string& key) {
    if (!ensureAppData()) return {};
    return readValue(platform_, userSettingsPath(state_.settings.appDataPath), section, key).value_or(std::string());
}

} // namespace tidemark
