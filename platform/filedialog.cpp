#include "platform/filedialog.hpp"

namespace kova {

namespace {

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : s) {
        if (c == sep) {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    parts.push_back(cur);
    return parts;
}

std::string Trim(const std::string& s) {
    std::size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    std::size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

}  // namespace

std::vector<FilterEntry> ParseFilter(const std::string& filter) {
    std::vector<FilterEntry> entries;
    if (filter.empty()) return entries;
    std::vector<std::string> parts = Split(filter, '|');
    for (std::size_t i = 0; i < parts.size(); i += 2) {
        FilterEntry e;
        e.description = parts[i];
        if (i + 1 < parts.size())
            for (const std::string& p : Split(parts[i + 1], ';'))
                if (!Trim(p).empty()) e.patterns.push_back(Trim(p));
        if (e.patterns.empty()) e.patterns.push_back("*");
        entries.push_back(std::move(e));
    }
    return entries;
}

std::filesystem::path StartFolder(const std::string& initialName, const std::filesystem::path& lastUsed,
                                  const std::filesystem::path& documents, const std::filesystem::path& home) {
    std::error_code ec;
    const auto isDir = [&ec](const std::filesystem::path& p) { return !p.empty() && std::filesystem::is_directory(p, ec); };
    const std::filesystem::path named = std::filesystem::path(initialName).parent_path();
    if (named.is_absolute() && isDir(named)) return named;
    if (isDir(lastUsed)) return lastUsed;
    if (isDir(documents)) return documents;
    return home;
}

}  // namespace kova
