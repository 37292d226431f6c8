// The holder's renewal of the counters: every challenger answered, and only
// the keys of accounts known to be gone removed.
#include <gtest/gtest.h>

#include "shared/cleaner/CleanerRules.h"
#include "shared/settings/SettingsFiles.h"
#include "support/SimFixture.h"

namespace tidemark {
namespace {

constexpr const char* kGone = "S-1-5-21-1004336348-1177238915-682003330-1009";
constexpr const char* kSsa = "SystemStartAdministrators";

class RightRenewal : public testing::SimFixture {
protected:
    RightRenewal() { state.settings.sharedPath = sharedSettingsPath(alice.platform().process); }
    SettingsFiles files() { return SettingsFiles(alice.platform(), state); }
    ProgramState state;
};

TEST_F(RightRenewal, AnswersEveryChallengerAndRemovesOnlyAccountsKnownToBeGone) {
    struct Case {
        std::vector<std::string> profiles;   // the holder's profile list
        bool listReadNow;
        bool goneRemoved;
    };
    const Case cases[] = {
        {{testing::kAliceSid, testing::kBobSid}, true, true},
        {{testing::kAliceSid}, false, false},   // the list was not read again: bob may be new since
        {{}, true, false},                      // a scan that found nobody removes nobody
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(files().writeAll({{"AppSettingFlag", std::string("MemCleanRightUser"), std::string(testing::kAliceSid)},
                                      {"UserAccountName", std::string(testing::kBobSid), std::string("bob")},
                                      {"UserAccountName", std::string(kSsa), std::string("System Start Administrators")},
                                      {"UserAccountName", std::string(kGone), std::string("gone")},
                                      {"GetRightChallenge", std::string(testing::kBobSid), std::string("1")},
                                      {"GetRightChallenge", std::string(kSsa), std::string("1")},
                                      {"GetRightChallenge", std::string(kGone), std::string("1")}}));
        state.profiles.sids = c.profiles;
        EXPECT_EQ(cleaner::renewRightCounters(alice.platform(), state,
                                              {{"AppSettingFlag", "MemCleanRightUser", testing::kAliceSid}}, {},
                                              c.listReadNow),
                  cleaner::RenewalOutcome::Renewed);
        const std::string why = std::to_string(c.profiles.size()) + (c.listReadNow ? " read" : " kept");
        for (const char* challenger : {testing::kBobSid, kSsa})
            EXPECT_EQ(files().read("GetRightChallenge", challenger), "3") << why << " " << challenger;
        EXPECT_EQ(files().read("UserAccountName", testing::kBobSid), "bob") << why;
        EXPECT_EQ(files().read("UserAccountName", kSsa), "System Start Administrators") << why;
        EXPECT_EQ(files().read("GetRightChallenge", kGone), c.goneRemoved ? "" : "3") << why;
        EXPECT_EQ(files().read("UserAccountName", kGone), c.goneRemoved ? "" : "gone") << why;
    }
}

} // namespace
} // namespace tidemark
