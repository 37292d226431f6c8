// Programs of the operating system (CACLS, AT) started by the suite. They
// are started by their full path in the system folder, never found through
// a search: the search begins in the program's own folder, where a copy of
// the suite in a folder that ordinary users may write could hold a planted
// "CACLS.exe" that would then run with administrator or SYSTEM rights.
#pragma once
#include <string>
#include "platform/Platform.h"

namespace tidemark {

inline constexpr const char* kCaclsProgram = "cacls.exe";
inline constexpr const char* kAtProgram = "at.exe";

// The system folder & "\" & the file name; empty when the system folder
// cannot be found (the tool is then not started at all).
std::string systemToolPath(platform::Platform& platform, const std::string& fileName);

} // namespace tidemark
