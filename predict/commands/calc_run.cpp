#include "predict/commands/calc_run.hpp"

#include <system_error>

#include "predict/drawings.hpp"
#include "predict/hyperbolic.hpp"
#include "predict/commands/graph_update.hpp"
#include "textio/numfmt.hpp"
#include "print/forms.hpp"
#include "print/page_file.hpp"

namespace kova::predict {
namespace {

bool Matches(const std::string& name, std::string_view prefix, std::string_view suffix) {
    return name.size() >= prefix.size() + suffix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
           name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string Field11(double v, int decimals, const char* unit = "") {
    return AlignRight(FormatFixed(v, decimals) + unit, 11);
}

}  // namespace

std::string StationReportName(int k) { return "TL_PRD" + std::to_string(k) + ".PDT"; }

void DeleteReportFiles(const std::filesystem::path& folder) {
    static constexpr std::pair<std::string_view, std::string_view> kPatterns[] = {
        {"TL_PRD", ".PDT"}, {"YOSOKU", ".PZK"}, {"KAIKI_", ".PZK"}};
    std::error_code ec;
    std::vector<std::filesystem::path> doomed;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        for (const auto& [prefix, suffix] : kPatterns)
            if (Matches(name, prefix, suffix) && it->is_regular_file(ec)) doomed.push_back(it->path());
    }
    for (const auto& p : doomed) std::filesystem::remove(p, ec);
}

std::string ReportDateText(Date d) { return d.Text("%04d年%02d月%02d日"); }

std::string ReportWriteFailureText(const std::string& fileName) {
    return "帳票ﾌｧｲﾙ(" + fileName + ")に書き込み出来ません。";
}

void WriteStationReport(const ObsDataSet& data, int k, const std::filesystem::path& folder,
                        const print::DateStamp& stamp, std::vector<std::filesystem::path>& written) {
    const StationRecord& s = data.Stations[k];
    const std::filesystem::path path = folder / StationReportName(k);
    print::PageWriter page(path, "沈下算出点-No." + std::to_string(k), stamp, print::DateLineStyle::Prediction);
    written.push_back(path);
    page.Form(true, print::kStationTitleForm);
    page.Field(print::field::StationTitle::Project, data.JobTitle);
    page.Field(print::field::StationTitle::Station, s.Name);
    page.Form(false, "", PredictionDrawingName(k));
    written.push_back(folder / PredictionDrawingName(k));
    WritePredictionDrawing(s, data, k, folder);
    page.Form(false, print::kRegressionForm, RegressionDrawingName(k));
    written.push_back(folder / RegressionDrawingName(k));
    WriteRegressionDrawing(s, k, folder);
    // A fitted station has 1 <= Sa < Sa' <= Count.
    page.Field(print::field::Regression::Start, ReportDateText(s.ObsDate[static_cast<std::size_t>(s.Sa)]));
    page.Field(print::field::Regression::End, ReportDateText(s.ObsDate[static_cast<std::size_t>(s.SaPrime)]));
    page.Field(print::field::Regression::Slope, Field11(s.Slope, 4));
    page.Field(print::field::Regression::Intercept, Field11(s.Intercept, 4));
    page.Field(print::field::Regression::R2, Field11(s.R2, 4));
    page.Field(print::field::Regression::FinalSettlement, Field11(s.FinalSettlement, 3, "m"));
    page.Close();
}

RunOutcome RunCalculation(ObsDataSet& data, const std::filesystem::path& folder, MessageSink& messages,
                          const print::DateStamp& stamp) {
    RunOutcome out;
    DeleteReportFiles(folder);
    std::vector<std::filesystem::path> written;
    const int count = data.StationCount;
    for (int k = 1; k <= count && k <= kMaxStations; ++k) {
        PredictStation(data, k, messages);
        if (data.Stations[k].LastDay < 1) continue;
        try {
            WriteStationReport(data, k, folder, stamp, written);
            ++out.stationsWritten;
        } catch (const print::PrintFileError& e) {
            messages.Notify(ReportWriteFailureText(e.FileName()), MsgIcon::Exclamation);
            // Only files: what stood in the way of a file is not the run's.
            std::error_code ec;
            for (const auto& p : written)
                if (std::filesystem::is_regular_file(p, ec)) std::filesystem::remove(p, ec);
            out.fileError = true;
            out.stationsWritten = 0;
            return out;
        }
    }
    return out;
}

}  // namespace kova::predict
