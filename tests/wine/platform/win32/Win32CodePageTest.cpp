// The code-page backend under the Japanese system locale (code page 932).
#include "platform/win32/Win32CodePage.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace tidemark::win32 {
namespace {

constexpr char kNaka[] = "\xe4\xb8\xad";   // 中, 0x92 0x86 in Shift JIS
constexpr char kThaiKoKai[] = "\xe0\xb8\x81";   // U+0E01, absent from 932

TEST(Win32CodePage, JapaneseSystemUses932) {
    Win32CodePage codePage;
    EXPECT_EQ(codePage.id(), 932u);
}

TEST(Win32CodePage, KanjiRoundTripsThroughShiftJis) {
    Win32CodePage codePage;
    const std::string ansi = codePage.toAnsi(kNaka);
    EXPECT_EQ(ansi, "\x92\x86");
    EXPECT_EQ(codePage.fromAnsi(ansi), kNaka);
}

TEST(Win32CodePage, MixedTextRoundTrips) {
    Win32CodePage codePage;
    const std::string text = "Tidemark \xe8\xa8\xad\xe5\xae\x9a \xef\xbd\xb1 1.0";   // 設定, half-width ｱ
    const std::string ansi = codePage.toAnsi(text);
    EXPECT_EQ(ansi, "Tidemark \x90\xdd\x92\xe8 \xb1 1.0");
    EXPECT_EQ(codePage.fromAnsi(ansi), text);
}

TEST(Win32CodePage, CharacterTheCodePageLacksBecomesQuestionMark) {
    Win32CodePage codePage;
    EXPECT_EQ(codePage.toAnsi(std::string("a") + kThaiKoKai + "b"), "a?b");
}

TEST(Win32CodePage, EmptyTextStaysEmpty) {
    Win32CodePage codePage;
    EXPECT_EQ(codePage.toAnsi(""), "");
    EXPECT_EQ(codePage.fromAnsi(""), "");
}

TEST(Win32CodePage, LeadBytesAreTheDoubleByteStarters) {
    Win32CodePage codePage;
    EXPECT_TRUE(codePage.isLeadByte(0x82));
    EXPECT_TRUE(codePage.isLeadByte(0x81));
    EXPECT_TRUE(codePage.isLeadByte(0xE0));
    EXPECT_FALSE(codePage.isLeadByte('A'));
    EXPECT_FALSE(codePage.isLeadByte(0xB1));   // half-width katakana stands alone
    EXPECT_FALSE(codePage.isLeadByte(0x80));
}

} // namespace
} // namespace tidemark::win32
