// A terminal server on the simulated machine: many users' copies of the
// monitor, seeded logons and logoffs (accounts replaced at logoff on
// request), memory low and plentiful in phases, each minute's ticks taken
// turn by turn in a shuffled order, and on request Corvid holding the right
// from the system start. It records what the scale tests and the benchmark
// look at: cleaners per minute, the file's reads and writes, minutes
// without a holder, the file's size against the users logged on, keys left
// by accounts whose profile is gone.
#pragma once
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "companions/corvid/Corvid.h"
#include "shared/settings/SettingsFiles.h"
#include "support/MonitorCopy.h"

namespace tidemark::testing {

struct TerminalServerRun {
    int users = 200;                  // seats, each with an account and a copy while logged on
    int minutes = 20;
    int lowPhase = 20, plentyPhase = 20;   // minutes of low, then plentiful memory, repeated
    int changesPerHour = 20;          // logoffs (each seat logs on again the next minute)
    bool replaceAccounts = false;     // a seat logs on again under a new account
    int writeFailurePercent = 0;
    bool systemStart = false;         // Corvid runs under SYSTEM with valid settings and ticks first each minute
    unsigned seed = 1;
};

struct TerminalServerStats {
    int lowMinutes = 0, lowMinutesCleaned = 0;
    int maxCleanersInAMinute = 0;
    long lowMinuteWrites = 0, lowMinuteReads = 0;
    int maxWritesInALowMinute = 0;
    int longestGapWithoutHolder = 0;   // low minutes in a row without anybody cleaning
    std::size_t largestFile = 0;
    std::size_t largestFilePerUserLoggedOn = 0;   // bytes of the file per copy running
    std::size_t mostDepartedKeys = 0;   // keys of accounts without a profile, after a minute's ticks
    double writesPerLowMinute() const { return lowMinutes ? double(lowMinuteWrites) / lowMinutes : 0; }
    double readsPerLowMinute() const { return lowMinutes ? double(lowMinuteReads) / lowMinutes : 0; }
    // The share of a minute the file's lock is held, at 2 ms a write.
    double lockBusyAt2ms() const { return writesPerLowMinute() * 2.0 / 60000.0; }
};

class TerminalServer {
public:
    static constexpr std::uint64_t MB = 1048576;
    static constexpr const char* kSharedFile = "C:\\Program Files\\Tidemark\\Tidemark.ini";

    explicit TerminalServer(const TerminalServerRun& run) : run_(run), random_(run.seed) {
        machine_.setMemory(64 * 1024 * MB, 40 * 1024 * MB);
        for (int seat = 0; seat < run.users; ++seat) addAccount(seat);
        if (run.systemStart) startCorvid();
    }

    TerminalServerStats go() {
        TerminalServerStats stats;
        for (int seat = 0; seat < run_.users; ++seat) logOn(seat);
        std::vector<int> waiting;   // seats that log on again next minute
        int gap = 0;
        if (run_.writeFailurePercent > 0)
            machine_.files.writeFails = [this] { return percent(run_.writeFailurePercent); };
        for (int m = 0; m < run_.minutes; ++m) {
            for (int seat : waiting) logOn(seat);
            waiting.clear();
            const bool low = m % (run_.lowPhase + run_.plentyPhase) < run_.lowPhase;
            machine_.setMemory(64 * 1024 * MB, (low ? 100 : 40 * 1024) * MB);
            // Seeded logoffs, some of them copies killed with the right in hand.
            const int perMinuteTimes100 = run_.changesPerHour * 100 / 60;
            const int logoffs = perMinuteTimes100 / 100 + (percent(perMinuteTimes100 % 100) ? 1 : 0);
            for (int i = 0; i < logoffs; ++i) {
                const int seat = pick();
                if (!copies_.count(seat)) continue;
                logOff(seat, percent(20));
                waiting.push_back(seat);
            }
            machine_.clock.advance(60000);
            const int writesBefore = machine_.files.writeCount(), readsBefore = machine_.files.readCount();
            std::vector<int> order;
            for (auto& [seat, copy] : copies_) order.push_back(seat);
            std::shuffle(order.begin(), order.end(), random_);
            int cleaners = 0;
            if (corvid_) {
                finishHelpfully([&] { corvid_->watchCleaning(); }, corvidProcess_->ramhold);
                const std::size_t before = corvidProcess_->ramhold.calls.size();
                corvid_->fiveSecondCheck();
                corvidState_.settingsValid = corvid_->readSettings();
                corvid_->periodicCheck();
                cleaners += corvidProcess_->ramhold.calls.size() > before;
            }
            for (int seat : order) {
                MonitorCopy& copy = *copies_.at(seat);
                finishHelpfully([&] { copy.cleaningWatchTick(); }, copy.process->ramhold);
                const std::size_t before = copy.process->ramhold.calls.size();
                copy.minuteTick();
                cleaners += copy.process->ramhold.calls.size() > before;
            }
            stats.maxCleanersInAMinute = std::max(stats.maxCleanersInAMinute, cleaners);
            if (low) {
                const int writes = machine_.files.writeCount() - writesBefore;
                ++stats.lowMinutes;
                stats.lowMinutesCleaned += cleaners > 0;
                stats.lowMinuteWrites += writes;
                stats.lowMinuteReads += machine_.files.readCount() - readsBefore;
                stats.maxWritesInALowMinute = std::max(stats.maxWritesInALowMinute, writes);
                gap = cleaners > 0 ? 0 : gap + 1;
                stats.longestGapWithoutHolder = std::max(stats.longestGapWithoutHolder, gap);
            }
            const std::size_t size = machine_.files.contents(kSharedFile).size();
            stats.largestFile = std::max(stats.largestFile, size);
            if (!copies_.empty())
                stats.largestFilePerUserLoggedOn = std::max(stats.largestFilePerUserLoggedOn, size / copies_.size());
            stats.mostDepartedKeys = std::max(stats.mostDepartedKeys, departedKeys());
        }
        machine_.files.writeFails = nullptr;
        return stats;
    }

    sim::SimMachine& machine() { return machine_; }

private:
    // A cleaning ends having helped (plenty of free memory as it ends), and
    // memory is as it was by the next tick.
    template <class Watch>
    void finishHelpfully(Watch watch, sim::SimRamhold& ramhold) {
        const auto before = machine_.memory;
        if (ramhold.memoryHeldStatus() == 1) machine_.setMemory(before ? before->totalPhys : 0, before ? before->totalPhys / 2 : 0);
        ramhold.finish();
        watch();
        machine_.memory = before;
    }

    void startCorvid() {
        machine_.addUser("SYSTEM", "S-1-5-18", {});
        corvidProcess_ = std::make_unique<sim::SimProcess>(machine_, "SYSTEM", "Corvid.exe", "RUN");
        corvidState_.settings.sharedPath = kSharedFile;
        SettingsFiles(corvidProcess_->platform(), corvidState_)
            .write("AppSettingFlag", "PhysMemSize", std::to_string(64 * 1024 * MB));
        corvid_ = std::make_unique<corvid::Corvid>(corvidProcess_->platform(), corvidState_);
        corvid_->start();
    }
    std::size_t departedKeys() {
        ProgramState s;
        s.settings.sharedPath = kSharedFile;
        SettingsFiles files(reader_.platform(), s);
        std::size_t n = 0;
        for (const char* section : {"UserAccountName", "LocalProfileName", "GetRightChallenge"})
            for (const auto& key : files.keyNames(section)) n += departed_.count(key);
        return n;
    }
    bool percent(int p) { return std::uniform_int_distribution<int>(0, 99)(random_) < p; }
    int pick() { return std::uniform_int_distribution<int>(0, run_.users - 1)(random_); }
    std::string sidOf(int account) {
        return "S-1-5-21-1004336348-1177238915-682003330-" + std::to_string(5000 + account);
    }
    void addAccount(int seat) {
        const int account = nextAccount_++;
        accountOfSeat_[seat] = account;
        machine_.addUser("user" + std::to_string(account), sidOf(account));
    }
    std::string nameOf(int seat) { return "user" + std::to_string(accountOfSeat_.at(seat)); }
    void logOn(int seat) {
        machine_.logOn(nameOf(seat));
        auto& copy = copies_[seat];
        copy = std::make_unique<MonitorCopy>(machine_, nameOf(seat));
        copy->process->sessionId = static_cast<std::uint32_t>(seat + 1);
        copy->start();
    }
    void logOff(int seat, bool killed) {
        if (!killed) copies_.at(seat)->exit();
        copies_.erase(seat);
        machine_.logOff(nameOf(seat));
        if (run_.replaceAccounts) {
            machine_.deleteProfile(nameOf(seat));
            departed_.insert(sidOf(accountOfSeat_.at(seat)));
            addAccount(seat);
        }
    }

    TerminalServerRun run_;
    std::mt19937 random_;
    sim::SimMachine machine_;
    std::map<int, int> accountOfSeat_;
    int nextAccount_ = 0;
    std::map<int, std::unique_ptr<MonitorCopy>> copies_;
    std::set<std::string> departed_;   // SIDs of the accounts whose profile was deleted
    sim::SimProcess reader_{machine_, "reader"};   // the test's own look at the file
    std::unique_ptr<sim::SimProcess> corvidProcess_;
    corvid::CorvidState corvidState_;
    std::unique_ptr<corvid::Corvid> corvid_;
};

} // namespace tidemark::testing
