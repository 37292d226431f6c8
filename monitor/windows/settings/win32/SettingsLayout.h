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
    {IDC_SSTAB1, {60, 60, 4680, 2940}},
    // クリーナー設定
    {IDC_FRMMEMCLEAN, {180, 540, 4440, 1680}},
    {IDC_LABEL1_0_FIX, {360, 960, 2100, 240}},
    {IDC_TXTSTRMEMSIZE, {2520, 900, 1320, 360}},
    {IDC_LABEL1_1_FIX, {3960, 960, 480, 240}},
    {IDC_LABEL2_0_FIX, {360, 1560, 2100, 240}},
    {IDC_TXTCLENMEMSIZE, {2520, 1500, 1320, 360}},
    {IDC_LABEL2_1_FIX, {3960, 1560, 480, 240}},
    {IDC_CMDAUTO, {900, 2400, 1800, 420}},
    {IDC_CMDDECIDE, {2820, 2400, 1800, 420}},
    // スタートアップ
    {IDC_FRMSTRTUP, {180, 540, 4440, 1680}},
    {IDC_CHKALL, {360, 960, 4080, 300}},
    {IDC_CHKME, {360, 1500, 4080, 300}},
    // アイコン
    {IDC_FRMICON, {180, 540, 4440, 1680}},
    {IDC_CHKICONALL, {360, 960, 4080, 300}},
    {IDC_CHKICONME, {360, 1500, 4080, 300}},
    // 画面
    {IDC_FRMPICTURE, {180, 540, 4440, 1680}},
    {IDC_OPTGRAPH, {360, 960, 4080, 300}},
    {IDC_OPTSIMPLE, {360, 1500, 4080, 300}},
}};

} // namespace tidemark::monitor::layout
