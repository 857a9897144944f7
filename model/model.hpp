#pragma once
// The section model of KOVACALC: the whole cross-section project in fixed
// tables with separate counts. Every table has one slot more than the
// editors allow. The model is a plain value: a dialog may copy it and
// restore the copy on cancel.
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "rules/capacities.hpp"

namespace kova {

using i16 = std::int16_t;

// Limits the editors allow (the tables have one slot more).
inline constexpr int kMaxBndPts = rules::kMaxPoints;
inline constexpr int kMaxLines = 500;
inline constexpr int kMaxBlocks = rules::kMaxBlocks;
inline constexpr int kMaxVertices = rules::kMaxBlockVertices;
inline constexpr int kMaxCurvePts = rules::kMaxCurvePoints;
inline constexpr int kMaxLoads = rules::kMaxLoads;
inline constexpr int kMaxStages = rules::kMaxStages;
inline constexpr int kMaxSheetPiles = rules::kMaxWalls;
inline constexpr int kMaxCalcPos = rules::kMaxPositions;
inline constexpr int kMaxLinks = 9;
inline constexpr int kProfileRows = rules::kProfileRows;
inline constexpr int kSandCurves = rules::kSandCurves;

struct BoundaryPoint {
    double X = 0;
    double Y = 0;
    std::array<i16, kMaxLinks> Link{-1, -1, -1, -1, -1, -1, -1, -1, -1};
    i16 nLink = 0;
};

struct BoundaryLine {
    i16 pt1 = -1;
    i16 pt2 = -1;
};

struct SoilBlock {
    i16 nPt = 0;
    double CX = 0;
    double CY = 0;
    std::array<double, kMaxVertices + 1> PX{};
    std::array<double, kMaxVertices + 1> PY{};
    std::string Name;
    double UnitWeight = 0;
    i16 Stage = 1;
};

struct CurveTable {
    i16 n = 0;
    std::array<double, kMaxCurvePts> X{};
    std::array<double, kMaxCurvePts> Y{};
};

struct SoilParamRec {
    i16 SoilType = 0;      // 0 clay, 1 sand
    i16 SettleMethod = 0;  // SettleMethodCode (rules/settle_methods.hpp)
    i16 Drainage = 0;      // 0 both faces, 1 one face
    double C1 = 0;         // compression index Cc
    double C2 = 0;
    double C3 = 0;
    i16 NValue = 0;
};

// The details of a drain record, in their file order: spacing d, diameter
// dw, alpha, Kc/kw, stress-sharing ratio n, replacement ratio as, beta.
enum DrainDetail { kSpacing, kDiameter, kAlpha, kPermRatio, kShareRatio, kReplaceRatio, kReductionFactor };

struct DrainMethodRec {
    i16 Method = 0;  // 0 none, 1 triangular drains, 2 square drains
    std::array<double, 7> Detail{0, 0, 1, 0, 0, 0, 1};
};

struct LoadRec {
    double X1 = 0;
    double Y1 = 0;
    double X2 = 0;
    double Y2 = 0;
    double Load = 0;
    i16 Stage = 0;
};

struct SheetPileRec {
    double X = 0;
    double Top = 0;
    double Bottom = 0;
};

struct ResultRow {
    double x = 0;
    double y = 0;  // -9999.99 where the engine found no layer
    double v = 0;
};

struct StudyCond {
    std::string ProjectTitle;
    i16 LeavePeriod = 1000;
    std::array<std::string, kMaxCalcPos + 1> CalcPosName{};
    std::array<double, kMaxCalcPos + 1> CalcPosX{};
    i16 MvPMethod = 1;
    i16 CvPMethod = 1;
    i16 UseCutPreload = 1;
    i16 UseSandImmediate = 1;
    i16 TimeCondKind = 0;
    double ResidualSettlement = 1.0;
    i16 AutoScaleXY = 0;
};

struct Model {
    StudyCond Cond;

    std::array<BoundaryPoint, kMaxBndPts + 1> BndPt{};
    i16 BndPtCount = 0;
    std::array<BoundaryLine, kMaxLines + 1> BndLine{};
    i16 BndLineCount = 0;
    std::array<BoundaryLine, kMaxLines + 1> CutLine{};
    i16 CutLineCount = 0;

    std::array<SoilBlock, kMaxBlocks + 1> Embankment{};
    i16 EmbankmentCount = 0;
    std::array<SoilBlock, kMaxBlocks + 1> SoilLayer{};
    i16 SoilLayerCount = 0;
    std::array<SoilBlock, kMaxBlocks + 1> CutBlock{};
    i16 CutCount = 0;

    // Row i belongs to soil layer i.
    std::array<CurveTable, kMaxBlocks + 1> ELogPCurve{};
    std::array<CurveTable, kMaxBlocks + 1> MvCurve{};
    std::array<CurveTable, kMaxBlocks + 1> CvCurve{};
    std::array<SoilParamRec, kMaxBlocks + 1> SoilParam{};
    std::array<DrainMethodRec, kMaxBlocks + 1> DrainMethod{};

    // Curves 0 to 4: very loose to very dense sand; one common pressure axis.
    std::array<CurveTable, kSandCurves + 1> BKHoughCurve{};

    i16 StageCount = 1;
    std::array<i16, kMaxStages + 1> StageStartDay{};  // stage s in slot s-1
    std::array<i16, kMaxStages + 1> StageDays{};

    std::array<LoadRec, kMaxLoads + 1> PointLoad{};
    i16 PointLoadCount = 0;
    std::array<LoadRec, kMaxLoads + 1> LineLoad{};
    i16 LineLoadCount = 0;
    std::array<LoadRec, kMaxLoads + 1> StripLoad{};
    i16 StripLoadCount = 0;

    std::array<SheetPileRec, kMaxSheetPiles + 1> SheetPile{};
    i16 SheetPileCount = 0;

    i16 CalcPosCount = 0;

    std::array<ResultRow, kProfileRows + 1> SettledSurface{};
    std::array<ResultRow, kMaxCalcPos + 1> CalcPosResult{};
};

// Program-wide state of KOVACALC beside the model, not touched by a reset.
struct ProgramState {
    std::filesystem::path AppPath;
    std::string CurFileName;
    std::string CurFileBase;
    i16 CondFileVersion = 0;
    std::string VersionText;
    std::string CmdLine;
};

}  // namespace kova
