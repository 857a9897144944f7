#pragma once
// The two drawings written for the print viewer per predicted station: the
// settlement-time drawing YOSOKU<k>.PZK (observations, predicted curve,
// target marking, Sa, Sa', final settlement) and the regression drawing
// KAIKI_<k>.PZK (the points (t-t0)/(s-s0) against t-t0 and the fitted line).
#include <filesystem>
#include <string>

#include "predict/obsdata.hpp"

namespace kova::predict {

inline constexpr const char* kPredictionSizeLine = "45,30";
inline constexpr const char* kRegressionSizeLine = "45,28";

std::string PredictionDrawingName(int k);  // "YOSOKU<k>.PZK"
std::string RegressionDrawingName(int k);  // "KAIKI_<k>.PZK"

// Write the drawing of station k into folder, replacing an existing file,
// from the station's last fit; the station must have a prediction
// (LastDay >= 1). Coordinates that do not fit the viewer's 16-bit range are
// clamped to it; a target day beyond the end of the time axis draws no
// target marking. Returns the file's path; throws print::PrintFileError.
std::filesystem::path WritePredictionDrawing(const StationRecord& station, const ObsSettings& settings,
                                             int k, const std::filesystem::path& folder);
std::filesystem::path WriteRegressionDrawing(const StationRecord& station, int k,
                                             const std::filesystem::path& folder);

}  // namespace kova::predict
