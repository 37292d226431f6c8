// The slow cleaning window's geometry in twips, turned into pixels with its
// own DPI. Read by the window and by the end-to-end checks of every scaling.
#pragma once
#include <array>

#include "shared/ui/Twips.h"
#include "monitor/windows/win32/WindowLayouts.h"
#include "monitor/windows/win32/resource.h"

namespace tidemark::monitor::layout {

// frmClStp: a client area of 3405 x 4230 twips.
inline constexpr int kSlowWidth = 3405, kSlowHeight = 4230;

inline constexpr std::array<ControlPlace, 10> kSlow{{
    {IDC_SLOW_SETTINGS_FRAME, {60, 60, 3285, 1980}},
    {IDC_PAUSE_BOX, {240, 360, 1260, 360}},
    {IDC_PAUSE_LABEL, {1560, 420, 1665, 270}},
    {IDC_STEP_BOX, {240, 840, 1260, 360}},
    {IDC_STEP_LABEL, {1560, 900, 1665, 270}},
    {IDC_DEFAULTS_BUTTON, {240, 1440, 1380, 420}},
    {IDC_SLOW_APPLY_BUTTON, {1740, 1440, 1485, 420}},
    {IDC_SLOW_STATUS_FRAME, {60, 2160, 3285, 2010}},
    {IDC_SLOW_STATUS, {240, 2460, 2985, 540}},
    {IDC_STOP_BUTTON, {240, 3540, 2985, 420}},
}};

} // namespace tidemark::monitor::layout
