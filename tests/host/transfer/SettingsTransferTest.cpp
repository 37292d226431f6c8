// Export and import of transfer files on the simulated machine (1024 MiB of
// physical memory): what reaches the other file, which boxes are shown,
// and that a hostile or failing transfer never changes the settings file.
#include <gtest/gtest.h>

#include <random>

#include "shared/cleaner/CleanerRules.h"
#include "shared/profile/ProfileEngine.h"
#include "support/SimFixture.h"
#include "transfer/ImportedValues.h"
#include "transfer/SettingsTransfer.h"
#include "transfer/TransferFile.h"

namespace tidemark::transfer {
namespace {

constexpr const char* kFolder = "C:\\Program Files\\Quillon Kestrel";
constexpr const char* kSettings = "C:\\Program Files\\Quillon Kestrel\\Tidemark.ini";
constexpr const char* kTransfer = "C:\\Users\\alice\\Documents\\settings.vesk";
constexpr std::uint64_t kTotal = 1024ULL << 20;

class Transfer : public testing::SimFixture {
protected:
    Transfer() {
        machine.programFolder = kFolder;
        machine.files.makeDirectories(kFolder);
        machine.files.makeDirectories("C:\\Users\\alice\\Documents");
    }
    platform::Platform& p() { return alice.platform(); }
    std::optional<std::string> read(const char* path, const std::string& section, const std::string& key) {
        profile::ProfileEngine engine(p());
        const auto r = engine.readValue(section, key, 100000, path, "\x01");
        if (r.text == "\x01") return std::nullopt;
        return r.text;
    }
    TransferOutcome importText(const std::string& text) {
        machine.files.putFile(kTransfer, text);
        return importSettings(p(), 0, kSettings, kTransfer);
    }
    std::vector<std::string> titles() const {
        std::vector<std::string> out;
        for (const auto& m : machine.messages) out.push_back(m.request.title);
        return out;
    }
    static std::string phys(std::uint64_t bytes = kTotal) {
        return "[AppSettingFlag]\r\nPhysMemSize=" + std::to_string(bytes) + "\r\n";
    }
};

TEST_F(Transfer, ExportWritesAFreshFileThatImportsBackOnAnotherInstallation) {
    machine.files.putFile(kSettings,
                          "[AppSettingFlag]\r\nMemCleanRightUser=S-1-5-21-1\r\nPhysMemSize=1073741824\r\n"
                          "MemCleanExeMemSize=134217728\r\nMemCleanSize=128\r\nMemCleanForm=Slow\r\n"
                          "ProcWatchSetting=True\r\nSlowMemCleanSetting=5000>5\r\n"
                          "[ExitTrigProcList]\r\nGame.exe=C:\\Games\\Game.exe\r\nEmpty.exe=\r\n"
                          "\x83\x81\x83\x82\x92\xA0.exe=C:\\Windows\\\x83\x81\x83\x82\x92\xA0.exe\r\n");
    // An older file at the same path: none of it may survive.
    machine.files.putFile(kTransfer, "[Old]\r\nStale=1\r\n[ExitTrigProcList]\r\nOld.exe=C:\\Old.exe\r\n");
    EXPECT_EQ(exportSettings(p(), 0, kSettings, kTransfer), TransferOutcome::Done);
    EXPECT_EQ(machine.files.contents(kTransfer),
              "[AppSettingFlag]\r\nPhysMemSize=1073741824\r\nMemCleanExeMemSize=134217728\r\nMemCleanSize=128\r\n"
              "MemCleanForm=Slow\r\nProcWatchSetting=True\r\nSlowMemCleanSetting=5000>5\r\n"
              "[ExitTrigProcList]\r\nGame.exe=C:\\Games\\Game.exe\r\n"
              "\x83\x81\x83\x82\x92\xA0.exe=C:\\Windows\\\x83\x81\x83\x82\x92\xA0.exe\r\n");
    ASSERT_EQ(titles(), std::vector<std::string>{"設定書込み情報"});

    // Into an installation that watches something else already.
    machine.files.putFile(kSettings, "[AppSettingFlag]\r\nMemCleanForm=First\r\n[ExitTrigProcList]\r\nMine.exe=C:\\Mine.exe\r\n");
    machine.messages.clear();
    EXPECT_EQ(importSettings(p(), 0, kSettings, kTransfer), TransferOutcome::Done);
    EXPECT_EQ(titles(), std::vector<std::string>{"設定読込み情報"});
    EXPECT_EQ(read(kSettings, "AppSettingFlag", "MemCleanForm"), "Slow");
    EXPECT_EQ(read(kSettings, "AppSettingFlag", "SlowMemCleanSetting"), "5000>5");
    EXPECT_EQ(read(kSettings, "AppSettingFlag", "PhysMemSize"), std::nullopt);
    EXPECT_EQ(read(kSettings, "AppSettingFlag", "STMCProcReplaceFlag"), "True");
    EXPECT_EQ(read(kSettings, "ExitTrigProcList", "Mine.exe"), "C:\\Mine.exe");
    EXPECT_EQ(read(kSettings, "ExitTrigProcList", "メモ帳.exe"), "C:\\Windows\\メモ帳.exe");
}

TEST_F(Transfer, ExportCarriesThisComputersMemoryWhereTheSettingsLackIt) {
    machine.files.putFile(kSettings, "[ExitTrigProcList]\r\nOne.exe=C:\\One.exe\r\n");
    EXPECT_EQ(exportSettings(p(), 0, kSettings, kTransfer), TransferOutcome::Done);
    EXPECT_EQ(machine.files.contents(kTransfer),
              "[AppSettingFlag]\r\nPhysMemSize=1073741824\r\n[ExitTrigProcList]\r\nOne.exe=C:\\One.exe\r\n");
}

TEST_F(Transfer, AFailedExportSaysSoAndLeavesAnOlderFileAlone) {
    machine.files.putFile(kSettings, phys());
    machine.files.putFile(kTransfer, "[Old]\r\nA=1\r\n");
    machine.files.denyWrites(kTransfer);
    EXPECT_EQ(exportSettings(p(), 0, kSettings, kTransfer), TransferOutcome::Failed);
    machine.files.allowWrites(kTransfer);
    machine.memory.reset();   // no stored size and none to ask for
    machine.files.putFile(kSettings, "");
    EXPECT_EQ(exportSettings(p(), 0, kSettings, kTransfer), TransferOutcome::Failed);
    EXPECT_EQ(machine.files.contents(kTransfer), "[Old]\r\nA=1\r\n");
    // Saved over the settings file itself: the settings stay.
    machine.setMemory(kTotal, kTotal / 2);
    machine.files.putFile(kSettings, phys() + "MemCleanRightUser=NoUser\r\n");
    EXPECT_EQ(exportSettings(p(), 0, kSettings, "C:\\PROGRA~1\\..\\Program Files\\quillon kestrel\\tidemark.INI"),
              TransferOutcome::Failed);
    EXPECT_EQ(machine.files.contents(kSettings), phys() + "MemCleanRightUser=NoUser\r\n");
    EXPECT_EQ(titles(), (std::vector<std::string>{"設定書込みの失敗", "設定書込みの失敗", "設定書込みの失敗"}));
    EXPECT_EQ(machine.messages[0].request.text, "設定のエクスポートに失敗しました");
}

TEST_F(Transfer, ADifferentMemorySizeAsksWithNoPreselected) {
    const std::string original = "[AppSettingFlag]\r\nMemCleanForm=First\r\n";
    struct Case {
        std::uint64_t phys;
        std::optional<platform::MessageAnswer> answer;   // nullopt: no question
        TransferOutcome outcome;
    };
    const Case cases[] = {
        {kTotal, std::nullopt, TransferOutcome::Done},
        {kTotal * 2, platform::MessageAnswer::No, TransferOutcome::Refused},
        {kTotal * 2, platform::MessageAnswer::Yes, TransferOutcome::Done},
    };
    for (const Case& c : cases) {
        machine.files.putFile(kSettings, original);
        machine.messages.clear();
        if (c.answer) machine.scriptedAnswers.push_back(*c.answer);
        EXPECT_EQ(importText(phys(c.phys) + "MemCleanForm=Slow\r\n"), c.outcome);
        ASSERT_EQ(machine.messages.size(), c.outcome == TransferOutcome::Done ? (c.answer ? 2u : 1u) : 1u);
        if (c.answer) {
            const auto& q = machine.messages[0].request;
            EXPECT_EQ(q.title, "設定読込み処理の警告");
            EXPECT_EQ(q.buttons, platform::MessageButtons::YesNo);
            EXPECT_EQ(q.defaultButton, 2);
        }
        if (c.outcome == TransferOutcome::Refused) EXPECT_EQ(machine.files.contents(kSettings), original);
        else EXPECT_EQ(read(kSettings, "AppSettingFlag", "MemCleanForm"), "Slow");
    }
}

TEST_F(Transfer, SizesAreHeldAtWhatThisComputerAllows) {
    struct Case {
        std::uint64_t total;
        const char* key;
        const char* value;
        const char* stored;
        const char* boxNames;   // the largest size the warning names; nullptr: no warning
    };
    const Case cases[] = {
        {kTotal, "MemCleanSize", "1000", "960", "960"},
        {kTotal, "MemCleanSize", "960", "960", nullptr},
        {kTotal, "MemCleanSize", "0", "0", nullptr},
        // The highest trigger is the settings window's, 959 MB, the largest whole MB
        // the cleaner keeps: at physical memory less 64 MB it would clean on a third.
        {kTotal, "MemCleanExeMemSize", "1005584384", "1005584384", nullptr},
        {kTotal, "MemCleanExeMemSize", "1005584385", "1005584384", "959"},
        {kTotal, "MemCleanExeMemSize", "1006632960", "1005584384", "959"},
        {kTotal, "MemCleanExeMemSize", "000052428800", "000052428800", nullptr},
        // Numbers beyond 64 bits, and sizes whose bytes overflow 64 bits.
        {kTotal, "MemCleanExeMemSize", "99999999999999999999999999", "1005584384", "959"},
        {kTotal, "MemCleanSize", "17592186044416", "960", "960"},
        // The cleaner never claims more than 4 GB, however large the computer.
        {64ULL << 30, "MemCleanSize", "8000", "4096", "4096"},
        // A computer of 64 MiB or less allows nothing, and never less.
        {64ULL << 20, "MemCleanSize", "1", "0", "0"},
        {32ULL << 20, "MemCleanExeMemSize", "1", "0", "0"},
    };
    for (const Case& c : cases) {
        const std::string what = std::string(c.key) + "=" + c.value + " on " + std::to_string(c.total >> 20) + " MiB";
        machine.setMemory(c.total, c.total / 2);
        machine.files.putFile(kSettings, "");
        machine.messages.clear();
        EXPECT_EQ(importText(phys(c.total) + c.key + "=" + c.value + "\r\n"), TransferOutcome::Done) << what;
        EXPECT_EQ(read(kSettings, "AppSettingFlag", c.key), c.stored) << what;
        if (std::string(c.key) == "MemCleanExeMemSize" && c.total > (64ULL << 20)) {
            // The cleaner keeps the trigger the import stored.
            EXPECT_LE(std::stoll(c.stored), cleaner::highestTrigger(c.total)) << what;
        }
        ASSERT_EQ(machine.messages.size(), c.boxNames ? 2u : 1u) << what;
        if (c.boxNames) {
            EXPECT_EQ(machine.messages[0].request.title, "設定読込みの警告");
            EXPECT_EQ(machine.messages[0].request.text,
                      std::string("読込んだ起動メモリーサイズが、規定サイズを超えています\r\n最大サイズの ") +
                          c.boxNames + " MB に設定されます")
                << what;
        }
    }
}

TEST_F(Transfer, InvalidValuesAreSkippedWithOneWarningAndTheRestIsImported) {
    machine.files.putFile(kSettings, "[AppSettingFlag]\r\nMemCleanForm=First\r\nProcWatchSetting=False\r\n");
    EXPECT_EQ(importText(phys() +
                         "MemCleanExeMemSize=-5\r\nMemCleanSize=12MB\r\nMemCleanForm=first\r\n"
                         "ProcWatchSetting=Yes\r\nSlowMemCleanSetting=0>5\r\n"
                         "[ExitTrigProcList]\r\nGood.exe=C:\\Good.exe\r\nEmpty.exe=\r\n"),
              TransferOutcome::Done);
    ASSERT_EQ(titles(), (std::vector<std::string>{"設定読込みの警告", "設定読込み情報"}));
    EXPECT_EQ(machine.messages[0].request.text,
              "次の設定は値が正しくないため読込みませんでした\r\n[AppSettingFlag] MemCleanExeMemSize\r\n"
              "[AppSettingFlag] MemCleanSize\r\n[AppSettingFlag] MemCleanForm\r\n"
              "[AppSettingFlag] ProcWatchSetting\r\n[AppSettingFlag] SlowMemCleanSetting");
    EXPECT_EQ(read(kSettings, "AppSettingFlag", "MemCleanForm"), "First");
    EXPECT_EQ(read(kSettings, "AppSettingFlag", "ProcWatchSetting"), "False");
    EXPECT_EQ(read(kSettings, "AppSettingFlag", "MemCleanExeMemSize"), std::nullopt);
    EXPECT_EQ(read(kSettings, "ExitTrigProcList", "Good.exe"), "C:\\Good.exe");
    // An imported key with an empty value is written with an empty value.
    EXPECT_NE(machine.files.contents(kSettings).find("Empty.exe=\r\n"), std::string::npos);

    for (const char* slow : {"5000>5", "1>1", "2147483647>2047"}) EXPECT_TRUE(isSlowCleaningSetting(slow)) << slow;
    for (const char* slow : {"5000", ">5", "5000>", "5000>0", "5000>2048", "2147483648>5", "5000>5>5", " 5000>5",
                             "5000>+5", "５０００>5"})
        EXPECT_FALSE(isSlowCleaningSetting(slow)) << slow;
}

TEST_F(Transfer, CorruptOrMissingFilesAndFailedWritesLeaveTheSettingsAsTheyWere) {
    const std::string original = "[AppSettingFlag]\r\nMemCleanForm=First\r\n[ExitTrigProcList]\r\nA.exe=C:\\A.exe\r\n";
    machine.files.putFile(kSettings, original);
    for (const char* text : {"", "[AppSettingFlag]\r\nMemCleanForm=Slow\r\n", "[AppSettingFlag]\r\nPhysMemSize=\r\n",
                             "[AppSettingFlag]\r\nPhysMemSize=1 GB\r\n", "PhysMemSize=1073741824\r\n"}) {
        machine.messages.clear();
        EXPECT_EQ(importText(text), TransferOutcome::Refused) << text;
        EXPECT_EQ(titles(), std::vector<std::string>{"設定ファイル読込みの失敗"}) << text;
    }
    machine.files.deleteFile(kTransfer);
    EXPECT_EQ(importSettings(p(), 0, kSettings, kTransfer), TransferOutcome::Refused);

    // Without a list section the flag and the list stay untouched.
    EXPECT_EQ(importText(phys() + "MemCleanForm=Slow\r\n"), TransferOutcome::Done);
    EXPECT_EQ(read(kSettings, "AppSettingFlag", "STMCProcReplaceFlag"), std::nullopt);
    EXPECT_EQ(read(kSettings, "ExitTrigProcList", "A.exe"), "C:\\A.exe");

    // A write that fails changes nothing at all: not the values before the
    // list, not the list, not the flag.
    const std::string before = machine.files.contents(kSettings);
    machine.files.denyWrites(kSettings);
    machine.messages.clear();
    EXPECT_EQ(importText(phys() + "MemCleanForm=First\r\n[ExitTrigProcList]\r\nB.exe=C:\\B.exe\r\n"),
              TransferOutcome::Failed);
    EXPECT_EQ(titles(), std::vector<std::string>{"設定読込みの失敗"});
    EXPECT_EQ(machine.messages[0].request.text, "設定のインポートに失敗しました");
    EXPECT_EQ(machine.files.contents(kSettings), before);
}

TEST_F(Transfer, LongListsAndLongPathsArriveWhole) {
    std::string text = phys() + "[ExitTrigProcList]\r\n";
    const std::string longPath = "C:\\" + std::string(3000, 'd') + "\\Long.exe";
    text += "Long.exe=" + longPath + "\r\n";
    // Far beyond the 10240 characters of the read call's key-name buffer.
    for (int i = 0; i < 600; ++i) text += "Program" + std::to_string(i) + ".exe=C:\\Apps\\Program" + std::to_string(i) + ".exe\r\n";
    machine.files.putFile(kSettings, "");
    EXPECT_EQ(importText(text), TransferOutcome::Done);
    profile::ProfileEngine engine(p());
    const auto list = engine.readSection("ExitTrigProcList", kSettings);
    ASSERT_EQ(list.entries.size(), 601u);
    EXPECT_EQ(list.entries[0].value, longPath);
    EXPECT_EQ(list.entries[600].name, "Program599.exe");

    EXPECT_EQ(exportSettings(p(), 0, kSettings, kTransfer), TransferOutcome::Done);
    EXPECT_EQ(engine.readSection("ExitTrigProcList", kTransfer).entries.size(), 601u);
}

// Generated transfer files of every shape: the import never crashes, and
// whatever it writes to the settings file is a value the suite can use.
TEST_F(Transfer, GeneratedHostileFilesNeverWriteAnUnusableValue) {
    std::mt19937 random(20261207);
    const char* keys[] = {"PhysMemSize", "MemCleanExeMemSize", "MemCleanSize", "MemCleanForm", "ProcWatchSetting",
                          "SlowMemCleanSetting", "physmemsize", "STMCProcReplaceFlag"};
    const char* values[] = {"1073741824", "", "-1", "18446744073709551616", "First", "Slow", "True", "False",
                            "5000>5", "0>0", "\"1073741824\"", "1e9", "\xFF\xFE", "\x82", "=", "[x]", ";", " 7 "};
    const auto piece = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int lines = static_cast<int>(piece(40));
        for (int i = 0; i < lines; ++i) {
            switch (piece(7)) {
            case 0: text += "[AppSettingFlag]"; break;
            case 1: text += "[ExitTrigProcList]"; break;
            case 2: text += std::string(keys[piece(std::size(keys))]) + "=" + values[piece(std::size(values))]; break;
            case 3: for (int b = 0; b < 20; ++b) text += static_cast<char>(piece(256)); break;
            case 4: text += std::string(piece(20000), 'x') + "=" + std::string(piece(5000), 'y'); break;
            case 5: text += std::string(values[piece(std::size(values))]) + "=C:\\p.exe"; break;
            default: text += "Proc" + std::to_string(piece(5)) + ".exe=C:\\x.exe"; break;
            }
            text += piece(5) ? "\r\n" : "\n";
        }
        if (piece(4) == 0) {
            // The same as UTF-16, with or without its byte-order mark.
            std::string wide = piece(2) ? "\xFF\xFE" : "";
            for (char c : text) wide += std::string{c, '\0'};
            text = wide;
        }
        machine.files.putFile(kSettings, "[AppSettingFlag]\r\nMemCleanForm=First\r\n");
        machine.scriptedAnswers.push_back(piece(2) ? platform::MessageAnswer::Yes : platform::MessageAnswer::No);
        importText(text);
        machine.scriptedAnswers.clear();
        profile::ProfileEngine engine(p());
        for (const auto& e : engine.readSection("AppSettingFlag", kSettings).entries) {
            const std::string what = "round " + std::to_string(round) + ": " + e.name + "=" + e.value;
            if (e.name == "MemCleanExeMemSize") {
                ASSERT_TRUE(decimalNumber(e.value)) << what;
                EXPECT_LE(*decimalNumber(e.value), sizeLimits(kTotal).triggerBytes) << what;
            } else if (e.name == "MemCleanSize") {
                ASSERT_TRUE(decimalNumber(e.value)) << what;
                EXPECT_LE(*decimalNumber(e.value), 960u) << what;
            } else if (e.name == "MemCleanForm") {
                EXPECT_TRUE(isCleaningMode(e.value)) << what;
            } else if (e.name == "ProcWatchSetting" || e.name == "STMCProcReplaceFlag") {
                EXPECT_TRUE(isTrueOrFalse(e.value)) << what;
            } else if (e.name == "SlowMemCleanSetting") {
                EXPECT_TRUE(isSlowCleaningSetting(e.value)) << what;
            } else {
                ADD_FAILURE() << "written: " << what;
            }
        }
    }
}

// A transfer file beyond what an import accepts is taken for a corrupt one
// and changes nothing; one just within the bounds is imported.
TEST_F(Transfer, FilesBeyondTheBoundsAreTakenForCorrupt) {
    const std::string original = "[AppSettingFlag]\r\nMemCleanForm=First\r\n";
    const std::string list = phys() + "[ExitTrigProcList]\r\n";
    std::string many = list;
    for (std::size_t i = 0; i <= kMaxTransferEntries; ++i) many += "P" + std::to_string(i) + "=\r\n";
    const std::string tooLong(kMaxTransferTextChars + 1, 'd');
    const struct {
        std::string text;
        const char* what;
    } cases[] = {
        {phys() + ";" + std::string(kMaxTransferFileBytes, ' ') + "\r\n", "file size"},
        {many, "entry count"},
        {list + "Long.exe=C:\\" + tooLong + "\r\n", "value length"},
        {list + tooLong + ".exe=C:\\Long.exe\r\n", "name length"},
        {phys() + "MemCleanForm=" + tooLong + "\r\n", "memory value length"},
    };
    for (const auto& c : cases) {
        machine.files.putFile(kSettings, original);
        machine.messages.clear();
        EXPECT_EQ(importText(c.text), TransferOutcome::Refused) << c.what;
        EXPECT_EQ(titles(), std::vector<std::string>{"設定ファイル読込みの失敗"}) << c.what;
        EXPECT_EQ(machine.files.contents(kSettings), original) << c.what;
    }
    // One too big is not even read into memory.
    const int readsBefore = machine.files.readCountOf(kTransfer);
    EXPECT_EQ(importText(cases[0].text), TransferOutcome::Refused);
    EXPECT_EQ(machine.files.readCountOf(kTransfer), readsBefore);
    // A path of the longest length a path has arrives whole, in UTF-8 characters.
    const std::string longest = "C:\\" + std::string(kMaxTransferTextChars - 4, 'd') + "\x83\x81";
    EXPECT_EQ(importText(list + "Long.exe=" + longest + "\r\n"), TransferOutcome::Done);
    EXPECT_EQ(read(kSettings, "ExitTrigProcList", "Long.exe")->size(), kMaxTransferTextChars + 2);
}

// Names the watch-list window refuses, and a value no write takes, are
// left out with the warning; the rest arrives.
TEST_F(Transfer, RefusedNamesAndValuesWithANulAreSkippedWithTheWarning) {
    machine.files.putFile(kSettings, "[AppSettingFlag]\r\nProcWatchSetting=False\r\n");
    EXPECT_EQ(importText(phys() + "ProcWatchSetting=True\r\n[ExitTrigProcList]\r\nexplorer.exe=C:\\Windows\\explorer.exe\r\n"
                                  "EXPLORER.EXE=C:\\x.exe\r\nCorvid.exe=C:\\c.exe\r\nCascada.exe=C:\\c.exe\r\n"
                                  "jobsmith.exe=C:\\j.exe\r\nTidemark.exe=C:\\t.exe\r\nStowel.exe=C:\\s.exe\r\n"
                                  "Inkett.exe=C:\\i.exe\r\nGrantel.exe=C:\\g.exe\r\nGood.exe=C:\\Good.exe\r\n" +
                                  std::string("Nul.exe=C:\\a\0b.exe\r\n", 20) + "Explorer.exe.bak=C:\\e.bak\r\n"),
              TransferOutcome::Done);
    ASSERT_EQ(titles(), (std::vector<std::string>{"設定読込みの警告", "設定読込み情報"}));
    EXPECT_EQ(machine.messages[0].request.text,
              "次の設定は値が正しくないため読込みませんでした\r\n[ExitTrigProcList] explorer.exe\r\n"
              "[ExitTrigProcList] EXPLORER.EXE\r\n[ExitTrigProcList] Corvid.exe\r\n[ExitTrigProcList] Cascada.exe\r\n"
              "[ExitTrigProcList] jobsmith.exe\r\n[ExitTrigProcList] Tidemark.exe\r\n[ExitTrigProcList] Stowel.exe\r\n"
              "[ExitTrigProcList] Inkett.exe\r\n[ExitTrigProcList] Grantel.exe\r\n[ExitTrigProcList] Nul.exe");
    profile::ProfileEngine engine(p());
    const auto imported = engine.readSection("ExitTrigProcList", kSettings).entries;
    ASSERT_EQ(imported.size(), 2u);
    EXPECT_EQ(imported[0].name, "Good.exe");
    EXPECT_EQ(imported[1].name, "Explorer.exe.bak");
    EXPECT_EQ(read(kSettings, "AppSettingFlag", "STMCProcReplaceFlag"), "True");
}

// Notepad saved UTF-8 with a byte-order mark for years.
TEST_F(Transfer, AFileInUtf8WithItsByteOrderMarkIsRead) {
    machine.files.putFile(kSettings, "");
    EXPECT_EQ(importText("\xEF\xBB\xBF" + phys() + "MemCleanForm=Slow\r\n[ExitTrigProcList]\r\n"
                         "\xE3\x83\xA1\xE3\x83\xA2\xE5\xB8\xB3.exe=C:\\Windows\\\xE3\x83\xA1\xE3\x83\xA2\xE5\xB8\xB3.exe\r\n"
                         "Café.exe=C:\\Café\\Café.exe\r\nGame.exe=C:\\Zoë\\Game.exe\r\n"),
              TransferOutcome::Done);
    // Stored in the file's code page, Café.exe would name another program.
    EXPECT_EQ(titles(), (std::vector<std::string>{"設定読込みの警告", "設定読込み情報"}));
    EXPECT_EQ(machine.messages[0].request.text, "次の設定は値が正しくないため読込みませんでした\r\n[ExitTrigProcList] Café.exe");
    const auto imported = profile::ProfileEngine(p()).readSection("ExitTrigProcList", kSettings).entries;
    ASSERT_EQ(imported.size(), 2u);
    EXPECT_EQ(imported[1].name + "=" + imported[1].value, "Game.exe=");   // its path left out, not changed
    EXPECT_EQ(read(kSettings, "AppSettingFlag", "MemCleanForm"), "Slow");
    EXPECT_EQ(read(kSettings, "ExitTrigProcList", "メモ帳.exe"), "C:\\Windows\\メモ帳.exe");
}

} // namespace
} // namespace tidemark::transfer
