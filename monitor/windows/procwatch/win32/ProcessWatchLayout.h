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
    {IDC_LBLCOVER_SETEX, {120, 90, 5640, 330}},
    {IDC_FRAMPROCSET, {120, 420, 7560, 3240}},
    {IDC_DRVDRIVELIST, {240, 660, 2520, 2400}},
    {IDC_DIRDIRLIST, {240, 1080, 2520, 2460}},
    {IDC_FILENAMELIST, {2880, 660, 2880, 2880}},
    {IDC_PCTICON, {6540, 660, 480, 480}},
    {IDC_CMDSETPGM, {5880, 2100, 1680, 420}},
    {IDC_CMDSETSTRTMNU, {5880, 2580, 1680, 420}},
    {IDC_CMDSETSTRTALL, {5880, 3060, 1680, 420}},
    {IDC_LINE1SETEX, {120, 3780, 7560, 30}},
    {IDC_LBLTITLE1, {120, 3900, 5640, 600}},
    {IDC_LSTDROP, {120, 4560, 5640, 2280}},
    {IDC_PCTICON2, {6540, 4560, 480, 480}},
    {IDC_CMDDEL, {5880, 5460, 1680, 420}},
    {IDC_CMDREFLEC, {5880, 5940, 1680, 420}},
    {IDC_CMDCLOSE, {5880, 6420, 1680, 420}},
}};

} // namespace tidemark::monitor::layout
