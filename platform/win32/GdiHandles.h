// Owners of the USER and GDI resources a window shell holds: icons, menus,
// GDI objects (pens, brushes, fonts, bitmaps), memory device contexts, a
// window's device context, and an object selected into a context for a
// scope. Built on the same traits as the kernel handle wrappers.
#pragma once
#include "platform/win32/Handles.h"

namespace tidemark::win32 {

struct IconTraits {
    using Handle = HICON;
    static Handle invalid() noexcept { return nullptr; }
    static bool isValid(Handle h) noexcept { return h != nullptr; }
    static void close(Handle h) noexcept { ::DestroyIcon(h); }
};

struct MenuTraits {
    using Handle = HMENU;
    static Handle invalid() noexcept { return nullptr; }
    static bool isValid(Handle h) noexcept { return h != nullptr; }
    static void close(Handle h) noexcept { ::DestroyMenu(h); }
};

template <typename T>
struct GdiObjectTraits {
    using Handle = T;
    static Handle invalid() noexcept { return nullptr; }
    static bool isValid(Handle h) noexcept { return h != nullptr; }
    static void close(Handle h) noexcept { ::DeleteObject(h); }
};

// A device context made by CreateCompatibleDC.
struct MemoryDcTraits {
    using Handle = HDC;
    static Handle invalid() noexcept { return nullptr; }
    static bool isValid(Handle h) noexcept { return h != nullptr; }
    static void close(Handle h) noexcept { ::DeleteDC(h); }
};

using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniquePen = UniqueHandle<GdiObjectTraits<HPEN>>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;

// A window's device context, released on leaving the scope.
class WindowDc {
public:
    explicit WindowDc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context for a scope; the previous one
// is selected back on leaving it.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(dc && object ? ::SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (dc_ && previous_) ::SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace tidemark::win32
