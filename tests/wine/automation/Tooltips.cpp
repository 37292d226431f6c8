#include "automation/Tooltips.h"

#include "automation/TopLevelWindows.h"
#include "automation/WindowMessages.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Text.h"

#include <commctrl.h>

#include <vector>

namespace tidemark::automation {
namespace {

// Enough for any tip: comctl32 keeps at most 1024 characters of one.
constexpr size_t kTextChars = 2048;

// Memory allocated inside another process, released with it.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, size_t size)
        : process_(process),
          address_(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)),
          size_(size) {}
    ~RemoteBuffer() {
        if (address_ != nullptr) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool valid() const { return address_ != nullptr; }
    void* at(size_t offset) const { return static_cast<char*>(address_) + offset; }

    bool write(size_t offset, const void* data, size_t size) const {
        SIZE_T written = 0;
        return offset + size <= size_ && ::WriteProcessMemory(process_, at(offset), data, size, &written) &&
               written == size;
    }
    bool read(size_t offset, void* data, size_t size) const {
        SIZE_T got = 0;
        return offset + size <= size_ && ::ReadProcessMemory(process_, at(offset), data, size, &got) && got == size;
    }

private:
    HANDLE process_;
    void* address_;
    size_t size_;
};

void setError(std::string* error, const std::string& text) {
    if (error != nullptr) *error = text;
}

std::string lastErrorText(const char* what) { return std::string(what) + " failed, error " + std::to_string(::GetLastError()); }

// TOOLINFO is laid out for the pointer size; both sides must agree.
bool sameBitness(HANDLE process) {
    BOOL otherWow64 = FALSE;
    BOOL selfWow64 = FALSE;
    if (!::IsWow64Process(process, &otherWow64) || !::IsWow64Process(::GetCurrentProcess(), &selfWow64)) return false;
    return otherWow64 == selfWow64;
}

// Layout of the remote block: the TOOLINFO, then the text buffer.
constexpr size_t kInfoOffset = 0;
constexpr size_t kTextOffset = (sizeof(TTTOOLINFOW) + 15) / 16 * 16;
constexpr size_t kBlockSize = kTextOffset + kTextChars * sizeof(wchar_t);

std::optional<std::string> remoteText(const RemoteBuffer& block) {
    std::vector<wchar_t> text(kTextChars, L'\0');
    if (!block.read(kTextOffset, text.data(), text.size() * sizeof(wchar_t))) return std::nullopt;
    text.back() = L'\0';
    return win32::fromWideBuffer(text.data());
}

bool clearRemoteText(const RemoteBuffer& block) {
    const wchar_t nothing = L'\0';
    return block.write(kTextOffset, &nothing, sizeof(nothing));
}

} // namespace

std::vector<HWND> tooltipWindows(DWORD processId) {
    WindowCriteria criteria;
    criteria.className = "tooltips_class32";
    criteria.processId = processId;
    return findWindows(criteria);
}

std::optional<std::vector<TooltipTool>> tooltipTools(HWND tooltip, std::string* error) {
    const DWORD processId = windowProcessId(tooltip);
    if (processId == 0) {
        setError(error, "no such window");
        return std::nullopt;
    }
    win32::UniqueKernelHandle process(::OpenProcess(
        PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
        processId));
    if (!process) {
        setError(error, lastErrorText("OpenProcess"));
        return std::nullopt;
    }
    if (!sameBitness(process.get())) {
        setError(error, "the tooltip's process has another pointer size");
        return std::nullopt;
    }
    const std::optional<LRESULT> count = sendMessage(tooltip, TTM_GETTOOLCOUNT);
    if (!count) {
        setError(error, "the tooltip did not answer TTM_GETTOOLCOUNT");
        return std::nullopt;
    }
    RemoteBuffer block(process.get(), kBlockSize);
    if (!block.valid()) {
        setError(error, lastErrorText("VirtualAllocEx"));
        return std::nullopt;
    }
    const LPARAM remoteInfo = reinterpret_cast<LPARAM>(block.at(kInfoOffset));

    std::vector<TooltipTool> tools;
    for (LRESULT index = 0; index < *count; ++index) {
        TTTOOLINFOW info{};
        info.cbSize = sizeof(info);
        info.lpszText = static_cast<LPWSTR>(block.at(kTextOffset));
        if (!block.write(kInfoOffset, &info, sizeof(info)) || !clearRemoteText(block)) {
            setError(error, lastErrorText("WriteProcessMemory"));
            return std::nullopt;
        }
        const std::optional<LRESULT> enumerated =
            sendMessage(tooltip, TTM_ENUMTOOLSW, static_cast<WPARAM>(index), remoteInfo);
        if (!enumerated || !block.read(kInfoOffset, &info, sizeof(info))) {
            setError(error, "TTM_ENUMTOOLSW failed for tool " + std::to_string(index));
            return std::nullopt;
        }
        TooltipTool tool;
        tool.tooltip = tooltip;
        tool.window = info.hwnd;
        tool.id = info.uId;
        tool.flags = info.uFlags;
        tool.rect = info.rect;
        // TTM_ENUMTOOLS copies at most 80 characters on Windows and leaves
        // callback and resource texts unresolved; TTM_GETTEXT gives it all.
        const std::string enumeratedText = info.lpszText == static_cast<LPWSTR>(block.at(kTextOffset))
                                               ? remoteText(block).value_or(std::string())
                                               : std::string();
        TTTOOLINFOW query{};
        query.cbSize = sizeof(query);
        query.hwnd = info.hwnd;
        query.uId = info.uId;
        query.lpszText = static_cast<LPWSTR>(block.at(kTextOffset));
        std::optional<std::string> fullText;
        if (block.write(kInfoOffset, &query, sizeof(query)) && clearRemoteText(block) &&
            sendMessage(tooltip, TTM_GETTEXTW, static_cast<WPARAM>(kTextChars), remoteInfo)) {
            fullText = remoteText(block);
        }
        tool.text = fullText && fullText->size() >= enumeratedText.size() ? *fullText : enumeratedText;
        tools.push_back(tool);
    }
    return tools;
}

std::optional<std::string> tooltipText(HWND control, std::string* error) {
    if (control == nullptr || !::IsWindow(control)) {
        setError(error, "no such control");
        return std::nullopt;
    }
    const HWND parent = ::GetParent(control);
    const UINT_PTR controlId = static_cast<UINT_PTR>(::GetDlgCtrlID(control));
    std::string lastError = "the control's process has no tooltip control";
    for (HWND tooltip : tooltipWindows(windowProcessId(control))) {
        std::string toolError;
        const std::optional<std::vector<TooltipTool>> tools = tooltipTools(tooltip, &toolError);
        if (!tools) {
            lastError = toolError;
            continue;
        }
        for (const TooltipTool& tool : *tools) {
            const bool byHandle = (tool.flags & TTF_IDISHWND) != 0 && tool.id == reinterpret_cast<UINT_PTR>(control);
            const bool byId = (tool.flags & TTF_IDISHWND) == 0 && tool.window == parent && tool.id == controlId;
            if (byHandle || byId) return tool.text;
        }
        lastError = "no tool is registered for the control";
    }
    setError(error, lastError);
    return std::nullopt;
}

} // namespace tidemark::automation
