// frmSave's geometry in twips: the four lines of lblCover above the two
// buttons side by side. Read by the window and by its end-to-end checks.
#pragma once
#include <array>

#include "shared/ui/Twips.h"
#include "resource.h"

namespace tidemark::transfer::layout {

inline constexpr const wchar_t* kFontFace = L"ＭＳ ゴシック";
inline constexpr int kFontPoints = 9;

inline constexpr int kSaveWidth = 4680, kSaveHeight = 1995;

inline constexpr std::array<monitor::layout::ControlPlace, 3> kSave{{
    {IDC_LBLCOVER, {240, 180, 4200, 1080}},
    {IDC_CMDSAVE, {240, 1425, 2010, 390}},
    {IDC_CMDLOAD, {2430, 1425, 2010, 390}},
}};

} // namespace tidemark::transfer::layout
