// Numbers as the settings file and the windows write them.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace tidemark {

// The leading decimal number of a text (blanks before it and a sign allowed,
// a fraction allowed), rounded to the nearest integer with halves to even and
// held within 64 bits. nullopt when the text does not start with a number.
std::optional<std::int64_t> leadingNumber(const std::string& text);

// Digits grouped by thousands with commas: "#,##0" (0 gives "0") and
// "#,###" (0 gives "").
std::string groupedDigits(std::uint64_t value);
std::string groupedDigitsOrEmpty(std::uint64_t value);

} // namespace tidemark
