// Inkett's silent run, as an installer starts it: no box in any case, the
// outcome in the exit code and one event whose detail says what the boxes
// would have said.
#include <gtest/gtest.h>

#include "shared/events/SuiteEvents.h"
#include "shared/profile/ProfileEngine.h"
#include "shared/system/CommandLine.h"
#include "support/SimFixture.h"
#include "transfer/Inkett.h"

namespace tidemark::transfer {
namespace {

constexpr const char* kFolder = "C:\\Program Files\\Tidemark Suite";
constexpr const char* kSettings = "C:\\Program Files\\Tidemark Suite\\Tidemark.ini";
const std::string kOriginal = "[AppSettingFlag]\r\nMemCleanForm=First\r\n";

std::string transferFile(std::uint64_t phys, const std::string& rest = "MemCleanForm=Slow\r\n") {
    return "[AppSettingFlag]\r\nPhysMemSize=" + std::to_string(phys) + "\r\n" + rest;
}

class SilentImport : public testing::SimFixture {
protected:
    SilentImport() {
        machine.addUser("SYSTEM", "S-1-5-18", {});
        machine.programFolder = kFolder;
        machine.files.makeDirectories(kFolder);
        machine.files.makeDirectories("C:\\Deploy");
        machine.files.putFile(kSettings, kOriginal);
    }
    // As Inkett's entry point runs it: the switch read from the command line.
    int run(const std::string& user, const std::string& arguments) {
        sim::SimProcess inkett(machine, user, "Inkett.exe", arguments);
        const auto rest = silentArgument(argumentsOf(inkett.platform().process.commandLine()));
        EXPECT_TRUE(rest.has_value()) << arguments;
        return inkettExitCode(runSilentInkett(inkett.platform(), rest.value_or("")));
    }
    std::string value(const std::string& key) {
        return profile::ProfileEngine(alice.platform()).readValue("AppSettingFlag", key, 1000, kSettings, "").text;
    }
};

TEST_F(SilentImport, EveryOutcomeIsAnExitCodeAndOneEventWithoutABox) {
    const std::uint64_t total = alice.platform().memory.query()->totalPhys;
    machine.files.putFile("C:\\Deploy\\company.vesk", transferFile(total));
    machine.files.putFile("C:\\Deploy\\corrupt.vesk", "[AppSettingFlag]\r\nMemCleanForm=Slow\r\n");
    machine.files.putFile("C:\\Deploy\\notes.txt", transferFile(total));
    struct Case {
        const char* user;
        std::string arguments;
        int exitCode;
        const char* file;        // the event's %1
        const char* detailHas;   // in the event's %2
    };
    const Case cases[] = {
        {"alice", "/silent \"C:\\Deploy\\company.vesk\"", 0, "C:\\Deploy\\company.vesk", "設定のインポートが終了しました"},
        {"alice", "/SILENT C:\\Deploy\\company.vesk  ", 0, "C:\\Deploy\\company.vesk", "【設定読込み情報】"},
        {"alice", "/Silent \"C:\\Deploy\\corrupt.vesk\"", 6, "C:\\Deploy\\corrupt.vesk", "設定ファイルが壊れています"},
        {"alice", "/silent \"C:\\Deploy\\missing.vesk\"", 5, "C:\\Deploy\\missing.vesk", "設定ファイルが見つかりません"},
        {"alice", "/silent \"C:\\Deploy\\notes.txt\"", 4, "C:\\Deploy\\notes.txt", "このファイルは設定ファイルではありません"},
        {"alice", "/silent", 2, "", "インポートする設定ファイル（.vesk）が指定されていません"},
        {"bob", "/silent \"C:\\Deploy\\company.vesk\"", 3, "C:\\Deploy\\company.vesk", "管理者権限が必要です"},
        // The installer service, in no group by name, as an install deployed by policy runs it.
        {"SYSTEM", "/silent \"C:\\Deploy\\company.vesk\"", 0, "C:\\Deploy\\company.vesk", "設定のインポートが終了しました"},
    };
    for (const Case& c : cases) {
        machine.files.putFile(kSettings, kOriginal);
        machine.events.clear();
        EXPECT_EQ(run(c.user, c.arguments), c.exitCode) << c.arguments;
        EXPECT_TRUE(machine.messages.empty()) << c.arguments;
        ASSERT_EQ(machine.events.size(), 1u) << c.arguments;
        const sim::EventRecord& e = machine.events[0];
        EXPECT_EQ(e.id, c.exitCode == 0 ? events::id::SettingsImported : events::id::SettingsNotImported);
        EXPECT_EQ(e.type, c.exitCode == 0 ? platform::EventType::Information : platform::EventType::Error);
        ASSERT_EQ(e.strings.size(), 2u);
        EXPECT_EQ(e.strings[0], c.file) << c.arguments;
        EXPECT_NE(e.strings[1].find(c.detailHas), std::string::npos) << e.strings[1];
        EXPECT_EQ(value("MemCleanForm"), c.exitCode == 0 ? "Slow" : "First") << c.arguments;
    }
}

TEST_F(SilentImport, AFileOfAnotherMemorySizeIsImportedWithinThisComputersLimits) {
    const std::uint64_t total = alice.platform().memory.query()->totalPhys;
    machine.files.putFile("C:\\Deploy\\company.vesk",
                          transferFile(total * 4, "MemCleanExeMemSize=" + std::to_string(total * 2) +
                                                      "\r\nMemCleanForm=Slow\r\nProcWatchSetting=Maybe\r\n"));
    EXPECT_EQ(run("alice", "/silent C:\\Deploy\\company.vesk"), 0);
    EXPECT_TRUE(machine.messages.empty());
    EXPECT_EQ(value("MemCleanForm"), "Slow");
    EXPECT_LT(std::stoull(value("MemCleanExeMemSize")), total);
    EXPECT_EQ(value("ProcWatchSetting"), "");
    ASSERT_EQ(machine.events.size(), 1u);
    const std::string& detail = machine.events[0].strings[1];
    // Every box in the order shown, the question with the answer given.
    const char* expected[] = {"【設定読込み処理の警告】", "「はい」として続行しました", "【設定読込みの警告】読込んだ起動メモリーサイズが",
                              "[AppSettingFlag] ProcWatchSetting", "【設定読込み情報】"};
    std::size_t at = 0;
    for (const char* part : expected) {
        const std::size_t found = detail.find(part, at);
        ASSERT_NE(found, std::string::npos) << part << "\n" << detail;
        at = found;
    }
}

TEST_F(SilentImport, AFailedWriteLeavesTheSettingsAndSaysSo) {
    const std::uint64_t total = alice.platform().memory.query()->totalPhys;
    machine.files.putFile("C:\\Deploy\\company.vesk", transferFile(total));
    machine.files.denyWrites(kSettings);
    EXPECT_EQ(run("alice", "/silent C:\\Deploy\\company.vesk"), 7);
    EXPECT_TRUE(machine.messages.empty());
    ASSERT_EQ(machine.events.size(), 1u);
    EXPECT_EQ(machine.events[0].id, events::id::SettingsNotImported);
    EXPECT_NE(machine.events[0].strings[1].find("設定のインポートに失敗しました"), std::string::npos);
    EXPECT_EQ(machine.files.contents(kSettings), kOriginal);
}

TEST_F(SilentImport, OnlyALeadingSwitchMakesARunSilent) {
    EXPECT_EQ(silentArgument("/silent"), "");
    EXPECT_EQ(silentArgument("/sIlEnT \t\"C:\\a b.vesk\" "), "\"C:\\a b.vesk\"");
    EXPECT_EQ(silentArgument("/silentC:\\a.vesk"), std::nullopt);
    EXPECT_EQ(silentArgument("C:\\a.vesk /silent"), std::nullopt);
    EXPECT_EQ(silentArgument("/sil"), std::nullopt);
}

} // namespace
} // namespace tidemark::transfer
