// Grantel on the simulated machine: who may open the settings file, and
// which file.
#include <gtest/gtest.h>

#include "access/Grantel.h"
#include "support/SimFixture.h"

namespace tidemark {
namespace {

using grantel::Outcome;

class GrantelOnMachine : public testing::SimFixture {
protected:
    GrantelOnMachine() {
        machine.addUser("SYSTEM", "S-1-5-18", {});
        machine.programFolder = "C:\\Program Files\\Quillon Kestrel";
        machine.files.makeDirectories(machine.programFolder + "\\sub");
    }
    Outcome run(const std::string& user, const std::string& word, int nameFailures = 0) {
        sim::SimProcess p(machine, user, "Grantel.exe", word);
        p.userNameFailures = nameFailures;
        ProgramState s;
        return grantel::runGrantel(p.platform(), s);
    }
};

TEST_F(GrantelOnMachine, OnlyAnAdministratorWithTheFileBesideItStartsCacls) {
    struct Case {
        const char* user;
        const char* word;
        int nameFailures;
        const char* file;    // where Tidemark.ini lies, below the program folder
        bool opens;
    };
    const Case cases[] = {
        {"alice", "RUN", 0, "\\Tidemark.ini", true},
        {"SYSTEM", "RUN", 0, "\\Tidemark.ini", true},
        {"bob", "RUN", 0, "\\Tidemark.ini", false},
        {"alice", "RUN", 1000, "\\Tidemark.ini", false},
        {"alice", "run", 0, "\\Tidemark.ini", false},
        {"alice", "", 0, "\\Tidemark.ini", false},
        {"alice", "RUN", 0, "\\sub\\Tidemark.ini", false},
    };
    for (const Case& c : cases) {
        machine.launches.clear();
        machine.files.deleteFile(machine.programFolder + "\\Tidemark.ini");
        machine.files.deleteFile(machine.programFolder + "\\sub\\Tidemark.ini");
        machine.files.putFile(machine.programFolder + c.file, "[AppSettingFlag]\r\n");
        const std::string what = std::string(c.user) + " " + c.word + " " + c.file;
        EXPECT_EQ(run(c.user, c.word, c.nameFailures), c.opens ? Outcome::AccessOpened : Outcome::Ended) << what;
        ASSERT_EQ(machine.launches.size(), c.opens ? 1u : 0u) << what;
        if (c.opens) {
            EXPECT_EQ(machine.launches[0].file, "\"C:\\Windows\\System32\\cacls.exe\"");
            EXPECT_EQ(machine.launches[0].parameters,
                      "\"C:\\Program Files\\Quillon Kestrel\\Tidemark.ini\" /E /C /G Everyone:F");
            EXPECT_EQ(machine.launches[0].showCommand, platform::showcmd::Minimized);
        }
        EXPECT_TRUE(machine.messages.empty()) << what;
    }
}

TEST_F(GrantelOnMachine, SystemIsKnownByItsSidWithoutAGroupQuery) {
    machine.addUser("Système", "S-1-5-18", {});
    machine.files.putFile(machine.programFolder + "\\Tidemark.ini", "");
    sim::SimProcess p(machine, "Système", "Grantel.exe", "RUN");
    ProgramState s;
    EXPECT_EQ(grantel::runGrantel(p.platform(), s), Outcome::AccessOpened);
    EXPECT_EQ(p.groupQueryCalls, 0);
}

TEST_F(GrantelOnMachine, StaleTemporaryFilesAreCleanedUpFirst) {
    machine.files.putFile("C:\\Windows\\Temp\\~DF12.tmp", "x");
    run("bob", "RUN");
    EXPECT_FALSE(machine.files.fileExists("C:\\Windows\\Temp\\~DF12.tmp"));
}

} // namespace
} // namespace tidemark
