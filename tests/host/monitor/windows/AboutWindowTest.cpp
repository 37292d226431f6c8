// The About window's texts and the start of the system-information program.
#include <gtest/gtest.h>

#include "monitor/windows/AboutWindow.h"
#include "support/MonitorCopy.h"
#include "support/SimFixture.h"

namespace tidemark::monitor {
namespace {

using platform::RegistryRoot;

class About : public testing::SimFixture {
protected:
    testing::MonitorCopy copy{machine, "alice"};
};

TEST_F(About, CaptionAndVersion) {
    EXPECT_EQ(AboutWindow::caption("Tidemark"), "Tidemark のﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_EQ(AboutWindow::versionText(1, 2, 3), "Ver 1.2.3");
}

TEST_F(About, PathValueIsStartedWithoutCheckingTheFile) {
    machine.registry.setString(RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH",
                               "C:\\Program Files\\Common Files\\msinfo32.exe");
    EXPECT_TRUE(AboutWindow::StartSysInfo(copy.context, 5));
    ASSERT_EQ(machine.launches.size(), 1u);
    EXPECT_EQ(machine.launches[0].file, "C:\\Program Files\\Common Files\\msinfo32.exe");
    EXPECT_EQ(machine.launches[0].showCommand, 1);
    EXPECT_TRUE(copy.state.bolSysInfoFlag);
}

TEST_F(About, LocationValueNeedsTheProgramToExist) {
    machine.registry.setString(RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO",
                               "C:\\Tools");
    EXPECT_FALSE(AboutWindow::StartSysInfo(copy.context, 5));
    machine.files.putFile("C:\\Tools\\MSINFO32.EXE", "MZ");
    copy.state.bolSysInfoFlag = true;
    EXPECT_TRUE(AboutWindow::StartSysInfo(copy.context, 5));
    EXPECT_EQ(machine.launches.back().file, "C:\\Tools\\MSINFO32.EXE");
}

TEST_F(About, NoProgramTellsTheUserAndDisablesTheButtonForTheRun) {
    EXPECT_FALSE(AboutWindow::StartSysInfo(copy.context, 5));
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.text, "システム情報は、現在使用できません");
    EXPECT_EQ(machine.messages[0].request.title, "Tidemark");
    EXPECT_FALSE(copy.state.bolSysInfoFlag);
}

TEST_F(About, RegistryValuesAsText) {
    machine.registry.setDword(RegistryRoot::LocalMachine, "SOFTWARE\\T", "n", 266);
    std::string value;
    EXPECT_TRUE(AboutWindow::GetKeyValue(copy.process->platform(), RegistryRoot::LocalMachine, "SOFTWARE\\T", "n", value));
    EXPECT_EQ(value, "266");
    EXPECT_FALSE(AboutWindow::GetKeyValue(copy.process->platform(), RegistryRoot::LocalMachine, "SOFTWARE\\T", "x", value));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(AboutWindow::GetKeyValue(copy.process->platform(), RegistryRoot::LocalMachine, "SOFTWARE\\None", "n", value));
}

} // namespace
} // namespace tidemark::monitor
