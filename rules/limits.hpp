#pragma once
// The one table of limits: every number that a file or a dialog can hold,
// with the range it must lie in. The limits are generous for any real
// section; they exist so that an absurd value (a load of 1e303, a method
// code of 65537) is refused where it enters, with a message that names the
// item, instead of overflowing somewhere inside a calculation.
//
// The readers of the project file, CAL_TNK.DAT, BKHough1.CSV and the
// observation file check every value against this table, and so do the
// dialogs before they store a cell. docs/limits.md lists the table.
//
// Values are the ones the model and the files hold (soil-curve pressures one
// tenth of their kN/m2 value, Mv ten times its m2/kN value, Cv in cm2/day).
#include <cstdint>
#include <optional>
#include <string>

namespace kova {

enum class Item {
    // Geometry (m): boundary points, block vertices and label points, load
    // positions, calculation positions, sheet-pile walls.
    X,
    Y,
    // Blocks and soil constants. A soil layer's weight has the file range of
    // a block's (files read it as UnitWeight) and is typed above 0: the
    // overburden pressure is its weight.
    UnitWeight,
    SoilUnitWeight,
    SoilType,
    SettleMethod,
    Drainage,
    CompressionIndex,
    NValue,
    // Ground improvement.
    DrainMethod,
    DrainSpacing,
    DrainDiameter,
    DrainAlpha,
    PermRatio,
    ShareRatio,
    ReplaceRatio,
    ReductionFactor,
    // Soil curves (per soil layer) and sand curves.
    CurvePressure,
    VoidRatio,
    MvValue,
    CvValue,
    SandPressure,
    SandVoidRatio,
    // Loads and loading stages.
    PointLoad,
    LineLoad,
    StripLoad,
    Stage,
    StageStartDay,
    StageDays,
    // Calculation conditions.
    LeavePeriod,
    ResidualSettlement,
    TimeCondKind,
    MvPMethod,
    CvPMethod,
    UseCutPreload,
    UseSandImmediate,
    AutoScaleXY,
    // Counts of the section tables.
    PointCount,
    LineCount,
    BlockCount,
    VertexCount,
    CurvePointCount,
    SandPointCount,
    LoadCount,
    StageCount,
    WallCount,
    PositionCount,
    LineEnd,      // 0-based point index of a boundary line's end
    PointNumber,  // 1-based point number in CAL_TNK.DAT
    // The observation file of the prediction program.
    ObsFileVersion,
    ObsStationCount,
    ObsSettlementOption,
    ObsTimeAxisMode,
    ObsLeaveDays,
    ObsTargetPercent,
    ObsResidualSettlement,
    ObsEndConditionPercent,
    ObsRoundingMethod,
    ObsCount,
    ObsFitRow,
    ObsSettlement,
    ObsSwitch,

    Count_  // number of items, not an item
};

struct Limit {
    const char* name;  // what a message calls the item (UTF-8)
    const char* unit;  // "m", "kN/m3", ...; empty for codes and counts
    double lo;         // smallest value allowed
    double hi;         // largest value allowed
    bool integral;     // only whole numbers
};

// The entry of an item.
const Limit& LimitOf(Item item);

// The item's name for a message, e.g. "単位体積重量".
const char* ItemName(Item item);

// True when v is finite, within [lo, hi] and whole where the item is.
bool WithinLimit(Item item, double v);

// The allowed range as shown to the user, e.g. "0～100" (U+FF5E between).
std::string LimitRangeText(Item item);

// The message for a refused value, e.g.
// "単位体積重量(kN/m3)は0～100の範囲で指定してください。"
std::string LimitMessage(Item item);

// The text for a value in a file outside its limit, e.g.
// "単位体積重量(kN/m3)が0～100の範囲にありません。"
std::string LimitFileText(Item item);

// An integer read from a file or a cell, checked against the item's range
// before it is narrowed: nullopt when it lies outside (the item's range
// always fits the 16-bit and 32-bit targets).
std::optional<std::int16_t> CheckedInt16(Item item, long long v);
std::optional<std::int32_t> CheckedInt32(Item item, long long v);

// The range where a value is typed. A file keeps the range above, so that
// every file that opened once still opens; a dialog refuses, where the value
// is typed, what the calculation would refuse later: a curve point of 0
// pressure, void ratio, Mv or Cv (the engine needs each positive), a soil
// layer of unit weight 0, a settlement factor outside 0 < β <= 1, a
// stress-sharing ratio below 1 (which would raise β above 1). Every other
// item types its file range.
struct TypedLimit {
    double lo;
    double hi;
    bool loOpen;  // lo itself is refused
};
TypedLimit TypedLimitOf(Item item);

// True when v is within the file range and the typed range.
bool WithinTypedLimit(Item item, double v);

// The typed range as shown to the user: "0～100", or with an open lower
// bound "0を超え100以下". `scale` divides both bounds (a value shown in
// other units than the model holds).
std::string TypedRangeText(Item item, double scale = 1);

}  // namespace kova
