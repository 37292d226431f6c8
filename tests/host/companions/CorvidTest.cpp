// Corvid on the simulated machine: its words, its start-up under each kind
// of account, its loop's cadence over hours, and the memory-cleaner right
// shared with the users' copies of the main program.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <memory>
#include <set>

#include "companions/corvid/Corvid.h"
#include "shared/cleaner/CleaningResult.h"
#include "support/CopiesOnOneMachine.h"
#include "support/Interleaver.h"

namespace tidemark {
namespace {

using corvid::Corvid;
using corvid::CorvidState;

constexpr const char* kSystemSid = "S-1-5-18";

struct CorvidRun {
    CorvidRun(sim::SimMachine& machine, const std::string& user, const std::string& arguments)
        : process(std::make_unique<sim::SimProcess>(machine, user, "Corvid.exe", arguments)),
          corvid(process->platform(), state) {}
    std::unique_ptr<sim::SimProcess> process;
    CorvidState state;
    Corvid corvid;
};

class CorvidOnMachine : public testing::CopiesOnOneMachine {
protected:
    CorvidOnMachine() {
        machine.addUser("SYSTEM", kSystemSid, {});
        machine.clock.setLocalTime(2026, 12, 7, 9, 30, 0);
    }
    CorvidRun& startCorvid(const std::string& user = "SYSTEM", const std::string& word = "RUN") {
        runs.push_back(std::make_unique<CorvidRun>(machine, user, word));
        runs.back()->corvid.start();
        return *runs.back();
    }
    void saveSettingsForThisMachine() { store("AppSettingFlag", "PhysMemSize", std::to_string(1024 * MB)); }
    // Corvid's cleaning ends having helped (plenty of free memory as it
    // ends), and memory is as it was by the next check.
    using CopiesOnOneMachine::finishHelpfully;
    void finishHelpfully(CorvidRun& run) {
        const auto before = machine.memory;
        if (run.process->ramhold.memoryHeldStatus() == 1) machine.setMemory(1024 * MB, 800 * MB);
        run.process->ramhold.finish();
        run.corvid.watchCleaning();
        machine.memory = before;
    }
    // Runs Corvid's loop for the given seconds; every full minute the users'
    // copies tick (after their cleanings finished), as their timers would.
    void runFor(CorvidRun& run, int seconds, const std::vector<std::string>& users = {}) {
        int elapsed = 0;
        run.corvid.runLoop([&] {
            if (elapsed > 0 && elapsed % 60 == 0) {
                finishHelpfully(run);
                for (const auto& u : users) {
                    finishHelpfully(*copies.at(u));
                    copies.at(u)->minuteTick();
                }
            }
            return elapsed++ < seconds;
        });
    }
    std::vector<const sim::LaunchRecord*> launchesOf(const std::string& name) {
        std::vector<const sim::LaunchRecord*> out;
        for (const auto& l : machine.launches)
            if (l.file.find(name) != std::string::npos) out.push_back(&l);
        return out;
    }
    std::vector<std::unique_ptr<CorvidRun>> runs;
};

TEST_F(CorvidOnMachine, OnlyTheExactWordsDoAnything) {
    struct Case {
        const char* arguments;
        bool passTestWritten;
    };
    for (const Case& c : {Case{"PassTest", true}, Case{"passtest", false}, Case{"PASSTEST", false},
                          Case{"PassTest x", false}, Case{"", false}, Case{"run", false}}) {
        store("AppSettingFlag", "PassTest", "False");
        auto& run = startCorvid("alice", c.arguments);
        EXPECT_EQ(stored("AppSettingFlag", "PassTest"), c.passTestWritten ? "True" : "False") << c.arguments;
        EXPECT_TRUE(machine.launches.empty()) << c.arguments;
        EXPECT_TRUE(machine.messages.empty()) << c.arguments;
        EXPECT_EQ(run.process->ramhold.calls.size(), 0u);
    }
}

TEST_F(CorvidOnMachine, PassTestAnswersWhileARunCopyRuns) {
    startCorvid();
    store("AppSettingFlag", "PassTest", "False");
    startCorvid("alice", "PassTest");
    EXPECT_EQ(stored("AppSettingFlag", "PassTest"), "True");
}

TEST_F(CorvidOnMachine, SystemsBeforeWindows2000AreRefusedWithTheMessage) {
    struct Case {
        std::uint32_t platformId, major, minor;
        bool failing;
        bool refused;
    };
    for (const Case& c : {Case{2, 5, 0, false, false}, Case{2, 5, 1, false, false}, Case{2, 10, 0, false, false},
                          Case{2, 4, 0, false, true}, Case{1, 4, 90, false, true}, Case{2, 6, 0, true, true}}) {
        machine.messages.clear();
        machine.runningInstances.clear();
        if (c.failing) {
            machine.osVersion.reset();
        } else {
            platform::OsVersionInfo v;
            v.platformId = c.platformId;
            v.majorVersion = c.major;
            v.minorVersion = c.minor;
            machine.osVersion = v;
        }
        store("AppSettingFlag", "PassTest", "False");
        startCorvid("SYSTEM", "PassTest");
        EXPECT_EQ(stored("AppSettingFlag", "PassTest"), c.refused ? "False" : "True") << c.major << "." << c.minor;
        ASSERT_EQ(machine.messages.size(), c.refused ? 1u : 0u);
        if (c.refused) {
            EXPECT_EQ(machine.messages[0].request.text, "このプログラムは Windows2000 以上で動作します");
            EXPECT_EQ(machine.messages[0].request.title, "Tidemark");
        }
    }
}

TEST_F(CorvidOnMachine, RunClaimsTheRightForTheSystemStartAccountAndStartsGrantelQuoted) {
    machine.programFolder = "C:\\Program Files\\Tidemark";
    startCorvid();
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightUser"), "SystemStartAdministrators");
    EXPECT_EQ(stored("UserAccountName", "SystemStartAdministrators"), "System Start Administrators");
    EXPECT_EQ(stored("AppSettingFlag", "SSAUserTime"), "0930");
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightTime"), "3");
    const auto grantel = launchesOf("Grantel.exe");
    ASSERT_EQ(grantel.size(), 1u);
    EXPECT_EQ(grantel[0]->file, "\"C:\\Program Files\\Tidemark\\Grantel.exe\"");
    EXPECT_EQ(grantel[0]->parameters, "RUN");
    EXPECT_EQ(grantel[0]->showCommand, platform::showcmd::MinimizedNoActivate);
    EXPECT_FALSE(grantel[0]->waited);
}

TEST_F(CorvidOnMachine, GrantelIsStartedOnlyForAdministratorsAndSystem) {
    struct Case {
        const char* user;
        const char* sid;       // added as a new account when set
        int nameFailures;
        bool grantel;
        const char* name;
    };
    for (const Case& c : {Case{"SYSTEM", nullptr, 0, true, "SYSTEM"},
                          Case{"LocalSystemRenamed", kSystemSid, 0, true, "LocalSystemRenamed"},
                          Case{"alice", nullptr, 0, true, "alice"}, Case{"bob", nullptr, 0, false, "bob"},
                          Case{"alice", nullptr, 1000, false, "Unknown User"}}) {
        machine.launches.clear();
        machine.runningInstances.clear();
        if (c.sid && !machine.findUser(c.user)) machine.addUser(c.user, c.sid, {});
        runs.push_back(std::make_unique<CorvidRun>(machine, c.user, "RUN"));
        runs.back()->process->userNameFailures = c.nameFailures;
        runs.back()->corvid.start();
        EXPECT_EQ(launchesOf("Grantel.exe").size(), c.grantel ? 1u : 0u) << c.user;
        EXPECT_EQ(runs.back()->state.user.logonName, c.name);
    }
}

TEST_F(CorvidOnMachine, SecondRunCopyOnTheMachineEndsWhoeverStartsIt) {
    startCorvid();
    machine.launches.clear();
    store("AppSettingFlag", "SSAUserTime", "x");
    startCorvid("alice");
    EXPECT_TRUE(machine.launches.empty());
    EXPECT_EQ(stored("AppSettingFlag", "SSAUserTime"), "x");
}

TEST_F(CorvidOnMachine, SettingsForAnotherMemorySizeNeverCleanUntilAnAdministratorSavesThem) {
    lowMemory();
    auto& run = startCorvid();
    EXPECT_EQ(stored("AppSettingFlag", "ShExTime"), "Err Mem Size!");
    int elapsed = 0, validAt = -1, recordedAt = -1;
    std::size_t cleaningsBeforeValid = 0;
    run.corvid.runLoop([&] {
        if (elapsed == 300) saveSettingsForThisMachine();
        if (validAt < 0 && run.state.settingsValid) {
            validAt = elapsed;
            cleaningsBeforeValid = run.process->ramhold.calls.size();
        }
        if (recordedAt < 0 && stored("AppSettingFlag", "ShExTime") != "Err Mem Size!") recordedAt = elapsed;
        return elapsed++ < 600;
    });
    EXPECT_EQ(cleaningsBeforeValid, 0u);
    EXPECT_GT(validAt, 300);
    EXPECT_LE(validAt, 316);          // the next settings reading
    EXPECT_GE(recordedAt, validAt);
    EXPECT_LE(recordedAt, validAt + 61);   // the periodic check after it
    EXPECT_FALSE(run.process->ramhold.calls.empty());
}

TEST_F(CorvidOnMachine, ErrMemSizeTurnsIntoNotRunYetWhileMemoryIsPlenty) {
    auto& run = startCorvid();
    saveSettingsForThisMachine();
    runFor(run, 65);
    EXPECT_EQ(stored("AppSettingFlag", "ShExTime"), "まだ実行されていません");
    EXPECT_TRUE(run.process->ramhold.calls.empty());
}

TEST_F(CorvidOnMachine, StartUpCleansOnceAboveTheTriggerUnlessAWatchedProgramRuns) {
    saveSettingsForThisMachine();
    auto& run = startCorvid();
    ASSERT_EQ(run.process->ramhold.calls.size(), 1u);
    EXPECT_EQ(run.process->ramhold.calls[0].name, "MallocFirst");
    finishHelpfully(run);
    EXPECT_EQ(stored("AppSettingFlag", "ShExTime"), "2026/12/07 9:30:00");

    store("AppSettingFlag", "ProcWatchSetting", "True");
    store("AppSettingFlag", "STMCProcReplaceFlag", "False");
    store("ExitTrigProcList", "game.exe", "C:\\Games\\game.exe");
    machine.runningProcesses = std::vector<std::string>{"game.exe"};
    machine.runningInstances.clear();
    auto& second = startCorvid();
    EXPECT_TRUE(second.process->ramhold.calls.empty());
}

TEST_F(CorvidOnMachine, WithoutATriggerStoredCorvidUsesAThirdOfMemoryUncapped) {
    machine.setMemory(3072 * MB, 1100 * MB);
    store("AppSettingFlag", "PhysMemSize", std::to_string(3072 * MB));
    auto& run = startCorvid();
    EXPECT_EQ(run.state.cleanerValues.trigger, static_cast<std::int64_t>(1024 * MB));   // the main program stops at 128 MB
    run.process->ramhold.finish();
    runFor(run, 60);
    EXPECT_EQ(run.process->ramhold.calls.size(), 1u);   // 1100 MB free: above the trigger
    machine.setMemory(3072 * MB, 1000 * MB);
    runFor(run, 60);
    EXPECT_EQ(run.process->ramhold.calls.size(), 2u);
}

TEST_F(CorvidOnMachine, CadenceOverHoursRenewsEveryMinuteAndReadsSettingsEveryFifteenSeconds) {
    saveSettingsForThisMachine();
    auto& run = startCorvid();
    machine.clock.setLocalTime(2026, 12, 7, 9, 30, 0);
    const std::uint64_t start = machine.clock.monotonicMs();
    std::vector<std::string> stamps;
    int elapsed = 0, settingsChanges = 0;
    run.corvid.runLoop([&] {
        if (elapsed % 60 == 59) stamps.push_back(stored("AppSettingFlag", "SSAUserTime"));
        // Flip the mode every 15 seconds; Corvid must follow each flip.
        if (elapsed % 15 == 14) {
            EXPECT_EQ(run.state.cleanerValues.mode, settingsChanges % 2) << elapsed;
            ++settingsChanges;
            store("AppSettingFlag", "MemCleanForm", settingsChanges % 2 ? "Slow" : "First");
        }
        return elapsed++ < 3 * 3600;
    });
    // The passes' sleeps, and 1 ms between the registry reads of each
    // renewal's look at the profile list.
    EXPECT_GE(machine.clock.monotonicMs() - start, 3u * 3600 * 1000);
    EXPECT_LT(machine.clock.monotonicMs() - start, 3u * 3600 * 1000 + 3000);
    ASSERT_EQ(stamps.size(), 180u);
    // Renewed in the 55th second of each minute: every minute has its stamp.
    EXPECT_EQ(stamps.front(), "0930");
    EXPECT_EQ(stamps[30], "1000");
    EXPECT_EQ(stamps.back(), "1229");
    EXPECT_EQ(std::set<std::string>(stamps.begin(), stamps.end()).size(), stamps.size());
}

TEST_F(CorvidOnMachine, SlowCleaningIsBrokenOffOnceMemoryIsBackAboveTheTrigger) {
    saveSettingsForThisMachine();
    store("AppSettingFlag", "MemCleanForm", "Slow");
    store("AppSettingFlag", "MemCleanExeMemSize", std::to_string(100 * MB));
    lowMemory();
    auto& run = startCorvid();
    ASSERT_EQ(run.process->ramhold.calls.at(0).name, "MallocSlow");
    runFor(run, 10);
    EXPECT_EQ(run.process->ramhold.breaks, 0);
    machine.setMemory(1024 * MB, 600 * MB);
    runFor(run, 5);
    EXPECT_GE(run.process->ramhold.breaks, 1);
}

TEST_F(CorvidOnMachine, HoldingCorvidKeepsTheUsersFromCleaning) {
    saveSettingsForThisMachine();
    auto& run = startCorvid();
    start("alice");
    start("bob");
    lowMemory();
    runFor(run, 3600, {"alice", "bob"});
    EXPECT_EQ(holders(), 0);
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightUser"), "SystemStartAdministrators");
    EXPECT_GE(run.process->ramhold.calls.size(), 50u);
    EXPECT_EQ(cleanings("alice") + cleanings("bob"), 0u);
    // The users' copies name the holder, and see it alive.
    EXPECT_EQ(copies.at("alice")->ui.tooltip(monitor::StatusWindow::Simple, monitor::StatusControl::LastRunCaption),
              "メモリークリーナー実行権者は System Start Administrators");
    EXPECT_FALSE(copies.at("bob")->state.systemStart.warned);
}

TEST_F(CorvidOnMachine, StalledCorvidLosesTheRightAndStopsCleaningWhenItWakes) {
    saveSettingsForThisMachine();
    auto& run = startCorvid();
    start("alice");
    lowMemory();
    // Corvid hangs: the user's copy counts it down and takes over.
    for (int i = 0; i < 10; ++i) minute({"alice"});
    ASSERT_TRUE(holds("alice"));
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightUser"), testing::kAliceSid);
    const auto before = run.process->ramhold.calls.size();
    run.process->ramhold.finish();
    runFor(run, 1800, {"alice"});
    EXPECT_EQ(run.process->ramhold.calls.size(), before);
    EXPECT_TRUE(run.state.rightLost);
    EXPECT_TRUE(holds("alice"));
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightUser"), testing::kAliceSid);
    EXPECT_GT(cleanings("alice"), 20u);
}

TEST_F(CorvidOnMachine, OneFailedWriteDoesNotEndTheRenewals) {
    saveSettingsForThisMachine();
    auto& run = startCorvid();
    start("alice");
    int elapsed = 0;
    run.corvid.runLoop([&] {
        if (elapsed == 100) machine.files.failingWrites = 1;   // the renewal at 115 s fails
        if (elapsed > 0 && elapsed % 60 == 0) {
            copies.at("alice")->process->ramhold.finish();
            copies.at("alice")->minuteTick();
        }
        return elapsed++ < 600;
    });
    EXPECT_TRUE(run.state.actsAsHolder);
    EXPECT_EQ(stored("AppSettingFlag", "SSAUserTime"), "0939");   // renewed at 595 s
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightTime"), "3");
    EXPECT_FALSE(copies.at("alice")->state.systemStart.warned);
    EXPECT_TRUE(machine.messages.empty());
}

// Corvid records its cleanings as the users' copies do, waits after the
// ones that do not help, and logs the right it takes and loses.
TEST_F(CorvidOnMachine, CleaningsThatDoNotHelpWaitAndEveryResultIsRecorded) {
    saveSettingsForThisMachine();
    lowMemory();   // 50 MB free; Corvid's trigger here is a third of memory
    auto& run = startCorvid();
    ASSERT_FALSE(machine.events.empty());
    EXPECT_EQ(machine.events[0].id, 1100u);
    EXPECT_EQ(machine.events[0].strings[0], "Corvid");
    EXPECT_EQ(machine.events[0].strings[2], "SystemStartAdministrators");
    int elapsed = 0;
    run.corvid.runLoop([&] {
        run.process->ramhold.finish();   // every cleaning ends at once, freeing nothing
        return elapsed++ < 480;
    });
    // The start-up cleaning, then 2 and 4 minutes later: 3 in 8 minutes.
    EXPECT_EQ(run.process->ramhold.calls.size(), 3u);
    const auto result = cleaner::parseResultValue(stored("AppSettingFlag", "ShExResult"));
    ASSERT_TRUE(result);
    EXPECT_EQ(result->reason, cleaner::CleaningReason::Trigger);
    EXPECT_EQ(result->freedMB(), 0);
    ASSERT_TRUE(result->nextAttempt);
    EXPECT_EQ(cleaner::minutesUntil(result->started, *result->nextAttempt), 8);
    std::vector<std::uint32_t> cleaningEvents;
    for (const auto& e : machine.events)
        if (e.id / 100 == 10) cleaningEvents.push_back(e.id);
    EXPECT_EQ(cleaningEvents, (std::vector<std::uint32_t>{1001, 1001, 1001}));
    EXPECT_EQ(machine.events.back().strings[3], "トリガー");

    // A user's copy took the right over: Corvid stops and says so.
    store("AppSettingFlag", "MemCleanRightUser", testing::kAliceSid);
    run.corvid.periodicCheck();
    EXPECT_TRUE(run.state.rightLost);
    EXPECT_EQ(machine.events.back().id, 1101u);
}

TEST_F(CorvidOnMachine, OneFailedWriteLeavesTheLastRunTextAsItWas) {
    saveSettingsForThisMachine();
    auto& run = startCorvid();
    finishHelpfully(run);
    std::set<std::string> shown{stored("AppSettingFlag", "ShExTime")};   // the start-up cleaning's time
    int elapsed = 0;
    run.corvid.runLoop([&] {
        finishHelpfully(run);
        if (elapsed == 100) machine.files.failingWrites = 1;   // the renewal at 115 s fails
        shown.insert(stored("AppSettingFlag", "ShExTime"));
        return elapsed++ < 600;
    });
    EXPECT_EQ(shown, std::set<std::string>{"2026/12/07 9:30:00"});
    EXPECT_TRUE(run.state.settingsValid);
}

TEST_F(CorvidOnMachine, UnreadableMomentSkipsOneCleaningAndKeepsTheRight) {
    saveSettingsForThisMachine();
    lowMemory();
    auto& run = startCorvid();
    std::size_t atUnreadable = 0;
    int elapsed = 0;
    run.corvid.runLoop([&] {
        finishHelpfully(run);
        if (elapsed == 110) {
            machine.files.denyReads(kSharedFile);
            atUnreadable = run.process->ramhold.calls.size();
        }
        if (elapsed == 120) {
            EXPECT_EQ(run.process->ramhold.calls.size(), atUnreadable) << "cleaned on an unread holder";
            machine.files.allowReads(kSharedFile);
        }
        return elapsed++ < 600;
    });
    EXPECT_FALSE(run.state.rightLost);
    EXPECT_TRUE(run.state.actsAsHolder);
    EXPECT_GT(run.process->ramhold.calls.size(), atUnreadable + 5);
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightUser"), "SystemStartAdministrators");
}

TEST_F(CorvidOnMachine, LosingTheRightBreaksItsOwnStepwiseCleaning) {
    saveSettingsForThisMachine();
    store("AppSettingFlag", "MemCleanForm", "Slow");
    lowMemory();
    auto& run = startCorvid();
    ASSERT_EQ(run.process->ramhold.stepwiseClaimStatus(), platform::slowstatus::Claiming);
    machine.logOn("alice");
    store("AppSettingFlag", "MemCleanRightUser", testing::kAliceSid);   // taken over while Corvid stalled
    runFor(run, 60);
    EXPECT_TRUE(run.state.rightLost);
    EXPECT_EQ(run.process->ramhold.stepwiseClaimStatus(), platform::slowstatus::Interrupted);
}

// Corvid's minute and the users' ticks interleave at every file access,
// while some of the file's writes fail: Corvid keeps the right, at most one
// cleaner runs in a minute, and no user is told the system-start account's
// password changed.
TEST_F(CorvidOnMachine, InterleavedWithUsersAndFailingWritesCorvidKeepsOneCleaner) {
    saveSettingsForThisMachine();
    for (unsigned seed = 21; seed < 24; ++seed) {
        auto& run = startCorvid();
        start("alice");
        start("bob");
        testing::Interleaver interleaver(machine, seed);
        std::mt19937 random(seed);
        auto chance = [&](int percent) { return std::uniform_int_distribution<int>(0, 99)(random) < percent; };
        for (int m = 0; m < 120; ++m) {
            const bool low = chance(70);
            machine.setMemory(1024 * MB, (low ? 40 : 600) * MB);
            if (chance(10)) machine.files.failingWrites = 1;
            machine.clock.advance(60000);
            std::map<std::string, std::size_t> before{{"corvid", run.process->ramhold.calls.size()},
                                                      {"alice", cleanings("alice")},
                                                      {"bob", cleanings("bob")}};
            std::vector<std::function<void()>> work{[&] {
                finishHelpfully(run);
                run.corvid.fiveSecondCheck();
                run.state.settingsValid = run.corvid.readSettings();
                run.corvid.periodicCheck();
            }};
            for (const char* user : {"alice", "bob"}) {
                testing::MonitorCopy* c = copies.at(user).get();
                work.push_back([c] {
                    c->process->ramhold.finish();
                    c->minuteTick();
                });
            }
            interleaver.run(work);
            const int cleaners = (run.process->ramhold.calls.size() > before["corvid"]) +
                                 (cleanings("alice") > before["alice"]) + (cleanings("bob") > before["bob"]);
            ASSERT_LE(cleaners, 1) << "seed " << seed << " minute " << m;
        }
        machine.files.failingWrites = 0;
        EXPECT_FALSE(run.state.rightLost) << "seed " << seed;
        EXPECT_EQ(holders(), 0) << "seed " << seed;
        EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightUser"), "SystemStartAdministrators") << "seed " << seed;
        EXPECT_FALSE(copies.at("alice")->state.systemStart.warned) << "seed " << seed;
        EXPECT_GE(run.process->ramhold.calls.size(), 40u) << "seed " << seed;
        end("alice");
        end("bob");
        runs.clear();
        machine.runningInstances.clear();
    }
}

// A terminal server's sessions keep their own time zones; Corvid runs in
// the machine's. Stamps are written and compared in UTC.
TEST_F(CorvidOnMachine, SessionsHalfAnHourOffSeeCorvidsStampFresh) {
    machine.clock.setTimeZone(9 * 60);
    machine.clock.setLocalTime(2026, 12, 7, 9, 30, 0);
    saveSettingsForThisMachine();
    auto& run = startCorvid();
    EXPECT_EQ(stored("AppSettingFlag", "SSAUserTime"), "0030");
    for (const auto& [user, zone] : {std::pair{"alice", 330}, std::pair{"bob", 630}})
        start(user).process->timeZone = zone;   // India; Adelaide in summer
    runFor(run, 1800, {"alice", "bob"});
    EXPECT_FALSE(copies.at("alice")->state.systemStart.warned);
    EXPECT_FALSE(copies.at("bob")->state.systemStart.warned);
    EXPECT_TRUE(machine.messages.empty());
}

TEST_F(CorvidOnMachine, CopiesInOtherTimeZonesCountTheHolderDownOnceAMinute) {
    saveSettingsForThisMachine();
    auto& run = startCorvid();
    const std::vector<std::string> users{"alice", "bob", "carol", "dave"};
    const int zones[] = {0, 60, 540, -300};
    for (std::size_t i = 0; i < users.size(); ++i) start(users[i]).process->timeZone = zones[i];
    lowMemory();
    int challenges = 0, elapsed = 0;
    run.corvid.runLoop([&] {
        if (elapsed > 0 && elapsed % 60 == 0) {
            finishHelpfully(run);
            for (const auto& u : users) {
                copies.at(u)->minuteTick();
                challenges += copies.at(u)->state.right.challenging;
            }
        }
        return elapsed++ < 1800;
    });
    EXPECT_EQ(challenges, 0);
    EXPECT_GE(run.process->ramhold.calls.size(), 25u);
}

TEST_F(CorvidOnMachine, KilledCorvidIsReplacedByOneUserCopy) {
    saveSettingsForThisMachine();
    startCorvid();
    runs.clear();   // killed: no exit, nothing given back
    start("alice");
    start("bob");
    lowMemory();
    for (int i = 0; i < 12; ++i) minute({"alice", "bob"});
    EXPECT_EQ(holders(), 1);
}

TEST_F(CorvidOnMachine, LeavingAtSessionEndBreaksTheCleaningAndWritesNothing) {
    saveSettingsForThisMachine();
    auto& run = startCorvid();
    runFor(run, 30);
    const auto bytes = machine.files.readAll(kSharedFile).bytes;
    const int breaks = run.process->ramhold.breaks;
    run.corvid.exit();
    EXPECT_EQ(run.process->ramhold.breaks, breaks + 1);
    EXPECT_EQ(machine.files.readAll(kSharedFile).bytes, bytes);
}

TEST_F(CorvidOnMachine, FailedProfileScanStopsTheRenewalsButNotTheCleaning) {
    saveSettingsForThisMachine();
    machine.registry.deleteKey(platform::RegistryRoot::LocalMachine, sim::kProfileListKey);
    auto& run = startCorvid();
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_FALSE(run.state.actsAsHolder);
    store("AppSettingFlag", "MemCleanRightTime", "1");
    lowMemory();
    run.process->ramhold.finish();
    runFor(run, 120);
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightTime"), "1");
    EXPECT_GE(run.process->ramhold.calls.size(), 2u);
}

} // namespace
} // namespace tidemark
