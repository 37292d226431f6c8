// Tooltip texts registered in another process, read through its memory.
#include "TargetProgram.h"

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

TEST(Tooltips, ListsTheToolsOfTheProcess) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    const std::vector<HWND> tooltips = tooltipWindows(target.pid());
    ASSERT_EQ(tooltips.size(), 1u);
    std::string error;
    const std::optional<std::vector<TooltipTool>> tools = tooltipTools(tooltips.front(), &error);
    ASSERT_TRUE(tools.has_value()) << error;
    ASSERT_EQ(tools->size(), 1u);
    const TooltipTool& tool = tools->front();
    EXPECT_EQ(tool.window, target.dialog());
    EXPECT_EQ(tool.id, reinterpret_cast<UINT_PTR>(target.control(IDC_TARGET_HIDE)));
    EXPECT_NE(tool.flags & TTF_IDISHWND, 0u);
    EXPECT_EQ(tool.text, "このフォームを隠します");
}

} // namespace
} // namespace tidemark::automation::test
