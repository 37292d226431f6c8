// Reading settings files: the results the Windows profile functions give for
// awkward files, counted in ANSI bytes.
#include <gtest/gtest.h>

#include "shared/profile/ProfileEngine.h"
#include "support/SimFixture.h"

namespace tidemark::profile {
namespace {

using std::nullopt;
using std::string;
using namespace std::string_literals;

class ProfileRead : public testing::SimFixture {
protected:
    const string path = "C:\\t\\x.ini";
    ProfileEngine engine{alice.platform()};

    ProfileReadResult read(const std::optional<string>& s, const std::optional<string>& k, std::uint32_t size = 255,
                           const std::optional<string>& def = string()) {
        return engine.getString(s, k, def, size, path);
    }
    void file(const string& bytes) { machine.files.putFile(path, bytes); }
};

TEST_F(ProfileRead, TrimsNamesAndValuesAndMatchesWithoutCase) {
    file("[S]\r\n K = v \r\n\tother\t=\tx y\t\r\n");
    EXPECT_EQ(read("s", "k").ansi, "v");
    EXPECT_EQ(read("s", "k").count, 1u);
    EXPECT_EQ(read(" S ", " K ").ansi, "v");       // callers' names lose spaces
    EXPECT_EQ(read("\tS", "k").ansi, "");          // but not tabs
    EXPECT_EQ(read("s", "OTHER").ansi, "x y");
}

TEST_F(ProfileRead, OuterQuotesOfOneKindAreRemovedOnce) {
    file("[s]\r\nd=\"abc\"\r\nm=\"abc'\r\ne=\"\"\r\nq=\"\"abc\"\"\r\nsq='x'\r\none=\"\r\n");
    EXPECT_EQ(read("s", "d").ansi, "abc");
    EXPECT_EQ(read("s", "m").ansi, "\"abc'");
    EXPECT_EQ(read("s", "e").ansi, "");
    EXPECT_EQ(read("s", "e").count, 0u);
    EXPECT_EQ(read("s", "q").ansi, "\"abc\"");
    EXPECT_EQ(read("s", "sq").ansi, "x");
    EXPECT_EQ(read("s", "one").ansi, "\"");
    // The quotes go before the value is cut to the buffer.
    EXPECT_EQ(read("s", "d", 4).ansi, "abc");
    EXPECT_EQ(read("s", "d", 4).count, 3u);
}

TEST_F(ProfileRead, CommentsAndLinesWithoutEqualsAreNotKeys) {
    file("[s]\r\n;c=1\r\n#h=2\r\nk=v ;x\r\nbare line\r\n//x=3\r\n");
    const auto keys = read("s", nullopt);
    EXPECT_EQ(keys.ansi, "#h\0k\0//x\0"s);
    EXPECT_EQ(keys.count, 9u);
    EXPECT_EQ(read("s", ";c", 255, "def").ansi, "def");
    EXPECT_EQ(read("s", "k").ansi, "v ;x");
    EXPECT_EQ(read("s", "#h").ansi, "2");
    EXPECT_EQ(read("s", "bare line", 255, "d").ansi, "d");
}

TEST_F(ProfileRead, FirstSectionAndFirstKeyWinButListsShowDuplicates) {
    file("[s]\r\na=1\r\na=9\r\n[s]\r\nb=2\r\n");
    EXPECT_EQ(read("s", "b", 255, "none").ansi, "none");
    EXPECT_EQ(read("s", "a").ansi, "1");
    EXPECT_EQ(read("s", nullopt).ansi, "a\0a\0"s);
    const auto sections = read(nullopt, nullopt);
    EXPECT_EQ(sections.ansi, "s\0s\0"s);
    EXPECT_EQ(sections.count, 4u);
}

TEST_F(ProfileRead, TextBeforeTheFirstSectionIsIgnoredAndEmptyBracketsNameASection) {
    file("k=pre\r\n[]\r\nk=e\r\n");
    EXPECT_EQ(read("", "k").ansi, "e");
}

TEST_F(ProfileRead, SectionNameEndsAtFirstBracketAndNeedsNoBracket) {
    file("[a]b]\r\nk=1\r\n[c  \r\nj=2\r\n");
    EXPECT_EQ(read("a", "k").ansi, "1");
    EXPECT_EQ(read("c", "j").ansi, "2");
}

TEST_F(ProfileRead, AllLineEndingsRead) {
    file("[a]\nk=1\r[b]\r\nk=2\n\n\r\n[c]\rk=3");
    EXPECT_EQ(read("a", "k").ansi, "1");
    EXPECT_EQ(read("b", "k").ansi, "2");
    EXPECT_EQ(read("c", "k").ansi, "3");
}

TEST_F(ProfileRead, ValuesAreCutToTheBuffer) {
    file("[s]\r\nlong=" + string(300, 'x') + "\r\n");
    EXPECT_EQ(read("s", "long", 255).count, 254u);
    EXPECT_EQ(read("s", "long", 255).ansi, string(254, 'x'));
    EXPECT_EQ(read("s", "long", 1024).count, 300u);
    EXPECT_EQ(read("s", "long", 1).count, 0u);
    EXPECT_EQ(read("s", "long", 0).count, 0u);
}

TEST_F(ProfileRead, KeyListCutToTheBufferEndsWithTwoNuls) {
    file("[section1]\r\nname1=x\r\nname2=x\r\nname4=x\r\n");
    const auto cut = read("section1", nullopt, 16);
    EXPECT_EQ(cut.count, 14u);
    EXPECT_EQ(cut.ansi, "name1\0name2\0na\0"s);   // the final NUL is implied
    const auto whole = read("section1", nullopt, 19);
    EXPECT_EQ(whole.count, 18u);
    EXPECT_EQ(read("nosuch", nullopt).count, 0u);
}

TEST_F(ProfileRead, KeyListOfTwelveThousandBytesIsCutAtTheListBuffer) {
    string body = "[big]\r\n";
    for (int i = 0; i < 1200; ++i) body += "key" + std::to_string(100000 + i) + "=1\r\n";   // 10 bytes a name
    file(body);
    EXPECT_EQ(read("big", nullopt, 10240).count, 10238u);
    EXPECT_EQ(read("big", nullopt, 20000).count, 12000u);
    const auto names = engine.readKeyNames("big", 10240, path);
    EXPECT_EQ(names.names.size(), 1024u);   // 1023 whole names and the cut one
}

TEST_F(ProfileRead, DefaultLosesOnlyTrailingSpaces) {
    file("[s]\r\n");
    EXPECT_EQ(read("s", "k", 255, string("def  ")).ansi, "def");
    EXPECT_EQ(read("s", "k", 255, string("def  ")).count, 3u);
    EXPECT_EQ(read("s", "k", 255, string("   ")).count, 0u);
    EXPECT_EQ(read("s", "k", 255, string(" d\t")).ansi, " d\t");
    EXPECT_EQ(read("s", "k", 255, nullopt).count, 0u);
}

TEST_F(ProfileRead, MissingFileGivesTheDefaultAndErrorTwo) {
    const auto r = read("s", "k", 255, string("dflt"));
    EXPECT_EQ(r.ansi, "dflt");
    EXPECT_EQ(r.lastError, 2u);
    EXPECT_EQ(read(nullopt, nullopt).count, 0u);
}

TEST_F(ProfileRead, ShiftJisTextIsCountedInBytesAndMatchedExactly) {
    // Shift-JIS: 設定 = 90 DD 92 E8, ア = 83 41 (trail byte 'A'), ヂ = 83 61
    // (trail byte 'a'), ソ = 83 5C (trail byte '\\'), ゾ = 83 5D (trail byte ']').
    file("[\x90\xDD\x92\xE8]\r\n\x83\x41=\x83\x5C\x83\x5C\r\n[x\x83\x5D]\r\nk=1\r\n");
    const auto r = engine.readValue("設定", "ア", 255, path);
    EXPECT_EQ(r.text, "ソソ");
    EXPECT_EQ(r.count, 4u);
    // Folding the trail byte would make ヂ match ア.
    EXPECT_EQ(engine.readValue("設定", "ヂ", 255, path).count, 0u);
    // A ']' that is a trail byte does not end the section name.
    EXPECT_EQ(engine.readValue("xゾ", "k", 255, path).text, "1");
    // A double-byte character is never split by the cut.
    EXPECT_EQ(engine.readValue("設定", "ア", 4, path).text, "ソ");
    EXPECT_EQ(engine.readValue("設定", "ア", 4, path).count, 2u);
}

TEST_F(ProfileRead, UnicodeFileIsReadAndCountedInAnsiBytes) {
    const std::u16string text = u"[s]\r\nk=中a\r\n";
    string bytes = "\xFF\xFE";
    for (char16_t c : text) { bytes += static_cast<char>(c & 0xFF); bytes += static_cast<char>(c >> 8); }
    file(bytes);
    const auto r = engine.readValue("s", "k", 255, path);
    EXPECT_EQ(r.text, "中a");
    EXPECT_EQ(r.count, 3u);
}

TEST_F(ProfileRead, Utf8MarkIsNotRecognised) {
    file("\xEF\xBB\xBF[s]\r\nk=1\r\n[t]\r\nk=2\r\n");
    EXPECT_EQ(read("s", "k", 255, string("d")).ansi, "d");
    EXPECT_EQ(read("t", "k").ansi, "2");
}

} // namespace
} // namespace tidemark::profile
