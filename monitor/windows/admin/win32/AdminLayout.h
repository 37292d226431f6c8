// The administrator window's geometry in twips, turned into pixels with its
// own DPI. Read by the window and by the end-to-end checks of every scaling.
#pragma once
#include <array>

#include "shared/ui/Twips.h"
#include "monitor/windows/win32/WindowLayouts.h"
#include "monitor/windows/win32/resource.h"

namespace tidemark::monitor::layout {

// FrmAdmFx: the tab control fills the window; each page's frames sit below
// the tabs' row.
inline constexpr int kAdminWidth = 6000, kAdminHeight = 4800;

inline constexpr std::array<ControlPlace, 11> kAdmin{{
    {IDC_ADMIN_TABS, {120, 120, 5760, 4560}},
    // Page 0.
    {IDC_SYSTEM_START_FRAME, {300, 660, 5400, 3840}},
    {IDC_SYSTEM_START_BOX, {480, 960, 5040, 330}},
    {IDC_SYSTEM_START_NOTE, {480, 1440, 5040, 2880}},
    // Page 1.
    {IDC_CLEANING_MODE_FRAME, {300, 660, 5400, 1860}},
    {IDC_FAST_OPTION, {480, 960, 2520, 330}},
    {IDC_SLOW_OPTION, {480, 1380, 2520, 330}},
    {IDC_SLOW_SETTINGS_BUTTON, {3120, 1920, 2400, 420}},
    {IDC_WATCH_FRAME, {300, 2700, 5400, 1800}},
    {IDC_WATCH_BOX, {480, 3000, 5040, 330}},
    {IDC_WATCH_SETTINGS_BUTTON, {3120, 3900, 2400, 420}},
}};

inline constexpr std::array<int, 3> kAdminPage0{IDC_SYSTEM_START_FRAME, IDC_SYSTEM_START_BOX, IDC_SYSTEM_START_NOTE};
inline constexpr std::array<int, 7> kAdminPage1{IDC_CLEANING_MODE_FRAME, IDC_FAST_OPTION, IDC_SLOW_OPTION, IDC_SLOW_SETTINGS_BUTTON,
                                                IDC_WATCH_FRAME, IDC_WATCH_BOX, IDC_WATCH_SETTINGS_BUTTON};

} // namespace tidemark::monitor::layout
