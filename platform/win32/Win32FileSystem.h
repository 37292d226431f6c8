// Files and folders through the W file functions.
#pragma once
#include "platform/Clock.h"
#include "platform/FileSystem.h"

#include <map>
#include <mutex>

namespace tidemark::win32 {

class Win32FileSystem final : public platform::FileSystem {
public:
    // Pauses between replace attempts go through the clock.
    explicit Win32FileSystem(platform::Clock& clock) : clock_(clock) {}

    platform::FileReadResult readAll(const std::string& path) override;
    std::uint32_t replaceContents(const std::string& path, std::string_view bytes) override;
    std::uint32_t rewriteInPlace(const std::string& path, std::string_view bytes) override;
    std::string canonicalPath(const std::string& path) override;
    std::string absolutePath(const std::string& path) override;
    std::uint32_t createDirectory(const std::string& path) override;
    bool fileExists(const std::string& path) override;
    std::optional<std::uint64_t> fileSize(const std::string& path) override;
    bool directoryExists(const std::string& path) override;
    bool deleteFile(const std::string& path) override;
    int deleteMatching(const std::string& folder, const std::string& pattern) override;
    std::optional<std::string> folderIdentity(const std::string& folder) override;

    // A reader holding the file without delete sharing blocks the swap for
    // a moment; this many tries, this far apart, before giving up.
    static constexpr int kReplaceAttempts = 100;
    static constexpr std::uint32_t kReplaceRetryMs = 10;

private:
    // Renames the open temporary file over the target.
    std::uint32_t commitTemporary(void* temporary, const std::wstring& target);
    void forgetFolderIdentities();

    platform::Clock& clock_;
    std::mutex identitiesGuard_;
    std::map<std::string, std::string> identities_;   // folder as spelled -> its identity
};

} // namespace tidemark::win32
