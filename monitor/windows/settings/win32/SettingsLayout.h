// The settings window's geometry in twips: a tab control over the whole
// client area, and on each page a frame with its controls. Read by the
// window and by the end-to-end checks of every scaling.
#pragma once
#include <array>

#include "shared/ui/Twips.h"
#include "monitor/windows/win32/resource.h"

namespace tidemark::monitor::layout {

inline constexpr int kSettingsWidth = 4800, kSettingsHeight = 3060;

inline constexpr std::array<ControlPlace, 19> kSettings{{
    {IDC_SETTINGS_TABS, {60, 60, 4680, 2940}},
    // クリーナー設定
    {IDC_CLEANER_FRAME, {180, 540, 4440, 1680}},
    {IDC_TRIGGER_CAPTION, {360, 960, 2100, 240}},
    {IDC_TRIGGER_BOX, {2520, 900, 1320, 360}},
    {IDC_TRIGGER_UNIT, {3960, 960, 480, 240}},
    {IDC_SIZE_CAPTION, {360, 1560, 2100, 240}},
    {IDC_SIZE_BOX, {2520, 1500, 1320, 360}},
    {IDC_SIZE_UNIT, {3960, 1560, 480, 240}},
    {IDC_AUTO_BUTTON, {900, 2400, 1800, 420}},
    {IDC_DECIDE_BUTTON, {2820, 2400, 1800, 420}},
    // スタートアップ
    {IDC_STARTUP_FRAME, {180, 540, 4440, 1680}},
    {IDC_ALL_USERS_STARTUP, {360, 960, 4080, 300}},
    {IDC_USER_STARTUP, {360, 1500, 4080, 300}},
    // アイコン
    {IDC_ICON_FRAME, {180, 540, 4440, 1680}},
    {IDC_ALL_USERS_ICON, {360, 960, 4080, 300}},
    {IDC_USER_ICON, {360, 1500, 4080, 300}},
    // 画面
    {IDC_SCREEN_FRAME, {180, 540, 4440, 1680}},
    {IDC_GRAPH_OPTION, {360, 960, 4080, 300}},
    {IDC_NUMBERS_OPTION, {360, 1500, 4080, 300}},
}};

// Each page's controls; the window shows one page at a time below its tabs.
inline constexpr std::array<int, 9> kSettingsPage0{IDC_CLEANER_FRAME, IDC_TRIGGER_CAPTION, IDC_TRIGGER_BOX,
                                                   IDC_TRIGGER_UNIT,  IDC_SIZE_CAPTION,    IDC_SIZE_BOX,
                                                   IDC_SIZE_UNIT,     IDC_AUTO_BUTTON,     IDC_DECIDE_BUTTON};
inline constexpr std::array<int, 3> kSettingsPage1{IDC_STARTUP_FRAME, IDC_ALL_USERS_STARTUP, IDC_USER_STARTUP};
inline constexpr std::array<int, 3> kSettingsPage2{IDC_ICON_FRAME, IDC_ALL_USERS_ICON, IDC_USER_ICON};
inline constexpr std::array<int, 3> kSettingsPage3{IDC_SCREEN_FRAME, IDC_GRAPH_OPTION, IDC_NUMBERS_OPTION};

} // namespace tidemark::monitor::layout
