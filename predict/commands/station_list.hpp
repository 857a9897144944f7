#pragma once
// What the station list does to the data set: a row inserted into or
// deleted from its grid inserts or deletes a whole station at once, and OK
// takes over the job title and the names. Plain code; the dialog hands in
// the grid's rows and texts.
#include <optional>
#include <string>
#include <vector>

#include "predict/obsdata.hpp"

namespace kova::predict {

inline constexpr const char* kStationListCaption = "観測所一覧・登録";
inline constexpr const char* kTooManyStationsText = "観測所は20箇所までです。";

// The fields a refusal names ("業務名称に使用できない文字…").
inline constexpr const char* kJobTitleField = "業務名称";
std::string StationNameField(int k);  // "観測所<k>の名称"

enum class StationListChange { None, Inserted, Deleted, Refused };

// Follows the grid after an edit: `rowsInUse` above StationCount inserts
// that many cleared stations at `currentRow` (records from there move down),
// below it deletes as many at `currentRow` (records after them move up).
// More than 20 stations are refused with nothing moved.
StationListChange ApplyStationRows(ObsDataSet& data, int currentRow, int rowsInUse);

// OK: the job title and the names of the stations in use (name i - 1 for
// station i; the count is the grid's rows in use). A text the data file
// cannot hold is refused: the message text is returned and nothing changes.
std::optional<std::string> CommitStationList(ObsDataSet& data, const std::string& title,
                                             const std::vector<std::string>& names);

}  // namespace kova::predict
