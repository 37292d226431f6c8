// Pictures of windows for review: the window drawn into a 32-bit DIB and
// written as PNG.
#pragma once
#include "platform/win32/WindowsApi.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tidemark::automation {

enum class CaptureMethod {
    Auto,          // PrintWindow, the screen when that comes out blank (under
                   // Wine always the screen for another process's window)
    PrintWindow,   // the window draws itself (WM_PRINT); works when covered
    Screen,        // the pixels on screen where the window is, including
                   // whatever covers it
};

struct CapturedImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> rgb;   // top row first
    CaptureMethod method = CaptureMethod::Auto;   // the one that produced it
};

// The whole window, frame included, at its GetWindowRect size.
std::optional<CapturedImage> captureWindow(HWND window, CaptureMethod method = CaptureMethod::Auto,
                                           std::string* error = nullptr);
bool captureWindowToPng(HWND window, const std::string& utf8Path, CaptureMethod method = CaptureMethod::Auto,
                        std::string* error = nullptr);

// Every visible top-level window of the process, one PNG each in folder
// (which must exist), named <prefix>-<n>-<class>.png; the paths written.
std::vector<std::string> captureProcessWindows(DWORD processId, const std::string& folder,
                                               const std::string& prefix);

// True when every pixel has the same colour: nothing was drawn.
bool isUniform(const CapturedImage& image);

bool writeFileBytes(const std::string& utf8Path, const std::vector<std::uint8_t>& bytes);

const char* captureMethodName(CaptureMethod method);

} // namespace tidemark::automation
