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
inline constexpr int kMaxBlocks = 20;         // embankments, soil layers and cuts, each
inline constexpr int kMaxCurvePoints = 21;    // of a soil curve
inline constexpr int kMaxTextBytes = 125;     // of the title and of each name, code page 932

// Sheet-pile walls: both tables have four slots, a section fills at most
// three of them (the wall grid has three rows) and the engine reads all four.
inline constexpr int kWallSlots = 4;
inline constexpr int kMaxWalls = 3;
static_assert(kMaxWalls < kWallSlots);

}  // namespace kova::rules
