// The access-control backend, and the file backend keeping what it granted.
#include "platform/win32/Win32AccessControl.h"

#include "TestSupport.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace tidemark::win32 {
namespace {

using test::AllowedEntry;

// Wine keeps no access lists on files: it shows one made from the Unix
// permission bits, and a grant to Everyone becomes "others may read and
// write", which comes back as everything but WRITE_DAC and WRITE_OWNER.
DWORD everyoneFullControlAsShown() {
    static const DWORD mask = test::runningUnderWine() ? (FILE_GENERIC_READ | FILE_GENERIC_WRITE | DELETE)
                                                       : FILE_ALL_ACCESS;
    return mask;
}

bool grantsEveryoneFullControl(const std::vector<AllowedEntry>& entries) {
    const DWORD wanted = everyoneFullControlAsShown();
    return std::any_of(entries.begin(), entries.end(), [wanted](const AllowedEntry& e) {
        return e.sid == test::kEveryoneSid && (e.mask & wanted) == wanted;
    });
}

std::string describe(const std::vector<AllowedEntry>& entries) {
    std::string out;
    char mask[16];
    for (const auto& e : entries) {
        std::snprintf(mask, sizeof(mask), "0x%lx", static_cast<unsigned long>(e.mask));
        out += "(" + e.sid + " " + mask + ")";
    }
    return out;
}

TEST(Win32AccessControl, EveryoneEntryIsAddedAndTheOthersStay) {
    test::ScratchFolder folder;
    const std::string path = folder.file("shared.ini");
    test::writeFileDirectly(path, "x");

    bool readOk = false;
    const auto before = test::fileAllowedEntries(path, &readOk);
    ASSERT_TRUE(readOk);
    ASSERT_FALSE(grantsEveryoneFullControl(before)) << describe(before);

    Win32AccessControl access;
    ASSERT_TRUE(access.grantEveryoneFullControl(path));

    const auto after = test::fileAllowedEntries(path, &readOk);
    ASSERT_TRUE(readOk);
    EXPECT_TRUE(grantsEveryoneFullControl(after)) << describe(after);
    std::printf("access list before: %s\nafter: %s\n", describe(before).c_str(), describe(after).c_str());
    for (const auto& entry : before) {
        EXPECT_TRUE(std::any_of(after.begin(), after.end(), [&](const AllowedEntry& e) {
            return e.sid == entry.sid && (e.mask & entry.mask) == entry.mask;
        })) << "lost the entry for " << entry.sid;
    }
}

TEST(Win32AccessControl, MissingFileIsAFailure) {
    test::ScratchFolder folder;
    Win32AccessControl access;
    EXPECT_FALSE(access.grantEveryoneFullControl(folder.file("absent.ini")));
}

TEST(Win32AccessControl, ReplacingTheFileKeepsTheGrant) {
    test::ScratchFolder folder;
    const std::string path = folder.file("shared.ini");
    test::writeFileDirectly(path, "old");
    Win32AccessControl access;
    ASSERT_TRUE(access.grantEveryoneFullControl(path));
    ASSERT_TRUE(grantsEveryoneFullControl(test::fileAllowedEntries(path)));

    Win32Clock clock;
    Win32FileSystem files(clock);
    ASSERT_EQ(files.replaceContents(path, "new"), 0u);
    EXPECT_EQ(test::readFileDirectly(path), "new");
    const auto entries = test::fileAllowedEntries(path);
    EXPECT_TRUE(grantsEveryoneFullControl(entries)) << describe(entries);
}

} // namespace
} // namespace tidemark::win32
