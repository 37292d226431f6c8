// The font every window of Tidemark lays its controls out in; each window's
// own geometry in twips lies in its folder's layout header.
#pragma once

namespace tidemark::monitor::layout {

inline constexpr const wchar_t* kFontFace = L"MS UI Gothic";
inline constexpr int kFontPoints = 9;

} // namespace tidemark::monitor::layout
