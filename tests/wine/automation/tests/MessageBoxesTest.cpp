// Message boxes of another process: found, read exactly, answered.
#include "TargetProgram.h"

#include <gtest/gtest.h>

namespace tidemark::automation::test {
namespace {

TEST(MessageBoxes, ReadsAndAnswersAYesNoBoxWithIcon) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    ASSERT_TRUE(clickButton(target.control(IDC_TARGET_ASK)));
    const std::optional<MessageBoxInfo> box = waitForMessageBox(target.pid(), kEventTimeoutMs);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, "Tidemark 確認");
    EXPECT_EQ(box->text, "メモリを解放しますか？\r\n解放には数秒かかります。");
    EXPECT_EQ(box->buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(box->buttonTexts.size(), 2u);
    EXPECT_TRUE(box->hasIcon);

    EXPECT_TRUE(answerMessageBox(box->hwnd, IDNO));
    EXPECT_TRUE(target.waitForLogLine("ask=no"));
    EXPECT_TRUE(findMessageBoxes(target.pid()).empty());
}

TEST(MessageBoxes, AnswersYesToo) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    ASSERT_TRUE(clickButton(target.control(IDC_TARGET_ASK)));
    const std::optional<MessageBoxInfo> box = waitForMessageBox(target.pid(), kEventTimeoutMs, "解放");
    ASSERT_TRUE(box.has_value());
    EXPECT_TRUE(answerMessageBox(box->hwnd, IDYES));
    EXPECT_TRUE(target.waitForLogLine("ask=yes"));
}

TEST(MessageBoxes, AnOkBoxWithoutIconFromAMenuCommand) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    ASSERT_TRUE(chooseMenuCommand(target.dialog(), IDM_TARGET_ABOUT));
    const std::optional<MessageBoxInfo> box = waitForMessageBox(target.pid(), kEventTimeoutMs);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, "情報");
    EXPECT_EQ(box->text, "Tidemark 自動操作テスト");
    EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
    EXPECT_FALSE(box->hasIcon);
    // A box without Cancel cannot be answered with it.
    EXPECT_FALSE(answerMessageBox(box->hwnd, IDCANCEL, 200));
    EXPECT_TRUE(answerMessageBox(box->hwnd, IDOK));
    EXPECT_TRUE(target.waitForLogLine("about=ok"));
}

TEST(MessageBoxes, ADialogWithAnUnnamedLabelIsNoMessageBox) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    const HWND unnamed = findControl(target.dialog(), "Static", "説明");
    ASSERT_NE(unnamed, nullptr);
    ASSERT_EQ(static_cast<WORD>(::GetDlgCtrlID(unnamed)), kMessageBoxTextId);
    EXPECT_FALSE(isMessageBox(target.dialog()));
    EXPECT_TRUE(findMessageBoxes(target.pid()).empty());
}

TEST(MessageBoxes, OnlyTheTextAskedForMatches) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    ASSERT_TRUE(clickButton(target.control(IDC_TARGET_ASK)));
    ASSERT_TRUE(waitForMessageBox(target.pid(), kEventTimeoutMs).has_value());
    EXPECT_FALSE(waitForMessageBox(target.pid(), 200, "別の文").has_value());
}

TEST(MessageBoxes, WaitingWhenNoneComesFailsOnTime) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    const ULONGLONG before = ::GetTickCount64();
    EXPECT_FALSE(waitForMessageBox(target.pid(), 300).has_value());
    EXPECT_LT(::GetTickCount64() - before, 2000u);
}

TEST(MessageBoxes, ButtonNamesBothWays) {
    EXPECT_EQ(buttonIdName(IDNO), "No");
    EXPECT_EQ(buttonIdName(IDRETRY), "Retry");
    EXPECT_EQ(buttonIdName(99), "99");
    EXPECT_EQ(buttonIdFromName("yes"), std::optional<int>(IDYES));
    EXPECT_EQ(buttonIdFromName("7"), std::optional<int>(IDNO));
    EXPECT_EQ(buttonIdFromName("maybe"), std::nullopt);
}

} // namespace
} // namespace tidemark::automation::test
