// The memory-cleaner right between the copies of several logged-on users:
// renewal, countdown, challenge and take-over, over minutes of virtual time.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>

#include "shared/settings/SettingsFiles.h"
#include "support/CopiesOnOneMachine.h"

namespace tidemark::monitor {
namespace {

using RightProtocol = testing::CopiesOnOneMachine;
constexpr std::uint64_t MB = testing::CopiesOnOneMachine::MB;

TEST_F(RightProtocol, LiveHolderKeepsTheRightWhateverTheOrderOfTicks) {
    start("alice");
    start("bob");
    lowMemory();
    for (int m = 0; m < 30; ++m) minute(m % 3 ? std::vector<std::string>{"alice", "bob"} : std::vector<std::string>{"bob", "alice"});
    EXPECT_TRUE(holds("alice"));
    EXPECT_FALSE(holds("bob"));
    EXPECT_FALSE(copies["bob"]->state.right.challenging);
    EXPECT_TRUE(copies["bob"]->process->ramhold.calls.empty());
    EXPECT_GE(copies["alice"]->process->ramhold.calls.size(), 30u);
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightUser"), testing::kAliceSid);
}

TEST_F(RightProtocol, HolderThatStopsRenewingLosesTheRightAfterThreeAndThreeLowTicks) {
    start("alice");
    start("bob");
    lowMemory();
    minute({"alice", "bob"});   // bob's first low-memory tick
    int ticks = 1;
    while (!holds("bob") && ticks < 20) {
        minute({"bob"});   // alice's copy no longer ticks
        ++ticks;
        if (ticks == 3) {
            EXPECT_TRUE(copies["bob"]->state.right.challenging);
        }
    }
    EXPECT_EQ(ticks, 6);
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightUser"), testing::kBobSid);
    // Taking the right runs the tick again at once, which cleans.
    EXPECT_EQ(copies["bob"]->process->ramhold.calls.size(), 1u);
    EXPECT_EQ(copies["bob"]->ui.text(StatusWindow::Simple, StatusControl::LastRunCaption), "前回メモリクリーナ実行日時");
}

TEST_F(RightProtocol, ArmedChallengerStandsDownWhenTheHolderRenewsAgain) {
    start("alice");
    start("bob");
    lowMemory();
    for (int i = 0; i < 4; ++i) minute({"bob"});
    ASSERT_TRUE(copies["bob"]->state.right.challenging);
    minute({"alice", "bob"});
    minute({"bob", "alice"});
    EXPECT_FALSE(copies["bob"]->state.right.challenging);
    for (int i = 0; i < 10; ++i) minute({"alice", "bob"});
    EXPECT_FALSE(holds("bob"));
    EXPECT_TRUE(holds("alice"));
}

TEST_F(RightProtocol, RightPassesOnWhenItsHolderEnds) {
    start("alice");
    start("bob");
    lowMemory();
    minute({"alice", "bob"});
    end("alice");
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightUser"), "NoUser");
    int ticks = 0;
    while (!holds("bob") && ticks < 20) {
        minute({"bob"});
        ++ticks;
    }
    EXPECT_TRUE(holds("bob"));
    EXPECT_LE(ticks, 7);
}

TEST_F(RightProtocol, NewCopyAfterTheHolderEndedTakesTheRightAtStart) {
    start("alice");
    end("alice");
    auto& bob = start("bob");
    EXPECT_TRUE(bob.state.right.held);
}

TEST_F(RightProtocol, SystemStartAccountLosesTheRightOnlyThroughTheCountdown) {
    ProgramState s;
    s.settings.sharedPath = "C:\\Program Files\\Tidemark\\Tidemark.ini";
    SettingsFiles files(alice.platform(), s);
    files.write("AppSettingFlag", "MemCleanRightUser", std::string("SystemStartAdministrators"));
    files.write("AppSettingFlag", "MemCleanRightTime", std::string("3"));
    files.write("GetRightChallenge", testing::kAliceSid, std::string("3"));
    start("alice");
    EXPECT_FALSE(holds("alice"));
    minute({"alice"});   // plenty of free memory: no countdown
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightTime"), "3");
    lowMemory();
    int ticks = 0;
    while (!holds("alice") && ticks < 20) {
        minute({"alice"});
        ++ticks;
    }
    EXPECT_EQ(ticks, 6);
}

TEST_F(RightProtocol, WithoutACountdownKeyTheChallengeNeverArms) {
    ProgramState s;
    s.settings.sharedPath = "C:\\Program Files\\Tidemark\\Tidemark.ini";
    SettingsFiles(alice.platform(), s).write("AppSettingFlag", "MemCleanRightUser", std::string("SystemStartAdministrators"));
    start("alice");
    lowMemory();
    for (int i = 0; i < 20; ++i) minute({"alice"});
    EXPECT_FALSE(holds("alice"));
    EXPECT_FALSE(copies["alice"]->state.right.challenging);
}

// One account logged on twice (a terminal server allowing two sessions per
// user, or a remote session beside the console): two copies, one cleaner.
TEST_F(RightProtocol, OneAccountInTwoSessionsCleansOnce) {
    auto& first = start("alice");
    auto& second = start("alice@7");
    EXPECT_EQ(second.state.user.sid, first.state.user.sid);
    EXPECT_TRUE(holds("alice"));
    EXPECT_FALSE(holds("alice@7"));
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightSession"), "1");
    lowMemory();
    for (int m = 0; m < 10; ++m) {
        const auto before = cleanings("alice") + cleanings("alice@7");
        minute(m % 2 ? std::vector<std::string>{"alice", "alice@7"} : std::vector<std::string>{"alice@7", "alice"});
        EXPECT_EQ(cleanings("alice") + cleanings("alice@7"), before + 1) << "minute " << m;
        EXPECT_EQ(holders(), 1) << "minute " << m;
    }
    // The holder's session ends: its right goes back, and the other session
    // takes it.
    end("alice");
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightUser"), "NoUser");
    int ticks = 0;
    while (!holds("alice@7") && ticks < 10) {
        minute({"alice@7"});
        ++ticks;
    }
    EXPECT_TRUE(holds("alice@7"));
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightSession"), "7");
}

TEST_F(RightProtocol, AnOlderFileNamingTheAccountAloneStillNamesItsCopy) {
    store("AppSettingFlag", "MemCleanRightUser", testing::kAliceSid);   // no session recorded
    auto& alice = start("alice");
    EXPECT_TRUE(alice.state.right.held);
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightSession"), "1");
    end("alice");
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightUser"), "NoUser");
}

TEST_F(RightProtocol, CopyWithoutItsOwnSidRunsWithoutTheRightAndSaysSo) {
    start("bob");
    machine.logOn("alice");
    testing::MonitorCopy alice{machine, "alice"};
    alice.process->tokenSidFails = true;
    alice.start();
    EXPECT_TRUE(alice.state.user.sid.empty());
    EXPECT_FALSE(alice.state.right.held);
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_NE(machine.messages[0].request.text.find("SID"), std::string::npos);
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightUser"), testing::kBobSid);
    lowMemory();
    for (int i = 0; i < 10; ++i) {
        machine.clock.advance(60000);
        alice.minuteTick();
        copies.at("bob")->process->ramhold.finish();
        copies.at("bob")->minuteTick();
    }
    EXPECT_TRUE(alice.process->ramhold.calls.empty());
    EXPECT_TRUE(holds("bob"));
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightUser"), testing::kBobSid);
    EXPECT_EQ(machine.messages.size(), 1u);   // said once
}

TEST_F(RightProtocol, CopyThatStandsDownBreaksItsOwnStepwiseCleaning) {
    store("AppSettingFlag", "MemCleanForm", "Slow");
    start("alice");
    start("bob");
    lowMemory();
    minute({"alice", "bob"});
    ASSERT_TRUE(holds("alice"));
    auto& alice = *copies.at("alice");
    ASSERT_EQ(alice.process->ramhold.stepwiseClaimStatus(), platform::slowstatus::Claiming);
    // Bob's copy takes the right while alice's stepwise cleaning still runs.
    store("AppSettingFlag", "MemCleanRightUser", testing::kBobSid);
    alice.minuteTick();
    EXPECT_FALSE(holds("alice"));
    EXPECT_EQ(alice.process->ramhold.breaks, 1);
    EXPECT_EQ(alice.process->ramhold.stepwiseClaimStatus(), platform::slowstatus::Interrupted);
}

TEST_F(RightProtocol, TakeOverFailsWhereAnotherCopyClaimedTheRightMeanwhile) {
    start("alice");
    start("bob");
    lowMemory();
    for (int i = 0; i < 5; ++i) minute({"bob"});   // alice's copy stalls; bob's challenge runs
    ASSERT_TRUE(copies["bob"]->state.right.challenging);
    ASSERT_FALSE(holds("bob"));
    // Carol's copy takes the right while bob's challenge is one step from done.
    machine.logOn("carol");
    store("AppSettingFlag", "MemCleanRightUser", "S-1-5-21-1004336348-1177238915-682003330-1003");
    const std::string carol = "S-1-5-21-1004336348-1177238915-682003330-1003";
    minute({"bob"});
    EXPECT_FALSE(holds("bob")) << "taken from a holder other than the one challenged";
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightUser"), carol);
    // The refused challenger stood down and counts the real holder down
    // afresh: should that holder never renew, the right still moves on.
    EXPECT_EQ(copies["bob"]->state.right.challengedHolder, carol);
    int ticks = 0;
    while (!holds("bob") && ticks < 10) {
        minute({"bob"});
        ++ticks;
    }
    EXPECT_TRUE(holds("bob"));
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightUser"), testing::kBobSid);
}

TEST_F(RightProtocol, LeavingCopyThatLostTheRightUnnoticedLeavesTheNewHoldersRight) {
    start("alice");
    start("bob");
    store("AppSettingFlag", "MemCleanRightUser", testing::kBobSid);   // taken while alice's copy was held up
    end("alice");
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightUser"), testing::kBobSid);
}

// The users' copies watch the system-start cleaner's minute stamp: the
// warning comes in the fourth minute after the stamp fell more than three
// minutes behind, not before and only once.
TEST_F(RightProtocol, StaleSystemStartStampWarnsOnItsMinuteAndOnce) {
    machine.clock.setLocalTime(2026, 12, 7, 9, 30, 0);
    store("AppSettingFlag", "MemCleanRightUser", "SystemStartAdministrators");
    store("UserAccountName", "SystemStartAdministrators", "System Start Administrators");
    store("AppSettingFlag", "SSAUserTime", "0930");
    start("alice");
    const auto boxes = [&] { return machine.messages.size(); };
    std::vector<int> warnedAt;
    for (int m = 1; m <= 12; ++m) {
        const auto before = boxes();
        minute({"alice"});
        if (boxes() > before) warnedAt.push_back(m);
    }
    // Minutes 4 to 7 are 4 to 7 behind: the fourth of them warns.
    EXPECT_EQ(warnedAt, std::vector<int>{7});
    ASSERT_FALSE(machine.messages.empty());
    EXPECT_NE(machine.messages.back().request.text.find("パスワードが変更されている可能性があります"), std::string::npos);
    // And once in the event log, for the administrators who collect it.
    ASSERT_FALSE(machine.events.empty());
    const sim::EventRecord& warning = machine.events.back();
    EXPECT_EQ(warning.id, 1200u);
    EXPECT_EQ(warning.type, platform::EventType::Warning);
    EXPECT_EQ(warning.strings, (std::vector<std::string>{"Tidemark", "alice", "0930"}));
}

// A user who logs on for the first time while the holder renews (a profile
// the holder's start-up scan never saw) is answered like everybody else.
TEST_F(RightProtocol, FirstLogonWhileAHolderRenewsNeverTakesTheRight) {
    start("alice");
    start("bob");
    start("carol");
    start("dave");
    machine.addUser("erin", "S-1-5-21-1004336348-1177238915-682003330-1005");
    start("erin");
    lowMemory();
    std::mt19937 random(5);
    std::vector<std::string> order{"alice", "bob", "carol", "dave", "erin"};
    for (int m = 0; m < 30; ++m) {
        std::shuffle(order.begin(), order.end(), random);
        minute(order);
        ASSERT_TRUE(holds("alice")) << "minute " << m;
        ASSERT_EQ(holders(), 1) << "minute " << m;
    }
    EXPECT_EQ(cleanings("erin"), 0u);
}

// Many copies waiting for the right count the holder's time down once a
// minute between them: the holder keeps its three minutes of grace.
TEST_F(RightProtocol, WaitingCopiesCountTheHolderDownOnceAMinute) {
    start("alice");
    start("bob");
    start("carol");
    start("dave");
    lowMemory();
    minute({"bob", "carol", "dave"});   // alice's copy is held up
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightTime"), "2");
    for (const char* user : {"bob", "carol", "dave"}) EXPECT_FALSE(copies.at(user)->state.right.challenging) << user;
    minute({"dave", "bob", "carol"});
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightTime"), "1");
    minute({"alice", "bob", "carol", "dave"});   // back in time: renewed
    EXPECT_TRUE(holds("alice"));
    EXPECT_EQ(holders(), 1);
}

// The holder's minute is one write of the settings file, memory low or not.
TEST_F(RightProtocol, HoldersRenewalIsOneWrite) {
    start("alice");
    for (const bool low : {false, true}) {
        machine.setMemory(1024 * MB, (low ? 50 : 800) * MB);
        machine.clock.advance(60000);
        copies.at("alice")->process->ramhold.finish();
        copies.at("alice")->minuteTick();   // settles the values after a change of memory
        machine.clock.advance(60000);
        copies.at("alice")->process->ramhold.finish();
        const int before = machine.files.writeCount();
        copies.at("alice")->minuteTick();
        // The renewal, and with low memory the cleaning's "ShExTime".
        EXPECT_EQ(machine.files.writeCount() - before, low ? 2 : 1) << (low ? "low" : "plenty");
    }
}

// Users come and go and memory rises and falls for days of virtual time.
// Once things settle at most one copy cleans, and the right is never lost.
TEST_F(RightProtocol, RandomisedRunsKeepOneCleanerAndNeverLoseTheRight) {
    const std::vector<std::string> users{"alice", "bob", "carol", "dave"};
    for (unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 random(seed);
        auto chance = [&](int percent) { return std::uniform_int_distribution<int>(0, 99)(random) < percent; };
        int lowSinceEvent = 0;
        int handovers = 0;
        std::string lastHolder;
        for (int m = 0; m < 800; ++m) {
            bool event = false;
            for (const auto& user : users) {
                const bool running = copies.count(user) != 0;
                if (!running && chance(2)) { start(user); event = true; }
                else if (running && chance(1)) { end(user); event = true; }
            }
            const bool low = chance(60);
            machine.setMemory(1024 * MB, (low ? 40 : 600) * MB);
            std::vector<std::string> order;
            for (auto& [user, copy] : copies) order.push_back(user);
            std::shuffle(order.begin(), order.end(), random);
            std::map<std::string, std::size_t> cleaningsBefore;
            for (auto& [user, copy] : copies) cleaningsBefore[user] = copy->process->ramhold.calls.size();
            minute(order);
            int cleaners = 0;
            for (auto& [user, copy] : copies) cleaners += copy->process->ramhold.calls.size() > cleaningsBefore[user];
            ASSERT_LE(cleaners, 1) << "seed " << seed << " minute " << m;
            ASSERT_LE(holders(), 1) << "seed " << seed << " minute " << m;
            for (auto& [user, copy] : copies) {
                if (copy->state.right.held && user != lastHolder) {
                    ++handovers;
                    lastHolder = user;
                }
            }
            lowSinceEvent = event ? 0 : lowSinceEvent + (low ? 1 : 0);
            if (!copies.empty() && lowSinceEvent >= 8) {
                ASSERT_EQ(holders(), 1) << "seed " << seed << " minute " << m << ": the right was lost";
            }
        }
        EXPECT_GE(handovers, 5) << "seed " << seed << ": the run hardly moved the right";
        while (!copies.empty()) end(copies.begin()->first);
    }
}

} // namespace
} // namespace tidemark::monitor
