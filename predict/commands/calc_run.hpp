#pragma once
// The calculation run of the prediction window: every station is fitted in
// turn, and each station with a predicted curve gets its page file
// TL_PRD<k>.PDT and its two drawings YOSOKU<k>.PZK and KAIKI_<k>.PZK in the
// program folder, for the print viewer. Plain code: the window copies the
// screen into the current station first and shows the results afterwards.
#include <filesystem>
#include <string>
#include <vector>

#include "platform/message.hpp"
#include "predict/obsdata.hpp"
#include "print/print_common.hpp"

namespace kova::predict {

std::string StationReportName(int k);  // "TL_PRD<k>.PDT"

// Deletes the report and drawing files an earlier run left in the folder
// ("TL_PRD*.PDT", "YOSOKU*.PZK", "KAIKI_*.PZK"); what cannot be deleted is
// left alone.
void DeleteReportFiles(const std::filesystem::path& folder);

// "2003年04月15日".
std::string ReportDateText(Date d);

// Writes station k's page file with its two drawings (in the order the page
// names them) from the station's last fit. Returns the paths written, in
// order; throws print::PrintFileError naming the file that failed, after
// which the files already written are listed in `written`.
void WriteStationReport(const ObsDataSet& data, int k, const std::filesystem::path& folder,
                        const print::DateStamp& stamp, std::vector<std::filesystem::path>& written);

// The message for a report or drawing file that cannot be written.
std::string ReportWriteFailureText(const std::string& fileName);

struct RunOutcome {
    int stationsWritten = 0;
    bool fileError = false;
    // Printing has something to show: no file error, and at least one station.
    bool Printable() const { return !fileError && stationsWritten > 0; }
};

// Deletes the old files, then fits stations 1..StationCount (each fit shows
// its own messages) and writes the files of every station with a predicted
// curve. A file that cannot be written is reported naming it; the run then
// stops and deletes every file it wrote.
RunOutcome RunCalculation(ObsDataSet& data, const std::filesystem::path& folder, MessageSink& messages,
                          const print::DateStamp& stamp);

}  // namespace kova::predict
