// The settings-access class on the two settings files.
#include <gtest/gtest.h>

#include "shared/IniKeys.h"
#include "shared/IniOpe.h"
#include "support/SimFixture.h"

namespace tidemark {
namespace {

class IniOpeTest : public testing::SimFixture {
protected:
    IniOpeTest() { state.strIniFilePath = sharedSettingsPath(alice.platform().process); }
    ProgramState state;
    IniOpe ini{alice.platform(), state};
    std::string userFile() const { return "C:\\Users\\alice\\AppData\\Roaming\\Quillon\\Kestrel\\Tidemark.ini"; }
};

TEST_F(IniOpeTest, SharedFileLiesBesideTheProgram) {
    EXPECT_EQ(state.strIniFilePath, "C:\\Program Files\\Tidemark\\Tidemark.ini");
    EXPECT_TRUE(ini.IniWriteTask("AppSettingFlag", "MemCleanSize", std::int64_t{128}));
    EXPECT_EQ(machine.files.contents(state.strIniFilePath), "[AppSettingFlag]\r\nMemCleanSize=128\r\n");
}

TEST_F(IniOpeTest, EmptyValueAndMissingKeyReadAlike) {
    ini.IniWriteTask("s", "empty", std::string());
    long n = -1;
    EXPECT_EQ(ini.IniReadTask("s", "empty", n), "");
    EXPECT_EQ(n, 0);
    n = -1;
    EXPECT_EQ(ini.IniReadTask("s", "missing", n), "");
    EXPECT_EQ(n, 0);
}

TEST_F(IniOpeTest, ReadsAreCutAt254BytesAndCountDoubleByteCharactersTwice) {
    ini.IniWriteTask("s", "long", std::string(300, 'x'));
    ini.IniWriteTask("s", "jp", std::string("設定"));
    long n = 0;
    EXPECT_EQ(ini.IniReadTask("s", "long", n).size(), 254u);
    EXPECT_EQ(n, 254);
    EXPECT_EQ(ini.IniReadTask("s", "jp", n), "設定");
    EXPECT_EQ(n, 4);
}

TEST_F(IniOpeTest, KeyNamesGiveTheUpperBound) {
    bool ok = true;
    long last = -1;
    EXPECT_TRUE(ini.GetIniKeyName("ExitTrigProcList", ok, last).empty());
    EXPECT_FALSE(ok);
    EXPECT_EQ(last, 0);
    ini.IniWriteTask("ExitTrigProcList", "notepad.exe", std::string("C:\\Windows\\notepad.exe"));
    auto names = ini.GetIniKeyName("ExitTrigProcList", ok, last);
    EXPECT_TRUE(ok);
    EXPECT_EQ(last, 0);
    ini.IniWriteTask("ExitTrigProcList", "calc.exe", std::string("C:\\Windows\\calc.exe"));
    names = ini.GetIniKeyName("ExitTrigProcList", ok, last);
    EXPECT_EQ(last, 1);
    EXPECT_EQ(names, (std::vector<std::string>{"notepad.exe", "calc.exe"}));
    // A null key and value remove the section.
    EXPECT_TRUE(ini.IniWriteTask("ExitTrigProcList", std::nullopt, std::nullopt));
    ini.GetIniKeyName("ExitTrigProcList", ok, last);
    EXPECT_FALSE(ok);
    EXPECT_EQ(machine.files.contents(state.strIniFilePath).find("ExitTrigProcList"), std::string::npos);
}

TEST_F(IniOpeTest, FlagsAreExactWords) {
    ini.IniWriteTask("s", "a", std::string("true"));
    long n = 0;
    EXPECT_NE(ini.IniReadTask("s", "a", n), ini::word::True);
}

TEST_F(IniOpeTest, UserWriteCreatesTheFoldersAndUserReadDoesNot) {
    long n = 0;
    EXPECT_EQ(ini.LocalIniReadTask("AppSetting", "FormStyle", n), "");
    EXPECT_FALSE(machine.files.directoryExists("C:\\Users\\alice\\AppData\\Roaming\\Quillon"));
    EXPECT_TRUE(state.bolAppDataFlag);
    EXPECT_TRUE(ini.LocalIniWriteTask("AppSetting", "FormStyle", std::string("1")));
    EXPECT_EQ(machine.files.contents(userFile()), "[AppSetting]\r\nFormStyle=1\r\n");
    EXPECT_EQ(ini.LocalIniReadTask("AppSetting", "FormStyle", n), "1");
    EXPECT_EQ(n, 1);
    // Both folders exist now; a second write ignores that.
    EXPECT_TRUE(ini.LocalIniWriteTask("AppSetting", "IconObjFlag", std::string("alice")));
}

TEST_F(IniOpeTest, WithoutAnApplicationDataFolderUserFilesAreUnusable) {
    alice.appDataFails = true;
    long n = 5;
    EXPECT_EQ(ini.LocalIniReadTask("AppSetting", "FormStyle", n), "");
    EXPECT_EQ(n, 0);
    EXPECT_FALSE(ini.LocalIniWriteTask("AppSetting", "FormStyle", std::string("1")));
    EXPECT_FALSE(state.bolAppDataFlag);
    // The shared file is not affected.
    EXPECT_TRUE(ini.IniWriteTask("s", "k", std::string("v")));
}

} // namespace
} // namespace tidemark
