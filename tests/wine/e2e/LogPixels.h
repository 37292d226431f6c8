// The screen's DPI for the programs started while a LogPixels lives (the
// prefix's HKCU\Control Panel\Desktop LogPixels); the old value comes back
// afterwards.
#pragma once
#include "platform/win32/Handles.h"

namespace tidemark::e2e {

class LogPixels {
public:
    explicit LogPixels(DWORD dpi) {
        ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                          key_.receive(), nullptr);
        DWORD size = sizeof old_;
        had_ = ::RegQueryValueExW(key_.get(), L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&old_),
                                  &size) == ERROR_SUCCESS;
        set(dpi);
    }
    ~LogPixels() {
        if (had_) set(old_);
        else ::RegDeleteValueW(key_.get(), L"LogPixels");
    }
    LogPixels(const LogPixels&) = delete;
    LogPixels& operator=(const LogPixels&) = delete;

private:
    void set(DWORD dpi) {
        ::RegSetValueExW(key_.get(), L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    }
    win32::UniqueRegKey key_;
    DWORD old_ = 96;
    bool had_ = false;
};

} // namespace tidemark::e2e
