#include "editing/stale_results.hpp"

#include <fnmatch.h>

#include <system_error>

namespace fs = std::filesystem;

namespace kova {

const std::vector<std::string>& StaleResultPatterns() {
    static const std::vector<std::string> p = {"TK_DATA.PDT", "TK_DT_*.PDT", "KT_ZUMEN.PZK", "TNJ_H_*.PZK",
                                               "TNK_Z_*.PZK", "CAL_TN?.DAT", "tnk.csv"};
    return p;
}

const std::vector<std::string>& RunResultPatterns() {
    static const std::vector<std::string> p = {"tnk1.csv", "TNK_MAX.PZK"};
    return p;
}

namespace {

void DeleteMatching(const fs::path& folder, const std::string& pattern, std::vector<fs::path>& failed) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    std::vector<fs::path> hits;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code sec;
        if (!it->is_regular_file(sec)) continue;  // folders and links to folders are never results
        const std::string name = it->path().filename().string();
        if (::fnmatch(pattern.c_str(), name.c_str(), 0) == 0) hits.push_back(it->path());
    }
    for (const fs::path& f : hits) {
        std::error_code rec;
        if (!fs::remove(f, rec) && rec) failed.push_back(f);
    }
}

}  // namespace

std::vector<fs::path> DeleteStaleResults(const fs::path& folder, bool beforeRun) {
    std::vector<fs::path> failed;
    for (const std::string& p : StaleResultPatterns()) DeleteMatching(folder, p, failed);
    if (beforeRun)
        for (const std::string& p : RunResultPatterns()) DeleteMatching(folder, p, failed);
    return failed;
}

std::string DeleteFailedText(const fs::path& file) {
    return "結果ﾌｧｲﾙ(" + file.filename().string() + ")を削除出来ません。";
}

}  // namespace kova
