// The small system helpers: folders, version, monitor area, access change,
// command-line quoting.
#include <gtest/gtest.h>

#include "shared/system/SystemQueries.h"
#include "shared/system/SettingsFileAccess.h"
#include "shared/system/CommandLine.h"
#include "shared/system/WindowsVersion.h"
#include "shared/system/StaleTemporaryFiles.h"
#include "support/SimFixture.h"

namespace tidemark {
namespace {

class SystemHelpers : public testing::SimFixture {
protected:
    ProgramState state;
};

TEST_F(SystemHelpers, AccessChangeQuotesThePathAndRunsMinimised) {
    state.settings.sharedPath = "C:\\Program Files\\Tidemark\\Tidemark.ini";
    state.mainWindow = 77;
    SettingsFileAccess(alice.platform(), state).openToEveryone();
    ASSERT_EQ(machine.launches.size(), 1u);
    const auto& l = machine.launches[0];
    EXPECT_EQ(l.verb, "open");
    EXPECT_EQ(l.file, "\"C:\\Windows\\System32\\cacls.exe\"");
    EXPECT_EQ(l.parameters, "\"C:\\Program Files\\Tidemark\\Tidemark.ini\" /E /C /G Everyone:F");
    EXPECT_EQ(l.showCommand, 2);
    EXPECT_TRUE(machine.accessGrants.empty());
}

TEST_F(SystemHelpers, AccessChangeWaitsForCaclsToEndButNotForever) {
    state.settings.sharedPath = "C:\\Program Files\\Tidemark\\Tidemark.ini";
    machine.programRunMs["CACLS"] = 1200;
    auto before = machine.clock.monotonicMs();
    SettingsFileAccess(alice.platform(), state).openToEveryone();
    EXPECT_TRUE(machine.launches.at(0).waited);
    EXPECT_EQ(machine.clock.monotonicMs() - before, 1200u);
    machine.programRunMs["CACLS"] = 600000;   // hangs
    before = machine.clock.monotonicMs();
    SettingsFileAccess(alice.platform(), state).openToEveryone();
    EXPECT_EQ(machine.clock.monotonicMs() - before, kCaclsWaitMs);
}

TEST_F(SystemHelpers, StaleTemporaryFilesAreDeletedOnlyFromAnAbsoluteTempFolder) {
    struct Case {
        const char* temp;
        bool deletes;
    };
    for (const Case& c : {Case{"C:\\Windows\\Temp", true}, Case{"c:/windows/temp", true}, Case{"", false},
                          Case{"Temp", false}, Case{"C:", false}, Case{"\\Windows\\Temp", false},
                          Case{"\\\\server\\share\\temp", true}})
        EXPECT_EQ(isAbsoluteWindowsPath(c.temp), c.deletes) << c.temp;
    machine.files.putFile("C:\\Windows\\Temp\\~DF1.tmp", "x");
    machine.files.putFile("C:\\Windows\\System32\\~DF2.tmp", "x");
    alice.environment["TEMP"] = "";
    EXPECT_EQ(deleteStaleTemporaryFiles(alice.platform()), 0);
    alice.environment.erase("TEMP");
    EXPECT_EQ(deleteStaleTemporaryFiles(alice.platform()), 0);
    alice.environment["TEMP"] = "C:\\Windows\\Temp";
    EXPECT_EQ(deleteStaleTemporaryFiles(alice.platform()), 1);
    EXPECT_TRUE(machine.files.fileExists("C:\\Windows\\System32\\~DF2.tmp"));
}

TEST_F(SystemHelpers, WithoutCaclsTheEntryIsAddedDirectly) {
    state.settings.sharedPath = "C:\\Program Files\\Tidemark\\Tidemark.ini";
    machine.files.putFile(state.settings.sharedPath, "[s]\r\n");
    machine.missingPrograms.insert("CACLS");
    SettingsFileAccess(alice.platform(), state).openToEveryone();
    EXPECT_TRUE(machine.launches.empty());
    EXPECT_EQ(machine.accessGrants, std::vector<std::string>{state.settings.sharedPath});
}

TEST_F(SystemHelpers, MonitorAreaOrNothing) {
    auto corner = workAreaTopRight(alice.platform(), state.mainWindow);
    ASSERT_TRUE(corner);
    EXPECT_EQ(corner->right, 1280);
    EXPECT_EQ(corner->top, 0);
    machine.workArea = platform::Rect{1280, 40, 2560, 1024};
    corner = workAreaTopRight(alice.platform(), state.mainWindow);
    ASSERT_TRUE(corner);
    EXPECT_EQ(corner->right, 2560);
    EXPECT_EQ(corner->top, 40);
    machine.workArea.reset();
    EXPECT_FALSE(workAreaTopRight(alice.platform(), state.mainWindow));
}

TEST_F(SystemHelpers, FoldersOrNothing) {
    EXPECT_EQ(systemFolder(alice.platform(), 26), "C:\\Users\\alice\\AppData\\Roaming");
    EXPECT_EQ(systemFolder(alice.platform(), 9999), std::nullopt);
    EXPECT_EQ(systemFolder(alice.platform(), 38), "C:\\Program Files");
}

TEST_F(SystemHelpers, VersionAndTheXpTest) {
    const auto version = windowsVersion(alice.platform());
    ASSERT_TRUE(version);
    const platform::OsVersionInfo v = *version;
    EXPECT_EQ(v.platformId, 2u);
    EXPECT_TRUE(isXpOrLater(v));
    EXPECT_FALSE(isXpOrLater({5, 0, 2195, 2}));
    EXPECT_TRUE(isXpOrLater({5, 1, 2600, 2}));
    EXPECT_FALSE(isXpOrLater({4, 0, 1381, 2}));
    machine.osVersion.reset();
    EXPECT_FALSE(windowsVersion(alice.platform()));
}

TEST(CommandLineQuoting, EveryArgumentArrivesAsOneWord) {
    EXPECT_EQ(quoteArgument("C:\\Program Files\\x.ini"), "\"C:\\Program Files\\x.ini\"");
    EXPECT_EQ(quoteArgument(""), "\"\"");
    EXPECT_EQ(quoteArgument("pa\"ss"), "\"pa\\\"ss\"");
    EXPECT_EQ(quoteArgument("a\\\"b"), "\"a\\\\\\\"b\"");
    EXPECT_EQ(quoteArgument("C:\\dir\\"), "\"C:\\dir\\\\\"");
    EXPECT_EQ(joinArguments({"/add", "p w"}), "\"/add\" \"p w\"");
    // What the runtime splits back out is what was quoted.
    const std::vector<std::string> words = {"", "C:\\dir\\", "pa\"ss", "a\\\"b", "\\\\server\\x y", "\"\"", " \t "};
    EXPECT_EQ(splitArguments(joinArguments(words)), words);
    EXPECT_EQ(splitArguments("  a\\b  \"c d\"e \"f\"\"g\""), (std::vector<std::string>{"a\\b", "c de", "f\"g"}));
}

} // namespace
} // namespace tidemark
