#pragma once
// The engine's result tables read back into the model: the settled ground
// profile (tnk.csv) and one row per calculation position (tnk1.csv).
#include <filesystem>

#include "model/model.hpp"

namespace kova {

inline constexpr const char* kProfileFile = "tnk.csv";
inline constexpr const char* kPositionFile = "tnk1.csv";

// The engine's ground level where no soil layer or embankment is crossed
// is -9999.99; anything at or below this is that marker.
inline constexpr double kNoGround = -9999.9;

// Reads 1000 rows of tnk.csv and CalcPosCount rows of tnk1.csv from
// `folder`, one line of three finite numbers a row, each line ended, nothing
// after the rows but blank lines. The model takes both
// tables only when both files were read whole; otherwise it is unchanged
// and the result is false. A position without ground (no soil under it)
// gets no result (v = -1), so no settlement is drawn for it.
bool ReadResults(const std::filesystem::path& folder, Model& m);

// No results: both tables zero, every position without a result (v = -1).
void ClearResults(Model& m);

}  // namespace kova
