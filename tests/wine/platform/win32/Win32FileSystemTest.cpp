// The file-system backend in a scratch folder: whole-file reads, atomic
// replacement, folders and pattern deletion.
#include "platform/win32/Win32FileSystem.h"

#include "TestSupport.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Text.h"

#include <gtest/gtest.h>

#include <thread>

namespace tidemark::win32 {
namespace {

using test::ScratchFolder;

class Win32FileSystemTest : public ::testing::Test {
protected:
    Win32Clock clock;
    Win32FileSystem files{clock};
    ScratchFolder folder;
};

TEST_F(Win32FileSystemTest, ReplaceCreatesANewFileWithExactContents) {
    const std::string path = folder.file("new.ini");
    const std::string bytes("[s]\r\nk=\x90\xdd\x92\xe8\r\n\0tail", 20);
    EXPECT_EQ(files.replaceContents(path, bytes), 0u);
    EXPECT_EQ(test::readFileDirectly(path), bytes);
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"new.ini"});
}

TEST_F(Win32FileSystemTest, ReplaceOverwritesAnExistingFileAndKeepsItsAttributes) {
    const std::string path = folder.file("settings.ini");
    test::writeFileDirectly(path, "old contents that are longer than the new ones\r\n");
    ASSERT_TRUE(::SetFileAttributesW(toWide(path).c_str(), FILE_ATTRIBUTE_HIDDEN));

    EXPECT_EQ(files.replaceContents(path, "new\r\n"), 0u);
    EXPECT_EQ(test::readFileDirectly(path), "new\r\n");
    const DWORD attributes = ::GetFileAttributesW(toWide(path).c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_HIDDEN, 0u) << std::hex << attributes;
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"settings.ini"});
}

TEST_F(Win32FileSystemTest, ReplaceWithEmptyContentsLeavesAnEmptyFile) {
    const std::string path = folder.file("empty.ini");
    test::writeFileDirectly(path, "something");
    EXPECT_EQ(files.replaceContents(path, ""), 0u);
    EXPECT_EQ(test::readFileDirectly(path), "");
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"empty.ini"});
}

TEST_F(Win32FileSystemTest, ReplaceInAMissingFolderFailsAndLeavesNothing) {
    const std::string path = folder.file("missing\\x.ini");
    EXPECT_EQ(files.replaceContents(path, "x"), platform::fileerror::PathNotFound);
    EXPECT_TRUE(folder.fileNames().empty());
}

TEST_F(Win32FileSystemTest, ReplaceWaitsOutAReaderThatDoesNotShareDeletion) {
    const std::string path = folder.file("busy.ini");
    test::writeFileDirectly(path, "old");
    UniqueKernelHandle reader(::CreateFileW(toWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(reader.valid());
    std::thread closer([&reader] {
        ::Sleep(150);
        reader.reset();
    });
    const std::uint32_t error = files.replaceContents(path, "new");
    closer.join();
    EXPECT_EQ(error, 0u);
    EXPECT_EQ(test::readFileDirectly(path), "new");
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"busy.ini"});
}

TEST_F(Win32FileSystemTest, ReplaceGivesUpOnAFileHeldOpenAndCleansUp) {
    const std::string path = folder.file("held.ini");
    test::writeFileDirectly(path, "old");
    UniqueKernelHandle holder(::CreateFileW(toWide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder.valid());
    const auto before = clock.monotonicMs();
    const std::uint32_t error = files.replaceContents(path, "new");
    const auto elapsed = clock.monotonicMs() - before;
    holder.reset();
    EXPECT_TRUE(error == platform::fileerror::SharingViolation || error == platform::fileerror::AccessDenied)
        << error;
    // It retried for about a second before giving up.
    EXPECT_GE(elapsed, 500u);
    EXPECT_EQ(test::readFileDirectly(path), "old");
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"held.ini"});
}

TEST_F(Win32FileSystemTest, ReplaceOfAReadOnlyFileIsRefusedAtOnce) {
    const std::string path = folder.file("locked.ini");
    test::writeFileDirectly(path, "old");
    ASSERT_TRUE(::SetFileAttributesW(toWide(path).c_str(), FILE_ATTRIBUTE_READONLY));
    const auto before = clock.monotonicMs();
    EXPECT_EQ(files.replaceContents(path, "new"), platform::fileerror::AccessDenied);
    EXPECT_LT(clock.monotonicMs() - before, 500u);
    EXPECT_EQ(test::readFileDirectly(path), "old");
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"locked.ini"});
}

TEST_F(Win32FileSystemTest, ReadAllReadsWhileAnotherHandleWrites) {
    const std::string path = folder.file("open.ini");
    test::writeFileDirectly(path, "abc");
    UniqueKernelHandle writer(::CreateFileW(toWide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(writer.valid());
    const auto result = files.readAll(path);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.error, 0u);
    EXPECT_EQ(result.bytes, "abc");
}

TEST_F(Win32FileSystemTest, ReadAllOfALargeFileIsWhole) {
    std::string bytes;
    for (int i = 0; i < 300000; ++i) bytes.push_back(static_cast<char>(i * 7));
    const std::string path = folder.file("large.bin");
    test::writeFileDirectly(path, bytes);
    const auto result = files.readAll(path);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.bytes, bytes);
}

TEST_F(Win32FileSystemTest, ReadAllOfAMissingFileIsError2) {
    const auto result = files.readAll(folder.file("absent.ini"));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, platform::fileerror::FileNotFound);
    EXPECT_TRUE(result.bytes.empty());
}

TEST_F(Win32FileSystemTest, ReadAllInAMissingFolderIsError3) {
    const auto result = files.readAll(folder.file("absent\\x.ini"));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, platform::fileerror::PathNotFound);
}

TEST_F(Win32FileSystemTest, CreateDirectoryTwiceGives183) {
    const std::string path = folder.file("sub");
    EXPECT_EQ(files.createDirectory(path), 0u);
    EXPECT_TRUE(files.directoryExists(path));
    EXPECT_FALSE(files.fileExists(path));
    EXPECT_EQ(files.createDirectory(path), platform::fileerror::AlreadyExists);
}

TEST_F(Win32FileSystemTest, ExistenceTellsFilesFromFolders) {
    const std::string path = folder.file("a.txt");
    EXPECT_FALSE(files.fileExists(path));
    test::writeFileDirectly(path, "x");
    EXPECT_TRUE(files.fileExists(path));
    EXPECT_FALSE(files.directoryExists(path));
    EXPECT_TRUE(files.directoryExists(folder.path()));
    EXPECT_TRUE(files.deleteFile(path));
    EXPECT_FALSE(files.fileExists(path));
    EXPECT_FALSE(files.deleteFile(path));
}

TEST_F(Win32FileSystemTest, DeleteMatchingRemovesExactlyTheMatches) {
    for (const char* name : {"~DF1234.tmp", "~DFABCD.TMP", "~df0.tmp", "~DF.tmp", "~DF99.tmpx", "DF1.tmp",
                             "x~DF1.tmp", "~DF1.txt", "keep.ini"}) {
        test::writeFileDirectly(folder.file(name), "x");
    }
    ASSERT_EQ(files.createDirectory(folder.file("~DFdir.tmp")), 0u);

    EXPECT_EQ(files.deleteMatching(folder.path(), "~DF*.tmp"), 4);
    EXPECT_EQ(folder.fileNames(),
              (std::vector<std::string>{"DF1.tmp", "keep.ini", "x~DF1.tmp", "~DF1.txt", "~DF99.tmpx", "~DFdir.tmp"}));
}

TEST_F(Win32FileSystemTest, DeleteMatchingWithQuestionMarkAndTrailingBackslash) {
    for (const char* name : {"a1.log", "a22.log", "b1.log"}) test::writeFileDirectly(folder.file(name), "x");
    EXPECT_EQ(files.deleteMatching(folder.path() + "\\", "a?.log"), 1);
    EXPECT_EQ(folder.fileNames(), (std::vector<std::string>{"a22.log", "b1.log"}));
}

TEST_F(Win32FileSystemTest, DeleteMatchingSkipsFilesItCannotDelete) {
    for (const char* name : {"~DF1.tmp", "~DF2.tmp", "~DF3.tmp"}) test::writeFileDirectly(folder.file(name), "x");
    UniqueKernelHandle held(::CreateFileW(toWide(folder.file("~DF2.tmp")).c_str(), GENERIC_READ, 0, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held.valid());
    EXPECT_EQ(files.deleteMatching(folder.path(), "~DF*.tmp"), 2);
    held.reset();
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"~DF2.tmp"});
}

TEST_F(Win32FileSystemTest, DeleteMatchingInAMissingFolderDeletesNothing) {
    EXPECT_EQ(files.deleteMatching(folder.file("absent"), "*"), 0);
}

TEST_F(Win32FileSystemTest, JapaneseNamesWork) {
    const std::string path = folder.file("\xe8\xa8\xad\xe5\xae\x9a.ini");   // 設定.ini
    EXPECT_EQ(files.replaceContents(path, "x"), 0u);
    EXPECT_TRUE(files.fileExists(path));
    const auto result = files.readAll(path);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.bytes, "x");
}

TEST_F(Win32FileSystemTest, RewriteInPlaceReplacesTheContentsOfTheSameFile) {
    const std::string path = folder.file("inplace.ini");
    test::writeFileDirectly(path, "a much longer first version\r\n");
    EXPECT_EQ(files.rewriteInPlace(path, "short\r\n"), 0u);
    EXPECT_EQ(test::readFileDirectly(path), "short\r\n");
    EXPECT_EQ(folder.fileNames(), std::vector<std::string>{"inplace.ini"});
    EXPECT_EQ(files.rewriteInPlace(folder.file("absent.ini"), "x"), platform::fileerror::FileNotFound);
}

TEST_F(Win32FileSystemTest, CanonicalPathIsTheSameForEverySpelling) {
    const std::string longFolder = folder.file("Install Folder With A Long Name");
    ASSERT_EQ(files.createDirectory(longFolder), 0u);
    test::writeFileDirectly(longFolder + "\\Tidemark.ini", "x");
    wchar_t shortName[MAX_PATH];
    ASSERT_GT(::GetShortPathNameW(toWide(longFolder).c_str(), shortName, MAX_PATH), 0u);
    const std::string shortFolder = fromWideBuffer(shortName);
    ASSERT_NE(shortFolder, longFolder) << "no 8.3 name to test with";
    const std::string canonical = files.canonicalPath(longFolder + "\\Tidemark.ini");
    EXPECT_EQ(files.canonicalPath(shortFolder + "\\Tidemark.ini"), canonical);
    EXPECT_EQ(files.canonicalPath(longFolder + "\\..\\Install Folder With A Long Name\\.\\Tidemark.ini"), canonical);
    // A file that does not exist yet still gets its folder's long name.
    EXPECT_EQ(files.canonicalPath(shortFolder + "\\New.ini"), longFolder + "\\New.ini");
    ::DeleteFileW(toWide(longFolder + "\\Tidemark.ini").c_str());
    ::RemoveDirectoryW(toWide(longFolder).c_str());
}

} // namespace
} // namespace tidemark::win32
