// The administrator test with its retry cycles, timed on the virtual clock.
#include <gtest/gtest.h>

#include "shared/accounts/GetUsrCl.h"
#include "shared/accounts/GetsProc.h"
#include "support/SimFixture.h"

namespace tidemark {
namespace {

class GroupCheck : public testing::SimFixture {
protected:
    GetUsrCl usr{alice.platform()};
    bool ok = false;
    long level = -1, errNum = 0;
};

TEST_F(GroupCheck, SuccessAtOnceStillCostsFiveCallsAndOnePausePerPhase) {
    const auto start = machine.clock.monotonicMs();
    EXPECT_TRUE(usr.JudgeThisUserGroup("Administrators", ok, level, errNum));
    EXPECT_TRUE(ok);
    EXPECT_EQ(level, 0);
    EXPECT_EQ(alice.userNameCalls, 5);
    EXPECT_EQ(alice.groupQueryCalls, 5);
    // Two cycles of 5 x 1 ms and 500 ms; the first group matches at once.
    EXPECT_EQ(machine.clock.monotonicMs() - start, 1010u);
}

TEST_F(GroupCheck, ComparisonIsExactAndCaseSensitive) {
    EXPECT_FALSE(usr.JudgeThisUserGroup("administrators", ok, level, errNum));
    EXPECT_TRUE(ok);
    sim::SimProcess bob{machine, "bob"};
    GetUsrCl bobs{bob.platform()};
    EXPECT_FALSE(bobs.JudgeThisUserGroup("Administrators", ok, level, errNum));
    EXPECT_EQ(level, 0);
}

TEST_F(GroupCheck, IndirectMembershipCounts) {
    // The query includes groups reached through other groups.
    machine.addUser("carol", "S-1-5-21-1004336348-1177238915-682003330-1003", {"Users", "Helpdesk", "Administrators"});
    sim::SimProcess carol{machine, "carol"};
    GetUsrCl c{carol.platform()};
    EXPECT_TRUE(c.JudgeThisUserGroup("Administrators", ok, level, errNum));
}

TEST_F(GroupCheck, NameThatNeverComesGivesUpAfterFiftyCycles) {
    alice.userNameFailures = 1000000;
    const auto start = machine.clock.monotonicMs();
    const auto groups = usr.getThisUserGroup(ok, level, errNum);
    EXPECT_EQ(groups, std::vector<std::string>{"Null"});
    EXPECT_FALSE(ok);
    EXPECT_EQ(level, 1);
    EXPECT_EQ(alice.userNameCalls, 250);
    EXPECT_EQ(alice.groupQueryCalls, 0);
    EXPECT_EQ(machine.clock.monotonicMs() - start, 50u * 505u);
    EXPECT_FALSE(usr.JudgeThisUserGroup("Administrators", ok, level, errNum));
}

TEST_F(GroupCheck, NameLateInACycleCountsOnlyIfTheLastCallSucceeds) {
    alice.userNameFailures = 4;   // calls 1-4 fail, the 5th succeeds: one cycle
    EXPECT_TRUE(usr.JudgeThisUserGroup("Administrators", ok, level, errNum));
    EXPECT_EQ(alice.userNameCalls, 5);
    alice.userNameCalls = 0;
    alice.userNameFailures = 5;   // the whole first cycle fails: a second cycle
    EXPECT_TRUE(usr.JudgeThisUserGroup("Administrators", ok, level, errNum));
    EXPECT_EQ(alice.userNameCalls, 10);
}

TEST_F(GroupCheck, GroupListThatNeverComesGivesLevelTwo) {
    alice.groupQueryFailures = 1000000;
    const auto groups = usr.getThisUserGroup(ok, level, errNum);
    EXPECT_EQ(groups, std::vector<std::string>{"Null"});
    EXPECT_EQ(level, 2);
    EXPECT_EQ(errNum, 2221);
    EXPECT_EQ(alice.groupQueryCalls, 250);
}

TEST_F(GroupCheck, PagedAnswerIsAskedAgainUntilWhole) {
    alice.groupQueryPartial = 2;
    bool success = false;
    long err = 0;
    const auto groups = usr.GetUserGroup("alice", success, err);
    EXPECT_TRUE(success);
    EXPECT_EQ(groups.size(), 2u);
    EXPECT_EQ(alice.groupQueryCalls, 3);
}

TEST_F(GroupCheck, LogonUserNameReportsTheCallsResult) {
    ProgramState state;
    GetsProc proc{alice.platform(), state};
    long result = 0;
    EXPECT_EQ(proc.GetLogonUserName(result), "alice");
    EXPECT_NE(result, 0);
    alice.userNameFailures = 1;
    EXPECT_EQ(proc.GetLogonUserName(result), "");
    EXPECT_EQ(result, 0);
}

} // namespace
} // namespace tidemark
