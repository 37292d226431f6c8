// The cleaner right on a simulated terminal server: for 10, 50 and 200
// users' copies, two virtual hours of memory low and plentiful in 20-minute
// phases with users logging off and on, the settings file's writes and
// reads per low minute and the share of a minute its lock is held at 2 ms a
// write. It measures; it does not pass or fail.
#include <cstdio>

#include "support/TerminalServer.h"

int main() {
    std::printf("%8s %14s %14s %12s %10s %12s\n", "copies", "writes/low min", "reads/low min", "lock busy", "max clean",
                "longest gap");
    for (int users : {10, 50, 200}) {
        tidemark::testing::TerminalServerRun run;
        run.users = users;
        run.minutes = 120;
        run.lowPhase = 20;
        run.plentyPhase = 20;
        run.changesPerHour = users / 2;
        run.replaceAccounts = true;
        const auto stats = tidemark::testing::TerminalServer(run).go();
        std::printf("%8d %14.1f %14.1f %11.2f%% %10d %12d\n", users, stats.writesPerLowMinute(),
                    stats.readsPerLowMinute(), 100.0 * stats.lockBusyAt2ms(), stats.maxCleanersInAMinute,
                    stats.longestGapWithoutHolder);
    }
    return 0;
}
