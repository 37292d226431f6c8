#include "platform/sim/SimCodePage.h"

#include <iconv.h>

#include <cerrno>
#include <string>

#include "platform/TextConversion.h"

namespace tidemark::sim {
namespace {

const char* iconvName(std::uint32_t id) { return id == 932 ? "CP932" : "CP1252"; }

// Converts with iconv; returns false when the input cannot be converted whole.
bool convert(const char* to, const char* from, std::string_view in, std::string& out) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::string buffer(in.size() * 4 + 8, '\0');
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outPtr = buffer.data();
    std::size_t outLeft = buffer.size();
    const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1) || inLeft != 0) return false;
    out.assign(buffer.data(), buffer.size() - outLeft);
    return true;
}

} // namespace

std::string SimCodePage::toAnsi(std::string_view utf8) {
    std::string whole;
    if (convert(iconvName(id_), "UTF-8", utf8, whole)) return whole;
    // Character by character, so that only the missing ones become '?'.
    std::string out;
    const std::u16string wide = platform::utf8ToUtf16(utf8);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        std::u16string one(1, wide[i]);
        if (wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < wide.size()) one += wide[++i];
        std::string piece;
        if (convert(iconvName(id_), "UTF-8", platform::utf16ToUtf8(one), piece)) out += piece;
        else out += '?';
    }
    return out;
}

std::string SimCodePage::fromAnsi(std::string_view ansi) {
    std::string whole;
    if (convert("UTF-8", iconvName(id_), ansi, whole)) return whole;
    std::string out;
    for (std::size_t i = 0; i < ansi.size(); ++i) {
        const std::size_t len = (isLeadByte(static_cast<unsigned char>(ansi[i])) && i + 1 < ansi.size()) ? 2 : 1;
        std::string piece;
        if (convert("UTF-8", iconvName(id_), ansi.substr(i, len), piece)) out += piece;
        else out += '?';
        i += len - 1;
    }
    return out;
}

bool SimCodePage::isLeadByte(unsigned char b) {
    if (id_ != 932) return false;
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

} // namespace tidemark::sim
