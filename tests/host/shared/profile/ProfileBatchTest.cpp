// Batches of writes made in one pass, new sections after a last line
// without a line break, and one lock for one file however its folder is
// reached.
#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "shared/profile/ProfileEngine.h"
#include "support/SimFixture.h"

namespace tidemark::profile {
namespace {

using std::nullopt;
using std::string;

class ProfileBatch : public testing::SimFixture {
protected:
    const string path = "C:\\t\\x.ini";
    ProfileEngine engine{alice.platform()};

    ProfileBatch() { machine.files.makeDirectories("C:\\t"); }
    string bytes() const { return machine.files.contents(path); }
    static string utf16(const string& ascii) {
        string out = "\xFF\xFE";
        for (char c : ascii) out += string{c, '\0'};
        return out;
    }
};

// Generated files and edits: a batch leaves the bytes that the same writes
// made one at a time leave, in an ANSI file and in a Unicode one.
TEST_F(ProfileBatch, ABatchLeavesWhatItsWritesOneAtATimeLeave) {
    std::mt19937 random(1717);
    const auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    const char* lines[] = {"[a]", "[A]", "[b]", " [ b ] x", "[c", "k=1", " K = 2 ", "j=", "; c", "", "other", "k2=v",
                           "\x83\x81=\x83\x82", "[\x83\x81]"};
    const char* sections[] = {"a", "b", "B", "c", "new", "\x83\x81"};
    const char* keys[] = {"k", "K", "j", "k2", "n", "\x83\x81"};
    for (int round = 0; round < 400; ++round) {
        string text;
        for (std::size_t i = pick(12); i > 0; --i) text += string(lines[pick(std::size(lines))]) + (pick(4) ? "\r\n" : "\n");
        if (pick(3) == 0 && !text.empty()) text.pop_back();   // no line break at the end
        if (pick(3) == 0 && !text.empty()) text.pop_back();
        const bool unicode = pick(4) == 0;
        std::vector<ProfileEdit> edits;
        for (std::size_t i = 1 + pick(10); i > 0; --i) {
            ProfileEdit e{sections[pick(std::size(sections))], keys[pick(std::size(keys))], "v" + std::to_string(i)};
            if (pick(5) == 0) e.value = nullopt;
            if (pick(8) == 0) e.key = nullopt;
            if (unicode && (e.section[0] & 0x80)) e.section = "u";
            if (unicode && e.key && ((*e.key)[0] & 0x80)) e.key = "u";
            edits.push_back(e);
        }
        const string start = unicode ? utf16(text) : text;
        machine.files.putFile(path, start);
        for (const auto& e : edits) engine.writeString(e.section, e.key, e.value, path);
        const string oneByOne = bytes();
        machine.files.putFile(path, start);
        ASSERT_TRUE(engine.writeAll(edits, path));
        ASSERT_EQ(bytes(), oneByOne) << "round " << round << ": " << text;
    }
}

// Each write of a long batch costs the same however long the file grows:
// 40,000 entries once took minutes.
TEST_F(ProfileBatch, ALongBatchIsWrittenInOnePass) {
    std::vector<ProfileEdit> edits;
    for (int i = 0; i < 40000; ++i)
        edits.push_back({"ExitTrigProcList", "Program" + std::to_string(i) + ".exe", "C:\\Apps\\Program.exe"});
    edits.push_back({"ExitTrigProcList", "program7.EXE", "C:\\Seven.exe"});
    edits.push_back({"ExitTrigProcList", "Program8.exe", nullopt});
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(engine.writeAll(edits, path));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    const ProfileSection list = engine.readSection("ExitTrigProcList", path);
    ASSERT_EQ(list.entries.size(), 39999u);
    EXPECT_EQ(list.entries[7].name, "Program7.exe");
    EXPECT_EQ(list.entries[7].value, "C:\\Seven.exe");
    EXPECT_EQ(list.entries[8].name, "Program9.exe");
}

TEST_F(ProfileBatch, ANewSectionAfterALastLineWithoutALineBreakStartsALineOfItsOwn) {
    const struct {
        string before, after;
    } cases[] = {
        {"[s]\r\nk=1", "[s]\r\nk=1\r\n[t]\r\nm=3\r\n"},
        {"[s]", "[s]\r\n[t]\r\nm=3\r\n"},
        {"[s]\r\nk=1\r\n; last", "[s]\r\nk=1\r\n; last\r\n[t]\r\nm=3\r\n"},
        {"[s]\nk=1\n\t ", "[s]\nk=1\n\t \r\n[t]\r\nm=3\r\n"},
        {"[s]\rk=1", "[s]\rk=1\r\n[t]\r\nm=3\r\n"},
        {"", "[t]\r\nm=3\r\n"},
    };
    for (const auto& c : cases) {
        machine.files.putFile(path, c.before);
        ASSERT_TRUE(engine.writeString("t", "m", "3", path));
        EXPECT_EQ(bytes(), c.after) << c.before;
        machine.files.putFile(path, utf16(c.before));
        ASSERT_TRUE(engine.writeString("t", "m", "3", path));
        EXPECT_EQ(bytes(), utf16(c.after)) << c.before;
        EXPECT_EQ(engine.readValue("t", "m", 255, path).text, "3") << c.before;
    }
    // The last key deleted, then a new section: the line before keeps its break.
    machine.files.putFile(path, "[s]\r\nk=1\r\nj=2");
    ASSERT_TRUE(engine.writeAll({{"s", "j", nullopt}, {"t", "m", "3"}, {"s", "n", "4"}}, path));
    EXPECT_EQ(bytes(), "[s]\r\nk=1\r\nn=4\r\n[t]\r\nm=3\r\n");
}

// The same folder through another drive letter (SUBST, a mapped share,
// Wine's Z:) or a junction takes the same lock; another folder or file does not.
TEST_F(ProfileBatch, TheLockIsNamedAfterTheFolderNotItsSpelling) {
    machine.files.makeDirectories("C:\\Program Files\\Tidemark");
    machine.files.makeDirectories("C:\\Other");
    machine.files.addAlias("Z:\\", "C:\\");
    machine.files.addAlias("S:\\", "C:\\Program Files");
    machine.files.addAlias("C:\\Junction", "C:\\Program Files\\Tidemark");
    const string file = "C:\\Program Files\\Tidemark\\Tidemark.ini";
    const string name = engine.lockNameFor(file);
    for (const string spelling : {"Z:\\Program Files\\Tidemark\\Tidemark.ini", "s:\\TIDEMARK\\TIDEMARK.INI",
                                  "C:\\Junction\\Tidemark.ini", "Z:\\Junction\\..\\Program Files\\Tidemark\\Tidemark.ini"})
        EXPECT_EQ(engine.lockNameFor(spelling), name) << spelling;
    EXPECT_NE(engine.lockNameFor("C:\\Other\\Tidemark.ini"), name);
    EXPECT_NE(engine.lockNameFor("Z:\\Program Files\\Tidemark\\Other.ini"), name);

    // Held through one spelling, the file cannot be written through another.
    const auto held = machine.locks.acquire(engine.lockNameFor("S:\\Tidemark\\Tidemark.ini"), 0);
    ASSERT_TRUE(held);
    EXPECT_FALSE(engine.writeString("s", "k", "v", "Z:\\Program Files\\Tidemark\\Tidemark.ini"));
    EXPECT_FALSE(engine.writeString("s", "k", "v", file));
}

} // namespace
} // namespace tidemark::profile
