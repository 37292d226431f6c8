// Move-only owners of system handles. Each kind is described by a traits
// struct (its invalid value, how to close it); closing never disturbs the
// thread's last-error value, so a caller can close and then report it.
#pragma once
#include "platform/win32/WindowsApi.h"

#include <utility>

namespace tidemark::win32 {

template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept : handle_(Traits::invalid()) {}
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Handle get() const noexcept { return handle_; }
    bool valid() const noexcept { return Traits::isValid(handle_); }
    explicit operator bool() const noexcept { return valid(); }

    Handle release() noexcept {
        Handle h = handle_;
        handle_ = Traits::invalid();
        return h;
    }

    void reset(Handle handle = Traits::invalid()) noexcept {
        if (Traits::isValid(handle_)) {
            const DWORD lastError = ::GetLastError();
            Traits::close(handle_);
            ::SetLastError(lastError);
        }
        handle_ = handle;
    }

    // For APIs that return the handle through an out parameter.
    Handle* receive() noexcept {
        reset();
        return &handle_;
    }

private:
    Handle handle_;
};

// Kernel objects. Some APIs signal failure with NULL, CreateFileW with
// INVALID_HANDLE_VALUE; neither is ever a handle worth closing.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle invalid() noexcept { return nullptr; }
    static bool isValid(Handle h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(Handle h) noexcept { ::CloseHandle(h); }
};

struct RegKeyTraits {
    using Handle = HKEY;
    static Handle invalid() noexcept { return nullptr; }
    static bool isValid(Handle h) noexcept { return h != nullptr; }
    static void close(Handle h) noexcept { ::RegCloseKey(h); }
};

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool isValid(Handle h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(Handle h) noexcept { ::FindClose(h); }
};

struct WindowTraits {
    using Handle = HWND;
    static Handle invalid() noexcept { return nullptr; }
    static bool isValid(Handle h) noexcept { return h != nullptr; }
    static void close(Handle h) noexcept { ::DestroyWindow(h); }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueRegKey = UniqueHandle<RegKeyTraits>;
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;
using UniqueWindow = UniqueHandle<WindowTraits>;

// Owner of memory a system function allocated for the caller, freed the
// way that function's documentation asks.
template <typename T, typename FreeTraits>
class UniqueSystemPtr {
public:
    UniqueSystemPtr() noexcept = default;
    ~UniqueSystemPtr() { reset(); }

    UniqueSystemPtr(const UniqueSystemPtr&) = delete;
    UniqueSystemPtr& operator=(const UniqueSystemPtr&) = delete;
    UniqueSystemPtr(UniqueSystemPtr&& other) noexcept : pointer_(other.pointer_) { other.pointer_ = nullptr; }
    UniqueSystemPtr& operator=(UniqueSystemPtr&& other) noexcept {
        if (this != &other) {
            reset();
            pointer_ = other.pointer_;
            other.pointer_ = nullptr;
        }
        return *this;
    }

    T* get() const noexcept { return pointer_; }
    explicit operator bool() const noexcept { return pointer_ != nullptr; }

    void reset() noexcept {
        if (pointer_ != nullptr) {
            const DWORD lastError = ::GetLastError();
            FreeTraits::free(pointer_);
            ::SetLastError(lastError);
        }
        pointer_ = nullptr;
    }

    // For APIs that return the allocation through an out parameter.
    T** receive() noexcept {
        reset();
        return &pointer_;
    }

private:
    T* pointer_ = nullptr;
};

// String SIDs, security descriptors and access lists.
struct LocalFreeTraits {
    static void free(void* p) noexcept { ::LocalFree(p); }
};

// Buffers of the network management functions.
struct NetApiFreeTraits {
    static void free(void* p) noexcept { ::NetApiBufferFree(p); }
};

template <typename T>
using LocalPtr = UniqueSystemPtr<T, LocalFreeTraits>;
template <typename T>
using NetApiPtr = UniqueSystemPtr<T, NetApiFreeTraits>;

} // namespace tidemark::win32
