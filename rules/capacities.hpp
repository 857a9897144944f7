#pragma once
// The capacities both the section model and the calculation hold: the
// editor may not make a section the engine cannot read.

namespace kova::rules {

inline constexpr int kMaxPoints = 500;        // boundary points, numbered 1..500 in CAL_TNK.DAT
inline constexpr int kMaxBlockVertices = 100;
inline constexpr int kMaxLoads = 5;           // of each kind
inline constexpr int kMaxStages = 5;
inline constexpr int kMaxPositions = 20;      // calculation positions
inline constexpr int kProfileRows = 1000;
inline constexpr int kSandCurves = 5;

}  // namespace kova::rules
