#pragma once
// The observation data set of the prediction program: settings, up to 20
// stations with their dated settlement readings and the results of their last
// hyperbolic fit; the observation file (*.tlm) and its work snapshots.
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/message.hpp"
#include "textio/storable_text.hpp"

namespace kova::predict {

inline constexpr int kMaxStations = 20;
inline constexpr int kMaxObservations = 500;

// A calendar day as a day serial counted from 1899-12-30 (serial 0, the
// "zero date" that a row holds before a date is given).
struct Date {
    std::int32_t serial = 0;

    static std::optional<Date> FromYmd(int year, int month, int day);
    // Year, month and day of the serial.
    void Ymd(int& year, int& month, int& day) const;
    // Year, month and day written through a printf format of three ints.
    std::string Text(const char* format) const;
    // True for a real observation date (not the zero date, within the
    // years 100 to 9999).
    bool IsValid() const;

    friend bool operator==(Date, Date) = default;
    friend auto operator<=>(Date, Date) = default;
};

// Whole days from a to b.
inline std::int32_t DaysBetween(Date a, Date b) { return b.serial - a.serial; }

// Results of the last fit of a station; never saved, recomputed by the fit.
// Arrays are indexed from 1 (element 0 exists and holds nothing), Predicted
// from day 0 to LastDay.
struct StationResults {
    std::int16_t FitCount = 0;
    std::vector<std::int32_t> ElapsedDays{0};  // t - t0 of fit point k
    std::vector<double> SettleInc{0.0};        // S - S0 of fit point k
    std::vector<double> Ratio{0.0};            // (t - t0)/(S - S0)
    std::int32_t FirstDay = 0;
    std::int32_t LastDay = 0;  // 0: no prediction
    std::vector<double> Predicted{0.0};
    std::int32_t TargetDay = 0;  // 0: none
    // Predicted settlement on TargetDay from the fitted curve (the target
    // may lie beyond LastDay); 0 when there is no target.
    double TargetSettlement = 0;
    double Slope = 0;
    double Intercept = 0;
    double R2 = 0;
    double FinalSettlement = 0;
};

struct StationRecord : StationResults {
    std::string Name;
    std::int16_t Count = 0;
    // Observation rows 1..Count; every array holds Count + 1 elements.
    std::vector<Date> ObsDate{Date{}};
    std::vector<double> Settlement{0.0};
    std::vector<std::string> Remark{std::string{}};
    std::vector<std::int16_t> SW{0};  // 1 leaves the row out of the fit
    std::int16_t Sa = 0;
    std::int16_t SaPrime = 0;

    // Sizes the four row arrays to 0..count, keeping the values that fit and
    // zeroing new elements, and sets Count.
    void ResizeRows(int count);
};

// The version this program writes: the highest `since` of the file's field
// lists (checked where they are). A file of a later version is refused.
inline constexpr int kObsFileVersion = 1;

struct ObsSettings {
    std::int16_t FileVer = 1;
    std::string JobTitle = "無題";
    std::int16_t StationCount = 0;
    std::int16_t SettlementOption = 3;  // 0 leave days, 1 percent, 2 residual, 3 none
    std::int16_t TimeAxisMode = 0;      // 0 elapsed days, 1 year and month
    std::int32_t LeaveDays = 365;
    double TargetPercent = 90;
    double ResidualSettlement = 0.2;
    double EndConditionPercent = 95;
    std::int16_t RoundingMethod = 2;
};

struct ObsDataSet : ObsSettings {
    // Entries 1..StationCount are stations; entry 0 is a spare record.
    std::array<StationRecord, kMaxStations + 1> Stations;
};

// Window-side part of a reset (graph scale boxes, result labels, fit-range
// boxes); the main window supplies it.
using WindowResetHook = std::function<void()>;

// Resets the data set to a new, empty one (record 0 is left alone), then
// lets the window reset its controls.
void InitNewData(ObsDataSet& data, const WindowResetHook& resetWindow = {});

// The observation file for a name chosen in a file dialog: ".tlm" is added
// only when the name has no extension.
std::filesystem::path DataFilePath(const std::filesystem::path& chosen);

// A file that cannot be read or written; what() is the detail for the user
// (UTF-8, may be empty).
class ObsFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parses and validates a whole observation file into a new data set (all
// results cleared). Throws ObsFileError, whose what() names the line and
// what is wrong (or says that the file cannot be opened); nothing is
// changed on failure.
ObsDataSet ReadDataFile(const std::filesystem::path& file);

// The file's text as written (UTF-8, CR LF). Throws ObsFileError when a text
// cannot be stored unchanged or a number is not finite.
std::string DataFileText(const ObsDataSet& data);

// Writes the observation file, replacing an existing one. Throws ObsFileError.
void WriteDataFile(const ObsDataSet& data, const std::filesystem::path& file);

// Path of the snapshot "KOVA_TLM.<name>" ("ORG" or "EDT") in the program folder.
std::filesystem::path SnapshotPath(const std::filesystem::path& appPath, std::string_view name);

// Writes a snapshot (the same content as the data file). Throws ObsFileError.
void WriteSnapshot(const ObsDataSet& data, const std::filesystem::path& appPath,
                   std::string_view name);

// True when the snapshots a and b differ line by line, one has more lines,
// or either is missing or unreadable.
bool SnapshotsDiffer(const std::filesystem::path& appPath, std::string_view a, std::string_view b);

// Command-level wrappers: report a failure in a message box naming the file
// and return false; on a failed read the data set is left as it was. A
// successful read replaces the data set (the spare record 0 is kept) and
// lets the window reset its controls as for a new data set.
bool LoadDataFile(ObsDataSet& data, const std::filesystem::path& file, MessageSink& messages,
                  const WindowResetHook& resetWindow = {});
bool SaveDataFile(const ObsDataSet& data, const std::filesystem::path& file, MessageSink& messages);

// The texts of those boxes.
std::string ReadFailureText(const std::filesystem::path& file, std::string_view detail);
std::string WriteFailureText(const std::filesystem::path& file, std::string_view detail);

}  // namespace kova::predict
