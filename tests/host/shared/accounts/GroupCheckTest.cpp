// The administrator test with its retry cycles, timed on the virtual clock.
#include <gtest/gtest.h>

#include "shared/accounts/AccountGroups.h"
#include "shared/system/SystemQueries.h"
#include "support/SimFixture.h"

namespace tidemark {
namespace {

class GroupCheck : public testing::SimFixture {
protected:
    AccountGroups groups{alice.platform()};
};

TEST_F(GroupCheck, SuccessAtOnceStillCostsFiveCallsAndOnePausePerPhase) {
    const auto start = machine.clock.monotonicMs();
    const Membership m = groups.isMember("Administrators");
    EXPECT_TRUE(m.member);
    EXPECT_TRUE(m.succeeded());
    EXPECT_EQ(alice.userNameCalls, 5);
    EXPECT_EQ(alice.groupQueryCalls, 5);
    // Two cycles of 5 x 1 ms and 500 ms; the first group matches at once.
    EXPECT_EQ(machine.clock.monotonicMs() - start, 1010u);
}

TEST_F(GroupCheck, ComparisonIsExactAndCaseSensitive) {
    const Membership m = groups.isMember("administrators");
    EXPECT_FALSE(m.member);
    EXPECT_TRUE(m.succeeded());
    sim::SimProcess bob{machine, "bob"};
    const Membership bobs = AccountGroups{bob.platform()}.isMember("Administrators");
    EXPECT_FALSE(bobs.member);
    EXPECT_EQ(bobs.error, GroupCheckError::None);
}

TEST_F(GroupCheck, IndirectMembershipCounts) {
    // The query includes groups reached through other groups.
    machine.addUser("carol", "S-1-5-21-1004336348-1177238915-682003330-1003", {"Users", "Helpdesk", "Administrators"});
    sim::SimProcess carol{machine, "carol"};
    EXPECT_TRUE(AccountGroups{carol.platform()}.isMember("Administrators").member);
}

TEST_F(GroupCheck, NameThatNeverComesGivesUpAfterFiftyCycles) {
    alice.userNameFailures = 1000000;
    const auto start = machine.clock.monotonicMs();
    const GroupList list = groups.currentUserGroups();
    EXPECT_EQ(list.groups, std::vector<std::string>{"Null"});
    EXPECT_EQ(list.error, GroupCheckError::UserName);
    EXPECT_EQ(alice.userNameCalls, 250);
    EXPECT_EQ(alice.groupQueryCalls, 0);
    EXPECT_EQ(machine.clock.monotonicMs() - start, 50u * 505u);
    EXPECT_FALSE(groups.isMember("Administrators").member);
}

TEST_F(GroupCheck, NameLateInACycleCountsOnlyIfTheLastCallSucceeds) {
    alice.userNameFailures = 4;   // calls 1-4 fail, the 5th succeeds: one cycle
    EXPECT_TRUE(groups.isMember("Administrators").member);
    EXPECT_EQ(alice.userNameCalls, 5);
    alice.userNameCalls = 0;
    alice.userNameFailures = 5;   // the whole first cycle fails: a second cycle
    EXPECT_TRUE(groups.isMember("Administrators").member);
    EXPECT_EQ(alice.userNameCalls, 10);
}

TEST_F(GroupCheck, GroupListThatNeverComesGivesLevelTwo) {
    alice.groupQueryFailures = 1000000;
    const GroupList list = groups.currentUserGroups();
    EXPECT_EQ(list.groups, std::vector<std::string>{"Null"});
    EXPECT_EQ(list.error, GroupCheckError::GroupList);
    EXPECT_EQ(list.status, 2221);
    EXPECT_EQ(alice.groupQueryCalls, 250);
}

TEST_F(GroupCheck, PagedAnswerIsAskedAgainUntilWhole) {
    alice.groupQueryPartial = 2;
    const GroupList list = groups.localGroups("alice");
    EXPECT_EQ(list.error, GroupCheckError::None);
    EXPECT_EQ(list.groups.size(), 2u);
    EXPECT_EQ(alice.groupQueryCalls, 3);
}

TEST_F(GroupCheck, LogonUserNameReportsTheCallsResult) {
    EXPECT_EQ(logonUserName(alice.platform()), "alice");
    alice.userNameFailures = 1;
    EXPECT_EQ(logonUserName(alice.platform()), std::nullopt);
}

} // namespace
} // namespace tidemark
