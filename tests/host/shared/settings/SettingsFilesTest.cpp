// The settings-access class on the two settings files.
#include <gtest/gtest.h>

#include "shared/settings/SettingsKeys.h"
#include "shared/settings/SettingsFiles.h"
#include "support/SimFixture.h"

namespace tidemark {
namespace {

class SettingsFilesTest : public testing::SimFixture {
protected:
    SettingsFilesTest() { state.settings.sharedPath = sharedSettingsPath(alice.platform().process); }
    ProgramState state;
    SettingsFiles files{alice.platform(), state};
    std::string userFile() const { return "C:\\Users\\alice\\AppData\\Roaming\\Quillon\\Kestrel\\Tidemark.ini"; }
};

TEST_F(SettingsFilesTest, SharedFileLiesBesideTheProgram) {
    EXPECT_EQ(state.settings.sharedPath, "C:\\Program Files\\Tidemark\\Tidemark.ini");
    EXPECT_TRUE(files.write("AppSettingFlag", "MemCleanSize", std::int64_t{128}));
    EXPECT_EQ(machine.files.contents(state.settings.sharedPath), "[AppSettingFlag]\r\nMemCleanSize=128\r\n");
}

TEST_F(SettingsFilesTest, EmptyValueAndMissingKeyReadAlike) {
    files.write("s", "empty", std::string());
    EXPECT_EQ(files.read("s", "empty"), "");
    EXPECT_EQ(files.read("s", "missing"), "");
}

TEST_F(SettingsFilesTest, ReadsAreCutAt254BytesOfTheCodePage) {
    files.write("s", "long", std::string(300, 'x'));
    files.write("s", "jp", std::string(200, 'x') + "設定" + std::string(60, 'x'));
    EXPECT_EQ(files.read("s", "long").size(), 254u);
    // Double-byte characters count twice: 200 + 4 + 50 bytes of code page 932.
    EXPECT_EQ(files.read("s", "jp"), std::string(200, 'x') + "設定" + std::string(50, 'x'));
}

TEST_F(SettingsFilesTest, KeyNamesInFileOrder) {
    EXPECT_TRUE(files.keyNames("ExitTrigProcList").empty());
    files.write("ExitTrigProcList", "notepad.exe", std::string("C:\\Windows\\notepad.exe"));
    EXPECT_EQ(files.keyNames("ExitTrigProcList"), std::vector<std::string>{"notepad.exe"});
    files.write("ExitTrigProcList", "calc.exe", std::string("C:\\Windows\\calc.exe"));
    EXPECT_EQ(files.keyNames("ExitTrigProcList"), (std::vector<std::string>{"notepad.exe", "calc.exe"}));
    // A null key and value remove the section.
    EXPECT_TRUE(files.write("ExitTrigProcList", std::nullopt, std::nullopt));
    EXPECT_TRUE(files.keyNames("ExitTrigProcList").empty());
    EXPECT_EQ(machine.files.contents(state.settings.sharedPath).find("ExitTrigProcList"), std::string::npos);
}

TEST_F(SettingsFilesTest, FlagsAreExactWords) {
    files.write("s", "a", std::string("true"));
    EXPECT_NE(files.read("s", "a"), ini::word::True);
}

TEST_F(SettingsFilesTest, UserWriteCreatesTheFoldersAndUserReadDoesNot) {
    EXPECT_EQ(files.readUser("AppSetting", "FormStyle"), "");
    EXPECT_FALSE(machine.files.directoryExists("C:\\Users\\alice\\AppData\\Roaming\\Quillon"));
    EXPECT_TRUE(state.settings.appDataKnown);
    EXPECT_TRUE(files.writeUser("AppSetting", "FormStyle", std::string("1")));
    EXPECT_EQ(machine.files.contents(userFile()), "[AppSetting]\r\nFormStyle=1\r\n");
    EXPECT_EQ(files.readUser("AppSetting", "FormStyle"), "1");
    // Both folders exist now; a second write ignores that.
    EXPECT_TRUE(files.writeUser("AppSetting", "IconObjFlag", std::string("alice")));
}

TEST_F(SettingsFilesTest, WithoutAnApplicationDataFolderUserFilesAreUnusable) {
    alice.appDataFails = true;
    EXPECT_EQ(files.readUser("AppSetting", "FormStyle"), "");
    EXPECT_FALSE(files.writeUser("AppSetting", "FormStyle", std::string("1")));
    EXPECT_FALSE(state.settings.appDataKnown);
    // The shared file is not affected.
    EXPECT_TRUE(files.write("s", "k", std::string("v")));
}

} // namespace
} // namespace tidemark
