// A simulated Windows machine for scenario tests: one clock, one disk, one
// registry, several user accounts (any number logged on at once), and a
// record of every message box shown and every program started. Programs run
// on it as SimProcess objects, each with its own account.
#pragma once
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>
#include "platform/EventLog.h"
#include "platform/MemoryStatus.h"
#include "platform/MessageBox.h"
#include "platform/OsVersion.h"
#include "platform/Shortcuts.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimCodePage.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimRegistry.h"

namespace tidemark::sim {

struct SimUser {
    std::string name;
    std::string sid;
    std::vector<std::string> groups;   // every local group, indirect ones included
    std::string profileFolder;         // C:\Users\<name>
    std::string appData;               // <profile>\AppData\Roaming
    bool loggedOn = false;
};

struct MessageRecord {
    std::string user;
    std::string program;
    platform::MessageRequest request;
    platform::MessageAnswer answer{};
};

struct LaunchRecord {
    std::string user;
    std::string verb, file, parameters, directory;
    int showCommand = 0;
    std::uint64_t atMs = 0;       // virtual time of the start
    std::uint64_t endsAtMs = 0;   // when the program ends (waited starts)
    bool waited = false;
    std::string input;            // what was written to its standard input
    std::uint32_t inputCodePage = 0;
    bool direct = false;          // started as the application itself, not through the shell
    bool ended = false;           // ended by its starter before it finished
};

struct EventRecord {
    std::string user;
    std::string program;
    platform::EventType type = platform::EventType::Information;
    std::uint32_t id = 0;
    std::vector<std::string> strings;
};

inline constexpr const char* kProfileListKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";

class SimMachine {
public:
    SimMachine();

    SimClock clock;
    SimFileSystem files;
    SimLocks locks;
    SimCodePage codePage;
    SimRegistry registry;

    std::optional<platform::OsVersionInfo> osVersion;
    std::optional<platform::Rect> workArea = platform::Rect{0, 0, 1280, 984};
    platform::ColourScheme colourScheme;   // high contrast off, the system's usual colours
    std::string programFolder = "C:\\Program Files\\Tidemark";

    // Accounts. A new user has a profile-list entry (profile not loaded).
    SimUser& addUser(const std::string& name, const std::string& sid, std::vector<std::string> groups = {"Users"});
    // Loads the profile (RefCount 1) and creates the volatile environment.
    void logOn(const std::string& name);
    void logOff(const std::string& name);
    // The account's profile leaves the machine (an account removed, as
    // servers whose seats are handed out anew do).
    void deleteProfile(const std::string& name);
    SimUser* findUser(const std::string& name);
    SimUser* findUserBySid(const std::string& sid);
    const std::deque<SimUser>& users() const { return users_; }

    // Message boxes: answers are taken from the front of the queue; with an
    // empty queue every box is answered with its first button.
    std::deque<platform::MessageAnswer> scriptedAnswers;
    std::vector<MessageRecord> messages;
    // Runs while a message box is up (after it is recorded), as the
    // window messages a real modal box keeps dispatching would.
    std::function<void(const MessageRecord&)> onMessage;

    std::vector<LaunchRecord> launches;
    // Every event reported to the event log, in order.
    std::vector<EventRecord> events;
    // Runs before each start with the program's file and parameters, so that
    // a test can script that one start (missingPrograms, programExitCodes,
    // programRunMs).
    std::function<void(const std::string& file, const std::string& parameters)> beforeStart;
    std::set<std::string> missingPrograms;   // by upper-case name without ".EXE": shell-execute answers 2 (file not found)
    std::map<std::string, std::uint64_t> programRunMs;   // how long a started program runs, by upper-case name without ".EXE"
    std::map<std::string, std::uint32_t> programExitCodes;   // a polled program's exit code (else 0), by the same name
    std::vector<std::string> accessGrants;   // paths opened to Everyone directly

    // Memory: what the memory-status call reports (nullopt: the call fails).
    std::optional<platform::MemoryStatusInfo> memory;
    void setMemory(std::uint64_t totalBytes, std::uint64_t availBytes);

    // Running programs' executable names (nullopt: the snapshot fails).
    std::optional<std::vector<std::string>> runningProcesses = std::vector<std::string>{};

    // Shortcut files and their targets, by path.
    std::map<std::string, std::string> shortcutTargets;
    // Every field of the shortcuts the programs made, by path.
    std::map<std::string, platform::ShortcutDetails> shortcutDetails;

    // Copies registered as running, by logon session (user) and name.
    std::set<std::string> runningInstances;

private:
    std::deque<SimUser> users_;   // deque: references stay valid as users are added
};

} // namespace tidemark::sim
