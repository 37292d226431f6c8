// Files and folders. Paths are Windows paths in UTF-8 ("C:\\dir\\file.ini").
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tidemark::platform {

namespace fileerror {
inline constexpr std::uint32_t None = 0;
inline constexpr std::uint32_t FileNotFound = 2;
inline constexpr std::uint32_t PathNotFound = 3;
inline constexpr std::uint32_t AccessDenied = 5;
inline constexpr std::uint32_t SharingViolation = 32;
inline constexpr std::uint32_t AlreadyExists = 183;
} // namespace fileerror

struct FileReadResult {
    bool ok = false;
    std::uint32_t error = fileerror::None;   // system error code when !ok
    std::string bytes;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual FileReadResult readAll(const std::string& path) = 0;
    // Writes the whole file so that a reader or a crash sees either the old
    // or the new contents, never a mixture. An existing file keeps its access
    // list and attributes. The folder must exist. Returns the system error
    // code, 0 on success. The new contents go first to a temporary file
    // beside the target named "<target>.~<unique>.tmp"; one that a writer
    // killed midway leaves behind may be deleted by the file's next writer.
    virtual std::uint32_t replaceContents(const std::string& path, std::string_view bytes) = 0;
    // Overwrites an existing file's contents where it lies (write, truncate,
    // flush), for a folder that admits no new file: not atomic, so callers
    // hold the file's lock and use it only where replacing is refused.
    // Returns the system error code, 0 on success.
    virtual std::uint32_t rewriteInPlace(const std::string& path, std::string_view bytes) = 0;
    // The path in one spelling whatever way it was given: full, long names
    // (no 8.3 short names), no "." or ".." parts. The last part may name a
    // file that does not exist yet. Letter case is as given where the system
    // does not say otherwise; callers that compare paths fold it themselves.
    virtual std::string canonicalPath(const std::string& path) = 0;
    // The path made full against the current folder, "." and ".." parts
    // resolved, names otherwise as given (a short name stays short).
    virtual std::string absolutePath(const std::string& path) = 0;
    // Returns 0, or the system error (183 when it already exists).
    virtual std::uint32_t createDirectory(const std::string& path) = 0;
    virtual bool fileExists(const std::string& path) = 0;
    // The file's size in bytes; nullopt when it does not exist or cannot be
    // asked. Lets a caller refuse a file too big to read before reading it.
    virtual std::optional<std::uint64_t> fileSize(const std::string& path) = 0;
    virtual bool directoryExists(const std::string& path) = 0;
    virtual bool deleteFile(const std::string& path) = 0;
    // Deletes every file in the folder whose name matches the wildcard
    // pattern (* and ?); errors on single files are skipped. Returns how many
    // were deleted.
    virtual int deleteMatching(const std::string& folder, const std::string& pattern) = 0;
    // Which folder this is, however it is reached (another drive letter for
    // it, a mapped share, a junction, a short name): its volume's serial
    // number and its file index, as text. nullopt when it cannot be opened.
    virtual std::optional<std::string> folderIdentity(const std::string& folder) = 0;
};

} // namespace tidemark::platform
