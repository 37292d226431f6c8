// The About window's geometry in twips, turned into pixels with its own
// DPI. Read by the window and by the end-to-end checks of every scaling.
#pragma once
#include <array>

#include "shared/ui/Twips.h"
#include "monitor/windows/win32/WindowLayouts.h"
#include "monitor/windows/win32/resource.h"

namespace tidemark::monitor::layout {

// frmAbout: the icon, three lines of text, two separators, and the two
// buttons one above the other with the usual gap between them.
inline constexpr int kAboutWidth = 4950, kAboutHeight = 2430;
inline constexpr int kAboutIconPixels = 32;   // at 100 %

inline constexpr int kIdOk = 1;   // IDOK

inline constexpr std::array<ControlPlace, 8> kAbout{{
    {IDC_ABOUT_ICON, {180, 180, 480, 480}},
    {IDC_ABOUT_TITLE, {840, 180, 3930, 240}},
    {IDC_ABOUT_VERSION, {840, 480, 3930, 240}},
    {IDC_ABOUT_DESCRIPTION, {840, 780, 3930, 480}},
    {IDC_ABOUT_UPPER_RULE, {90, 1380, 4770, 30}},
    {IDC_ABOUT_LOWER_RULE, {90, 1410, 4770, 30}},
    {kIdOk, {3030, 1530, 1800, 345}},
    {IDC_SYSTEM_INFO_BUTTON, {3030, 1995, 1800, 345}},
}};

} // namespace tidemark::monitor::layout
