#include "platform/sim/SimPaths.h"

#include <cctype>

namespace tidemark::sim {

std::string normalizePath(std::string_view path) {
    std::string out;
    out.reserve(path.size());
    for (char c : path) {
        const char d = (c == '/') ? '\\' : c;
        if (d == '\\' && !out.empty() && out.back() == '\\') continue;
        out += d;
    }
    while (out.size() > 3 && out.back() == '\\') out.pop_back();
    return out;
}

std::string pathKey(std::string_view path) {
    std::string out = normalizePath(path);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string parentFolder(std::string_view path) {
    const std::string p = normalizePath(path);
    const auto pos = p.find_last_of('\\');
    if (pos == std::string::npos) return {};
    if (pos == 2 && p.size() > 1 && p[1] == ':') return p.substr(0, 3);
    return p.substr(0, pos);
}

std::string fileNamePart(std::string_view path) {
    const std::string p = normalizePath(path);
    const auto pos = p.find_last_of('\\');
    return pos == std::string::npos ? p : p.substr(pos + 1);
}

bool wildcardMatch(std::string_view pattern, std::string_view name) {
    std::size_t p = 0, n = 0, star = std::string_view::npos, mark = 0;
    auto eq = [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    };
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || eq(pattern[p], name[n]))) {
            ++p; ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

} // namespace tidemark::sim
