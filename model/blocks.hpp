#pragma once
// The three block tables (embankments, soil layers, cuts): storing a traced
// outline as a new block or as the new outline of a block, finding a block
// by its label point, removing it.
#include <array>

#include "model/model.hpp"

namespace kova {

// Block kinds, as a re-shape tool holds its block.
inline constexpr i16 kKindEmbankment = 1;
inline constexpr i16 kKindSoilLayer = 2;
inline constexpr i16 kKindCut = 3;

// Pick groups: 1 embankments and soil layers together, 2 cuts.
inline constexpr i16 kGroupFill = 1;
inline constexpr i16 kGroupCut = 2;

using BlockTable = std::array<SoilBlock, kMaxBlocks + 1>;

// A closed outline that fits a block: vertices 0 to n-1 in walking order,
// entry n repeating entry 0.
struct Outline {
    i16 n = 0;
    std::array<double, kMaxVertices + 1> X{};
    std::array<double, kMaxVertices + 1> Y{};
};

// Replace outline and label point of block `index` of the table of `kind`.
// False, with nothing changed, when `index` names no block of the table.
bool SetBlockShape(Model& m, i16 kind, double CX, double CY, const Outline& o, i16 index);

// Append a new block to the table of `kind`; refused silently (false) when
// the table holds 20 blocks or the label point of an existing block lies
// inside the outline (embankments and soil layers test each other, cuts
// only cuts).
bool AddBlock(Model& m, i16 kind, double CX, double CY, const Outline& o);

// Index of the block whose label point is nearest to (x, y) within 10 m, or
// -1. Among equal distances the later entry wins. Dist gets the distance
// found (10 when none).
i16 NearestBlockCentre(double x, double y, const BlockTable& table, i16 count, double& Dist);

// The block whose label point is nearest to (x, y) in the group: a soil
// layer wins over an embankment at equal distance. Index -1 when none.
struct BlockRef {
    i16 kind = 0;
    i16 index = -1;
};
BlockRef NearestBlock(const Model& m, double x, double y, i16 Group);
const SoilBlock& BlockAt(const Model& m, BlockRef b);

// Remove entry r of the table of Kind and close the gap; for a soil layer
// the five per-layer tables shift with it. False when r names no block.
bool RemoveBlockAt(Model& m, i16 Kind, i16 r);

}  // namespace kova
