#pragma once
// The records of the settlement engine: the input tables read from
// CAL_TNK.DAT, the soil column at an abscissa, the layer results of the final
// settlement, the strip pieces of the embankments, and the per-position
// history that the time tables and the reports read.
//
// Everything lives in fixed-capacity tables with separate counts; the whole
// state of one run is one EngineState, so a run can be done in-process.
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "rules/capacities.hpp"
#include "rules/settle_methods.hpp"

namespace kova::print {
class FileBatch;
}

namespace kova::engine {

// The settlement methods, engine::kMethod* as well.
using enum SettleMethodCode;

using i16 = std::int16_t;

// Capacities of the input tables.
inline constexpr int kMaxPositions = rules::kMaxPositions;
inline constexpr int kMaxNodeNumber = rules::kMaxPoints;  // point numbers 1..500
inline constexpr int kMaxSoilLayers = rules::kMaxBlocks;  // a column holds every layer
inline constexpr int kMaxLoadBlocks = 100;
inline constexpr int kMaxCutBlocks = 100;
inline constexpr int kMaxBlockVertices = rules::kMaxBlockVertices;
inline constexpr int kMaxCurveNumber = 99;      // soil curves numbered 1..99
inline constexpr int kMaxCurvePoints = 50;
inline constexpr int kSandCurveCount = rules::kSandCurves;  // sand curves numbered 1..5
inline constexpr int kMaxLoads = rules::kMaxLoads;  // of each kind
inline constexpr int kMaxWalls = rules::kWallSlots;
inline constexpr int kMaxStages = rules::kMaxStages;
inline constexpr int kMaxTextBytes = rules::kMaxTextBytes;  // title and names, code page 932

// Capacities of the working records.
inline constexpr int kColumnSlots = 20;
inline constexpr int kMaxUnits = 20;
inline constexpr int kMaxPieces = 100;          // 99 pieces accepted
inline constexpr int kProfileRows = rules::kProfileRows;

// ---------------------------------------------------------------- input

struct CalcPoint {
    std::string name;       // UTF-8, at most 125 bytes in code page 932
    double x = 0;           // abscissa (m)
    double unloading = 0;   // cut unloading U at x (kN/m2), set by the run
};

struct Node {
    double x = 0;
    double y = 0;
};

struct SoilLayerRec {
    i16 soil_kind = 0;      // 0 clay, other sand
    double unit_weight = 0; // kN/m3
    double label_x = 0;
    double label_y = 0;
    i16 vertex_count = 0;
    i16 n_value = 0;
    i16 method = 0;         // SettleMethodCode
    i16 drainage = 0;       // 0 both faces, other one face
    i16 curve_elogp = 0;    // curve numbers (the layer's number)
    i16 curve_mv = 0;
    i16 curve_cv = 0;
    double cc = 0;          // compression index
    std::array<int, kMaxBlockVertices> vertices{};  // point numbers 1..500
    i16 drain_kind = 0;     // 0 none, 1 triangular, 2 square pattern
    double drain_spacing = 0;   // d (m)
    double drain_diameter = 0;  // dw (m)
    double alpha = 0;           // Ch = alpha * Cv
    double perm_ratio = 0;      // kc/kw
    double share_ratio = 0;     // n
    double replace_ratio = 0;   // as
    double beta = 0;            // settlement multiplier
};

struct LoadBlockRec {
    double unit_weight = 0;
    double label_x = 0;
    double label_y = 0;
    i16 vertex_count = 0;
    std::array<int, kMaxBlockVertices> vertices{};
    i16 stage = 0;          // 1..5
    int start_day = 0;
    int days = 0;
};

struct CutBlockRec {
    double unit_weight = 0;
    double label_x = 0;
    double label_y = 0;
    i16 vertex_count = 0;
    std::array<int, kMaxBlockVertices> vertices{};
};

// Pressures in kN/m2 (converted while reading); values: void ratio (e-logP
// and sand curves), mv in m2/kN, cv in m2/day.
struct CurveRec {
    int count = 0;
    std::array<double, kMaxCurvePoints> value{};
    std::array<double, kMaxCurvePoints> pressure{};
};

struct LoadRec {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // point and line loads: x1, y1
    double load = 0;        // kN, kN/m or kN/m2
    i16 stage = 0;          // 1..5
    int start_day = 0;
    int days = 0;
};

struct WallRec {
    double x = 0;
    double top = 0;
    double bottom = 0;
};

struct CalcInput {
    std::string ProjectTitle;   // UTF-8, at most 125 bytes in code page 932
    int LeavePeriod = 0;
    double ResidualSettlement = 0;
    int TimeCondKind = 0;
    int UseSandImmediate = 0;
    int UseCutPreload = 0;
    int MvPMethod = 0;
    int CvPMethod = 0;
    int AutoScaleXY = 0;

    int position_count = 0;
    std::array<CalcPoint, kMaxPositions> positions{};

    int node_count = 0;                                // as read
    std::array<Node, kMaxNodeNumber + 1> nodes{};      // indexed by number

    int soil_count = 0;
    std::array<SoilLayerRec, kMaxSoilLayers> soil{};
    int block_count = 0;
    std::array<LoadBlockRec, kMaxLoadBlocks> blocks{};
    int cut_count = 0;
    std::array<CutBlockRec, kMaxCutBlocks> cuts{};

    // Indexed by curve number (slot 0 unused).
    std::array<CurveRec, kMaxCurveNumber + 1> elogp{};
    std::array<CurveRec, kMaxCurveNumber + 1> mv{};
    std::array<CurveRec, kMaxCurveNumber + 1> cv{};
    std::array<CurveRec, kSandCurveCount + 1> sand{};

    int point_load_count = 0;
    std::array<LoadRec, kMaxLoads> point_loads{};
    int line_load_count = 0;
    std::array<LoadRec, kMaxLoads> line_loads{};
    int strip_load_count = 0;
    std::array<LoadRec, kMaxLoads> strip_loads{};

    int wall_count = 0;
    std::array<WallRec, kMaxWalls> walls{};

    // Extent of the soil layers' vertices (both 0 without soil layers).
    double xmin = 0;
    double xmax = 0;
    // Lowest and highest elevation of all boundary points read.
    double node_ymin = 0;
    double node_ymax = 0;
};

// ---------------------------------------------------------------- column

// Soil layers crossed by the vertical at an abscissa, from the top down.
struct SoilColumn {
    int count = 0;
    std::array<int, kColumnSlots> layer{};      // soil layer index
    std::array<double, kColumnSlots> top{};     // elevations (m)
    std::array<double, kColumnSlots> bottom{};
    std::array<double, kColumnSlots> depth{};   // ground minus mid elevation
    std::array<double, kColumnSlots> p0{};      // overburden at mid-depth
    std::array<double, kColumnSlots> dp{};      // stress increase of the loads
    std::array<double, kColumnSlots> cv{};      // m2/day
    std::array<double, kColumnSlots> cv_pressure{};
};

// Cut blocks crossed by the vertical, highest top first.
struct CutColumn {
    int cut_count = 0;
    std::array<int, kMaxCutBlocks> cut_index{};
    std::array<double, kMaxCutBlocks> cut_top{};
    std::array<double, kMaxCutBlocks> cut_bottom{};
    std::array<double, kMaxCutBlocks> cut_load{};   // kN/m2
};

// Results of the final settlement per column slot (settlements after beta).
struct CcResult {
    double e1 = 0, cc = 0, log_ratio = 0, settlement = 0;
};
struct ELogPResult {
    double e1 = 0, e2 = 0, strain = 0, settlement = 0;
};
struct MvResult {
    double mv = 0, dn = 0, settlement = 0;
};
struct LayerResults {
    std::array<CcResult, kColumnSlots> cc{};
    std::array<ELogPResult, kColumnSlots> elogp{};   // also B.K.Hough
    std::array<MvResult, kColumnSlots> mv{};
};

// Everything one abscissa needs; one per worker when the profile runs in
// parallel.
struct ColumnWork {
    SoilColumn column;
    CutColumn cuts;
    LayerResults results;
    // Each load's own stresses at the column and its stage, for the stages
    // to sum without computing a load again.
    std::vector<std::array<double, kColumnSlots>> load_dp;
    std::vector<int> load_stage;
};

// ---------------------------------------------------------------- strips

// kColumns: fill on a sloping base, whose columns each act at their own
// base; it is integrated column by column where its stress is taken.
enum PieceKind : int { kTriangle = 3, kRectangle = 4, kColumns = 5 };

struct StripPiece {
    double CentroidX = 0;
    double CentroidY = 0;
    double Width = 0;
    double Height = 0;      // signed
    int PieceKind = kRectangle;
    int Side = 0;           // triangles: 0 full end left, 1 full end right
    int Sign = 1;
    double LeftX = 0;
    // kColumns: the base's level and the fill's thickness at either end.
    double BaseLeft = 0, BaseRight = 0;
    double ThickLeft = 0, ThickRight = 0;
};

// The pieces of one load block, divided once per run.
struct PieceSet {
    int count = 0;
    std::array<StripPiece, kMaxPieces> pieces{};
};

// A piece as a strip load: its rounded ends, level and intensity, which do
// not depend on the abscissa, so they are formed once per run.
struct PieceLoad {
    int kind = kRectangle;
    int side = 0;
    int sign = 1;
    double xl = 0;
    double xr = 0;
    double level = 0;
    double q = 0;       // kN/m2 at the full end (signed height times gamma)
    // kColumns: base levels and kN/m2 at the left and right ends.
    double bl = 0, br = 0, ql = 0, qr = 0;
};

struct BlockLoad {
    int count = 0;
    std::array<PieceLoad, kMaxPieces> pieces{};
};

// ---------------------------------------------------------------- history

// Results of the position being computed. Stage entries are kept compactly:
// entry k is the k-th stage that received a load, stage_number[k] its real
// stage number (1..5). Per-layer arrays are in column order.
struct PositionHistory {
    int layer_count = 0;
    int stage_count = 0;
    std::array<int, kMaxStages> stage_number{};
    std::array<int, kColumnSlots> layer_index{};
    std::array<double, kColumnSlots> p0{};
    std::array<double, kColumnSlots> unloading{};
    std::array<int, kColumnSlots> method{};
    std::array<double, kColumnSlots> thickness{};

    using StageTable = std::array<std::array<double, kColumnSlots>, kMaxStages>;
    StageTable stage_dp{};
    StageTable stage_settlement{};
    StageTable stage_e1{};
    StageTable stage_e2{};
    StageTable stage_cc{};
    StageTable stage_mv{};
    StageTable stage_strain{};
    StageTable stage_cv{};
    StageTable stage_cv_pressure{};
    // Whether the layer took load at the entry (no load: nothing of the
    // stage's own formula applies to it).
    std::array<std::array<bool, kColumnSlots>, kMaxStages> stage_loaded{};
    // The stage number whose larger settlement the layer keeps at the entry
    // (no rebound), 0 when the entry's own settlement stands.
    std::array<std::array<int, kColumnSlots>, kMaxStages> stage_kept_from{};
    // Entry k + 1: column total after entry k; entry 0 is always 0.
    std::array<double, kMaxStages + 1> stage_total{};
};

// Consolidation units of the present column and stage.
struct UnitState {
    int unit_count = 0;
    std::array<int, kMaxUnits> unit_layer{};
    std::array<double, kMaxUnits> unit_coefficient{};
    std::array<double, kMaxUnits> unit_thickness{};
    std::array<double, kMaxUnits> unit_drain_length{};
    std::array<double, kMaxUnits> unit_settlement{};
    std::array<double, kMaxUnits> unit_previous{};
};

// Per loaded stage (compact entries as in PositionHistory) and unit.
struct StageTiming {
    int timing_unit_count = 0;
    std::array<int, kMaxStages> stage_start{};
    std::array<int, kMaxStages> stage_days{};
    std::array<int, kMaxUnits> timing_unit_layer{};
    using UnitTable = std::array<std::array<double, kMaxUnits>, kMaxStages>;
    UnitTable stage_unit_coefficient{};
    UnitTable stage_unit_thickness{};
    UnitTable stage_unit_drain_length{};
    UnitTable stage_unit_increment{};
    UnitTable stage_unit_total{};
};

// ---------------------------------------------------------------- run

// Local date and time of the run.
struct RunStamp {
    int year = 0;   // modulo 100
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

struct ProfileRow {
    double x = 0;
    double ground = 0;
    double settlement = 0;
};

// How a day of a time table was found (see engine/timetable.hpp).
enum class DayKind {
    Reached,        // day: the day the degree is reached
    DuringLoading,  // reached while the stage is still being loaded ("※" in the report)
    Missed,         // not reached within the search horizon; day is 0
    NoValue,        // the unit does not consolidate in time; no day
};

struct TableEntry {
    DayKind kind = DayKind::NoValue;
    int day = 0;
    double settlement = 0;  // settlement at that degree (m), set in every case
};

// Days first..last (the previous run's last + 1 up to last) on which a curve
// of the time-settlement drawing stays at drawing height y.
struct CurveRun {
    int last = 0;
    int y = 0;
};

// What the report of a position computes once, ahead of writing it (see
// prepare_time_settlement): the overall time table of every unit, and the
// drawing heights of the time-settlement curves on every day of the axis.
struct TimeCurveCache {
    int position = -1;  // -1: nothing computed
    std::array<std::array<TableEntry, 9>, kMaxUnits> overall{};  // per unit
    int longest = 0;    // the longest day of the tables
    // The curves, for a drawing of `days` days at `scale` drawing units per
    // metre; days 0: not computed.
    int days = 0;
    double scale = 0;
    std::vector<std::vector<CurveRun>> unit_runs;  // per unit (empty: not drawn)
    std::vector<CurveRun> column_runs;
    int marker_day = 0;  // the residual settlement's day (0: none)
};

// What computing one calculation position leaves: a parallel run computes a
// position in a worker's copy and hands this part on whole, so a field added
// here travels with it.
struct PositionState {
    double position_ground = 0;
    double position_settlement = 0;   // the value written to tnk1.csv
    ColumnWork work;
    PositionHistory history;
    UnitState units;
    StageTiming timing;
    bool missing_curve_shown = false;  // the missing Cv curve message
};

// The whole state of one run. Large: allocate it on the heap.
struct EngineState : PositionState {
    std::filesystem::path folder;   // where CAL_TNK.DAT and the results live
    RunStamp stamp;
    CalcInput input;
    // Each load block as loads, one per block of the input. Only the blocks
    // there are: the state is copied for every thread of a run.
    std::vector<BlockLoad> block_loads;

    std::array<ProfileRow, kProfileRows> profile{};

    // The calculation position being computed (its results: PositionState).
    int position = -1;

    // Where the report writers put their files: straight on disk when null,
    // else into this batch, written later in order.
    print::FileBatch* report_files = nullptr;
    // Set on the state of a worker that starts on the positions before the
    // settlement profile is known: called before a drawing reads `profile`,
    // it waits until the profile is there and copies it in.
    std::function<void()> await_profile;
    TimeCurveCache time_curves;
};

}  // namespace kova::engine
