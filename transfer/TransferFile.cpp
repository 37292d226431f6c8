#include "transfer/TransferFile.h"

#include "platform/TextConversion.h"
#include "shared/settings/SettingsKeys.h"

namespace tidemark::transfer {
namespace {

constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

// UTF-8 text as the UTF-16 file the engine reads as Unicode.
std::string asUtf16File(std::string_view utf8) {
    std::string out = "\xFF\xFE";
    for (const char16_t c : platform::utf8ToUtf16(utf8)) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

// Characters of UTF-8 text (its bytes that start one).
std::size_t characters(const std::string& utf8) {
    std::size_t n = 0;
    for (const char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

bool withinBounds(const profile::ProfileSection& section) {
    if (section.entries.size() > kMaxTransferEntries) return false;
    for (const auto& e : section.entries)
        if (characters(e.name) > kMaxTransferTextChars || characters(e.value) > kMaxTransferTextChars) return false;
    return true;
}

} // namespace

std::optional<TransferFileContents> readTransferFile(platform::Platform& platform, const std::string& path) {
    // A file far beyond the bound is refused before it is read into memory;
    // the size is checked again on what was read, since the file may grow.
    const std::optional<std::uint64_t> size = platform.files.fileSize(path);
    if (size && *size > kMaxTransferFileBytes) return std::nullopt;
    platform::FileReadResult file = platform.files.readAll(path);
    if (!file.ok || file.bytes.size() > kMaxTransferFileBytes) return std::nullopt;
    if (file.bytes.compare(0, 3, kUtf8Mark) == 0) file.bytes = asUtf16File(std::string_view(file.bytes).substr(3));
    profile::ProfileEngine engine(platform);
    // The watch list's names as written: one the settings file's code page
    // cannot hold is refused by the import, never stored as another name.
    TransferFileContents contents{engine.sectionIn(file.bytes, ini::section::AppSettingFlag),
                                  engine.sectionAsWritten(file.bytes, ini::section::ExitTrigProcList)};
    if (!withinBounds(contents.memory) || !withinBounds(contents.list)) return std::nullopt;
    return contents;
}

} // namespace tidemark::transfer
