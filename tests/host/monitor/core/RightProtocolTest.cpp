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
