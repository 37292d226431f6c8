#include "automation/WindowCapture.h"

#include "automation/PngEncoder.h"
#include "automation/Processes.h"
#include "automation/TopLevelWindows.h"
#include "platform/win32/GdiHandles.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Text.h"

namespace tidemark::automation {
namespace {

using win32::SelectedObject;
using win32::UniqueBitmap;
using win32::UniqueMemoryDc;
using win32::WindowDc;

void setError(std::string* error, const std::string& text) {
    if (error != nullptr) *error = text;
}

std::optional<CapturedImage> captureWith(HWND window, CaptureMethod method, std::string* error) {
    RECT rect{};
    if (!::GetWindowRect(window, &rect)) {
        setError(error, "no such window");
        return std::nullopt;
    }
    const LONG width = rect.right - rect.left;
    const LONG height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) {
        setError(error, "the window has no area");
        return std::nullopt;
    }

    WindowDc screen(nullptr);
    UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
    if (!memory) {
        setError(error, "CreateCompatibleDC failed");
        return std::nullopt;
    }
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;   // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(screen.get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr) {
        setError(error, "CreateDIBSection failed");
        return std::nullopt;
    }
    {
        SelectedObject selected(memory.get(), bitmap.get());
        bool drawn = false;
        if (method == CaptureMethod::PrintWindow) {
            drawn = ::PrintWindow(window, memory.get(), 0) != 0;
        } else {
            drawn = ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), rect.left, rect.top,
                             SRCCOPY | CAPTUREBLT) != 0;
        }
        if (!drawn) {
            setError(error, method == CaptureMethod::PrintWindow ? "PrintWindow failed" : "BitBlt failed");
            return std::nullopt;
        }
        ::GdiFlush();
    }

    CapturedImage image;
    image.width = static_cast<std::uint32_t>(width);
    image.height = static_cast<std::uint32_t>(height);
    image.method = method;
    image.rgb.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    const auto* bgra = static_cast<const std::uint8_t*>(bits);
    for (size_t pixel = 0, count = static_cast<size_t>(width) * static_cast<size_t>(height); pixel < count; ++pixel) {
        image.rgb[pixel * 3 + 0] = bgra[pixel * 4 + 2];
        image.rgb[pixel * 3 + 1] = bgra[pixel * 4 + 1];
        image.rgb[pixel * 3 + 2] = bgra[pixel * 4 + 0];
    }
    return image;
}

} // namespace

std::optional<CapturedImage> captureWindow(HWND window, CaptureMethod method, std::string* error) {
    if (method != CaptureMethod::Auto) return captureWith(window, method, error);
    // Wine's PrintWindow hands another process a device context that means
    // nothing there; the picture is always black, so go to the screen.
    if (runningUnderWine() && windowProcessId(window) != ::GetCurrentProcessId()) {
        return captureWith(window, CaptureMethod::Screen, error);
    }
    std::optional<CapturedImage> printed = captureWith(window, CaptureMethod::PrintWindow, error);
    if (printed && !isUniform(*printed)) return printed;
    std::optional<CapturedImage> shown = captureWith(window, CaptureMethod::Screen, error);
    return shown ? shown : printed;
}

bool captureWindowToPng(HWND window, const std::string& utf8Path, CaptureMethod method, std::string* error) {
    const std::optional<CapturedImage> image = captureWindow(window, method, error);
    if (!image) return false;
    const std::vector<std::uint8_t> png = encodePngRgb(image->width, image->height, image->rgb);
    if (png.empty()) {
        setError(error, "PNG encoding failed");
        return false;
    }
    if (!writeFileBytes(utf8Path, png)) {
        setError(error, "cannot write " + utf8Path);
        return false;
    }
    return true;
}

std::vector<std::string> captureProcessWindows(DWORD processId, const std::string& folder,
                                               const std::string& prefix) {
    std::vector<std::string> written;
    int number = 0;
    for (const WindowInfo& info : listWindows(processId)) {
        if (!info.visible) continue;
        // Class names are ASCII or close to it; keep file names plain.
        std::string name;
        for (const char c : info.className) {
            const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
            name += plain ? c : '_';
        }
        const std::string path = folder + "\\" + prefix + "-" + std::to_string(++number) + "-" + name + ".png";
        if (captureWindowToPng(info.hwnd, path)) written.push_back(path);
    }
    return written;
}

bool isUniform(const CapturedImage& image) {
    for (size_t i = 3; i + 2 < image.rgb.size(); i += 3) {
        if (image.rgb[i] != image.rgb[0] || image.rgb[i + 1] != image.rgb[1] || image.rgb[i + 2] != image.rgb[2]) {
            return false;
        }
    }
    return true;
}

bool writeFileBytes(const std::string& utf8Path, const std::vector<std::uint8_t>& bytes) {
    win32::UniqueKernelHandle file(::CreateFileW(win32::toWide(utf8Path).c_str(), GENERIC_WRITE, 0, nullptr,
                                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    size_t offset = 0;
    while (offset < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(bytes.size() - offset < 0x10000000 ? bytes.size() - offset : 0x10000000);
        DWORD written = 0;
        if (!::WriteFile(file.get(), bytes.data() + offset, chunk, &written, nullptr) || written == 0) return false;
        offset += written;
    }
    return true;
}

const char* captureMethodName(CaptureMethod method) {
    switch (method) {
    case CaptureMethod::Auto: return "auto";
    case CaptureMethod::PrintWindow: return "printwindow";
    case CaptureMethod::Screen: return "screen";
    }
    return "auto";
}

} // namespace tidemark::automation
