// Cascada on the simulated machine: the account's kind, the hand-over to
// Corvid or to AT by system version, the AT time and the waits.
#include <gtest/gtest.h>

#include "companions/cascada/Cascada.h"
#include "support/CopiesOnOneMachine.h"

namespace tidemark {
namespace {

using cascada::Outcome;

class CascadaOnMachine : public testing::CopiesOnOneMachine {
protected:
    CascadaOnMachine() {
        machine.addUser("SYSTEM", "S-1-5-18", {});
        machine.programFolder = "C:\\Program Files\\Quillon Kestrel";
        machine.files.makeDirectories(machine.programFolder);
        machine.clock.setLocalTime(2026, 12, 7, 6, 15, 0);
    }
    void version(std::uint32_t major, std::uint32_t minor) {
        platform::OsVersionInfo v;
        v.platformId = 2;
        v.majorVersion = major;
        v.minorVersion = minor;
        machine.osVersion = v;
    }
    Outcome run(const std::string& user, const std::string& word, int nameFailures = 0) {
        sim::SimProcess p(machine, user, "Cascada.exe", word);
        p.userNameFailures = nameFailures;
        ProgramState s;
        return cascada::runCascada(p.platform(), s, [] { return true; });
    }
    std::string storedHere(const char* section, const std::string& key) {
        ProgramState s;
        s.settings.sharedPath = machine.programFolder + "\\Tidemark.ini";
        return SettingsFiles(alice.platform(), s).read(section, key);
    }
};

TEST_F(CascadaOnMachine, VersionAccountAndWordDecideWhatIsStarted) {
    struct Case {
        std::uint32_t major, minor;
        const char* user;
        const char* word;
        int nameFailures;
        const char* group;       // SSAUserName, or "" when nothing is written
        Outcome outcome;
    };
    const Case cases[] = {
        {5, 1, "alice", "RUN", 0, "Administrators", Outcome::CorvidStarted},
        {10, 0, "bob", "RUN", 0, "NotAdmin", Outcome::CorvidStarted},
        {6, 0, "SYSTEM", "RUN", 0, "Administrators", Outcome::CorvidStarted},
        {5, 1, "alice", "RUN", 1000, "Unknown Group", Outcome::CorvidStarted},
        {5, 0, "alice", "RUN", 0, "Administrators", Outcome::HandedToAt},
        {5, 0, "bob", "RUN", 0, "NotAdmin", Outcome::Ended},
        {5, 0, "SYSTEM", "RUN", 0, "Administrators", Outcome::Ended},
        {5, 0, "alice", "RUN", 1000, "Unknown Group", Outcome::Ended},
        {5, 0, "SYSTEM", "SYS", 0, "Administrators", Outcome::CorvidStarted},
        {5, 1, "alice", "run", 0, "", Outcome::Ended},
        {5, 1, "alice", "", 0, "", Outcome::Ended},
    };
    for (const Case& c : cases) {
        machine.launches.clear();
        machine.files.deleteFile(machine.programFolder + "\\Tidemark.ini");
        version(c.major, c.minor);
        const std::string what = std::string(c.user) + " " + c.word + " " + std::to_string(c.major) + "." +
                                 std::to_string(c.minor);
        EXPECT_EQ(run(c.user, c.word, c.nameFailures), c.outcome) << what;
        EXPECT_EQ(storedHere("AppSettingFlag", "SSAUserName"), c.group) << what;
        const bool handed = c.outcome == Outcome::HandedToAt;
        EXPECT_EQ(storedHere("AppSettingFlag", "MemCleanRightUser"), handed ? "SystemStartAdministrators" : "") << what;
        EXPECT_EQ(machine.launches.size(), c.outcome == Outcome::Ended ? 0u : 1u) << what;
    }
}

TEST_F(CascadaOnMachine, CorvidIsStartedByItsQuotedPathMinimisedWithoutFocus) {
    run("alice", "RUN");
    ASSERT_EQ(machine.launches.size(), 1u);
    const auto& l = machine.launches[0];
    EXPECT_EQ(l.file, "\"C:\\Program Files\\Quillon Kestrel\\Corvid.exe\"");
    EXPECT_EQ(l.parameters, "RUN");
    EXPECT_EQ(l.showCommand, platform::showcmd::MinimizedNoActivate);
}

TEST_F(CascadaOnMachine, Windows2000HandsOverToAtFromTheSystemFolderAfterTenSeconds) {
    version(5, 0);
    const std::uint64_t before = machine.clock.monotonicMs();
    EXPECT_EQ(run("alice", "RUN"), Outcome::HandedToAt);
    ASSERT_EQ(machine.launches.size(), 1u);
    const auto& l = machine.launches[0];
    EXPECT_GE(l.atMs - before, 10000u);
    EXPECT_EQ(l.file, "\"C:\\Windows\\System32\\at.exe\"");
    EXPECT_EQ(l.parameters, "06:17 \"C:\\Program Files\\Quillon Kestrel\\Cascada.exe\" SYS");
    EXPECT_EQ(l.showCommand, platform::showcmd::Minimized);
    EXPECT_EQ(storedHere("UserAccountName", "SystemStartAdministrators"), "System Start Administrators");
}

TEST_F(CascadaOnMachine, AtTimeIsTwentyFourHourAndWrapsPastMidnight) {
    struct Case {
        int hour, minute, second;
        const char* time;
    };
    for (const Case& c : {Case{23, 58, 30, "00:00"}, Case{23, 59, 59, "00:01"}, Case{0, 0, 0, "00:02"},
                          Case{12, 5, 0, "12:07"}, Case{13, 58, 0, "14:00"}, Case{9, 9, 0, "09:11"}}) {
        platform::LocalTime t;
        t.hour = c.hour;
        t.minute = c.minute;
        t.second = c.second;
        EXPECT_EQ(cascada::atParameters(t, "C:\\A B\\Cascada.exe", "SYS"),
                  std::string(c.time) + " \"C:\\A B\\Cascada.exe\" SYS");
    }
}

TEST_F(CascadaOnMachine, TimerWaitsAreHeldBetweenOneAndThreeHundredSeconds) {
    struct Case {
        int asked, seconds;
    };
    for (const Case& c : {Case{0, 60}, Case{-5, 60}, Case{1, 1}, Case{300, 300}, Case{1000, 300}}) {
        const std::uint64_t before = machine.clock.monotonicMs();
        int pumps = 0;
        EXPECT_TRUE(cascada::waitSeconds(alice.platform(), c.asked, [&] { return ++pumps > 0; }));
        EXPECT_EQ(machine.clock.monotonicMs() - before, c.seconds * 1000u) << c.asked;
        EXPECT_EQ(pumps, c.seconds);
    }
    int pumps = 0;
    EXPECT_FALSE(cascada::waitSeconds(alice.platform(), 10, [&] { return ++pumps < 3; }));
}

TEST_F(CascadaOnMachine, UnreadableVersionCountsAsWindowsXp) {
    machine.osVersion.reset();
    const std::uint64_t before = machine.clock.monotonicMs();
    EXPECT_EQ(run("alice", "RUN"), Outcome::CorvidStarted);
    EXPECT_GE(machine.clock.monotonicMs() - before, 50u * 500);
}

} // namespace
} // namespace tidemark
