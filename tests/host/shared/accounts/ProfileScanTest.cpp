// The profile scan: which profiles exist, which are loaded, whose copy this is.
#include <gtest/gtest.h>

#include "shared/IniOpe.h"
#include "shared/accounts/GetProf.h"
#include "shared/accounts/GetUser.h"
#include "support/SimFixture.h"

namespace tidemark {
namespace {

using platform::RegistryRoot;

class ProfileScan : public testing::SimFixture {
protected:
    ProfileScan() { state.strIniFilePath = sharedSettingsPath(alice.platform().process); }
    ProgramState state;
    std::string profileKey(const std::string& sid) const { return std::string(kProfileListKey) + "\\" + sid; }
    bool loadedFlagOf(const std::string& sid) const {
        for (std::size_t i = 0; i < state.strUserSid.size(); ++i)
            if (state.strUserSid[i] == sid) return state.bolProfileLoaded[i];
        ADD_FAILURE() << sid << " not listed";
        return false;
    }
    std::string iniText() const { return machine.files.contents(state.strIniFilePath); }
};

TEST_F(ProfileScan, ListsEveryProfileAndRecordsUserProfileNames) {
    GetUser::ScanUserProfiles(alice.platform(), state);
    EXPECT_EQ(state.lngUserSidCount, 5);   // three service accounts, alice, bob
    EXPECT_EQ(state.bolProfileLoaded.size(), 5u);
    EXPECT_TRUE(loadedFlagOf(testing::kAliceSid));
    EXPECT_FALSE(loadedFlagOf(testing::kBobSid));
    EXPECT_FALSE(loadedFlagOf("S-1-5-18"));   // service accounts are skipped
    EXPECT_EQ(state.strCurrentUserSid, testing::kAliceSid);
    EXPECT_EQ(state.strCurrentProfName, "alice");
    EXPECT_NE(iniText().find(std::string(testing::kAliceSid) + "=alice"), std::string::npos);
    EXPECT_NE(iniText().find(std::string(testing::kBobSid) + "=bob"), std::string::npos);
    EXPECT_EQ(iniText().find("S-1-5-18="), std::string::npos);
    EXPECT_TRUE(machine.messages.empty());
}

TEST_F(ProfileScan, TwoInteractiveUsersEachGetTheirOwnSid) {
    machine.logOn("bob");   // bob's SID comes later in the profile list
    sim::SimProcess bob{machine, "bob"};
    ProgramState bobState;
    bobState.strIniFilePath = state.strIniFilePath;
    GetUser::ScanUserProfiles(alice.platform(), state);
    GetUser::ScanUserProfiles(bob.platform(), bobState);
    EXPECT_EQ(state.strCurrentUserSid, testing::kAliceSid);
    EXPECT_EQ(bobState.strCurrentUserSid, testing::kBobSid);
    EXPECT_EQ(bobState.strCurrentProfName, "bob");
}

TEST_F(ProfileScan, WithoutATokenSidTheLastInteractiveProfileIsTaken) {
    machine.logOn("bob");
    alice.tokenSidFails = true;
    GetUser::ScanUserProfiles(alice.platform(), state);
    EXPECT_EQ(state.strCurrentUserSid, testing::kBobSid);
}

TEST_F(ProfileScan, RefCountIsJudgedByItsLowByte) {
    machine.registry.setDword(RegistryRoot::LocalMachine, profileKey(testing::kAliceSid), "RefCount", 256);
    machine.registry.setDword(RegistryRoot::LocalMachine, profileKey(testing::kBobSid), "RefCount", 257);
    GetUser::ScanUserProfiles(alice.platform(), state);
    EXPECT_FALSE(loadedFlagOf(testing::kAliceSid));
    EXPECT_TRUE(loadedFlagOf(testing::kBobSid));
}

TEST_F(ProfileScan, SidOfTwentyFourCharactersIsNotAUser) {
    const std::string sid24 = "S-1-5-21-100-200-300-500";
    ASSERT_EQ(sid24.size(), 24u);
    machine.registry.setString(RegistryRoot::LocalMachine, profileKey(sid24), "ProfileImagePath", "C:\\Users\\x");
    machine.registry.setDword(RegistryRoot::LocalMachine, profileKey(sid24), "RefCount", 1);
    GetProf prof{alice.platform(), state};
    std::string appData;
    long err = 0;
    EXPECT_FALSE(prof.GetCurrentUser(sid24, appData, err));
    EXPECT_EQ(err, 1);
    GetUser::ScanUserProfiles(alice.platform(), state);
    EXPECT_FALSE(loadedFlagOf(sid24));
    EXPECT_EQ(iniText().find(sid24), std::string::npos);
}

TEST_F(ProfileScan, ProfileNameIsTheLastPathComponentOrTheWholePath) {
    machine.registry.setString(RegistryRoot::LocalMachine, profileKey(testing::kBobSid), "ProfileImagePath", "bobby");
    GetProf prof{alice.platform(), state};
    std::string name;
    long flag = -1, err = -1;
    bool current = true;
    EXPECT_TRUE(prof.GetUserProfile(testing::kBobSid, name, flag, current, err));
    EXPECT_EQ(name, "bobby");
    EXPECT_EQ(flag, 0);
    EXPECT_TRUE(current);   // not loaded: the caller's value stays
    EXPECT_EQ(err, 0);
    EXPECT_TRUE(prof.GetUserProfile(testing::kAliceSid, name, flag, current, err));
    EXPECT_EQ(name, "alice");
    EXPECT_EQ(flag, 1);
}

TEST_F(ProfileScan, MissingProfileListIsReportedAndStopsTheCleanerWork) {
    machine.registry.deleteKey(RegistryRoot::LocalMachine, kProfileListKey);
    GetUser::ScanUserProfiles(alice.platform(), state);
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.text, "キーのオープンに失敗しました");
    EXPECT_EQ(machine.messages[0].request.title, "Tidemark");
    EXPECT_FALSE(state.bolMemCleanRight);
    EXPECT_FALSE(state.bolIniWriteFlag);
    EXPECT_TRUE(state.bolProfileLoaded.empty());
    // The token still says who this is.
    EXPECT_EQ(state.strCurrentUserSid, testing::kAliceSid);
}

TEST_F(ProfileScan, FailedEnumerationIsReported) {
    machine.registry.failEnumeration(RegistryRoot::LocalMachine, kProfileListKey, 2, -1);
    GetUser::ScanUserProfiles(alice.platform(), state);
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.text, "サブキーのオープンに失敗しました");
    EXPECT_EQ(state.lngUserSidCount, 0);
}

TEST_F(ProfileScan, EnumerationErrorOtherThanTheEndStopsInsteadOfLooping) {
    machine.registry.failEnumeration(RegistryRoot::LocalMachine, kProfileListKey, 1, 6);
    GetUser::ScanUserProfiles(alice.platform(), state);
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.text, "サブキーのオープンに失敗しました");
}

TEST_F(ProfileScan, BrokenProfileEntryIsReportedByWhatIsMissing) {
    // A profile key without "ProfileImagePath".
    machine.registry.createKey(RegistryRoot::LocalMachine, profileKey("S-1-5-21-1004336348-1177238915-682003330-1000"));
    GetUser::ScanUserProfiles(alice.platform(), state);
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.text, "レジストリキー取得に失敗しました");
    EXPECT_FALSE(state.bolIniWriteFlag);

    machine.messages.clear();
    machine.registry.setString(RegistryRoot::LocalMachine, profileKey("S-1-5-21-1004336348-1177238915-682003330-1000"),
                               "ProfileImagePath", "C:\\Users\\old");
    GetUser::ScanUserProfiles(alice.platform(), state);
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.text, "レジストリ・ログオンキー取得に失敗しました");
}

TEST_F(ProfileScan, RightHoldersNameComesFromTheAccountTable) {
    IniOpe ini{alice.platform(), state};
    long n = -1;
    EXPECT_EQ(GetUser::GetMemCleanRightUserName(alice.platform(), state, n), "");
    EXPECT_EQ(n, 0);
    ini.IniWriteTask("AppSettingFlag", "MemCleanRightUser", std::string(testing::kBobSid));
    EXPECT_EQ(GetUser::GetMemCleanRightUserName(alice.platform(), state, n), "");
    ini.IniWriteTask("UserAccountName", testing::kBobSid, std::string("bob"));
    EXPECT_EQ(GetUser::GetMemCleanRightUserName(alice.platform(), state, n), "bob");
    EXPECT_EQ(n, 3);
    state.bolIniWriteFlag = false;
    EXPECT_EQ(GetUser::GetMemCleanRightUserName(alice.platform(), state, n), "");
}

} // namespace
} // namespace tidemark
