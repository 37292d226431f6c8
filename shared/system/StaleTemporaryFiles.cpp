#include "shared/system/StaleTemporaryFiles.h"

namespace tidemark {

bool isAbsoluteWindowsPath(const std::string& path) {
    auto slash = [](char c) { return c == '\\' || c == '/'; };
    const bool drive = path.size() >= 3 && ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z') && path[1] == ':' &&
                       slash(path[2]);
    const bool unc = path.size() >= 3 && slash(path[0]) && slash(path[1]) && !slash(path[2]);
    return drive || unc;
}

int deleteStaleTemporaryFiles(platform::Platform& platform) {
    const auto temp = platform.process.environmentVariable("Temp");
    if (!temp || !isAbsoluteWindowsPath(*temp)) return 0;
    return platform.files.deleteMatching(*temp, kStaleTemporaryPattern);
}

} // namespace tidemark
