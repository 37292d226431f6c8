// Reading and operating the target's controls, and messages to its windows.
#include "TargetProgram.h"

#include <gtest/gtest.h>

namespace tidemark::automation::test {
namespace {

TEST(Controls, ReadsALabelsJapaneseTextExactly) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    const std::optional<std::string> text = controlText(target.control(IDC_TARGET_LABEL));
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, "メモリ使用率");
    EXPECT_EQ(*text, "\xE3\x83\xA1\xE3\x83\xA2\xE3\x83\xAA\xE4\xBD\xBF\xE7\x94\xA8\xE7\x8E\x87");
}

TEST(Controls, FindsByClassAndText) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    EXPECT_EQ(findControl(target.dialog(), "button", "隠す(&H)"), target.control(IDC_TARGET_HIDE));
    const HWND unnamed = findControl(target.dialog(), "Static", "説明");
    ASSERT_NE(unnamed, nullptr);
    // -1 in the template: 0xFFFF as a dialog's control ID.
    EXPECT_EQ(static_cast<WORD>(::GetDlgCtrlID(unnamed)), 0xFFFF);
    EXPECT_EQ(findControl(target.dialog(), "Static", "ありません"), nullptr);
    EXPECT_EQ(findControl(target.dialog(), 4242), nullptr);
}

TEST(Controls, ReportsEnabledAndVisibleState) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    EXPECT_TRUE(isEnabled(target.control(IDC_TARGET_ASK)));
    EXPECT_FALSE(isEnabled(target.control(IDC_TARGET_DISABLED)));
    EXPECT_TRUE(isVisible(target.control(IDC_TARGET_DISABLED)));
}

TEST(Controls, ClickingADisabledButtonIsRefused) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    EXPECT_FALSE(clickButton(target.control(IDC_TARGET_DISABLED)));
    EXPECT_FALSE(clickButtonAndWait(target.control(IDC_TARGET_DISABLED)));
}

TEST(Controls, ClicksACheckBoxAndReadsItsState) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    const HWND check = target.control(IDC_TARGET_CHECK);
    EXPECT_EQ(checkState(check), std::optional<CheckState>(CheckState::Unchecked));
    ASSERT_TRUE(clickButtonAndWait(check));
    EXPECT_EQ(checkState(check), std::optional<CheckState>(CheckState::Checked));
    EXPECT_TRUE(target.waitForLogLine("check=1"));
    ASSERT_TRUE(clickButton(check));
    EXPECT_TRUE(target.waitForLogLine("check=0"));
    EXPECT_EQ(checkState(check), std::optional<CheckState>(CheckState::Unchecked));
}

TEST(Controls, SetsAnEditsTextAndTheProgramSeesTheChange) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    const HWND edit = target.control(IDC_TARGET_EDIT);
    ASSERT_TRUE(setControlText(edit, "空き容量 512MB"));
    EXPECT_EQ(controlText(edit), std::optional<std::string>("空き容量 512MB"));
    EXPECT_TRUE(target.waitForLogLine("edit=空き容量 512MB"));
}

TEST(Controls, ClickingHideHidesTheWindow) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    ASSERT_TRUE(clickButton(target.control(IDC_TARGET_HIDE)));
    EXPECT_TRUE(target.waitForLogLine("hide"));
    EXPECT_TRUE(pollUntil(kEventTimeoutMs, [&] { return !::IsWindowVisible(target.dialog()); }));
}

TEST(Controls, TrayCallbackSentToTheHiddenOwnerIsHandled) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    ASSERT_TRUE(clickButton(target.control(IDC_TARGET_HIDE)));
    ASSERT_TRUE(target.waitForLogLine("hide"));
    // The handler shows a window, which takes Wine up to a second or so.
    const std::optional<LRESULT> result =
        sendMessage(target.tray(), WM_TARGET_TRAY_CALLBACK, 0, WM_LBUTTONUP, kEventTimeoutMs);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, 0);
    EXPECT_TRUE(target.waitForLogLine("tray=left"));
    EXPECT_TRUE(::IsWindowVisible(target.dialog()));
}

TEST(Controls, ListsControlsForDiagnostics) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    const std::vector<ControlInfo> controls = listControls(target.dialog());
    bool sawDisabled = false;
    for (const ControlInfo& control : controls) {
        if (control.id == IDC_TARGET_DISABLED) {
            sawDisabled = true;
            EXPECT_FALSE(control.enabled);
            EXPECT_EQ(control.text, "詳細設定");
            EXPECT_NE(formatControlInfo(control).find("disabled"), std::string::npos);
        }
    }
    EXPECT_TRUE(sawDisabled);
    EXPECT_GE(controls.size(), 7u);
}

TEST(Controls, MessagesToAGoneWindowFailAtOnce) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    const HWND dialog = target.dialog();
    ASSERT_TRUE(target.process().terminate());
    const ULONGLONG before = ::GetTickCount64();
    EXPECT_FALSE(sendMessage(dialog, WM_NULL).has_value());
    EXPECT_FALSE(controlText(findControl(dialog, IDC_TARGET_LABEL)).has_value());
    EXPECT_LT(::GetTickCount64() - before, 1000u);
}

} // namespace
} // namespace tidemark::automation::test
