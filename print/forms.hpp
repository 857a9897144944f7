#pragma once
// The catalogue of the forms the engine and the prediction program write and
// the viewer lays out: for each form its name, its part in the report (a
// heading, a row of a table, a total under a table, a note, ...), its words
// and what each field holds (caption and unit). The writers and the viewer
// both link this one table; a form written outside it would be shown raw,
// which the tests of every writer check against it. The table itself is
// data in forms.cpp.
#include <string>
#include <string_view>
#include <vector>

namespace kova::print {

enum class FormRole {
    Title,      // a block of labelled fields ("caption  value") under a heading
    Heading,    // a heading; its fields follow the words on the same line
    Row,        // one row of a table; a run of the same form is one table
    TimeRow,    // one unit of a time table: days and settlements by degree
    Total,      // a row under the table just above, its fields under columns
    Note,       // a line of text under the table just above
    End,        // closes a table; shows nothing
    Statement,  // a heading, each field a sentence under it
};

// What a field of a title block also stands for in the page header.
enum class HeaderRole { None, Project, Position, PositionX };

struct FormColumn {
    int field = 0;
    std::string caption;
    std::string unit;  // may be empty
    // Total: the field of the row form this value stands under.
    int under = -1;
    HeaderRole header = HeaderRole::None;
};

struct FormLayout {
    std::string_view form;
    FormRole role = FormRole::End;
    // Heading, Title, Statement: the words; Row: the table's heading when no
    // heading form stands before it; Total: the label of the row; Note: a lead.
    std::string_view words;
    // Row, Title, Total: in the order shown. A heading may give the columns
    // of the rows under it when one row form serves several tables.
    std::vector<FormColumn> columns;
};

// The layout of a form name, or nullptr for a form not in the catalogue.
const FormLayout* FindForm(std::string_view form);

// Every layout (for checks over the whole table).
const std::vector<FormLayout>& AllForms();

// The names of the forms, each written here only: the writers and the
// table in forms.cpp take them from here.

// The engine's condition report (TK_DATA.PDT).
inline constexpr std::string_view kConditionTitleForm = "SJK_0000.PFM";
inline constexpr std::string_view kSoilConditionHeadingForm = "SJK_0001.PFM";
inline constexpr std::string_view kSoilConditionRowForm = "SJK_0002.PFM";
inline constexpr std::string_view kSoilConditionEndForm = "SJK_0003.PFM";
inline constexpr std::string_view kDrainConditionHeadingForm = "SJK_0004.PFM";
inline constexpr std::string_view kDrainConditionRowForm = "SJK_0005.PFM";
inline constexpr std::string_view kDrainConditionEndForm = "SJK_0006.PFM";
inline constexpr std::string_view kEmbankmentHeadingForm = "SJK_0020.PFM";
inline constexpr std::string_view kEmbankmentRowForm = "SJK_0021.PFM";
inline constexpr std::string_view kPointLoadHeadingForm = "SJK_0030.PFM";
// A row of the point-load and of the line-load table.
inline constexpr std::string_view kLoadRowForm = "SJK_0031.PFM";
inline constexpr std::string_view kLineLoadHeadingForm = "SJK_0033.PFM";
inline constexpr std::string_view kStripLoadHeadingForm = "SJK_0040.PFM";
inline constexpr std::string_view kStripLoadRowForm = "SJK_0041.PFM";

// The engine's report of a calculation position (TK_DT_nn.PDT).
inline constexpr std::string_view kPositionTitleForm = "SOU_0000.PFM";
// The page of a position with no soil under it: its sentence in field 0.
inline constexpr std::string_view kNoSoilForm = "SOU_NOSOIL.PFM";
inline constexpr std::string_view kColumnHeadingForm = "SOU_0001.PFM";
inline constexpr std::string_view kColumnRowForm = "SOU_0002.PFM";
inline constexpr std::string_view kStressHeadingForm = "SOU_0010.PFM";
inline constexpr std::string_view kStressRowForm = "SOU_0011.PFM";
inline constexpr std::string_view kSettlementCalcHeadingForm = "TNK_0000.PFM";
inline constexpr std::string_view kSettlementInputRowForm = "TNK_0001.PFM";
inline constexpr std::string_view kSettlementInputEndForm = "TNK_0002.PFM";
inline constexpr std::string_view kSettlementHeadingForm = "TNK_0010.PFM";
inline constexpr std::string_view kSettlementRowForm = "TNK_0011.PFM";
inline constexpr std::string_view kSettlementTotalForm = "TNK_0012.PFM";
inline constexpr std::string_view kSettlementNoteForm = "TNK_0013.PFM";
// Under a stage's settlements: the layers whose settlement is kept from an
// earlier stage (marked ＊), each with that stage.
inline constexpr std::string_view kSettlementKeptNoteForm = "TNK_0014.PFM";
inline constexpr std::string_view kStageSettlementHeadingForm = "TNK_0020.PFM";
inline constexpr std::string_view kStageSettlementRowForm = "TNK_0021.PFM";
inline constexpr std::string_view kStageSettlementTotalForm = "TNK_0022.PFM";
inline constexpr std::string_view kConsolidationHeadingForm = "KCV_0000.PFM";
inline constexpr std::string_view kCvRowForm = "KCV_0001.PFM";
inline constexpr std::string_view kCvNoteForm = "KCV_0002.PFM";
inline constexpr std::string_view kUnitHeadingForm = "KCV_0010.PFM";
inline constexpr std::string_view kUnitRowForm = "KCV_0011.PFM";
inline constexpr std::string_view kUnitEndForm = "KCV_0012.PFM";
inline constexpr std::string_view kDrainUnitHeadingForm = "KCV_0020.PFM";
inline constexpr std::string_view kDrainUnitRowForm = "KCV_0021.PFM";
inline constexpr std::string_view kDrainUnitEndForm = "KCV_0022.PFM";
inline constexpr std::string_view kDrainFactorHeadingForm = "KCV_0023.PFM";
inline constexpr std::string_view kDrainFactorRowForm = "KCV_0024.PFM";
inline constexpr std::string_view kDrainFactorEndForm = "KCV_0025.PFM";
inline constexpr std::string_view kStageTimeHeadingForm = "TIJ_0000.PFM";
// A row of the stage's and of the overall time table.
inline constexpr std::string_view kTimeRowForm = "TIJ_0001.PFM";
inline constexpr std::string_view kStageTimeEndForm = "TIJ_0002.PFM";
inline constexpr std::string_view kTimeGraphGuideForm = "TIJ_0003.PFM";
inline constexpr std::string_view kOverallTimeHeadingForm = "TIJ_0010.PFM";
// Written between the overall table's heading and its rows; shows nothing.
inline constexpr std::string_view kOverallTimeLeadForm = "TIJ_0011.PFM";
inline constexpr std::string_view kOverallTimeEndForm = "TIJ_0012.PFM";

// The prediction program's station report.
inline constexpr std::string_view kStationTitleForm = "TOLMCURV.PFM";
inline constexpr std::string_view kRegressionForm = "KAIKI.PFM";

// Degrees of consolidation of a time table, in %, one per day field.
inline constexpr int kTimeDegrees = 9;
// A time row: day of degree k in field k, settlement in field 10 + k, the
// reference layer in 9, the final settlement in 19.
inline constexpr int kTimeLayerField = 9;
inline constexpr int kTimeSettlementBase = 10;
inline constexpr int kTimeFinalField = 19;

// The fields of each form by name. The catalogue (forms.cpp) captions them
// and the writers fill them through these names only, so a field number is
// written once, here. A heading's, a note's or a statement's text is its
// field 0 (Text::Value).
namespace field {
struct Text {
    enum : int { Value = 0 };
};
// A heading that names its loading stage ("2 段").
struct StageHeading {
    enum : int { Stage = 0 };
};
struct ConditionTitle {
    enum : int { Project = 0 };
};
struct SoilConditionRow {
    enum : int { Layer, Soil, Method, Drainage, UnitWeight, NValue, Cc };
};
struct DrainConditionRow {
    enum : int { Layer, Arrangement, Spacing, Diameter, Alpha, PermeabilityRatio, ShareRatio, ReplaceRatio };
};
struct EmbankmentRow {
    enum : int { No, UnitWeight, StartDay, Days };
};
// A row of the point-load and of the line-load table.
struct LoadRow {
    enum : int { No, X, Y, Load, StartDay, Days };
};
struct StripLoadRow {
    enum : int { No, X1, Y1, X2, Y2, Load, StartDay, Days };
};
struct PositionTitle {
    enum : int { Name, X };
};
struct ColumnRow {
    enum : int { Top, Bottom, Thickness, UnitWeight, TopOverburden, BottomOverburden, P0, Unloading, Soil };
};
// Stage s (1 to 5) in FirstStage + s - 1.
struct StressRow {
    enum : int { Layer, P0, Unloading, FirstStage };
};
struct SettlementInputRow {
    enum : int { Layer, Soil, P0, Unloading, Dp, E0, E1, Mv, Cc };
};
struct SettlementRow {
    enum : int { Layer, Method, Thickness, Strain, DpMinusU, LogRatio, Settlement, Beta };
};
struct SettlementTotal {
    enum : int { Settlement = 0 };
};
struct StageSettlementRow {
    enum : int { Layer, Method, Thickness, FirstStage, Soil = 8 };
};
// Stage s (1 to 5) in FirstStage + s - 1.
struct StageSettlementTotal {
    enum : int { FirstStage = 0 };
};
struct CvRow {
    enum : int { Layer, Soil, Drainage, Thickness, P0, Unloading, Dp, CvPressure, Cv };
};
struct UnitRow {
    enum : int { Layer, Thickness, DrainLength, Cv, Increment };
};
struct DrainUnitRow {
    enum : int { Layer, Drain, DrainLength, Cv, EffectiveDiameter, Alpha, Ch, Increment };
};
struct DrainFactorRow {
    enum : int { Layer, F, L };
};
struct StationTitle {
    enum : int { Project, Station };
};
struct Regression {
    enum : int { Start = 1, End, Intercept, Slope, R2, FinalSettlement };
};
}  // namespace field

}  // namespace kova::print
