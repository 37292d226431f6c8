// The About window's texts and the start of the system-information program.
#include <gtest/gtest.h>

#include "monitor/windows/about/AboutWindow.h"
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
    EXPECT_EQ(about::caption("Tidemark"), "Tidemark のﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_EQ(about::versionText(1, 2, 3), "Ver 1.2.3");
}

TEST_F(About, PathValueIsStartedWithoutCheckingTheFile) {
    machine.registry.setString(RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH",
                               "C:\\Program Files\\Common Files\\msinfo32.exe");
    EXPECT_TRUE(about::startSystemInformation(copy.context, 5));
    ASSERT_EQ(machine.launches.size(), 1u);
    EXPECT_EQ(machine.launches[0].file, "C:\\Program Files\\Common Files\\msinfo32.exe");
    EXPECT_EQ(machine.launches[0].showCommand, 1);
    EXPECT_TRUE(copy.state.windows.systemInfoAvailable);
}

TEST_F(About, LocationValueNeedsTheProgramToExist) {
    machine.registry.setString(RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO",
                               "C:\\Tools");
    EXPECT_FALSE(about::startSystemInformation(copy.context, 5));
    machine.files.putFile("C:\\Tools\\MSINFO32.EXE", "MZ");
    copy.state.windows.systemInfoAvailable = true;
    EXPECT_TRUE(about::startSystemInformation(copy.context, 5));
    EXPECT_EQ(machine.launches.back().file, "C:\\Tools\\MSINFO32.EXE");
}

TEST_F(About, NoProgramTellsTheUserAndDisablesTheButtonForTheRun) {
    EXPECT_FALSE(about::startSystemInformation(copy.context, 5));
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.text, "システム情報は、現在使用できません");
    EXPECT_EQ(machine.messages[0].request.title, "Tidemark");
    EXPECT_FALSE(copy.state.windows.systemInfoAvailable);
}

TEST_F(About, RegistryValuesAsText) {
    machine.registry.setDword(RegistryRoot::LocalMachine, "SOFTWARE\\T", "n", 266);
    auto& p = copy.process->platform();
    EXPECT_EQ(about::registryValueText(p, RegistryRoot::LocalMachine, "SOFTWARE\\T", "n"), "266");
    EXPECT_EQ(about::registryValueText(p, RegistryRoot::LocalMachine, "SOFTWARE\\T", "x"), std::nullopt);
    EXPECT_EQ(about::registryValueText(p, RegistryRoot::LocalMachine, "SOFTWARE\\None", "n"), std::nullopt);
}

} // namespace
} // namespace tidemark::monitor
