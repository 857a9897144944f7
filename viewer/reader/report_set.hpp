#pragma once
// The page files of a folder that the viewer shows, in the order the
// programs write them, with the drawings their pages name.
#include <filesystem>
#include <map>
#include <optional>
#include <string_view>
#include <string>
#include <vector>

#include "viewer/reader/reader.hpp"

namespace kova::viewer {

// Which program's reports: the calculation's (TK_DATA.PDT and TK_DT_<n>.PDT),
// the prediction's (TL_PRD<k>.PDT), or both.
enum class ReportSet { All, Calculation, Prediction };

// The set a command-line word names ("TK", "TL"); nothing for another word.
std::optional<ReportSet> ReportSetNamed(std::string_view word);

// TK_DATA.PDT, then TK_DT_<n>.PDT by n, then TL_PRD<k>.PDT by k, as far as
// the set takes them; other files are not reports and are left out.
std::vector<std::filesystem::path> PageFilesIn(const std::filesystem::path& folder, ReportSet set = ReportSet::All);

struct Report {
    PageFile page;
    // Every drawing the page names that exists in the folder, by name.
    std::map<std::string, DrawingFile> drawings;
    // The first fault of the page file, the first drawing it names that is
    // missing (but for the original viewer's own diagram), then the first
    // fault of each drawing.
    std::vector<Fault> Faults() const;
    const DrawingFile* Drawing(const std::string& name) const;
};

// Reads a page file and the drawings beside it that it names.
Report LoadReport(const std::filesystem::path& pageFile);

}  // namespace kova::viewer
