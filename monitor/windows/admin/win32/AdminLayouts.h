// The administrator window's and the slow cleaning window's geometry in
// twips, turned into pixels with each window's own DPI. Read by the windows
// and by the end-to-end checks of every scaling.
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
    {IDC_ADMINTABS, {120, 120, 5760, 4560}},
    // Page 0.
    {IDC_FRMSYSSTART, {300, 660, 5400, 3840}},
    {IDC_CHKSYSSTART, {480, 960, 5040, 330}},
    {IDC_LBLSYSSTARTCOM, {480, 1440, 5040, 2880}},
    // Page 1.
    {IDC_FRMCLENFORM, {300, 660, 5400, 1860}},
    {IDC_OPTCLEANFIRST, {480, 960, 2520, 330}},
    {IDC_OPTCLEANSLOW, {480, 1380, 2520, 330}},
    {IDC_CMDCLEANSET, {3120, 1920, 2400, 420}},
    {IDC_FRMPROCWATCH, {300, 2700, 5400, 1800}},
    {IDC_CHKPROCWATCH, {480, 3000, 5040, 330}},
    {IDC_CMDPROCWATCH, {3120, 3900, 2400, 420}},
}};

inline constexpr std::array<int, 3> kAdminPage0{IDC_FRMSYSSTART, IDC_CHKSYSSTART, IDC_LBLSYSSTARTCOM};
inline constexpr std::array<int, 7> kAdminPage1{IDC_FRMCLENFORM, IDC_OPTCLEANFIRST, IDC_OPTCLEANSLOW, IDC_CMDCLEANSET,
                                                IDC_FRMPROCWATCH, IDC_CHKPROCWATCH, IDC_CMDPROCWATCH};

// frmClStp: a client area of 3405 x 4230 twips.
inline constexpr int kSlowWidth = 3405, kSlowHeight = 4230;

inline constexpr std::array<ControlPlace, 10> kSlow{{
    {IDC_FRMSLOWFRM, {60, 60, 3285, 1980}},
    {IDC_TXTSLEEPTIME, {240, 360, 1260, 360}},
    {IDC_LBLSLEEPTIME, {1560, 420, 1665, 270}},
    {IDC_TXTCLENSTEPSIZE, {240, 840, 1260, 360}},
    {IDC_LBLCLENSTEPSIZE, {1560, 900, 1665, 270}},
    {IDC_CMDINITIAL, {240, 1440, 1380, 420}},
    {IDC_CMDREFLECTION, {1740, 1440, 1485, 420}},
    {IDC_FRMSLOWCLERAN, {60, 2160, 3285, 2010}},
    {IDC_LBLCLENSITUAT, {240, 2460, 2985, 540}},
    {IDC_CMDDISCON, {240, 3540, 2985, 420}},
}};

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
