// What a settings file, kept in the system's ANSI code page, holds exactly.
// A text that would come back changed (a best-fit "e" for "é", a "?") is
// refused where it comes in, never stored.
#pragma once
#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace tidemark::ansi {

// The characters of utf8 that the code page cannot hold, each once and in
// their order; empty when the text converts exactly.
std::string charactersOutside(platform::CodePage& codePage, std::string_view utf8);

inline bool convertsExactly(platform::CodePage& codePage, std::string_view utf8) {
    return charactersOutside(codePage, utf8).empty();
}

} // namespace tidemark::ansi
