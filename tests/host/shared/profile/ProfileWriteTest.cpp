// Writing settings files: the bytes the Windows profile functions leave, in
// place, and the input the engine refuses rather than corrupt a file.
#include <gtest/gtest.h>

#include "shared/profile/ProfileEngine.h"
#include "support/SimFixture.h"

namespace tidemark::profile {
namespace {

using std::nullopt;
using std::string;

class ProfileWrite : public testing::SimFixture {
protected:
    const string path = "C:\\t\\x.ini";
    ProfileEngine engine{alice.platform()};

    ProfileWrite() { machine.files.makeDirectories("C:\\t"); }
    bool write(const std::optional<string>& s, const std::optional<string>& k, const std::optional<string>& v) {
        return engine.writeString(s, k, v, path);
    }
    string bytes() const { return machine.files.contents(path); }
    string read(const string& s, const string& k) { return engine.readValue(s, k, 255, path).text; }
};

TEST_F(ProfileWrite, NewFileAndNewSectionsAreAppendedWithCrLf) {
    ASSERT_TRUE(write("App1", "key1", "string1"));
    ASSERT_TRUE(write("App2", "k", "v"));
    EXPECT_EQ(bytes(), "[App1]\r\nkey1=string1\r\n[App2]\r\nk=v\r\n");
}

TEST_F(ProfileWrite, NewKeyGoesAfterTheLastKeyAndTheRestIsUntouched) {
    machine.files.putFile(path, "; c\r\n\r\n[a]\r\nk=1\r\n;t\r\n\r\n[b]\r\n");
    ASSERT_TRUE(write("a", "n", "v"));
    EXPECT_EQ(bytes(), "; c\r\n\r\n[a]\r\nk=1\r\nn=v\r\n;t\r\n\r\n[b]\r\n");
    ASSERT_TRUE(write("b", "x", "1"));
    EXPECT_EQ(bytes(), "; c\r\n\r\n[a]\r\nk=1\r\nn=v\r\n;t\r\n\r\n[b]\r\nx=1\r\n");
}

TEST_F(ProfileWrite, UpdateKeepsTheNamesSpellingAndOtherLines) {
    machine.files.putFile(path, "[Sec]\n  Key = old \n other=1\n");
    ASSERT_TRUE(write("SEC", "KEY", "new"));
    EXPECT_EQ(bytes(), "[Sec]\nKey=new\n other=1\n");
}

TEST_F(ProfileWrite, ValueIsWrittenAsGivenAndReadBackTrimmed) {
    machine.files.putFile(path, "[s]\r\n");
    ASSERT_TRUE(write("s", "k", " v "));
    EXPECT_EQ(bytes(), "[s]\r\nk= v \r\n");
    EXPECT_EQ(read("s", "k"), "v");
    ASSERT_TRUE(write("s", "e", ""));
    EXPECT_EQ(bytes(), "[s]\r\nk= v \r\ne=\r\n");
}

TEST_F(ProfileWrite, FileWithoutFinalLineBreakGetsOne) {
    machine.files.putFile(path, "[s]\r\nk=1");
    ASSERT_TRUE(write("s", "j", "2"));
    ASSERT_TRUE(write("t", "m", "3"));
    EXPECT_EQ(bytes(), "[s]\r\nk=1\r\nj=2\r\n[t]\r\nm=3\r\n");
}

TEST_F(ProfileWrite, DeletingAKeyKeepsTheSectionHeader) {
    machine.files.putFile(path, "[s]\r\nk=1\r\n[t]\r\nj=2\r\n");
    ASSERT_TRUE(write("s", "k", nullopt));
    EXPECT_EQ(bytes(), "[s]\r\n[t]\r\nj=2\r\n");
    ASSERT_TRUE(write("s", "nosuch", nullopt));
    ASSERT_TRUE(write("nosuch", "k", nullopt));
    EXPECT_EQ(bytes(), "[s]\r\n[t]\r\nj=2\r\n");
}

TEST_F(ProfileWrite, DeletingASectionKeepsItsComments) {
    machine.files.putFile(path, "[a]\r\n;c\r\nk=1\r\n[b]\r\nj=2\r\n");
    ASSERT_TRUE(write("a", nullopt, nullopt));
    EXPECT_EQ(bytes(), ";c\r\n[b]\r\nj=2\r\n");
    // A whole list section is rewritten by deleting it and writing each entry.
    ASSERT_TRUE(write("b", nullopt, nullopt));
    ASSERT_TRUE(write("b", "x", "1"));
    EXPECT_EQ(bytes(), ";c\r\n[b]\r\nx=1\r\n");
}

TEST_F(ProfileWrite, DeletesOnAMissingFileSucceedWithoutCreatingIt) {
    EXPECT_TRUE(write("s", "k", nullopt));
    EXPECT_TRUE(write("s", nullopt, nullopt));
    EXPECT_FALSE(machine.files.fileExists(path));
}

TEST_F(ProfileWrite, UnicodeFileStaysUnicode) {
    machine.files.putFile(path, string("\xFF\xFE[\0s\0]\0\r\0\n\0", 12));
    ASSERT_TRUE(write("s", "k", "中"));
    EXPECT_EQ(bytes(), string("\xFF\xFE[\0s\0]\0\r\0\n\0k\0=\0\x2D\x4E\r\0\n\0", 22));
    EXPECT_EQ(read("s", "k"), "中");
}

TEST_F(ProfileWrite, AnsiFileGetsCodePageBytesAndQuestionMarksForMissingCharacters) {
    ASSERT_TRUE(write("s", "k", "中"));
    EXPECT_EQ(bytes(), "[s]\r\nk=\x92\x86\r\n");
    machine.codePage.setId(1252);
    ASSERT_TRUE(write("s", "k", "中é"));
    EXPECT_EQ(bytes(), "[s]\r\nk=?\xE9\r\n");
}

TEST_F(ProfileWrite, TextThatWouldBreakTheFileIsRefused) {
    machine.files.putFile(path, "[s]\r\nk=1\r\n");
    const string before = bytes();
    EXPECT_FALSE(write("s", "k", "a\r\nb=2"));
    EXPECT_FALSE(write("s", "k", "a\nb"));
    EXPECT_FALSE(write("s", "a=b", "1"));
    EXPECT_FALSE(write("s", ";c", "1"));
    EXPECT_FALSE(write("s", " [x", "1"));
    EXPECT_FALSE(write("s", "", "1"));
    EXPECT_FALSE(write("s]x", "k", "1"));
    EXPECT_FALSE(write("s\r\n[t", "k", "1"));
    EXPECT_FALSE(write(nullopt, "k", "1"));
    EXPECT_FALSE(write("s", "k", string("a\0b", 3)));
    EXPECT_EQ(engine.lastError(), 87u);
    EXPECT_EQ(bytes(), before);
    // Quotes, '=' and ';' in values are fine.
    EXPECT_TRUE(write("s", "k", "p\"a=s;s'"));
    EXPECT_EQ(read("s", "k"), "p\"a=s;s'");
}

TEST_F(ProfileWrite, MissingFolderOrDeniedFileFailsAndChangesNothing) {
    EXPECT_FALSE(engine.writeString("s", "k", "v", "C:\\nosuch\\x.ini"));
    EXPECT_EQ(engine.lastError(), 3u);
    machine.files.putFile(path, "[s]\r\nk=1\r\n");
    machine.files.denyWrites(path);
    EXPECT_FALSE(write("s", "k", "2"));
    EXPECT_EQ(engine.lastError(), 5u);
    EXPECT_EQ(read("s", "k"), "1");
}

TEST_F(ProfileWrite, WriterThatCannotTakeTheLockFails) {
    const auto other = machine.locks.acquire(ProfileEngine(alice.platform()).lockNameFor(path), 0);
    ASSERT_TRUE(other);
    EXPECT_FALSE(write("s", "k", "v"));
    EXPECT_FALSE(machine.files.fileExists(path));
}

TEST_F(ProfileWrite, TemporaryFilesOfADeadWriterAreSweptByTheNextWrite) {
    machine.files.putFile(path + ".~4242-7.tmp", "[s]\r\nhalf");
    machine.files.putFile("C:\\t\\other.ini.~1-1.tmp", "x");
    ASSERT_TRUE(write("s", "k", "v"));
    EXPECT_FALSE(machine.files.fileExists(path + ".~4242-7.tmp"));
    EXPECT_TRUE(machine.files.fileExists("C:\\t\\other.ini.~1-1.tmp"));
}

TEST_F(ProfileWrite, WritesOfManyKeysByTwoUsersAllSurvive) {
    sim::SimProcess bob{machine, "bob"};
    ProfileEngine bobs{bob.platform()};
    for (int i = 0; i < 300; ++i) {
        ASSERT_TRUE(engine.writeString("s", "a" + std::to_string(i), std::to_string(i), path));
        ASSERT_TRUE(bobs.writeString("s", "b" + std::to_string(i), std::to_string(i), path));
    }
    EXPECT_EQ(engine.readKeyNames("s", 10240, path).names.size(), 600u);
    EXPECT_EQ(read("s", "b299"), "299");
}

TEST_F(ProfileWrite, FolderThatAdmitsNoNewFileIsWrittenInPlace) {
    machine.files.putFile(path, "; kept\r\n[s]\r\nk=1\r\n");
    machine.files.denyNewEntriesIn("C:\\t");
    ASSERT_TRUE(write("s", "k", "2"));
    ASSERT_TRUE(write("s", "n", "3"));
    EXPECT_EQ(bytes(), "; kept\r\n[s]\r\nk=2\r\nn=3\r\n");
    EXPECT_EQ(machine.files.filesIn("C:\\t"), std::vector<string>{path});
    // Where the file does not exist yet there is nothing to write in place.
    EXPECT_FALSE(engine.writeString("s", "k", "v", "C:\\t\\new.ini"));
    EXPECT_EQ(engine.lastError(), 5u);
    // A file nobody may write stays refused.
    machine.files.denyWrites(path);
    EXPECT_FALSE(write("s", "k", "4"));
    EXPECT_EQ(read("s", "k"), "2");
}

TEST_F(ProfileWrite, EverySpellingOfAPathTakesTheSameLock) {
    machine.files.makeDirectories("C:\\Program Files\\Tidemark");
    machine.files.addShortName("C:\\PROGRA~1", "C:\\Program Files");
    machine.files.addShortName("C:\\Program Files\\TIDEMA~1", "C:\\Program Files\\Tidemark");
    machine.files.addShortName("C:\\Program Files\\Tidemark\\TIDEMA~1.INI", "C:\\Program Files\\Tidemark\\Tidemark.ini");
    const string name = engine.lockNameFor("C:\\Program Files\\Tidemark\\Tidemark.ini");
    for (const string spelling : {"c:\\progra~1\\TIDEMARK\\tidemark.ini", "C:\\Program Files\\x\\..\\Tidemark\\.\\Tidemark.ini",
                                  "C:/Program Files/Tidemark/Tidemark.ini", "C:\\PROGRA~1\\TIDEMA~1\\TIDEMA~1.INI",
                                  "C:\\Program Files\\Tidemark\\tidema~1.ini"})
        EXPECT_EQ(engine.lockNameFor(spelling), name) << spelling;
    EXPECT_NE(engine.lockNameFor("C:\\Program Files\\Tidemark\\Other.ini"), name);
    // Every spelling reaches the one file.
    ASSERT_TRUE(engine.writeString("s", "k", "v", "C:\\PROGRA~1\\TIDEMA~1\\TIDEMA~1.INI"));
    EXPECT_EQ(machine.files.contents("C:\\Program Files\\Tidemark\\Tidemark.ini"), "[s]\r\nk=v\r\n");
    const auto other = machine.locks.acquire(name, 0);
    EXPECT_FALSE(engine.writeString("s", "k", "v", "C:\\PROGRA~1\\Tidemark\\Tidemark.ini"));
}

// A writer killed half-way leaves the old file whole, and the next writer
// clears what it left beside it.
TEST_F(ProfileWrite, KilledWriterLeavesTheOldFileWhole) {
    const string before = "[s]\r\nk=" + string(200, 'a') + "\r\n";
    machine.files.putFile(path, before);
    machine.files.killNextWriteHalfway = true;
    EXPECT_THROW(write("s", "k", string(300, 'b')), sim::SimFileSystem::WriterKilled);
    EXPECT_EQ(bytes(), before);
    ASSERT_TRUE(write("s", "n", "1"));
    EXPECT_EQ(read("s", "k"), string(200, 'a'));
    EXPECT_EQ(machine.files.filesIn("C:\\t"), std::vector<string>{path});
}

TEST_F(ProfileWrite, ConditionalWriteHappensOnlyWhileEveryExpectedValueHolds) {
    machine.files.putFile(path, "[a]\r\nk=\"old\"\r\n[b]\r\nc=0\r\n");
    using W = WriteOutcome;
    // A quoted value reads without its quotes; a missing key reads as empty.
    EXPECT_EQ(engine.writeStringIf({{"a", "k", "old"}, {"b", "missing", ""}}, "a", "k", string("new"), path), W::Written);
    EXPECT_EQ(engine.writeStringIf({{"a", "k", "old"}}, "a", "k", string("other"), path), W::Unchanged);
    EXPECT_EQ(engine.writeStringIf({{"a", "k", "new"}, {"b", "c", "1"}}, "a", "k", string("other"), path), W::Unchanged);
    EXPECT_EQ(engine.writeStringIf({{"b", "c", "0"}}, "a", "k", std::nullopt, path), W::Written);
    EXPECT_EQ(bytes(), "[a]\r\n[b]\r\nc=0\r\n");
    machine.files.denyWrites(path);
    EXPECT_EQ(engine.writeStringIf({{"b", "c", "0"}}, "b", "c", string("1"), path), W::Failed);
}

TEST_F(ProfileWrite, ABatchIsWrittenWholeInOneReplaceOrNotAtAll) {
    machine.files.putFile(path, string("\xFF\xFE[\0a\0]\0\r\0\n\0k\0=\0\x31\0\r\0\n\0", 22));
    const int writesBefore = machine.files.writeCount();
    ASSERT_TRUE(engine.writeAll({{"a", "k", "2"}, {"b", "n", "v"}, {"a", nullopt, nullopt}}, path));
    EXPECT_EQ(machine.files.writeCount(), writesBefore + 1);
    EXPECT_EQ(bytes(), string("\xFF\xFE[\0b\0]\0\r\0\n\0n\0=\0v\0\r\0\n\0", 22));
    // One edit the file could not hold: nothing of the batch is written.
    EXPECT_FALSE(engine.writeAll({{"b", "m", "1"}, {"b", "x=y", "2"}}, path));
    EXPECT_EQ(engine.lastError(), 87u);
    EXPECT_EQ(read("b", "m"), "");
    // From an empty file: only the batch, in the code page, whatever was there.
    ASSERT_TRUE(engine.writeAll({{"c", "k", "1"}}, path, BatchBase::EmptyFile));
    EXPECT_EQ(bytes(), "[c]\r\nk=1\r\n");
    // Read whole, repeated names kept with the first line's value.
    machine.files.putFile(path, "[s]\r\nA=\"1\"\r\na=2\r\nLong=" + string(5000, 'x') + "\r\n");
    const ProfileSection section = engine.readSection("S", path);
    ASSERT_EQ(section.entries.size(), 3u);
    EXPECT_EQ(section.entries[1].value, "1");
    EXPECT_EQ(section.entries[2].value.size(), 5000u);
    EXPECT_FALSE(engine.readSection("s", "C:\\t\\missing.ini").fileRead);
}

} // namespace
} // namespace tidemark::profile
