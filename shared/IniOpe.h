// Access to the shared settings file and the user's own settings file.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>
#include "platform/Platform.h"
#include "shared/ProgramState.h"
#include "shared/profile/ProfileEngine.h"

namespace tidemark {

// The shared settings file of a program: its own folder and "Tidemark.ini".
std::string sharedSettingsPath(platform::ProcessInfo& process);
// The per-user settings file below an application-data folder.
std::string userSettingsPath(const std::string& appDataPath);

class IniOpe {
public:
    IniOpe(platform::Platform& platform, ProgramState& state) : platform_(platform), state_(state) {}

    // A null key (with a null value) deletes the whole section; a null value
    // deletes the key.
    bool IniWriteTask(const std::string& strIniSectionName, const std::optional<std::string>& strIniWriteKeyName,
                      const std::optional<std::string>& strIniWriteValue);
    bool IniWriteTask(const std::string& strIniSectionName, const std::string& strIniWriteKeyName,
                      std::int64_t number);
    // Writes the value only where the key still reads as strExpectedValue
    // (a missing key reads as empty), checked and written under one hold of
    // the file's lock: a claim that does not take from whoever wrote since.
    profile::WriteOutcome IniWriteIfTask(const std::string& strIniSectionName, const std::string& strIniWriteKeyName,
                                         const std::string& strExpectedValue, const std::string& strIniWriteValue);
    // The same with any number of expected values, of any keys.
    profile::WriteOutcome IniWriteIfTask(const std::vector<profile::ExpectedValue>& expected,
                                         const std::string& strIniSectionName, const std::string& strIniWriteKeyName,
                                         const std::string& strIniWriteValue);
    // Empty text and a count of 0 for a missing key or an empty value.
    std::string IniReadTask(const std::string& strIniSectionName, const std::string& strIniReadKeyName,
                            long& lngIniReadNumChar);

    bool LocalIniWriteTask(const std::string& strIniSectionName, const std::string& strIniWriteKeyName,
                           const std::optional<std::string>& strIniWriteValue);
    std::string LocalIniReadTask(const std::string& strIniSectionName, const std::string& strIniReadKeyName,
                                 long& lngIniReadNumChar);

    // The section's key names; lngGetIniKeyNum is the last index (count - 1),
    // 0 and bolGetIniResult false when there are none.
    std::vector<std::string> GetIniKeyName(const std::string& strIniSectionName, bool& bolGetIniResult,
                                           long& lngGetIniKeyNum);

private:
    bool ensureAppData();

    platform::Platform& platform_;
    ProgramState& state_;
};

} // namespace tidemark
