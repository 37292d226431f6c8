// The process watch window's geometry in twips, turned into pixels with its
// own DPI. Read by the window and by the end-to-end checks of every scaling.
#pragma once
#include <array>

#include "shared/ui/Twips.h"
#include "monitor/windows/win32/WindowLayouts.h"
#include "monitor/windows/win32/resource.h"

namespace tidemark::monitor::layout {

// frmSetEx: the browsing frame on top, the watch list below; the buttons in
// a column on the right.
inline constexpr int kWatchWidth = 7800, kWatchHeight = 6960;
inline constexpr int kWatchCoverPoints = 12, kWatchTitlePoints = 10;

inline constexpr std::array<ControlPlace, 16> kWatch{{
    {IDC_WATCH_COVER, {120, 90, 5640, 330}},
    {IDC_BROWSE_FRAME, {120, 420, 7560, 3240}},
    {IDC_DRIVE_LIST, {240, 660, 2520, 2400}},
    {IDC_FOLDER_LIST, {240, 1080, 2520, 2460}},
    {IDC_FILE_LIST, {2880, 660, 2880, 2880}},
    {IDC_FILE_ICON, {6540, 660, 480, 480}},
    {IDC_PROGRAM_FILES_BUTTON, {5880, 2100, 1680, 420}},
    {IDC_START_MENU_BUTTON, {5880, 2580, 1680, 420}},
    {IDC_COMMON_START_MENU_BUTTON, {5880, 3060, 1680, 420}},
    {IDC_WATCH_RULE, {120, 3780, 7560, 30}},
    {IDC_WATCH_TITLE, {120, 3900, 5640, 600}},
    {IDC_WATCH_LIST, {120, 4560, 5640, 2280}},
    {IDC_WATCH_ICON, {6540, 4560, 480, 480}},
    {IDC_DELETE_BUTTON, {5880, 5460, 1680, 420}},
    {IDC_WATCH_APPLY_BUTTON, {5880, 5940, 1680, 420}},
    {IDC_WATCH_CLOSE_BUTTON, {5880, 6420, 1680, 420}},
}};

} // namespace tidemark::monitor::layout
