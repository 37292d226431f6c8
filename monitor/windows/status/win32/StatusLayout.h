// The status windows' geometry in twips, turned into pixels with each
// window's own DPI. Read by the windows and by the end-to-end checks of every
// scaling.
#pragma once
#include <array>

#include "shared/ui/Twips.h"
#include "monitor/windows/win32/WindowLayouts.h"
#include "monitor/windows/win32/resource.h"

namespace tidemark::monitor::layout {

// frmSimple and frmGraph: a client area of 4905 x 2310 twips. The last
// cleaning's line has a short caption and a wide value: it may end with
// the time of the next cleaning.
inline constexpr int kStatusWidth = 4905, kStatusHeight = 2310;

inline constexpr std::array<ControlPlace, 13> kSimple{{
    {IDC_NUMBERS_FRAME, {60, 30, 4785, 1815}},
    {IDC_MEMORY_LOAD_CAPTION, {180, 300, 2550, 240}},
    {IDC_MEMORY_LOAD, {2760, 300, 1965, 240}},
    {IDC_TOTAL_MEMORY_CAPTION, {180, 585, 2550, 240}},
    {IDC_TOTAL_MEMORY, {2760, 585, 1965, 240}},
    {IDC_FREE_MEMORY_CAPTION, {180, 870, 2550, 240}},
    {IDC_FREE_MEMORY, {2760, 870, 1965, 240}},
    {IDC_LAST_RUN_CAPTION, {180, 1155, 2550, 240}},
    {IDC_LAST_RUN, {2760, 1155, 1965, 240}},
    {IDC_FREED_CAPTION, {180, 1440, 1500, 240}},
    {IDC_FREED, {1680, 1440, 3045, 240}},
    {IDC_SETTINGS_BUTTON, {2325, 1920, 1200, 330}},
    {IDC_HIDE_BUTTON, {3645, 1920, 1200, 330}},
}};

// The graph box is 3500 x 1000 twips, centred; under it the used memory
// with its caption, on a line wide enough for any figure at any scaling.
inline constexpr std::array<ControlPlace, 9> kGraph{{
    {IDC_GRAPH, {702, 60, 3500, 1000}},
    {IDC_USED_MEMORY_CAPTION, {60, 1095, 2400, 240}},
    {IDC_USED_MEMORY, {2460, 1095, 2385, 240}},
    {IDC_LAST_RUN_CAPTION, {60, 1365, 2550, 240}},
    {IDC_LAST_RUN, {2640, 1365, 2205, 240}},
    {IDC_FREED_CAPTION, {60, 1635, 1500, 240}},
    {IDC_FREED, {1560, 1635, 3285, 240}},
    {IDC_SETTINGS_BUTTON, {2325, 1920, 1200, 330}},
    {IDC_HIDE_BUTTON, {3645, 1920, 1200, 330}},
}};

} // namespace tidemark::monitor::layout
