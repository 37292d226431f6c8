// The memory-cleaner right and the cleaner settings when things go wrong: a
// holder held up by a message box, a settings file that cannot be written
// for a while, a copy that is killed, a program folder that admits no new
// file, copies that reach the file at the same moment.
#include <gtest/gtest.h>

#include <random>

#include "support/CopiesOnOneMachine.h"
#include "support/Interleaver.h"

namespace tidemark::monitor {
namespace {

using RightAfterFaults = testing::CopiesOnOneMachine;
constexpr std::uint64_t MB = testing::CopiesOnOneMachine::MB;
constexpr const char* kInstallFolder = "C:\\Program Files\\Tidemark";

TEST_F(RightAfterFaults, HolderHeldUpByAMessageBoxStandsDownWhenItCloses) {
    start("alice");
    start("bob");
    lowMemory();
    minute({"alice", "bob"});
    ASSERT_TRUE(holds("alice"));

    // Alice's next tick raises the physical-memory box; while it is up her
    // timer keeps firing (the nested ticks are skipped) and bob's copy,
    // seeing no renewal, takes the right.
    store("AppSettingFlag", "PhysMemSize", "1");
    bool boxShown = false;
    machine.onMessage = [&](const sim::MessageRecord& m) {
        if (m.user != "alice" || boxShown) return;
        boxShown = true;
        store("AppSettingFlag", "PhysMemSize", std::to_string(1024 * MB));
        for (int i = 0; i < 8; ++i) {
            minute({"bob"});
            copies.at("alice")->minuteTick();
        }
    };
    const auto aliceBefore = cleanings("alice");
    minute({"alice"});
    ASSERT_TRUE(boxShown);
    EXPECT_TRUE(holds("bob"));
    EXPECT_FALSE(holds("alice"));
    EXPECT_EQ(cleanings("alice"), aliceBefore) << "the held-up copy cleaned as well";
    EXPECT_EQ(copies.at("alice")->ui.text(StatusWindow::Simple, StatusControl::LastRunCaption), "前回メモリクリーナ実行日時");

    for (int i = 0; i < 5; ++i) minute({"alice", "bob"});
    EXPECT_EQ(cleanings("alice"), aliceBefore);
    EXPECT_EQ(holders(), 1);
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightUser"), testing::kBobSid);

    // Leaving, the copy that lost the right does not take it from bob.
    end("alice");
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightUser"), testing::kBobSid);
}

TEST_F(RightAfterFaults, AProgramClosedDuringItsTicksBoxDoesNotTakeTheRightAgain) {
    start("alice");
    start("bob");
    lowMemory();
    minute({"alice", "bob"});
    ASSERT_TRUE(holds("alice"));
    // Alice closes Tidemark from the tray while her tick's box is up.
    store("AppSettingFlag", "PhysMemSize", "1");
    bool boxShown = false;
    machine.onMessage = [&](const sim::MessageRecord& m) {
        if (m.user != "alice" || boxShown) return;
        boxShown = true;
        store("AppSettingFlag", "PhysMemSize", std::to_string(1024 * MB));
        copies.at("alice")->exit();
    };
    minute({"alice"});
    ASSERT_TRUE(boxShown);
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightUser"), "NoUser") << "the ended copy took the right again";
    EXPECT_FALSE(holds("alice"));
    minute({"bob"});
    EXPECT_TRUE(holds("bob")) << "bob waits for a holder that has ended";
}

TEST_F(RightAfterFaults, CleaningComesBackOnceTheFileIsWritableAgain) {
    start("alice");
    lowMemory();
    machine.files.denyWrites(kSharedFile);
    minute({"alice"});
    minute({"alice"});
    EXPECT_FALSE(copies.at("alice")->state.settings.sharedWritable);
    EXPECT_TRUE(holds("alice")) << "the file still names the holder";
    const auto before = cleanings("alice");
    machine.files.allowWrites(kSharedFile);
    minute({"alice"});
    EXPECT_TRUE(copies.at("alice")->state.settings.sharedWritable) << "the write flag never came back";
    EXPECT_GT(cleanings("alice"), before) << "the holder did not clean again at once";
}

TEST_F(RightAfterFaults, FailedStartUpWriteLeavesEverybodysCleanerSettingsAlone) {
    store("AppSettingFlag", "MemCleanExeMemSize", "200000000");
    store("AppSettingFlag", "MemCleanSize", "150");
    machine.files.failingWrites = 1;   // bob's registration, at start-up
    start("bob");
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanExeMemSize"), "200000000");
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanSize"), "150");
    minute({"bob"});
    EXPECT_EQ(copies.at("bob")->state.cleaner.triggerBytes, 200000000);
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanSize"), "150");
}

TEST_F(RightAfterFaults, NoCleaningIsRecordedWithoutTheLibrary) {
    testing::MonitorCopy copy{machine, "alice"};
    copy.process->ramhold.makeMissing();
    copy.start();
    lowMemory();
    machine.clock.advance(60000);
    copy.minuteTick();
    EXPECT_TRUE(copy.state.right.held);
    EXPECT_EQ(stored("AppSettingFlag", "ShExTime"), "");
    EXPECT_EQ(copy.ui.text(StatusWindow::Simple, StatusControl::LastRunText), "(unset)");
    EXPECT_EQ(machine.messages.size(), 1u);   // the library's problem, once
}

TEST_F(RightAfterFaults, StandardUserWritesTheSettingsInAFolderThatAdmitsNoNewFile) {
    store("AppSettingFlag", "MemCleanForm", "First");   // the file an administrator's start created
    machine.files.denyNewEntriesIn(kInstallFolder);
    auto& bob = start("bob");
    EXPECT_TRUE(bob.state.settings.sharedWritable);
    EXPECT_TRUE(bob.state.right.held);
    EXPECT_EQ(stored("UserAccountName", testing::kBobSid), "bob");
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanRightUser"), testing::kBobSid);
    EXPECT_EQ(cleanings("bob"), 1u);
    bob.finishCleaning();
    EXPECT_NE(stored("AppSettingFlag", "ShExTime"), "");
    EXPECT_EQ(machine.files.filesIn(kInstallFolder), std::vector<std::string>{kSharedFile});
}

// A moment in which the file cannot be read (a backup or a scanner holds it)
// is not a file without values: nothing is written on it and nothing changes.
TEST_F(RightAfterFaults, UnreadableMomentRightAfterTheClaimWritesNoDefaults) {
    store("AppSettingFlag", "MemCleanExeMemSize", "100000000");
    store("AppSettingFlag", "MemCleanSize", "95");
    // Reads fail from the moment the file names the new holder on.
    machine.files.onAccess = [&] {
        if (machine.files.contents(kSharedFile).find(std::string("MemCleanRightUser=") + testing::kBobSid) !=
            std::string::npos)
            machine.files.denyReads(kSharedFile);
    };
    auto& bob = start("bob");
    machine.files.onAccess = nullptr;
    machine.files.allowReads(kSharedFile);
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanExeMemSize"), "100000000");
    EXPECT_EQ(stored("AppSettingFlag", "MemCleanSize"), "95");
    minute({"bob"});
    EXPECT_EQ(bob.state.cleaner.triggerBytes, 100000000);
    EXPECT_EQ(bob.state.cleaner.sizeMB, 95);
}

TEST_F(RightAfterFaults, UnreadableMinuteNeitherCleansNorStandsDownNorWrites) {
    start("alice");
    start("bob");
    lowMemory();
    minute({"alice", "bob"});
    ASSERT_TRUE(holds("alice"));
    const std::string before = machine.files.contents(kSharedFile);
    const auto aliceBefore = cleanings("alice");
    machine.files.denyReads(kSharedFile);
    minute({"alice", "bob"});
    EXPECT_EQ(machine.files.contents(kSharedFile), before);
    EXPECT_EQ(cleanings("alice"), aliceBefore);
    EXPECT_TRUE(holds("alice"));
    EXPECT_FALSE(holds("bob"));
    EXPECT_FALSE(copies.at("bob")->state.right.challenging);
    machine.files.allowReads(kSharedFile);
    for (int i = 0; i < 3; ++i) minute({"alice", "bob"});
    EXPECT_TRUE(holds("alice"));
    EXPECT_GT(cleanings("alice"), aliceBefore);
    EXPECT_EQ(holders(), 1);
}

// A changed watch list reaches every copy, not only the first to read the
// change flag.
TEST_F(RightAfterFaults, ChangedWatchListReachesEveryCopy) {
    start("alice");
    store("AppSettingFlag", "ProcWatchSetting", "True");
    store("ExitTrigProcList", "game.exe", "C:\\Games\\game.exe");
    store("AppSettingFlag", "STMCProcReplaceFlag", "True");
    machine.runningProcesses = std::vector<std::string>{"explorer.exe", "game.exe"};
    start("bob");   // bob's start-up reads the changed list first and resets the flag
    EXPECT_EQ(stored("AppSettingFlag", "STMCProcReplaceFlag"), "False");
    lowMemory();
    const auto before = cleanings("alice");
    for (int i = 0; i < 5; ++i) minute({"alice", "bob"});
    EXPECT_EQ(cleanings("alice"), before) << "the holder cleaned while a newly watched program ran";
    machine.runningProcesses = std::vector<std::string>{"explorer.exe"};
    minute({"alice", "bob"});
    EXPECT_GT(cleanings("alice"), before);
}

// Copies start, end, are killed, are held up by message boxes and meet an
// unwritable file, while their ticks interleave at every file access. Once
// things have settled at most one copy cleans in a minute, and the right is
// never lost for good.
TEST_F(RightAfterFaults, InterleavedCopiesWithFaultsKeepOneCleaner) {
    // alice@7 is alice's second logon session: a copy of the same account.
    const std::vector<std::string> users{"alice", "bob", "carol", "dave", "alice@7"};
    for (unsigned seed = 11; seed < 17; ++seed) {
        testing::Interleaver interleaver(machine, seed);
        std::mt19937 random(seed);
        auto chance = [&](int percent) { return std::uniform_int_distribution<int>(0, 99)(random) < percent; };
        auto between = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
        std::map<std::string, int> stalledFor;
        int unwritableFor = 0, unreadableFor = 0, quiet = 0, lowSinceQuiet = 0, handovers = 0;
        bool resuming = false;   // a held-up copy ticks again: its first tick may still believe
        std::string lastHolder;
        for (int m = 0; m < 500; ++m) {
            bool fault = resuming;
            resuming = false;
            for (const auto& user : users) {
                const bool running = copies.count(user) != 0;
                if (!running && chance(2)) {
                    start(user);
                    fault = true;
                } else if (running && chance(1)) {
                    end(user);
                    stalledFor.erase(user);
                    fault = true;
                } else if (running && chance(1)) {
                    copies.erase(user);   // killed: no exit, the right is not given back
                    stalledFor.erase(user);
                    if (chance(50)) logOffUnlessRunning(accountOf(user));
                    fault = true;
                }
            }
            if (unwritableFor == 0 && chance(3)) {
                unwritableFor = between(1, 3);
                machine.files.denyWrites(kSharedFile);
                fault = true;
            }
            if (unreadableFor == 0 && chance(3)) {
                unreadableFor = between(1, 2);   // a scanner holds the file
                machine.files.denyReads(kSharedFile);
                fault = true;
            }
            for (auto& [user, copy] : copies) {
                if (copy->state.right.held && !stalledFor.count(user) && chance(3)) {
                    stalledFor[user] = between(3, 8);   // a message box stays up
                    fault = true;
                }
            }
            const bool low = chance(60);
            machine.setMemory(1024 * MB, (low ? 40 : 600) * MB);

            machine.clock.advance(60000);
            std::map<std::string, std::size_t> before;
            std::vector<std::function<void()>> ticks;
            for (auto& [user, copy] : copies) {
                before[user] = copy->process->ramhold.calls.size();
                if (stalledFor.count(user)) continue;
                testing::MonitorCopy* c = copy.get();
                ticks.push_back([c] {
                    c->process->ramhold.finish();
                    c->minuteTick();
                });
            }
            interleaver.run(ticks);

            int cleaners = 0, believers = 0;
            for (auto& [user, copy] : copies) {
                cleaners += copy->process->ramhold.calls.size() > before[user];
                if (!stalledFor.count(user)) believers += copy->state.right.held;
                if (copy->state.right.held && user != lastHolder) {
                    ++handovers;
                    lastHolder = user;
                }
            }
            quiet = fault ? 0 : quiet + 1;
            lowSinceQuiet = fault ? 0 : lowSinceQuiet + (low ? 1 : 0);
            // A copy that took the right and one that comes back to renew it
            // may both believe for a minute; the next tick settles it before
            // anybody cleans.
            if (quiet >= 1) {
                ASSERT_LE(cleaners, 1) << "seed " << seed << " minute " << m;
            }
            if (!copies.empty() && stalledFor.size() < copies.size() && lowSinceQuiet >= 9 && unwritableFor == 0 &&
                unreadableFor == 0) {
                ASSERT_GE(believers, 1) << "seed " << seed << " minute " << m << ": the right was lost";
            }

            for (auto it = stalledFor.begin(); it != stalledFor.end();) {
                const bool ends = --it->second == 0;
                resuming = resuming || ends;
                it = ends ? stalledFor.erase(it) : std::next(it);
            }
            if (unwritableFor > 0 && --unwritableFor == 0) {
                machine.files.allowWrites(kSharedFile);
                lowSinceQuiet = 0;
            }
            if (unreadableFor > 0 && --unreadableFor == 0) {
                machine.files.allowReads(kSharedFile);
                lowSinceQuiet = 0;
            }
        }
        EXPECT_GE(handovers, 5) << "seed " << seed << ": the run hardly moved the right";
        machine.files.allowWrites(kSharedFile);
        machine.files.allowReads(kSharedFile);
        while (!copies.empty()) end(copies.begin()->first);
    }
}

} // namespace
} // namespace tidemark::monitor
