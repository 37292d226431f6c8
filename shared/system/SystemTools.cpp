#include "shared/system/SystemTools.h"

namespace tidemark {

std::string systemToolPath(platform::Platform& platform, const std::string& fileName) {
    const auto folder = platform.folders.folderPath(platform::csidl::System);
    if (!folder || folder->empty()) return {};
    return *folder + (folder->back() == '\\' ? "" : "\\") + fileName;
}

} // namespace tidemark
