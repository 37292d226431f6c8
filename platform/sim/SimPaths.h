// Path handling of the simulated machine: Windows paths, case-insensitive.
#pragma once
#include <string>
#include <string_view>

namespace tidemark::sim {

// Backslashes only, no trailing backslash (except a bare drive "C:\").
std::string normalizePath(std::string_view path);
// The normalised path with ASCII letters folded to lower case: the map key.
std::string pathKey(std::string_view path);
std::string parentFolder(std::string_view path);
std::string fileNamePart(std::string_view path);
// Wildcard match of a file name against * and ?, ignoring ASCII case.
bool wildcardMatch(std::string_view pattern, std::string_view name);

} // namespace tidemark::sim
