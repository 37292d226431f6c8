// Tooltip texts registered in another process, read through its memory.
#include "TargetProgram.h"

#include "platform/win32/Win32Text.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace tidemark::automation::test {
namespace {

TEST(Tooltips, ReadsTheTextRegisteredForAButton) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    std::string error;
    const std::optional<std::string> text = tooltipText(target.control(IDC_TARGET_HIDE), &error);
    ASSERT_TRUE(text.has_value()) << error;
    EXPECT_EQ(*text, "このフォームを隠します");
}

TEST(Tooltips, AControlWithoutToolHasNoText) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    std::string error;
    EXPECT_FALSE(tooltipText(target.control(IDC_TARGET_LABEL), &error).has_value());
    EXPECT_FALSE(error.empty());
}

// Windows copies at most 80 characters with TTM_ENUMTOOLS; the library
// asks again with TTM_GETTEXT for the whole text.
TEST(Tooltips, ReadsALongTextRegisteredByControlId) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    std::string error;
    const std::optional<std::string> text = tooltipText(target.control(IDC_TARGET_CHECK), &error);
    ASSERT_TRUE(text.has_value()) << error;
    EXPECT_EQ(*text,
              "チェックすると、起動したときにこの状態表示ウィンドウを開きます。チェックを外すと、"
              "通知領域のアイコンだけが表示され、ウィンドウはアイコンをクリックしたときに開きます。");
    EXPECT_GT(win32::toWide(*text).size(), 80u);
}

TEST(Tooltips, ReadsATextTheProgramGivesWhenAsked) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    std::string error;
    const std::optional<std::string> text = tooltipText(target.control(IDC_TARGET_EDIT), &error);
    ASSERT_TRUE(text.has_value()) << error;
    EXPECT_EQ(*text, "空き容量の下限を入力します");
}

TEST(Tooltips, ListsTheToolsOfTheProcess) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    const std::vector<HWND> tooltips = tooltipWindows(target.pid());
    ASSERT_EQ(tooltips.size(), 1u);
    std::string error;
    const std::optional<std::vector<TooltipTool>> tools = tooltipTools(tooltips.front(), &error);
    ASSERT_TRUE(tools.has_value()) << error;
    ASSERT_EQ(tools->size(), 3u);
    const TooltipTool& byHandle = (*tools)[0];
    EXPECT_EQ(byHandle.window, target.dialog());
    EXPECT_EQ(byHandle.id, reinterpret_cast<UINT_PTR>(target.control(IDC_TARGET_HIDE)));
    EXPECT_NE(byHandle.flags & TTF_IDISHWND, 0u);
    EXPECT_EQ(byHandle.text, "このフォームを隠します");
    const TooltipTool& byId = (*tools)[1];
    EXPECT_EQ(byId.window, target.dialog());
    EXPECT_EQ(byId.id, static_cast<UINT_PTR>(IDC_TARGET_CHECK));
    EXPECT_EQ(byId.flags & TTF_IDISHWND, 0u);
    EXPECT_GT(byId.rect.right, byId.rect.left);
}

} // namespace
} // namespace tidemark::automation::test
