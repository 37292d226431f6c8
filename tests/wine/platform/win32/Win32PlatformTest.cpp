// The bundle a program builds at start: every member is the live backend.
#include "platform/win32/Win32Platform.h"

#include "TestSupport.h"
#include "platform/win32/Win32Text.h"

#include <gtest/gtest.h>

namespace tidemark::win32 {
namespace {

TEST(Win32Platform, BundleReachesTheSystem) {
    Win32Platform win32;
    platform::Platform& p = win32.platform();

    EXPECT_EQ(p.codePage.id(), ::GetACP());
    EXPECT_EQ(p.process.commandLine(), fromWideBuffer(::GetCommandLineW()));
    EXPECT_TRUE(p.accounts.currentUserName().has_value());
    EXPECT_TRUE(p.os.query().has_value());
    EXPECT_TRUE(p.folders.folderPath(platform::csidl::AppData).has_value());
    EXPECT_NE(p.registry.openKey(platform::RegistryRoot::LocalMachine, "SOFTWARE"), nullptr);

    test::ScratchFolder folder;
    const std::string path = folder.file("bundle.ini");
    ASSERT_EQ(p.files.replaceContents(path, "x"), 0u);
    EXPECT_EQ(test::readFileDirectly(path), "x");
    auto hold = p.locks.acquire(path, 1000);
    EXPECT_NE(hold, nullptr);

    const auto before = p.clock.monotonicMs();
    // The tick count moves in steps of up to ~16 ms: sleep well past one.
    p.clock.sleepMs(60);
    EXPECT_GE(p.clock.monotonicMs(), before + 40);
}

} // namespace
} // namespace tidemark::win32
