// The settings window's figures: what a typed text counts as, the
// recommended values, and the highest trigger and cleaning size a machine
// takes. Whole megabytes throughout.
#pragma once
#include <cstdint>
#include <string>

namespace tidemark::monitor::settings {

inline constexpr std::int64_t kLowestRecommendedMB = 50;
inline constexpr std::int64_t kHighestSizeMB = 4096;

// A text box's figure: its leading number (blanks and a sign before it
// allowed, a fraction rounded), 0 when it starts with none; a figure beyond
// 64 bits is held at the largest one.
std::int64_t figureOf(const std::string& text);

// Whether a typed character may enter a figure box: the digits, Backspace,
// the delete code 127, and the clipboard's control keys (Ctrl+A, C, V, X, Z).
bool acceptsTypedCharacter(std::uint32_t code);

struct Recommended {
    std::int64_t triggerMB = 0;
    std::int64_t sizeMB = 0;
};
// A third of physical memory, at least 50 MB and below 128 MB (128 MB when
// it reaches it); the cleaning size the same, at most 4096 MB.
Recommended recommendedValues(std::uint64_t totalPhys);

// The whole MB of physical memory less 64: the largest cleaning size.
std::int64_t highestSizeMB(std::uint64_t totalPhys);
// A size whose claim with 64 MB to spare exceeds physical memory.
bool sizeTooLarge(std::int64_t sizeMB, std::uint64_t totalPhys);

} // namespace tidemark::monitor::settings
