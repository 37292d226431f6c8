// The password dialog's and its wait window's geometry in twips, turned
// into pixels with each window's own DPI. Read by the windows and by the
// end-to-end checks of every scaling.
#pragma once
#include <array>

#include "shared/ui/Twips.h"
#include "monitor/windows/win32/WindowLayouts.h"
#include "monitor/windows/win32/resource.h"

namespace tidemark::monitor::layout {

// frmPasIn: the icon at the top left, the account and the two boxes beside
// it, キャンセル at the bottom right.
inline constexpr int kPasswordWidth = 4800, kPasswordHeight = 2430;

inline constexpr std::array<ControlPlace, 6> kPassword{{
    {IDC_PASSWORD_ICON, {120, 120, 480, 480}},
    {IDC_ACCOUNT, {780, 210, 3840, 270}},
    {IDC_PASSWORD_BOX, {780, 600, 3840, 330}},
    {IDC_CONFIRM_BOX, {780, 1020, 3840, 330}},
    {IDC_SHOW_PASSWORD_BOX, {780, 1440, 2640, 300}},
    {IDC_PASSWORD_CANCEL, {3060, 1860, 1560, 420}},
}};

// frmPsPrg: the two-line label over the progress bar.
inline constexpr int kPasswordWaitWidth = 4320, kPasswordWaitHeight = 1500;

inline constexpr std::array<ControlPlace, 2> kPasswordWait{{
    {IDC_WAIT_TEXT, {240, 180, 3840, 540}},
    {IDC_WAIT_PROGRESS, {240, 900, 3840, 330}},
}};

} // namespace tidemark::monitor::layout
