// Registering the user at start-up and settling who holds the cleaner right.
#include <gtest/gtest.h>

#include "shared/settings/SettingsKeys.h"
#include "shared/settings/SettingsFiles.h"
#include "shared/accounts/UserRegistration.h"
#include "shared/settings/DisplayChoices.h"
#include "support/SimFixture.h"

namespace tidemark {
namespace {

class RightClaim : public testing::SimFixture {
protected:
    RightClaim() {
        state.settings.sharedPath = sharedSettingsPath(alice.platform().process);
        state.user.logonName = "alice";
    }
    void holderIs(const std::string& sid) {
        SettingsFiles(alice.platform(), state).write("AppSettingFlag", "MemCleanRightUser", sid);
    }
    std::string holder() {
        return SettingsFiles(alice.platform(), state).read("AppSettingFlag", "MemCleanRightUser");
    }
    void start() { registerCurrentUser(alice.platform(), state); }
    ProgramState state;
};

TEST_F(RightClaim, FirstStartRegistersTheUserAndTakesTheRight) {
    start();
    EXPECT_TRUE(state.right.held);
    EXPECT_TRUE(state.settings.sharedWritable);
    EXPECT_EQ(holder(), testing::kAliceSid);
    EXPECT_EQ(SettingsFiles(alice.platform(), state).read("UserAccountName", testing::kAliceSid), "alice");
}

TEST_F(RightClaim, NobodyOrOneselfAsHolderKeepsTheRight) {
    for (const std::string h : {"NoUser", testing::kAliceSid}) {
        holderIs(h);
        state.right.held = true;
        start();
        EXPECT_TRUE(state.right.held) << h;
        EXPECT_EQ(holder(), testing::kAliceSid);
    }
}

TEST_F(RightClaim, LoggedOnHolderKeepsTheRight) {
    machine.logOn("bob");
    holderIs(testing::kBobSid);
    start();
    EXPECT_FALSE(state.right.held);
    EXPECT_EQ(holder(), testing::kBobSid);
}

TEST_F(RightClaim, HolderWhoIsNotLoggedOnLosesTheRight) {
    holderIs(testing::kBobSid);
    start();
    EXPECT_TRUE(state.right.held);
    EXPECT_EQ(holder(), testing::kAliceSid);
}

TEST_F(RightClaim, HolderWithoutAProfileLosesTheRight) {
    holderIs("S-1-5-21-9-9-9-4242-deleted-user");
    start();
    EXPECT_TRUE(state.right.held);
    EXPECT_EQ(holder(), testing::kAliceSid);
}

TEST_F(RightClaim, SystemStartAccountIsNeverDisplacedAtStartUp) {
    holderIs("SystemStartAdministrators");
    start();
    EXPECT_FALSE(state.right.held);
    EXPECT_EQ(holder(), "SystemStartAdministrators");
}

TEST_F(RightClaim, HolderComparisonIsCaseSensitive) {
    machine.logOn("bob");
    std::string lower = testing::kBobSid;
    lower[0] = 's';
    holderIs(lower);   // not any profile's SID as written
    start();
    EXPECT_TRUE(state.right.held);
}

TEST_F(RightClaim, UnwritableSharedFileMeansNoRight) {
    machine.files.denyWrites(state.settings.sharedPath);
    start();
    EXPECT_FALSE(state.settings.sharedWritable);
    EXPECT_FALSE(state.right.held);
    // Nothing more happens while the file cannot be written.
    state.right.held = true;
    registerCurrentUser(alice.platform(), state);
    EXPECT_TRUE(state.right.held);
    claimCleanerRight(alice.platform(), state);
    EXPECT_FALSE(state.right.held);
}

TEST_F(RightClaim, UnknownSidNeitherClaimsNorOverwrites) {
    alice.tokenSidFails = true;
    machine.logOff("alice");
    holderIs("NoUser");
    start();
    EXPECT_TRUE(state.user.sid.empty());
    EXPECT_FALSE(state.right.held);
    EXPECT_EQ(holder(), "NoUser");
}

TEST_F(RightClaim, SecondUserOfTheMachineRunsWithoutTheRight) {
    start();
    machine.logOn("bob");
    sim::SimProcess bob{machine, "bob"};
    ProgramState bobs;
    bobs.settings.sharedPath = state.settings.sharedPath;
    bobs.user.logonName = "bob";
    registerCurrentUser(bob.platform(), bobs);
    EXPECT_FALSE(bobs.right.held);
    EXPECT_TRUE(state.right.held);
    EXPECT_EQ(holder(), testing::kAliceSid);
}

TEST_F(RightClaim, IconAndStyleChoicesAreRead) {
    start();
    SettingsFiles files{alice.platform(), state};
    readWindowStyle(alice.platform(), state);
    EXPECT_FALSE(state.settings.userFileUsable);
    EXPECT_EQ(state.display.windowStyle, 0);
    files.writeUser("AppSetting", "FormStyle", std::string("1"));
    files.writeUser("IconSetting", testing::kAliceSid, std::string("True"));
    files.write("IconSetting", "AllUsers", std::string("true"));
    readWindowStyle(alice.platform(), state);
    readUserIconChoice(alice.platform(), state);
    readAllUsersIconChoice(alice.platform(), state);
    EXPECT_TRUE(state.settings.userFileUsable);
    EXPECT_EQ(state.display.windowStyle, 1);
    EXPECT_TRUE(state.display.userIcon);
    EXPECT_FALSE(state.display.allUsersIcon);   // "true" is not "True"
    files.writeUser("AppSetting", "FormStyle", std::string("2"));
    readWindowStyle(alice.platform(), state);
    EXPECT_EQ(state.display.windowStyle, 0);
    EXPECT_TRUE(state.settings.userFileUsable);
}

} // namespace
} // namespace tidemark
