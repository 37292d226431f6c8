// The display backend against a real (hidden) top-level window.
#include "platform/win32/Win32Display.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace tidemark::win32 {
namespace {

UniqueWindow createHiddenWindow() {
    static const wchar_t kClass[] = L"TidemarkDisplayTestWindow";
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClass;
    ::RegisterClassExW(&windowClass);   // already registered on a second call: fine
    return UniqueWindow(::CreateWindowExW(0, kClass, L"display test", WS_OVERLAPPEDWINDOW, 100, 100, 300, 200,
                                          nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
}

TEST(Win32Display, WorkAreaOfAWindowIsInsideTheVirtualScreen) {
    UniqueWindow window = createHiddenWindow();
    ASSERT_TRUE(window.valid());
    Win32Display display;
    const auto area = display.nearestMonitorWorkArea(reinterpret_cast<platform::NativeWindow>(window.get()));
    ASSERT_TRUE(area.has_value());
    std::printf("work area: %d,%d - %d,%d\n", area->left, area->top, area->right, area->bottom);
    EXPECT_LT(area->left, area->right);
    EXPECT_LT(area->top, area->bottom);

    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int right = left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int bottom = top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    EXPECT_GE(area->left, left);
    EXPECT_GE(area->top, top);
    EXPECT_LE(area->right, right);
    EXPECT_LE(area->bottom, bottom);
}

TEST(Win32Display, WorkAreaIsTheNearestMonitorsWorkArea) {
    UniqueWindow window = createHiddenWindow();
    ASSERT_TRUE(window.valid());
    MONITORINFO expected{};
    expected.cbSize = sizeof(expected);
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromWindow(window.get(), MONITOR_DEFAULTTONEAREST), &expected));
    Win32Display display;
    const auto area = display.nearestMonitorWorkArea(reinterpret_cast<platform::NativeWindow>(window.get()));
    ASSERT_TRUE(area.has_value());
    EXPECT_EQ(area->left, expected.rcWork.left);
    EXPECT_EQ(area->top, expected.rcWork.top);
    EXPECT_EQ(area->right, expected.rcWork.right);
    EXPECT_EQ(area->bottom, expected.rcWork.bottom);
}

} // namespace
} // namespace tidemark::win32
