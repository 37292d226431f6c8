// The cleaner right where one copy's step lands while another waits for the
// settings file's lock: between what a conditional write read and what it
// writes under the lock.
#include <gtest/gtest.h>

#include "monitor/core/CleanerRight.h"
#include "shared/accounts/UserRegistration.h"
#include "support/CopiesOnOneMachine.h"

namespace tidemark::monitor {
namespace {

class RightRaces : public testing::CopiesOnOneMachine {
protected:
    MonitorContext& context(const std::string& copy) { return copies.at(copy)->context; }
    // Runs `step` of one copy while the others' steps take the lock first.
    void whileWaiting(std::vector<std::function<void()>> others, const std::function<void()>& step) {
        machine.locks.runWhileNextWaits(std::move(others));
        step();
    }
    std::function<void()> renewal(const std::string& copy) {
        return [this, copy] { right::renew(context(copy)); };
    }
    std::function<void()> countdown(const std::string& copy) {
        return [this, copy] { right::countHolderDown(context(copy)); };
    }
};

TEST_F(RightRaces, ChallengersCountdownNeverWritesOverARenewalMadeWhileItWaited) {
    start("alice");
    start("bob");
    lowMemory();
    for (int i = 0; i < 4; ++i) minute({"bob"});   // alice's copy is held up; bob's counter stands at 2
    ASSERT_TRUE(copies["bob"]->state.right.challenging);
    whileWaiting({renewal("alice")}, [&] { right::challenge(context("bob")); });
    EXPECT_EQ(stored("GetRightChallenge", testing::kBobSid), "3");
    EXPECT_FALSE(copies["bob"]->state.right.challenging);
}

// The holder's countdown is made where neither its value nor its minute
// changed since it was read: a renewal, or a renewal and another copy's
// countdown, in between leave it unmade, and an unmade countdown arms nothing.
TEST_F(RightRaces, CountdownOvertakenWhileItWaitsIsNotMade) {
    struct Case {
        int lowMinutes;                      // bob's minutes alone after the first
        std::vector<std::string> counters;   // who counts down while bob waits, after alice renews
        const char* left;
    };
    for (const Case& c : {Case{1, {}, "3"}, Case{0, {"carol"}, "2"}}) {
        start("alice");
        start("bob");
        start("carol");
        lowMemory();
        minute({"alice", "bob", "carol"});
        for (int i = 0; i < c.lowMinutes; ++i) minute({"bob"});
        machine.clock.advance(60000);
        std::vector<std::function<void()>> others{renewal("alice")};
        for (const auto& copy : c.counters) others.push_back(countdown(copy));
        whileWaiting(others, countdown("bob"));
        EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightTime"), c.left) << c.lowMinutes;
        EXPECT_FALSE(copies["bob"]->state.right.challenging) << c.lowMinutes;
        while (!copies.empty()) end(copies.begin()->first);
    }
}

TEST_F(RightRaces, ClaimThatAnotherCopyBeatIsNotHeld) {
    start("carol");
    start("alice");
    start("bob");
    end("carol");   // "NoUser": both may claim
    auto& bob = *copies["bob"];
    whileWaiting({[&] { claimCleanerRight(bob.process->platform(), bob.state); }},
                 [&] { claimCleanerRight(context("alice").platform, copies["alice"]->state); });
    EXPECT_TRUE(holds("bob"));
    EXPECT_FALSE(holds("alice"));
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightUser"), testing::kBobSid);
}

// One account in two sessions: the copy that lost the right to its other
// session unnoticed leaves that session's right alone when it ends.
TEST_F(RightRaces, SessionThatLostTheRightToItsOtherSessionLeavesItAlone) {
    start("alice");
    start("alice@7");
    store("AppSettingFlag", "MemCleanRightSession", "7");   // taken while the first copy was held up
    end("alice");
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightUser"), testing::kAliceSid);
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightSession"), "7");
}

// A file rewritten by a program that knows no sessions names the account
// alone: its copy still holds the right, and renews it, in a quiet minute.
TEST_F(RightRaces, FileNamingTheAccountAloneStillNamesTheHolderInAQuietMinute) {
    start("alice");
    start("bob");
    store("AppSettingFlag", "MemCleanRightSession", "");
    store("AppSettingFlag", "MemCleanRightTime", "1");
    minute({"alice", "bob"});
    EXPECT_TRUE(holds("alice"));
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightTime"), "3");
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightUser"), testing::kAliceSid);
}

} // namespace
} // namespace tidemark::monitor
