// The profile scan: which profiles exist, which are loaded, whose copy this is.
#include <gtest/gtest.h>

#include "shared/settings/SettingsFiles.h"
#include "shared/accounts/ProfileList.h"
#include "shared/accounts/ProfileScan.h"
#include "support/SimFixture.h"

namespace tidemark {
namespace {

using platform::RegistryRoot;

class ProfileScan : public testing::SimFixture {
protected:
    ProfileScan() { state.settings.sharedPath = sharedSettingsPath(alice.platform().process); }
    ProgramState state;
    std::string profileKey(const std::string& sid) const { return std::string(kProfileListKey) + "\\" + sid; }
    bool loadedFlagOf(const std::string& sid) const {
        for (std::size_t i = 0; i < state.profiles.sids.size(); ++i)
            if (state.profiles.sids[i] == sid) return state.profiles.loaded[i];
        ADD_FAILURE() << sid << " not listed";
        return false;
    }
    std::string iniText() const { return machine.files.contents(state.settings.sharedPath); }
};

TEST_F(ProfileScan, ListsEveryProfileAndRecordsUserProfileNames) {
    scanUserProfiles(alice.platform(), state);
    EXPECT_EQ(state.profiles.count, 5);   // three service accounts, alice, bob
    EXPECT_EQ(state.profiles.loaded.size(), 5u);
    EXPECT_TRUE(loadedFlagOf(testing::kAliceSid));
    EXPECT_FALSE(loadedFlagOf(testing::kBobSid));
    EXPECT_FALSE(loadedFlagOf("S-1-5-18"));   // service accounts are skipped
    EXPECT_EQ(state.user.sid, testing::kAliceSid);
    EXPECT_EQ(state.user.profileName, "alice");
    EXPECT_NE(iniText().find(std::string(testing::kAliceSid) + "=alice"), std::string::npos);
    EXPECT_NE(iniText().find(std::string(testing::kBobSid) + "=bob"), std::string::npos);
    EXPECT_EQ(iniText().find("S-1-5-18="), std::string::npos);
    EXPECT_TRUE(machine.messages.empty());
}

TEST_F(ProfileScan, TwoInteractiveUsersEachGetTheirOwnSid) {
    machine.logOn("bob");   // bob's SID comes later in the profile list
    sim::SimProcess bob{machine, "bob"};
    ProgramState bobState;
    bobState.settings.sharedPath = state.settings.sharedPath;
    scanUserProfiles(alice.platform(), state);
    scanUserProfiles(bob.platform(), bobState);
    EXPECT_EQ(state.user.sid, testing::kAliceSid);
    EXPECT_EQ(bobState.user.sid, testing::kBobSid);
    EXPECT_EQ(bobState.user.profileName, "bob");
}

TEST_F(ProfileScan, WithoutATokenSidNoOtherUsersSidIsBorrowed) {
    machine.logOn("bob");
    alice.tokenSidFails = true;
    scanUserProfiles(alice.platform(), state);
    EXPECT_EQ(state.user.sid, "");
    EXPECT_EQ(state.user.session, "1");
    EXPECT_TRUE(loadedFlagOf(testing::kBobSid));
}

TEST_F(ProfileScan, RefCountIsJudgedByItsLowByte) {
    machine.registry.setDword(RegistryRoot::LocalMachine, profileKey(testing::kAliceSid), "RefCount", 256);
    machine.registry.setDword(RegistryRoot::LocalMachine, profileKey(testing::kBobSid), "RefCount", 257);
    scanUserProfiles(alice.platform(), state);
    EXPECT_FALSE(loadedFlagOf(testing::kAliceSid));
    EXPECT_TRUE(loadedFlagOf(testing::kBobSid));
}

TEST_F(ProfileScan, SidOfTwentyFourCharactersIsNotAUser) {
    const std::string sid24 = "S-1-5-21-100-200-300-500";
    ASSERT_EQ(sid24.size(), 24u);
    machine.registry.setString(RegistryRoot::LocalMachine, profileKey(sid24), "ProfileImagePath", "C:\\Users\\x");
    machine.registry.setDword(RegistryRoot::LocalMachine, profileKey(sid24), "RefCount", 1);
    ProfileList list{alice.platform(), state};
    EXPECT_FALSE(list.hasInteractiveLogon(sid24));
    scanUserProfiles(alice.platform(), state);
    EXPECT_FALSE(loadedFlagOf(sid24));
    EXPECT_EQ(iniText().find(sid24), std::string::npos);
}

TEST_F(ProfileScan, ProfileNameIsTheLastPathComponentOrTheWholePath) {
    machine.registry.setString(RegistryRoot::LocalMachine, profileKey(testing::kBobSid), "ProfileImagePath", "bobby");
    ProfileList list{alice.platform(), state};
    ProfileResult found = list.profile(testing::kBobSid);
    EXPECT_EQ(found.error, ProfileError::None);
    EXPECT_EQ(found.profile.folderName, "bobby");
    EXPECT_EQ(found.profile.refCount, 0);
    EXPECT_FALSE(found.profile.interactive);   // not loaded: not asked
    found = list.profile(testing::kAliceSid);
    EXPECT_EQ(found.profile.folderName, "alice");
    EXPECT_EQ(found.profile.refCount, 1);
}

TEST_F(ProfileScan, MissingProfileListIsReportedAndStopsTheCleanerWork) {
    machine.registry.deleteKey(RegistryRoot::LocalMachine, kProfileListKey);
    scanUserProfiles(alice.platform(), state);
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.text, "キーのオープンに失敗しました");
    EXPECT_EQ(machine.messages[0].request.title, "Tidemark");
    EXPECT_FALSE(state.right.held);
    EXPECT_FALSE(state.settings.sharedWritable);
    EXPECT_TRUE(state.profiles.loaded.empty());
    // The token still says who this is.
    EXPECT_EQ(state.user.sid, testing::kAliceSid);
}

TEST_F(ProfileScan, FailedEnumerationIsReported) {
    machine.registry.failEnumeration(RegistryRoot::LocalMachine, kProfileListKey, 2, -1);
    scanUserProfiles(alice.platform(), state);
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.text, "サブキーのオープンに失敗しました");
    EXPECT_EQ(state.profiles.count, 0);
}

TEST_F(ProfileScan, EnumerationErrorOtherThanTheEndStopsInsteadOfLooping) {
    machine.registry.failEnumeration(RegistryRoot::LocalMachine, kProfileListKey, 1, 6);
    scanUserProfiles(alice.platform(), state);
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.text, "サブキーのオープンに失敗しました");
}

TEST_F(ProfileScan, BrokenProfileEntryIsReportedByWhatIsMissing) {
    // A profile key without "ProfileImagePath".
    machine.registry.createKey(RegistryRoot::LocalMachine, profileKey("S-1-5-21-1004336348-1177238915-682003330-1000"));
    scanUserProfiles(alice.platform(), state);
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.text, "レジストリキー取得に失敗しました");
    EXPECT_FALSE(state.settings.sharedWritable);

    machine.messages.clear();
    machine.registry.setString(RegistryRoot::LocalMachine, profileKey("S-1-5-21-1004336348-1177238915-682003330-1000"),
                               "ProfileImagePath", "C:\\Users\\old");
    scanUserProfiles(alice.platform(), state);
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.text, "レジストリ・ログオンキー取得に失敗しました");
}

TEST_F(ProfileScan, RightHoldersNameComesFromTheAccountTable) {
    SettingsFiles files{alice.platform(), state};
    EXPECT_EQ(cleanerRightHolderName(alice.platform(), state), std::nullopt);
    files.write("AppSettingFlag", "MemCleanRightUser", std::string(testing::kBobSid));
    EXPECT_EQ(cleanerRightHolderName(alice.platform(), state), std::nullopt);
    files.write("UserAccountName", testing::kBobSid, std::string("bob"));
    EXPECT_EQ(cleanerRightHolderName(alice.platform(), state), "bob");
    state.settings.sharedWritable = false;
    EXPECT_EQ(cleanerRightHolderName(alice.platform(), state), std::nullopt);
}

} // namespace
} // namespace tidemark
