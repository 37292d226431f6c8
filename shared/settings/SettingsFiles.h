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

class SettingsFiles {
public:
    SettingsFiles(platform::Platform& platform, ProgramState& state) : platform_(platform), state_(state) {}

    // The shared file. A null key (with a null value) deletes the whole
    // section; a null value deletes the key. True when written.
    bool write(const std::string& section, const std::optional<std::string>& key,
               const std::optional<std::string>& value);
    bool write(const std::string& section, const std::string& key, std::int64_t number);
    // Writes the value only where the key still reads as expectedValue (a
    // missing key reads as empty), checked and written under one hold of the
    // file's lock: a claim that does not take from whoever wrote since.
    profile::WriteOutcome writeIf(const std::string& section, const std::string& key,
                                  const std::string& expectedValue, const std::string& value);
    // The same with any number of expected values, of any keys.
    profile::WriteOutcome writeIf(const std::vector<profile::ExpectedValue>& expected, const std::string& section,
                                  const std::string& key, const std::string& value);
    // The value as the profile read gives it (at most 254 bytes); empty for
    // a missing key and for an empty value alike.
    std::string read(const std::string& section, const std::string& key);
    // The section's key names in file order; empty when there are none.
    std::vector<std::string> keyNames(const std::string& section);
    // The same, telling a file that could not be read (nullopt) apart from
    // a missing key or section: a caller that learns nothing from the file
    // changes nothing and writes nothing.
    std::optional<std::string> tryRead(const std::string& section, const std::string& key);
    std::optional<std::vector<std::string>> tryKeyNames(const std::string& section);
    // A whole section of the shared file, its keys and values in file order.
    std::optional<std::vector<profile::ProfileEntry>> tryReadSection(const std::string& section);
    // Several edits of the shared file made together, in one write.
    bool writeAll(const std::vector<profile::ProfileEdit>& edits);
    // Several edits of the shared file made together, only where every
    // expected value still holds.
    profile::WriteOutcome writeAllIf(const std::vector<profile::ExpectedValue>& expected,
                                     const std::vector<profile::ProfileEdit>& edits);

    // The user's own file, below the application-data folder (the folders
    // are made on the first write).
    bool writeUser(const std::string& section, const std::string& key, const std::optional<std::string>& value);
    std::string readUser(const std::string& section, const std::string& key);

private:
    bool ensureAppData();

    platform::Platform& platform_;
    ProgramState& state_;
};

} // namespace tidemark
