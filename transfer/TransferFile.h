// Reading a transfer file for an import. A ".vesk" arrives by mail or from
// a share: its size, its number of entries and the length of each name and
// value are bounded before anything of it is used.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include "platform/Platform.h"
#include "shared/profile/ProfileEngine.h"

namespace tidemark::transfer {

// What an import accepts at most: a file beyond any of these is taken for a
// corrupt one. A path is at most 32,767 characters.
inline constexpr std::size_t kMaxTransferFileBytes = 4u << 20;
inline constexpr std::size_t kMaxTransferEntries = 65536;
inline constexpr std::size_t kMaxTransferTextChars = 32767;

struct TransferFileContents {
    profile::ProfileSection memory;   // [AppSettingFlag]
    profile::ProfileSection list;     // [ExitTrigProcList]
};

// The file's two sections, read once. A file in UTF-8 with its byte-order
// mark is read as such. nullopt when the file cannot be read or lies beyond
// the bounds.
std::optional<TransferFileContents> readTransferFile(platform::Platform& platform, const std::string& path);

} // namespace tidemark::transfer
