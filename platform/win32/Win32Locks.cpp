// Locks backend: named mutexes every account may wait on, and their holds.
#include "platform/win32/Win32Locks.h"

#include "platform/win32/Handles.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/WindowsApi.h"

#include <cstdint>

namespace tidemark::win32 {
namespace {

constexpr wchar_t kNamePrefix[] = L"Global\\tidemark.lock.";
// Object names are limited to MAX_PATH characters, prefix included.
constexpr std::size_t kMaxNameChars = 200;

// Everyone may wait on and release the lock; SYSTEM and administrators keep
// full control. 0x00100001 = SYNCHRONIZE | MUTEX_MODIFY_STATE.
constexpr wchar_t kLockSecurity[] = L"D:(A;;0x00100001;;;WD)(A;;GA;;;SY)(A;;GA;;;BA)";
constexpr DWORD kLockAccess = SYNCHRONIZE | MUTEX_MODIFY_STATE;

std::wstring lowerCase(const std::wstring& text) {
    if (text.empty()) return text;
    const int length = static_cast<int>(text.size());
    std::wstring out(text.size(), L'\0');
    const int written = ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, text.data(), length,
                                        &out[0], length, nullptr, nullptr, 0);
    return written == length ? out : text;
}

std::uint64_t fnv1a(const std::wstring& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const wchar_t c : text) {
        for (int shift = 0; shift < 16; shift += 8) {
            hash ^= static_cast<std::uint64_t>((static_cast<unsigned>(c) >> shift) & 0xFF);
            hash *= 1099511628211ull;
        }
    }
    return hash;
}

std::wstring hex(std::uint64_t value) {
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring out(16, L'0');
    for (int i = 15; i >= 0; --i, value >>= 4) out[static_cast<std::size_t>(i)] = digits[value & 0xF];
    return out;
}

std::wstring objectName(std::string_view name) {
    std::wstring body = toWide(name);
    for (auto& c : body) {
        if (c == L'\\' || c == L':') c = L'_';
    }
    body = lowerCase(body);
    if (body.size() > kMaxNameChars) {
        body = body.substr(0, kMaxNameChars - 17) + L"#" + hex(fnv1a(body));
    }
    return kNamePrefix + body;
}

class Win32LockHold final : public platform::LockHold {
public:
    Win32LockHold(HANDLE mutex, bool afterDeadHolder) : mutex_(mutex), afterDeadHolder_(afterDeadHolder) {}
    ~Win32LockHold() override { ::ReleaseMutex(mutex_); }
    bool mayFollowADeadHolder() const override { return afterDeadHolder_; }

private:
    HANDLE mutex_;
    bool afterDeadHolder_;
};

// created: no process had the mutex open before.
UniqueKernelHandle createOrOpen(const std::wstring& name, bool& created) {
    LocalPtr<void> descriptor;
    SECURITY_ATTRIBUTES attributes{};
    attributes.nLength = sizeof(attributes);
    attributes.bInheritHandle = FALSE;
    if (::ConvertStringSecurityDescriptorToSecurityDescriptorW(kLockSecurity, SDDL_REVISION_1,
                                                               descriptor.receive(), nullptr)) {
        attributes.lpSecurityDescriptor = descriptor.get();
    }
    // Asking only for the rights a waiter needs lets this open a mutex that
    // another account created.
    UniqueKernelHandle mutex(::CreateMutexExW(&attributes, name.c_str(), 0, kLockAccess));
    created = mutex && ::GetLastError() != ERROR_ALREADY_EXISTS;
    if (!mutex && ::GetLastError() == ERROR_ACCESS_DENIED) {
        mutex.reset(::OpenMutexW(kLockAccess, FALSE, name.c_str()));
    }
    return mutex;
}

} // namespace

std::string lockObjectName(std::string_view name) {
    return fromWide(objectName(name));
}

std::unique_ptr<platform::LockHold> Win32Locks::acquire(const std::string& name, std::uint32_t timeoutMs) {
    const std::wstring object = objectName(name);
    HANDLE mutex = nullptr;
    bool created = false;
    {
        const std::lock_guard<std::mutex> guard(guard_);
        auto it = open_.find(object);
        if (it == open_.end()) {
            UniqueKernelHandle opened = createOrOpen(object, created);
            if (!opened) return nullptr;
            it = open_.emplace(object, std::move(opened)).first;
        }
        mutex = it->second.get();
    }
    const DWORD wait = ::WaitForSingleObject(mutex, timeoutMs);
    // Abandoned: the holder died holding it. What it guarded was replaced
    // atomically or not at all, so the lock is simply ours now; the holder
    // may have left its temporary files behind.
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) {
        return std::make_unique<Win32LockHold>(mutex, created || wait == WAIT_ABANDONED);
    }
    return nullptr;
}

} // namespace tidemark::win32
