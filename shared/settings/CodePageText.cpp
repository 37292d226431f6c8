#include "shared/settings/CodePageText.h"

#include <algorithm>

namespace tidemark::ansi {
namespace {

// The length of the UTF-8 sequence that starts with lead.
std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

bool roundTrips(platform::CodePage& codePage, std::string_view utf8) {
    return codePage.fromAnsi(codePage.toAnsi(utf8)) == utf8;
}

} // namespace

std::string charactersOutside(platform::CodePage& codePage, std::string_view utf8) {
    if (roundTrips(codePage, utf8)) return {};
    std::string outside;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t length = std::min(sequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
        const std::string_view one = utf8.substr(i, length);
        if (!roundTrips(codePage, one) && outside.find(one) == std::string::npos) outside += one;
        i += length;
    }
    // Every character alone converts, yet not the whole (a sequence the
    // code page joins): the whole text is what cannot be held.
    return outside.empty() ? std::string(utf8) : outside;
}

} // namespace tidemark::ansi
