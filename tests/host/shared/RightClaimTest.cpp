// Registering the user at start-up and settling who holds the cleaner right.
#include <gtest/gtest.h>

#include "shared/IniKeys.h"
#include "shared/IniOpe.h"
#include "shared/OpeIni.h"
#include "support/SimFixture.h"

namespace tidemark {
namespace {

class RightClaim : public testing::SimFixture {
protected:
    RightClaim() {
        state.strIniFilePath = sharedSettingsPath(alice.platform().process);
        state.strLogonUserName = "alice";
    }
    void holderIs(const std::string& sid) {
        IniOpe(alice.platform(), state).IniWriteTask("AppSettingFlag", "MemCleanRightUser", sid);
    }
    std::string holder() {
        long n = 0;
        return IniOpe(alice.platform(), state).IniReadTask("AppSettingFlag", "MemCleanRightUser", n);
    }
    void start() { OpeIni::RegisterCurrentUser(alice.platform(), state); }
    ProgramState state;
};

TEST_F(RightClaim, FirstStartRegistersTheUserAndTakesTheRight) {
    start();
    EXPECT_TRUE(state.bolMemCleanRight);
    EXPECT_TRUE(state.bolIniWriteFlag);
    EXPECT_EQ(holder(), testing::kAliceSid);
    long n = 0;
    EXPECT_EQ(IniOpe(alice.platform(), state).IniReadTask("UserAccountName", testing::kAliceSid, n), "alice");
}

TEST_F(RightClaim, NobodyOrOneselfAsHolderKeepsTheRight) {
    for (const std::string h : {"NoUser", testing::kAliceSid}) {
        holderIs(h);
        state.bolMemCleanRight = true;
        start();
        EXPECT_TRUE(state.bolMemCleanRight) << h;
        EXPECT_EQ(holder(), testing::kAliceSid);
    }
}

TEST_F(RightClaim, LoggedOnHolderKeepsTheRight) {
    machine.logOn("bob");
    holderIs(testing::kBobSid);
    start();
    EXPECT_FALSE(state.bolMemCleanRight);
    EXPECT_EQ(holder(), testing::kBobSid);
}

TEST_F(RightClaim, HolderWhoIsNotLoggedOnLosesTheRight) {
    holderIs(testing::kBobSid);
    start();
    EXPECT_TRUE(state.bolMemCleanRight);
    EXPECT_EQ(holder(), testing::kAliceSid);
}

TEST_F(RightClaim, HolderWithoutAProfileLosesTheRight) {
    holderIs("S-1-5-21-9-9-9-4242-deleted-user");
    start();
    EXPECT_TRUE(state.bolMemCleanRight);
    EXPECT_EQ(holder(), testing::kAliceSid);
}

TEST_F(RightClaim, SystemStartAccountIsNeverDisplacedAtStartUp) {
    holderIs("SystemStartAdministrators");
    start();
    EXPECT_FALSE(state.bolMemCleanRight);
    EXPECT_EQ(holder(), "SystemStartAdministrators");
}

TEST_F(RightClaim, HolderComparisonIsCaseSensitive) {
    machine.logOn("bob");
    std::string lower = testing::kBobSid;
    lower[0] = 's';
    holderIs(lower);   // not any profile's SID as written
    start();
    EXPECT_TRUE(state.bolMemCleanRight);
}

TEST_F(RightClaim, UnwritableSharedFileMeansNoRight) {
    machine.files.denyWrites(state.strIniFilePath);
    start();
    EXPECT_FALSE(state.bolIniWriteFlag);
    EXPECT_FALSE(state.bolMemCleanRight);
    // Nothing more happens while the file cannot be written.
    state.bolMemCleanRight = true;
    OpeIni::RegisterCurrentUser(alice.platform(), state);
    EXPECT_TRUE(state.bolMemCleanRight);
    OpeIni::ClaimMemCleanRight(alice.platform(), state);
    EXPECT_FALSE(state.bolMemCleanRight);
}

TEST_F(RightClaim, UnknownSidNeitherClaimsNorOverwrites) {
    alice.tokenSidFails = true;
    machine.logOff("alice");
    holderIs("NoUser");
    start();
    EXPECT_TRUE(state.strCurrentUserSid.empty());
    EXPECT_FALSE(state.bolMemCleanRight);
    EXPECT_EQ(holder(), "NoUser");
}

TEST_F(RightClaim, SecondUserOfTheMachineRunsWithoutTheRight) {
    start();
    machine.logOn("bob");
    sim::SimProcess bob{machine, "bob"};
    ProgramState bobs;
    bobs.strIniFilePath = state.strIniFilePath;
    bobs.strLogonUserName = "bob";
    OpeIni::RegisterCurrentUser(bob.platform(), bobs);
    EXPECT_FALSE(bobs.bolMemCleanRight);
    EXPECT_TRUE(state.bolMemCleanRight);
    EXPECT_EQ(holder(), testing::kAliceSid);
}

TEST_F(RightClaim, IconAndStyleChoicesAreRead) {
    start();
    IniOpe ini{alice.platform(), state};
    OpeIni::ReadFormStyle(alice.platform(), state);
    EXPECT_FALSE(state.bolLocalIniFlag);
    EXPECT_EQ(state.intFormStyle, 0);
    ini.LocalIniWriteTask("AppSetting", "FormStyle", std::string("1"));
    ini.LocalIniWriteTask("IconSetting", testing::kAliceSid, std::string("True"));
    ini.IniWriteTask("IconSetting", "AllUsers", std::string("true"));
    OpeIni::ReadFormStyle(alice.platform(), state);
    OpeIni::ReadUserIconSetting(alice.platform(), state);
    OpeIni::ReadAllUsersIconSetting(alice.platform(), state);
    EXPECT_TRUE(state.bolLocalIniFlag);
    EXPECT_EQ(state.intFormStyle, 1);
    EXPECT_TRUE(state.bolUserIcon);
    EXPECT_FALSE(state.bolAllUsersIcon);   // "true" is not "True"
    ini.LocalIniWriteTask("AppSetting", "FormStyle", std::string("2"));
    OpeIni::ReadFormStyle(alice.platform(), state);
    EXPECT_EQ(state.intFormStyle, 0);
    EXPECT_TRUE(state.bolLocalIniFlag);
}

} // namespace
} // namespace tidemark
