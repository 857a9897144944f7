#pragma once
#include <filesystem>

#include "model/model.hpp"
#include "platform/message.hpp"

namespace kova {

inline constexpr const char* kSandCurveFile = "BKHough1.CSV";

// Puts the model back to the defaults of a new project, then loads the
// default sand curves from BKHough1.CSV in appPath. A missing or invalid
// file is told to the user and leaves the sand curves as they were.
void ResetModel(Model& m, const std::filesystem::path& appPath, MessageSink& ui);

using SandCurves = std::array<CurveTable, kSandCurves + 1>;

// Reads BKHough1.CSV (the point count, then per point the pressure and the
// five void ratios, as a field stream) into curves. The file is checked
// whole first: nothing changes unless it is complete and valid (count 0 to
// 21, every field a finite number). On failure shows the read message and
// returns false.
bool ReadSandCurveFile(const std::filesystem::path& appPath, SandCurves& curves, MessageSink& ui);

// Writes curves[0].n points to BKHough1.CSV, replacing it atomically: the
// count on the first line, then "P,e0,...,e4" with P as "0.0" and the void
// ratios as "0.000". On failure shows the write message and returns false.
bool WriteSandCurveFile(const std::filesystem::path& appPath, const SandCurves& curves, MessageSink& ui);

// Rebuilds the Link lists of all boundary points from a line table, in line
// index order, pt1 before pt2. A point takes at most 9 links; returns false
// when some line end could not be linked (more than 9 lines at a point, or
// an end that names no point).
bool RebuildLinks(Model& m, const std::array<BoundaryLine, kMaxLines + 1>& lines, i16 lineCount);

}  // namespace kova
