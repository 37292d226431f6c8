// The cleaner right on a terminal server: hundreds of users' copies on one
// machine, users coming and going, writes failing at random.
#include <gtest/gtest.h>

#include "support/TerminalServer.h"

namespace tidemark::testing {
namespace {

TEST(TerminalServer, TwoHundredCopiesKeepOneCleanerAndASmallFileWithFewWrites) {
    TerminalServerRun run;
    run.users = 200;
    run.minutes = 20;
    run.lowPhase = 10;
    run.plentyPhase = 10;
    run.changesPerHour = 60;
    run.replaceAccounts = true;
    run.seed = 7;
    const TerminalServerStats stats = TerminalServer(run).go();
    EXPECT_LE(stats.maxCleanersInAMinute, 1);
    EXPECT_LE(stats.maxWritesInALowMinute, 3 * run.users);
    EXPECT_LE(stats.longestGapWithoutHolder, 3);
    // Every key belongs to an account that has a profile: the file does not
    // grow with the accounts that came and went.
    EXPECT_LE(stats.largestFilePerUserLoggedOn, 400u);
}

// Accounts replaced at every logoff while Corvid holds the right for the
// machine's whole uptime: its renewal takes the keys of the accounts whose
// profile went, as a user's copy holding the right does.
TEST(TerminalServer, SystemStartHolderLeavesNoKeysOfDepartedAccounts) {
    TerminalServerRun run;
    run.users = 20;
    run.minutes = 30;
    run.changesPerHour = 120;
    run.replaceAccounts = true;
    run.systemStart = true;
    const TerminalServerStats stats = TerminalServer(run).go();
    EXPECT_EQ(stats.mostDepartedKeys, 0u);
    EXPECT_LE(stats.maxCleanersInAMinute, 1);
    EXPECT_EQ(stats.longestGapWithoutHolder, 0);
}

TEST(TerminalServer, TenCopiesCleanThroughAtRandomFailingWrites) {
    for (unsigned seed : {1u, 2u}) {
        TerminalServerRun run;
        run.users = 10;
        run.minutes = 180;
        run.lowPhase = 180;
        run.plentyPhase = 0;
        run.changesPerHour = 0;
        run.writeFailurePercent = 10;
        run.seed = seed;
        const TerminalServerStats stats = TerminalServer(run).go();
        EXPECT_LE(stats.maxCleanersInAMinute, 1) << "seed " << seed;
        EXPECT_GE(stats.lowMinutesCleaned * 10, stats.lowMinutes * 9)
            << "seed " << seed << ": " << stats.lowMinutesCleaned << " of " << stats.lowMinutes;
    }
}

} // namespace
} // namespace tidemark::testing
