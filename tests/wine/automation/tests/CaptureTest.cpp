// Window captures as PNG files, kept under the build folder for review.
#include "TargetProgram.h"

#include "platform/win32/Win32Text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tidemark::automation::test {
namespace {

std::vector<std::uint8_t> readBytes(const std::string& path) {
    win32::UniqueKernelHandle file(::CreateFileW(win32::toWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::vector<std::uint8_t> bytes;
    if (!file) return bytes;
    std::uint8_t buffer[65536];
    DWORD got = 0;
    while (::ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    return bytes;
}

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}

void expectPngOfWindowSize(const std::string& path, HWND window) {
    const std::vector<std::uint8_t> png = readBytes(path);
    ASSERT_GT(png.size(), 33u) << path;
    static const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_EQ(std::memcmp(png.data(), signature, 8), 0);
    EXPECT_EQ(std::memcmp(png.data() + 12, "IHDR", 4), 0);
    RECT rect{};
    ASSERT_TRUE(::GetWindowRect(window, &rect));
    EXPECT_EQ(bigEndian32(png.data() + 16), static_cast<std::uint32_t>(rect.right - rect.left));
    EXPECT_EQ(bigEndian32(png.data() + 20), static_cast<std::uint32_t>(rect.bottom - rect.top));
}

TEST(Capture, WritesTheDialogAsAPngOfItsSize) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    const std::string path = captureFolder() + "\\target-dialog.png";
    std::string error;
    ASSERT_TRUE(captureWindowToPng(target.dialog(), path, CaptureMethod::Auto, &error)) << error;
    expectPngOfWindowSize(path, target.dialog());
}

TEST(Capture, TheScreenMethodGivesAPictureWithContent) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    std::string error;
    const std::optional<CapturedImage> image = captureWindow(target.dialog(), CaptureMethod::Screen, &error);
    ASSERT_TRUE(image.has_value()) << error;
    EXPECT_EQ(image->method, CaptureMethod::Screen);
    EXPECT_EQ(image->rgb.size(), static_cast<size_t>(image->width) * image->height * 3);
    EXPECT_FALSE(isUniform(*image));
    EXPECT_TRUE(writeFileBytes(captureFolder() + "\\target-dialog-screen.png",
                               encodePngRgb(image->width, image->height, image->rgb)));
}

// Wine's PrintWindow sends WM_PRINT with the caller's device context, which
// means nothing in another process: the picture stays black. Auto then
// takes the screen.
TEST(Capture, PrintWindowOfAnotherProcessIsBlankUnderWine) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    std::string error;
    const std::optional<CapturedImage> printed = captureWindow(target.dialog(), CaptureMethod::PrintWindow, &error);
    ASSERT_TRUE(printed.has_value()) << error;
    EXPECT_EQ(isUniform(*printed), runningUnderWine());
    const std::optional<CapturedImage> chosen = captureWindow(target.dialog(), CaptureMethod::Auto, &error);
    ASSERT_TRUE(chosen.has_value()) << error;
    EXPECT_FALSE(isUniform(*chosen));
    EXPECT_EQ(chosen->method, runningUnderWine() ? CaptureMethod::Screen : CaptureMethod::PrintWindow);
}

TEST(Capture, PrintWindowDrawsAWindowOfThisProcess) {
    win32::UniqueWindow window(::CreateWindowExW(0, L"STATIC", L"自分の窓", WS_POPUP | WS_VISIBLE | WS_BORDER, 40,
                                                 40, 160, 60, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(window.valid());
    std::string error;
    const std::optional<CapturedImage> image = captureWindow(window.get(), CaptureMethod::PrintWindow, &error);
    ASSERT_TRUE(image.has_value()) << error;
    EXPECT_EQ(image->width, 160u);
    EXPECT_EQ(image->height, 60u);
    EXPECT_FALSE(isUniform(*image));
    EXPECT_TRUE(writeFileBytes(captureFolder() + "\\own-window-printwindow.png",
                               encodePngRgb(image->width, image->height, image->rgb)));
}

TEST(Capture, CapturesAMessageBox) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    ASSERT_TRUE(clickButton(target.control(IDC_TARGET_ASK)));
    const std::optional<MessageBoxInfo> box = waitForMessageBox(target.pid(), kEventTimeoutMs);
    ASSERT_TRUE(box.has_value());
    const std::string path = captureFolder() + "\\target-message-box.png";
    std::string error;
    ASSERT_TRUE(captureWindowToPng(box->hwnd, path, CaptureMethod::Auto, &error)) << error;
    expectPngOfWindowSize(path, box->hwnd);
    EXPECT_TRUE(answerMessageBox(box->hwnd, IDNO));
}

TEST(Capture, CapturesEveryVisibleWindowOfAProcess) {
    TargetProgram target;
    ASSERT_TRUE(target.ready());
    ASSERT_TRUE(clickButton(target.control(IDC_TARGET_ASK)));
    ASSERT_TRUE(waitForMessageBox(target.pid(), kEventTimeoutMs).has_value());
    const std::vector<std::string> paths = captureProcessWindows(target.pid(), captureFolder(), "target-all");
    ASSERT_EQ(paths.size(), 2u);   // the box and the dialog; hidden windows are skipped
    for (const std::string& path : paths) {
        EXPECT_NE(path.find("-_32770.png"), std::string::npos) << path;
        EXPECT_NE(::GetFileAttributesW(win32::toWide(path).c_str()), INVALID_FILE_ATTRIBUTES) << path;
    }
}

TEST(Capture, AGoneWindowFails) {
    std::string error;
    EXPECT_FALSE(captureWindow(nullptr, CaptureMethod::Auto, &error).has_value());
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace tidemark::automation::test
