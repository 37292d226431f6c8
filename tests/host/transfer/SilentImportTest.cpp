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

constexpr const char* kSettings = "C:\\Program Files\\Tidemark Suite\\Tidemark.ini";
const std::string kOriginal = "[AppSettingFlag]\r\nMemCleanForm=First\r\n";

class SilentImport : public testing::SimFixture {
protected:
    SilentImport() {
        machine.addUser("SYSTEM", "S-1-5-18", {});
        machine.programFolder = "C:\\Program Files\\Tidemark Suite";
        machine.files.makeDirectories(machine.programFolder);
        machine.files.makeDirectories("C:\\Deploy");
    }
    std::string value(const std::string& key) {
        return profile::ProfileEngine(alice.platform()).readValue("AppSettingFlag", key, 1000, kSettings, "").text;
    }
};

TEST_F(SilentImport, EveryOutcomeIsAnExitCodeAndOneEventWithoutABox) {
    const std::string phys = "[AppSettingFlag]\r\nPhysMemSize=" + std::to_string(alice.platform().memory.query()->totalPhys);
    machine.files.putFile("C:\\Deploy\\company.vesk", phys + "\r\nMemCleanForm=Slow\r\n");
    machine.files.putFile("C:\\Deploy\\corrupt.vesk", "[AppSettingFlag]\r\nMemCleanForm=Slow\r\n");
    machine.files.putFile("C:\\Deploy\\notes.txt", phys + "\r\nMemCleanForm=Slow\r\n");
    // Saved on a computer of much more memory, with a trigger beyond this one's.
    machine.files.putFile("C:\\Deploy\\bigger.vesk", phys + "0000\r\nMemCleanExeMemSize=99999999999\r\nMemCleanForm=Slow\r\n");
    const struct {
        const char* user;
        std::string arguments;
        int exitCode;
        const char* file;   // the event's %1
        std::vector<std::string> detail;   // in the event's %2, in this order
    } cases[] = {
        {"alice", "/silent \"C:\\Deploy\\company.vesk\"", 0, "C:\\Deploy\\company.vesk", {"【設定読込み情報】設定のインポートが終了しました"}},
        {"alice", "/SILENT C:\\Deploy\\company.vesk  ", 0, "C:\\Deploy\\company.vesk", {"【設定読込み情報】"}},
        {"alice", "/silent \"C:\\Deploy\\corrupt.vesk\"", 6, "C:\\Deploy\\corrupt.vesk", {"設定ファイルが壊れています"}},
        {"alice", "/silent \"C:\\Deploy\\missing.vesk\"", 5, "C:\\Deploy\\missing.vesk", {"設定ファイルが見つかりません"}},
        {"alice", "/silent \"C:\\Deploy\\notes.txt\"", 4, "C:\\Deploy\\notes.txt", {"このファイルは設定ファイルではありません"}},
        {"alice", "/silent", 2, "", {"インポートする設定ファイル（.vesk）が指定されていません"}},
        {"bob", "/silent \"C:\\Deploy\\company.vesk\"", 3, "C:\\Deploy\\company.vesk", {"管理者権限が必要です"}},
        // The installer service, in no group by name, as a deployment by policy runs it.
        {"SYSTEM", "/silent \"C:\\Deploy\\company.vesk\"", 0, "C:\\Deploy\\company.vesk", {"【設定読込み情報】"}},
        // Last, for the value it leaves: the question answered Yes, the trigger held.
        {"alice", "/Silent C:\\Deploy\\bigger.vesk", 0, "C:\\Deploy\\bigger.vesk",
         {"【設定読込み処理の警告】", "「はい」として続行しました", "【設定読込みの警告】読込んだ起動メモリーサイズが", "【設定読込み情報】"}},
    };
    for (const auto& c : cases) {
        machine.files.putFile(kSettings, kOriginal);
        machine.events.clear();
        sim::SimProcess inkett(machine, c.user, "Inkett.exe", c.arguments);
        // As Inkett's entry point reads its command line.
        const auto rest = silentArgument(argumentsOf(inkett.platform().process.commandLine()));
        ASSERT_TRUE(rest) << c.arguments;
        EXPECT_EQ(inkettExitCode(runSilentInkett(inkett.platform(), *rest)), c.exitCode) << c.arguments;
        EXPECT_TRUE(machine.messages.empty()) << c.arguments;
        ASSERT_EQ(machine.events.size(), 1u) << c.arguments;
        const sim::EventRecord& e = machine.events[0];
        EXPECT_EQ(e.id, c.exitCode == 0 ? events::id::SettingsImported : events::id::SettingsNotImported);
        EXPECT_EQ(e.type, c.exitCode == 0 ? platform::EventType::Information : platform::EventType::Error);
        ASSERT_EQ(e.strings.size(), 2u);
        EXPECT_EQ(e.strings[0], c.file) << c.arguments;
        std::size_t at = 0;
        for (const std::string& part : c.detail) {
            at = e.strings[1].find(part, at);
            ASSERT_NE(at, std::string::npos) << part << "\n" << e.strings[1];
        }
        EXPECT_EQ(value("MemCleanForm"), c.exitCode == 0 ? "Slow" : "First") << c.arguments;
    }
    EXPECT_LT(std::stoull(value("MemCleanExeMemSize")), alice.platform().memory.query()->totalPhys);
    EXPECT_EQ(silentArgument("/silentC:\\a.vesk"), std::nullopt);
    EXPECT_EQ(silentArgument("C:\\a.vesk /silent"), std::nullopt);
}

TEST_F(SilentImport, AFailedWriteLeavesTheSettingsAndSaysSo) {
    machine.files.putFile(kSettings, kOriginal);
    machine.files.putFile("C:\\Deploy\\company.vesk", "[AppSettingFlag]\r\nPhysMemSize=" +
                                                          std::to_string(alice.platform().memory.query()->totalPhys) +
                                                          "\r\nMemCleanForm=Slow\r\n");
    machine.files.denyWrites(kSettings);
    sim::SimProcess inkett(machine, "alice", "Inkett.exe");
    EXPECT_EQ(inkettExitCode(runSilentInkett(inkett.platform(), "C:\\Deploy\\company.vesk")), 7);
    EXPECT_TRUE(machine.messages.empty());
    ASSERT_EQ(machine.events.size(), 1u);
    EXPECT_NE(machine.events[0].strings[1].find("設定のインポートに失敗しました"), std::string::npos);
    EXPECT_EQ(machine.files.contents(kSettings), kOriginal);
}

} // namespace
} // namespace tidemark::transfer
