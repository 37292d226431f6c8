#include "platform/sim/SimProcess.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "platform/sim/SimPaths.h"

namespace tidemark::sim {

using namespace platform;

namespace {

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// A started program's name as the machine's tables know it: upper case,
// without quotes, folder and ".EXE".
std::string programKey(std::string file) {
    if (file.size() >= 2 && file.front() == '"' && file.back() == '"') file = file.substr(1, file.size() - 2);
    std::string name = upper(fileNamePart(file));
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".EXE") == 0) name.resize(name.size() - 4);
    return name;
}

// The machine's clock as the process's session sees it: its own time zone,
// where it has one, for the local time.
class SimSessionClock final : public Clock {
public:
    explicit SimSessionClock(SimProcess& p) : p_(p), clock_(p.machine().clock) {}
    std::uint64_t monotonicMs() override { return clock_.monotonicMs(); }
    void sleepMs(std::uint32_t ms) override { clock_.sleepMs(ms); }
    LocalTime localTime() override { return clock_.timeInZone(p_.timeZone.value_or(clock_.timeZone())); }
    LocalTime universalTime() override { return clock_.universalTime(); }

private:
    SimProcess& p_;
    SimClock& clock_;
};

class SimAccounts final : public Accounts {
public:
    explicit SimAccounts(SimProcess& p) : p_(p) {}
    std::optional<std::string> currentUserName() override {
        ++p_.userNameCalls;
        if (p_.userNameFailures > 0) { --p_.userNameFailures; return std::nullopt; }
        return p_.userName();
    }
    LocalGroupsResult localGroups(std::string_view userName) override {
        ++p_.groupQueryCalls;
        LocalGroupsResult r;
        if (p_.groupQueryFailures > 0) {
            --p_.groupQueryFailures;
            r.status = 2221;   // NERR_UserNotFound
            return r;
        }
        const SimUser* u = p_.machine().findUser(std::string(userName));
        if (!u) { r.status = 2221; return r; }
        r.bufferReturned = true;
        r.groups = u->groups;
        r.totalEntries = static_cast<std::uint32_t>(u->groups.size());
        r.entriesRead = r.totalEntries;
        if (p_.groupQueryPartial > 0 && !r.groups.empty()) {
            --p_.groupQueryPartial;
            r.groups.pop_back();
            r.entriesRead = static_cast<std::uint32_t>(r.groups.size());
            r.status = regstatus::MoreData;
        }
        return r;
    }
    std::optional<WorkstationUserInfo> workstationUser() override {
        return WorkstationUserInfo{p_.userName(), "SIMPC", "", "\\\\SIMPC"};
    }
    std::optional<std::string> processUserSid() override {
        if (p_.tokenSidFails) return std::nullopt;
        const SimUser* u = p_.machine().findUser(p_.userName());
        if (!u) return std::nullopt;
        return u->sid;
    }
    std::optional<std::uint32_t> processSessionId() override {
        if (p_.sessionIdFails) return std::nullopt;
        return p_.sessionId;
    }

private:
    SimProcess& p_;
};

class SimRegistryView final : public Registry {
public:
    explicit SimRegistryView(SimProcess& p) : p_(p) {}
    std::unique_ptr<RegistryKey> openKey(RegistryRoot root, std::string_view path) override {
        if (root == RegistryRoot::CurrentUser) {
            const SimUser* u = p_.machine().findUser(p_.userName());
            if (!u) return nullptr;
            return p_.machine().registry.open(RegistryRoot::Users, u->sid + "\\" + std::string(path));
        }
        return p_.machine().registry.open(root, std::string(path));
    }

private:
    SimProcess& p_;
};

class SimFolders final : public KnownFolders {
public:
    explicit SimFolders(SimProcess& p) : p_(p) {}
    std::optional<std::string> folderPath(int id) override {
        const SimUser* u = p_.machine().findUser(p_.userName());
        switch (id) {
        case csidl::AppData:
            if (p_.appDataFails || !u) return std::nullopt;
            return u->appData;
        case csidl::System: return std::string("C:\\Windows\\System32");
        case csidl::Personal: return u ? std::optional(u->profileFolder + "\\Documents") : std::nullopt;
        case csidl::Startup:
            return u ? std::optional(u->appData + "\\Microsoft\\Windows\\Start Menu\\Programs\\Startup") : std::nullopt;
        case csidl::StartMenu:
            return u ? std::optional(u->appData + "\\Microsoft\\Windows\\Start Menu") : std::nullopt;
        case csidl::Programs:
            return u ? std::optional(u->appData + "\\Microsoft\\Windows\\Start Menu\\Programs") : std::nullopt;
        case csidl::CommonStartMenu: return std::string("C:\\ProgramData\\Microsoft\\Windows\\Start Menu");
        case csidl::CommonStartup:
            return std::string("C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp");
        case csidl::ProgramFiles: return std::string("C:\\Program Files");
        default: return std::nullopt;
        }
    }

private:
    SimProcess& p_;
};

class SimProcessInfo final : public ProcessInfo {
public:
    SimProcessInfo(SimProcess& p, std::string exe, std::string cmd) : p_(p), exe_(std::move(exe)), cmd_(std::move(cmd)) {}
    std::string executablePath() override { return exe_; }
    std::string commandLine() override { return cmd_; }
    std::optional<std::string> environmentVariable(const std::string& name) override {
        for (const auto& [k, v] : p_.environment)
            if (upper(k) == upper(name)) return v;
        return std::nullopt;
    }

private:
    SimProcess& p_;
    std::string exe_, cmd_;
};

class SimOsVersion final : public OsVersion {
public:
    explicit SimOsVersion(SimMachine& m) : m_(m) {}
    std::optional<OsVersionInfo> query() override { return m_.osVersion; }

private:
    SimMachine& m_;
};

class SimDisplay final : public Display {
public:
    explicit SimDisplay(SimMachine& m) : m_(m) {}
    std::optional<Rect> nearestMonitorWorkArea(NativeWindow) override { return m_.workArea; }
    ColourScheme colourScheme() override { return m_.colourScheme; }

private:
    SimMachine& m_;
};

class SimLauncher final : public Launcher {
public:
    explicit SimLauncher(SimProcess& p) : p_(p) {}
    std::intptr_t shellExecute(NativeWindow, const std::string& verb, const std::string& file,
                               const std::string& parameters, const std::string& directory, int show) override {
        auto& m = p_.machine();
        if (m.beforeStart) m.beforeStart(file, parameters);
        if (m.missingPrograms.count(programKey(file))) return 2;
        LaunchRecord launch;
        launch.user = p_.userName();
        launch.verb = verb;
        launch.file = file;
        launch.parameters = parameters;
        launch.directory = directory;
        launch.showCommand = show;
        launch.atMs = m.clock.monotonicMs();
        m.launches.push_back(std::move(launch));
        return 42;
    }
    std::intptr_t shellExecuteAndWait(NativeWindow owner, const std::string& verb, const std::string& file,
                                      const std::string& parameters, const std::string& directory, int show,
                                      std::uint32_t timeoutMs) override {
        const std::intptr_t r = shellExecute(owner, verb, file, parameters, directory, show);
        if (r <= 32) return r;
        auto& m = p_.machine();
        const auto runs = m.programRunMs.find(programKey(file));
        const std::uint64_t runMs = runs == m.programRunMs.end() ? 0 : runs->second;
        m.launches.back().waited = true;
        m.launches.back().endsAtMs = m.launches.back().atMs + runMs;
        m.clock.sleepMs(static_cast<std::uint32_t>(std::min<std::uint64_t>(runMs, timeoutMs)));
        return r;
    }
    StartedProgram startProgram(NativeWindow owner, const std::string& file, const std::string& parameters,
                                int show) override {
        StartedProgram out;
        out.result = shellExecute(owner, "open", file, parameters, "", show);
        if (out.result <= 32) return out;
        auto& m = p_.machine();
        const std::string key = programKey(file);
        const auto runs = m.programRunMs.find(key);
        const auto code = m.programExitCodes.find(key);
        LaunchRecord& launch = m.launches.back();
        launch.endsAtMs = launch.atMs + (runs == m.programRunMs.end() ? 0 : runs->second);
        out.program = std::make_unique<SimRunningProgram>(m, m.launches.size() - 1,
                                                          code == m.programExitCodes.end() ? 0 : code->second);
        return out;
    }
    StartedProgram startProgramWithInput(const std::string& file, const std::string& parameters, int show,
                                         const std::string& input, std::uint32_t inputCodePage) override {
        StartedProgram out = startProgram(0, file, parameters, show);
        if (!out.program) return out;
        LaunchRecord& launch = p_.machine().launches.back();
        launch.input = input;
        launch.inputCodePage = inputCodePage;
        launch.direct = true;
        return out;
    }

private:
    // Ends at its time on the machine's clock with the code scripted for it.
    class SimRunningProgram final : public RunningProgram {
    public:
        SimRunningProgram(SimMachine& machine, std::size_t launch, std::uint32_t code)
            : machine_(machine), launch_(launch), code_(code) {}
        std::optional<std::uint32_t> exitCode() override {
            if (machine_.clock.monotonicMs() < machine_.launches[launch_].endsAtMs) return std::nullopt;
            return code_;
        }
        void end(std::uint32_t code) override {
            LaunchRecord& launch = machine_.launches[launch_];
            if (machine_.clock.monotonicMs() >= launch.endsAtMs) return;
            launch.endsAtMs = machine_.clock.monotonicMs();
            launch.ended = true;
            code_ = code;
        }

    private:
        SimMachine& machine_;
        std::size_t launch_;
        std::uint32_t code_;
    };
    SimProcess& p_;
};

class SimAccess final : public AccessControl {
public:
    explicit SimAccess(SimMachine& m) : m_(m) {}
    bool grantEveryoneFullControl(const std::string& path) override {
        if (!m_.files.fileExists(path)) return false;
        m_.accessGrants.push_back(normalizePath(path));
        return true;
    }

private:
    SimMachine& m_;
};

class SimMessages final : public MessageBoxes {
public:
    SimMessages(SimProcess& p, std::string program) : p_(p), program_(std::move(program)) {}
    MessageAnswer show(const MessageRequest& request) override {
        auto& m = p_.machine();
        MessageAnswer answer = firstButton(request.buttons);
        if (!m.scriptedAnswers.empty()) {
            answer = m.scriptedAnswers.front();
            m.scriptedAnswers.pop_front();
        }
        m.messages.push_back({p_.userName(), program_, request, answer});
        if (m.onMessage) {
            const MessageRecord shown = m.messages.back();
            m.onMessage(shown);
        }
        return answer;
    }

private:
    static MessageAnswer firstButton(MessageButtons b) {
        switch (b) {
        case MessageButtons::YesNo:
        case MessageButtons::YesNoCancel: return MessageAnswer::Yes;
        case MessageButtons::RetryCancel: return MessageAnswer::Retry;
        default: return MessageAnswer::Ok;
        }
    }
    SimProcess& p_;
    std::string program_;
};

class SimLocale final : public LocaleFormat {
public:
    std::string shortDate(const LocalTime& t) override {
        char b[32];
        std::snprintf(b, sizeof b, "%04d/%02d/%02d", t.year, t.month, t.day);
        return b;
    }
    std::string longTime(const LocalTime& t) override {
        char b[32];
        std::snprintf(b, sizeof b, "%d:%02d:%02d", t.hour, t.minute, t.second);
        return b;
    }
};

class SimMemory final : public MemoryStatus {
public:
    explicit SimMemory(SimMachine& m) : m_(m) {}
    std::optional<MemoryStatusInfo> query() override { return m_.memory; }

private:
    SimMachine& m_;
};

class SimProcesses final : public ProcessSnapshot {
public:
    explicit SimProcesses(SimMachine& m) : m_(m) {}
    std::optional<std::vector<std::string>> processNames() override { return m_.runningProcesses; }

private:
    SimMachine& m_;
};

class SimShortcuts final : public Shortcuts {
public:
    explicit SimShortcuts(SimMachine& m) : m_(m) {}
    std::optional<std::string> targetPath(const std::string& path) override {
        const auto it = m_.shortcutTargets.find(pathKey(path));
        if (it == m_.shortcutTargets.end()) return std::nullopt;
        return it->second;
    }
    std::optional<ShortcutDetails> details(const std::string& path) override {
        if (!m_.files.fileExists(path)) return std::nullopt;
        const auto it = m_.shortcutDetails.find(pathKey(path));
        if (it == m_.shortcutDetails.end()) return std::nullopt;
        return it->second;
    }
    // The file goes through the disk, so that its refusals hold for
    // shortcuts too; the system's texts are the Japanese system's.
    ShortcutResult create(const std::string& path, const ShortcutDetails& details) override {
        if (!m_.files.directoryExists(parentFolder(path))) return {false, kPathNotFound};
        if (m_.files.replaceContents(path, "shortcut") != fileerror::None) return {false, kAccessDenied};
        m_.shortcutTargets[pathKey(path)] = details.target;
        m_.shortcutDetails[pathKey(path)] = details;
        return {true, {}};
    }
    ShortcutResult remove(const std::string& path) override {
        if (!m_.files.fileExists(path)) return {true, {}};
        if (!m_.files.deleteFile(path)) return {false, kAccessDenied};
        m_.shortcutTargets.erase(pathKey(path));
        m_.shortcutDetails.erase(pathKey(path));
        return {true, {}};
    }

private:
    static constexpr const char* kAccessDenied = "アクセスが拒否されました。";
    static constexpr const char* kPathNotFound = "指定されたパスが見つかりません。";
    SimMachine& m_;
};

} // namespace

class SimInstances final : public SingleInstance {
public:
    explicit SimInstances(SimProcess& p) : p_(p) {}
    bool anotherIsRunning(const std::string& name) override {
        // Per logon session, as a named object without a Global\\ prefix is.
        const std::string key = "session " + std::to_string(p_.sessionId) + "|" + name;
        const bool other = p_.machine().runningInstances.count(key) != 0;
        if (!other) {
            p_.machine().runningInstances.insert(key);
            p_.instanceKeys_.push_back(key);
        }
        return other;
    }
    bool anotherIsRunningOnMachine(const std::string& name) override {
        const std::string key = "(machine)|" + name;
        const bool other = p_.machine().runningInstances.count(key) != 0;
        if (!other) {
            p_.machine().runningInstances.insert(key);
            p_.instanceKeys_.push_back(key);
        }
        return other;
    }

private:
    SimProcess& p_;
};

// Every event goes to the machine's record, with the program and the
// account that reported it.
class SimEventLog final : public EventLog {
public:
    SimEventLog(SimProcess& p, std::string program) : p_(p), program_(std::move(program)) {}
    void report(EventType type, std::uint32_t eventId, const std::vector<std::string>& strings) override {
        p_.machine().events.push_back({p_.userName(), program_, type, eventId, strings});
    }

private:
    SimProcess& p_;
    std::string program_;
};

struct SimProcess::Adapters {
    Adapters(SimProcess& p, const std::string& exe, const std::string& cmd, const std::string& program)
        : clock(p), accounts(p), registry(p), folders(p), info(p, exe, cmd), os(p.machine()), display(p.machine()),
          launcher(p), access(p.machine()), messages(p, program), memory(p.machine()), processes(p.machine()),
          shortcuts(p.machine()), instances(p), events(p, program) {}
    SimSessionClock clock;
    SimAccounts accounts;
    SimRegistryView registry;
    SimFolders folders;
    SimProcessInfo info;
    SimOsVersion os;
    SimDisplay display;
    SimLauncher launcher;
    SimAccess access;
    SimMessages messages;
    SimLocale locale;
    SimMemory memory;
    SimProcesses processes;
    SimShortcuts shortcuts;
    SimInstances instances;
    SimEventLog events;
};

SimProcess::SimProcess(SimMachine& machine, std::string userName, std::string exeName, std::string arguments)
    : machine_(machine), userName_(std::move(userName)) {
    exePath_ = machine_.programFolder + "\\" + exeName;
    commandLine_ = "\"" + exePath_ + "\"" + (arguments.empty() ? "" : " " + arguments);
    environment["TEMP"] = "C:\\Windows\\Temp";
    std::uint32_t place = 1;
    for (const SimUser& u : machine_.users()) {
        if (u.name == userName_) sessionId = place;
        ++place;
    }
    adapters_ = std::make_unique<Adapters>(*this, exePath_, commandLine_, exeName);
    platform_ = std::make_unique<Platform>(Platform{adapters_->clock, machine_.files, machine_.locks, machine_.codePage,
                                                    adapters_->info, adapters_->accounts, adapters_->registry,
                                                    adapters_->folders, adapters_->display, adapters_->os,
                                                    adapters_->launcher, adapters_->access, adapters_->messages,
                                                    adapters_->locale, adapters_->memory, adapters_->processes,
                                                    adapters_->shortcuts, adapters_->instances, ramhold,
                                                    adapters_->events});
}

SimProcess::~SimProcess() {
    for (const auto& key : instanceKeys_) machine_.runningInstances.erase(key);
}

} // namespace tidemark::sim
