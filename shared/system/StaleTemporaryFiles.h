// The start-up clean-up of temporary files that earlier runs left in the
// user's temporary folder.
#pragma once
#include <string>
#include "platform/Platform.h"

namespace tidemark {

inline constexpr const char* kStaleTemporaryPattern = "~DF*.tmp";

// True for "X:\..." and "\\server\share...": a path that does not depend on
// the current folder.
bool isAbsoluteWindowsPath(const std::string& path);

// Deletes "~DF*.tmp" in the folder the variable "Temp" names. Skipped when
// the variable is missing, empty or not an absolute path (usual for
// scheduled tasks): the pattern would then match in the current folder,
// often the system folder. Returns how many files were deleted.
int deleteStaleTemporaryFiles(platform::Platform& platform);

} // namespace tidemark
