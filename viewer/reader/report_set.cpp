#include "viewer/reader/report_set.hpp"

#include <algorithm>
#include <charconv>
#include <system_error>

#include "viewer/reader/grammar.hpp"

namespace kova::viewer {
namespace {

// The number of a name that is prefix, digits and ".PDT"; -1 otherwise.
long Numbered(const std::string& name, std::string_view prefix) {
    constexpr std::string_view ext = ".PDT";
    if (name.size() <= prefix.size() + ext.size() || name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - ext.size(), ext.size(), ext) != 0)
        return -1;
    const char* b = name.data() + prefix.size();
    const char* e = name.data() + name.size() - ext.size();
    long n = -1;
    auto [p, ec] = std::from_chars(b, e, n);
    if (ec != std::errc() || p != e || *b == '-' || *b == '+') return -1;
    return n;
}

}  // namespace

std::optional<ReportSet> ReportSetNamed(std::string_view word) {
    if (word == "TK") return ReportSet::Calculation;
    if (word == "TL") return ReportSet::Prediction;
    return std::nullopt;
}

std::vector<std::filesystem::path> PageFilesIn(const std::filesystem::path& folder, ReportSet set) {
    const bool calc = set != ReportSet::Prediction, pred = set != ReportSet::Calculation;
    struct Entry {
        int group;
        long number;
        std::filesystem::path path;
    };
    std::vector<Entry> found;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        const std::string name = it->path().filename().string();
        long n = -1;
        if (calc && name == "TK_DATA.PDT") found.push_back({0, 0, it->path()});
        else if (calc && (n = Numbered(name, "TK_DT_")) >= 0) found.push_back({1, n, it->path()});
        else if (pred && (n = Numbered(name, "TL_PRD")) >= 0) found.push_back({2, n, it->path()});
    }
    std::sort(found.begin(), found.end(), [](const Entry& a, const Entry& b) {
        if (a.group != b.group) return a.group < b.group;
        if (a.number != b.number) return a.number < b.number;
        return a.path.filename() < b.path.filename();
    });
    std::vector<std::filesystem::path> out;
    for (auto& e : found) out.push_back(std::move(e.path));
    return out;
}

std::vector<Fault> Report::Faults() const {
    std::vector<Fault> out;
    if (page.fault) out.push_back(*page.fault);
    // A drawing the page names that is not there (the original viewer's own
    // diagram aside): the report is incomplete.
    for (const FormBlock& f : page.forms)
        if (!f.drawing.empty() && f.drawing != kViewerOwnDrawing && !Drawing(f.drawing)) {
            out.push_back(Fault{page.name, f.line, f.drawing + " がありません"});
            break;
        }
    for (const auto& [name, d] : drawings)
        if (d.fault) out.push_back(*d.fault);
    return out;
}

const DrawingFile* Report::Drawing(const std::string& name) const {
    auto it = drawings.find(name);
    return it == drawings.end() ? nullptr : &it->second;
}

Report LoadReport(const std::filesystem::path& pageFile) {
    Report r;
    r.page = ReadPageFile(pageFile);
    const std::filesystem::path folder = pageFile.parent_path();
    for (const FormBlock& f : r.page.forms) {
        if (f.drawing.empty() || r.drawings.count(f.drawing)) continue;
        // Only a plain name in this folder: a page must not reach elsewhere.
        if (f.drawing.find('/') != std::string::npos || f.drawing == "." || f.drawing == "..") continue;
        std::error_code ec;
        const std::filesystem::path p = folder / f.drawing;
        if (!std::filesystem::is_regular_file(p, ec)) continue;
        r.drawings.emplace(f.drawing, ReadDrawingFile(p));
    }
    return r;
}

}  // namespace kova::viewer
