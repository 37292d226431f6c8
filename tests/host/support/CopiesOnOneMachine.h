// Several users' copies of the main program on one simulated machine: the
// starting point of the tests of the memory-cleaner right between them.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "shared/settings/SettingsFiles.h"
#include "support/MonitorCopy.h"
#include "support/SimFixture.h"

namespace tidemark::testing {

class CopiesOnOneMachine : public SimFixture {
public:
    static constexpr std::uint64_t MB = 1048576;
    static constexpr const char* kSharedFile = "C:\\Program Files\\Tidemark\\Tidemark.ini";

protected:
    CopiesOnOneMachine() {
        machine.addUser("carol", "S-1-5-21-1004336348-1177238915-682003330-1003");
        machine.addUser("dave", "S-1-5-21-1004336348-1177238915-682003330-1004");
        machine.setMemory(1024 * MB, 800 * MB);
    }
    // A copy is named by its account, or by "account@session" for a copy of
    // that account in another logon session (a terminal server's second
    // session, a remote session beside the console).
    static std::string accountOf(const std::string& copy) { return copy.substr(0, copy.find('@')); }
    MonitorCopy& start(const std::string& name) {
        const std::string user = accountOf(name);
        machine.logOn(user);
        auto& copy = copies[name];
        copy = std::make_unique<MonitorCopy>(machine, user);
        if (const auto at = name.find('@'); at != std::string::npos)
            copy->process->sessionId = static_cast<std::uint32_t>(std::stoul(name.substr(at + 1)));
        copy->start();
        return *copy;
    }
    void end(std::string name) {   // a copy: callers pass a key of the map it erases from
        copies[name]->exit();
        copies.erase(name);
        logOffUnlessRunning(accountOf(name));
    }
    // The account's last session ends with its last copy.
    void logOffUnlessRunning(const std::string& user) {
        for (const auto& [name, copy] : copies)
            if (accountOf(name) == user) return;
        machine.logOff(user);
    }
    // One minute: each listed copy's cleaning has finished, then it ticks.
    // A cleaning helps (it ends with plenty of free memory), and memory runs
    // as low as before by the next tick.
    void minute(const std::vector<std::string>& order) {
        machine.clock.advance(60000);
        for (const auto& user : order) {
            finishHelpfully(*copies.at(user));
            copies.at(user)->minuteTick();
        }
    }
    void finishHelpfully(MonitorCopy& copy) {
        const auto before = machine.memory;
        if (copy.state.cleaning.cycle.running()) machine.setMemory(1024 * MB, 800 * MB);
        copy.finishCleaning();
        machine.memory = before;
    }
    bool holds(const std::string& user) { return copies.at(user)->state.right.held; }
    int holders() {
        int n = 0;
        for (auto& [user, copy] : copies) n += copy->state.right.held;
        return n;
    }
    std::string stored(const char* section, const std::string& key) {
        ProgramState s;
        s.settings.sharedPath = kSharedFile;
        return SettingsFiles(alice.platform(), s).read(section, key);
    }
    void store(const char* section, const std::string& key, const std::string& value) {
        ProgramState s;
        s.settings.sharedPath = kSharedFile;
        SettingsFiles(alice.platform(), s).write(section, key, std::optional<std::string>(value));
    }
    void lowMemory() { machine.setMemory(1024 * MB, 50 * MB); }
    std::size_t cleanings(const std::string& user) { return copies.at(user)->process->ramhold.calls.size(); }

    std::map<std::string, std::unique_ptr<MonitorCopy>> copies;
};

} // namespace tidemark::testing
