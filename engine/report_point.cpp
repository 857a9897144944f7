// TK_DT_nn.PDT: the report of one calculation position.
#include <algorithm>
#include <optional>

#include "engine/consolidation.hpp"
#include "engine/report.hpp"
#include "engine/report_common.hpp"
#include "engine/report_point.hpp"
#include "engine/rounding.hpp"
#include "engine/timetable.hpp"
#include "print/forms.hpp"
#include "textio/cformat.hpp"

namespace kova::engine {

int point_unit_count(const EngineState& st) {
    if (st.history.stage_count <= 0) return 0;
    return std::clamp(st.timing.timing_unit_count, 0, kMaxUnits);
}

namespace {

using print::Dashes;
namespace field = print::field;
using print::kTimeDegrees;
using print::kTimeFinalField;
using print::kTimeLayerField;
using print::kTimeSettlementBase;

// Before a settlement kept from an earlier stage.
constexpr const char* kKeptMark = "＊";

constexpr const char* kNoSoilText = "この位置の下には土層がないため、沈下量は計算されていません。";

// The compact history entry of a real stage number (1..5), if it had loads.
std::optional<int> entry_of_stage(const PositionHistory& h, int stage) {
    for (int j = 0; j < h.stage_count; ++j)
        if (h.stage_number[j] == stage) return j;
    return std::nullopt;
}

std::string day_text(const TableEntry& e) {
    switch (e.kind) {
    case DayKind::Reached: return CFormat("%6d", e.day);
    case DayKind::DuringLoading: return CFormat("※%4d", e.day < 0 ? -e.day : e.day);
    // Its own mark: a degree the horizon ends before is not "no value".
    case DayKind::Missed: return "  未達";
    case DayKind::NoValue: break;
    }
    return Dashes(4);
}

// A layer's settlement at an entry; one kept from an earlier stage (no
// rebound) carries the mark its note explains.
std::string settlement_text(const PositionHistory& h, int j, int i) {
    if (h.stage_kept_from[j][i] == 0) return real_text("%7.3lf", h.stage_settlement[j][i]);
    return kKeptMark + real_text("%5.3lf", h.stage_settlement[j][i]);
}

// The factor beta of a layer (0 < beta <= 1, the run refuses any other):
// three decimals, or two significant digits where those would show it as
// 0.000.
std::string beta_text(double beta) {
    return real_text(beta < 0.0005 ? "%7.1le" : "%7.3lf", beta);
}

struct Ctx {
    const EngineState& st;
    const CalcInput& in;
    const PositionHistory& h;
    const SoilLayerRec& layer(int slot) const { return in.soil[h.layer_index[slot]]; }
    // The method a report shows for a layer, as the run computed it.
    const SettleMethodRow& method(int slot) const { return MethodInRun(h.method[slot], in.UseSandImmediate); }
    int unit_layer(int r) const { return st.timing.timing_unit_layer[r]; }
    const SettleMethodRow& unit_method(int r) const {
        return MethodInRun(in.soil[unit_layer(r)].method, in.UseSandImmediate);
    }
};

void write_column(print::PageWriter& p, const Ctx& c) {
    const CutColumn& cuts = c.st.work.cuts;
    p.Form(false, print::kColumnHeadingForm);
    for (int i = 0; i < cuts.cut_count; ++i) {
        p.Form(false, print::kColumnRowForm);
        p.Field(field::ColumnRow::Top, real_text("%7.3lf", cuts.cut_top[i]));
        p.Field(field::ColumnRow::Bottom, real_text("%7.3lf", cuts.cut_bottom[i]));
        p.Field(field::ColumnRow::Thickness, real_text("%6.3lf", cuts.cut_top[i] - cuts.cut_bottom[i]));
        p.Field(field::ColumnRow::UnitWeight, real_text("%6.3lf", c.in.cuts[cuts.cut_index[i]].unit_weight));
        p.Field(field::ColumnRow::TopOverburden, Dashes(3));
        p.Field(field::ColumnRow::BottomOverburden, Dashes(3));
        p.Field(field::ColumnRow::P0, Dashes(3));
        p.Field(field::ColumnRow::Unloading, real_text("%7.3lf", cuts.cut_load[i]));
        p.Field(field::ColumnRow::Soil, "切り土");
    }
    const SoilColumn& col = c.st.work.column;
    double overburden = 0;
    for (int i = 0; i < c.h.layer_count; ++i) {
        const SoilLayerRec& s = c.layer(i);
        const double thick = col.top[i] - col.bottom[i];
        p.Form(false, print::kColumnRowForm);
        p.Field(field::ColumnRow::Top, real_text("%7.3lf", col.top[i]));
        p.Field(field::ColumnRow::Bottom, real_text("%7.3lf", col.bottom[i]));
        p.Field(field::ColumnRow::Thickness, real_text("%6.3lf", thick));
        p.Field(field::ColumnRow::UnitWeight, real_text("%6.3lf", s.unit_weight));
        p.Field(field::ColumnRow::TopOverburden, real_text("%7.3lf", overburden));
        overburden += round_to_step(thick * s.unit_weight, 0.001, 0);
        p.Field(field::ColumnRow::BottomOverburden, real_text("%7.3lf", overburden));
        p.Field(field::ColumnRow::P0, real_text("%7.3lf", c.h.p0[i]));
        p.Field(field::ColumnRow::Unloading, Dashes(3));
        p.Field(field::ColumnRow::Soil, kind_text(s.soil_kind));
    }
}

void write_stress_table(print::PageWriter& p, const Ctx& c) {
    p.Reserve(c.h.layer_count + 4);
    p.Form(false, print::kStressHeadingForm);
    for (int i = 0; i < c.h.layer_count; ++i) {
        p.Form(false, print::kStressRowForm);
        p.Field(field::StressRow::Layer, CFormat("%2d", c.h.layer_index[i] + 1));
        p.Field(field::StressRow::P0, real_text("%7.3lf", c.h.p0[i]));
        p.Field(field::StressRow::Unloading, real_text("%7.3lf", c.h.unloading[i]));
        for (int stage = 1; stage <= kMaxStages; ++stage) {
            auto j = entry_of_stage(c.h, stage);
            p.Field(field::StressRow::FirstStage + stage - 1, j ? real_text("%7.3lf", c.h.stage_dp[*j][i]) : Dashes(3));
        }
    }
}

// The note under a stage's settlements naming, per marked layer, the stage
// whose settlement it keeps; empty when none is kept.
std::string kept_note(const Ctx& c, int j) {
    std::string s;
    for (int i = 0; i < c.h.layer_count; ++i) {
        const int from = c.h.stage_kept_from[j][i];
        if (from == 0 || !Settles(c.method(i))) continue;
        s += CFormat(s.empty() ? "層 %d：%d 段" : "、層 %d：%d 段", c.h.layer_index[i] + 1, from);
    }
    return s.empty() ? s : "前の段階までの最大値（" + s + "）";
}

void write_settlement_pages(print::PageWriter& p, const Ctx& c, int j) {
    const PositionHistory& h = c.h;
    p.Form(true, print::kSettlementCalcHeadingForm);
    p.Field(field::StageHeading::Stage, CFormat("%d 段", h.stage_number[j]));
    for (int i = 0; i < h.layer_count; ++i) {
        const SettleMethodRow& m = c.method(i);
        const bool loaded = h.stage_loaded[j][i];
        p.Form(false, print::kSettlementInputRowForm);
        p.Field(field::SettlementInputRow::Layer, CFormat("%2d", h.layer_index[i] + 1));
        p.Field(field::SettlementInputRow::Soil, kind_text(c.layer(i).soil_kind));
        // Each kind of result shows its own columns, the rest dashes.
        const MethodResult r = m.result;
        p.Field(field::SettlementInputRow::E0, r == MethodResult::ELogP || r == MethodResult::Cc
                                                   ? real_text("%6.3lf", h.stage_e1[j][i])
                                                   : Dashes(3));
        // Without load the layer is not taken along its curve.
        p.Field(field::SettlementInputRow::E1,
                r == MethodResult::ELogP && loaded ? real_text("%6.3lf", h.stage_e2[j][i]) : Dashes(3));
        p.Field(field::SettlementInputRow::Mv,
                r == MethodResult::Mv ? real_text("%8.6lf", h.stage_mv[j][i]) : Dashes(4));
        p.Field(field::SettlementInputRow::Cc,
                r == MethodResult::Cc ? real_text("%6.4lf", h.stage_cc[j][i]) : Dashes(3));
        p.Field(field::SettlementInputRow::P0, real_text("%7.3lf", h.p0[i]));
        p.Field(field::SettlementInputRow::Unloading, real_text("%7.3lf", h.unloading[i]));
        p.Field(field::SettlementInputRow::Dp, real_text("%7.3lf", h.stage_dp[j][i]));
    }
    p.Form(false, print::kSettlementInputEndForm);
    p.Form(false, print::kSettlementHeadingForm);
    for (int i = 0; i < h.layer_count; ++i) {
        const SettleMethodRow& m = c.method(i);
        p.Form(false, print::kSettlementRowForm);
        p.Field(field::SettlementRow::Layer, CFormat("%2d", h.layer_index[i] + 1));
        p.Field(field::SettlementRow::Thickness, real_text("%6.3lf", h.thickness[i]));
        p.Field(field::SettlementRow::Settlement, !Settles(m) ? Dashes(3) : settlement_text(h, j, i));
        p.Field(field::SettlementRow::Beta, !Settles(m) ? Dashes(3) : beta_text(c.layer(i).beta));
        p.Field(field::SettlementRow::Method, m.printed);
        // A layer without load has no strain of its own at this stage: a
        // 0 there would contradict the formula its caption gives.
        const MethodResult r = h.stage_loaded[j][i] ? m.result : MethodResult::None;
        const double strain = h.stage_strain[j][i];
        p.Field(field::SettlementRow::Strain, r == MethodResult::ELogP ? real_text("%6.4lf", strain) : Dashes(3));
        p.Field(field::SettlementRow::DpMinusU, r == MethodResult::Mv ? real_text("%8.4lf", strain) : Dashes(4));
        p.Field(field::SettlementRow::LogRatio, r == MethodResult::Cc ? real_text("%8.5lf", strain) : Dashes(4));
    }
    p.Form(false, print::kSettlementTotalForm);
    p.Field(field::SettlementTotal::Settlement, real_text("%7.3lf", h.stage_total[j + 1]));
    if (std::string kept = kept_note(c, j); !kept.empty()) {
        p.Form(false, print::kSettlementKeptNoteForm);
        p.Field(field::Text::Value, kept);
    }
    p.Form(false, print::kSettlementNoteForm);
    p.Field(field::Text::Value,
            c.in.MvPMethod == 1 ? "√(P'･(P'+ΔP')) に対する体積圧縮係数" : "P'+ΔP'/2 に対する体積圧縮係数");
}

void write_summary(print::PageWriter& p, const Ctx& c) {
    const PositionHistory& h = c.h;
    p.Form(true, print::kStageSettlementHeadingForm);
    for (int i = 0; i < h.layer_count; ++i) {
        const SettleMethodRow& m = c.method(i);
        p.Form(false, print::kStageSettlementRowForm);
        p.Field(field::StageSettlementRow::Layer, CFormat("%2d", h.layer_index[i] + 1));
        p.Field(field::StageSettlementRow::Soil, kind_text(c.layer(i).soil_kind));
        p.Field(field::StageSettlementRow::Method, m.printed);
        p.Field(field::StageSettlementRow::Thickness, real_text("%6.3lf", h.thickness[i]));
        for (int stage = 1; stage <= kMaxStages; ++stage) {
            auto j = entry_of_stage(h, stage);
            p.Field(field::StageSettlementRow::FirstStage + stage - 1,
                    j && Settles(m) ? settlement_text(h, *j, i) : Dashes(3));
        }
    }
    p.Form(false, print::kStageSettlementTotalForm);
    for (int stage = 1; stage <= kMaxStages; ++stage) {
        auto j = entry_of_stage(h, stage);
        p.Field(field::StageSettlementTotal::FirstStage + stage - 1,
                j ? real_text("%7.3lf", h.stage_total[*j + 1]) : Dashes(3));
    }
}

void write_consolidation_pages(print::PageWriter& p, const Ctx& c, int j) {
    const PositionHistory& h = c.h;
    const StageTiming& tm = c.st.timing;
    const int units = point_unit_count(c.st);
    p.Form(true, print::kConsolidationHeadingForm);
    p.Field(field::StageHeading::Stage, CFormat("%d 段", h.stage_number[j]));
    for (int i = 0; i < h.layer_count; ++i) {
        const SoilLayerRec& s = c.layer(i);
        p.Form(false, print::kCvRowForm);
        p.Field(field::CvRow::Layer, CFormat("%2d", h.layer_index[i] + 1));
        p.Field(field::CvRow::Soil, kind_text(s.soil_kind));
        p.Field(field::CvRow::Drainage, s.drainage == 0 ? " 両面 " : " 片面 ");
        p.Field(field::CvRow::Thickness, real_text("%6.3lf", h.thickness[i]));
        p.Field(field::CvRow::P0, real_text("%7.3lf", h.p0[i]));
        p.Field(field::CvRow::Unloading, real_text("%7.3lf", h.unloading[i]));
        p.Field(field::CvRow::Dp, real_text("%7.3lf", h.stage_dp[j][i]));
        if (s.soil_kind == 0) {
            p.Field(field::CvRow::CvPressure, real_text("%8.3lf", h.stage_cv_pressure[j][i]));
            p.Field(field::CvRow::Cv, real_text("%8.6lf", h.stage_cv[j][i]));
        } else {
            p.Field(field::CvRow::CvPressure, Dashes(4));
            p.Field(field::CvRow::Cv, Dashes(4));
        }
    }
    p.Form(false, print::kCvNoteForm);
    p.Field(field::Text::Value, c.in.CvPMethod == 1 ? "√(P'･(P'+ΔP')) に対する圧密係数（m$U2$Z/日）"
                                                          : "P'+ΔP'/2 に対する圧密係数（m$U2$Z/日）");

    bool anyDrained = false;
    for (int r = 0; r < units; ++r)
        if (unit_drained(c.st, r)) anyDrained = true;
    auto increment = [&](int r) {
        return !Settles(c.unit_method(r)) ? Dashes(3) : real_text("%7.3lf", tm.stage_unit_increment[j][r]);
    };
    if (!anyDrained) {
        p.Form(false, print::kUnitHeadingForm);
        for (int r = 0; r < units; ++r) {
            p.Form(false, print::kUnitRowForm);
            p.Field(field::UnitRow::Layer, CFormat("%2d", c.unit_layer(r) + 1));
            p.Field(field::UnitRow::Thickness, real_text("%7.3lf", tm.stage_unit_thickness[j][r]));
            p.Field(field::UnitRow::DrainLength, real_text("%7.3lf", tm.stage_unit_drain_length[j][r]));
            p.Field(field::UnitRow::Cv, real_text("%8.6lf", tm.stage_unit_coefficient[j][r]));
            p.Field(field::UnitRow::Increment, increment(r));
        }
        p.Form(false, print::kUnitEndForm);
    } else {
        p.Form(false, print::kDrainUnitHeadingForm);
        for (int r = 0; r < units; ++r) {
            const SoilLayerRec& s = c.in.soil[c.unit_layer(r)];
            const bool drained = unit_drained(c.st, r);
            p.Form(false, print::kDrainUnitRowForm);
            p.Field(field::DrainUnitRow::Layer, CFormat("%2d", c.unit_layer(r) + 1));
            // Drains whose data the calculation refused are not shown as
            // drains: the unit was computed without them.
            if (!drained)
                p.Field(field::DrainUnitRow::Drain, "      無処理");
            else
                p.Field(field::DrainUnitRow::Drain, s.drain_kind == 1 ? "ドレーン三角形配置" : "ドレーン正方形配置");
            p.Field(field::DrainUnitRow::Increment, increment(r));
            if (drained) {
                p.Field(field::DrainUnitRow::DrainLength, Dashes(3));
                p.Field(field::DrainUnitRow::Cv, " " + Dashes(3));
                p.Field(field::DrainUnitRow::EffectiveDiameter, real_text("%7.3lf", tm.stage_unit_drain_length[j][r]));
                p.Field(field::DrainUnitRow::Alpha, real_text("%7.3lf", s.alpha));
                p.Field(field::DrainUnitRow::Ch, real_text("%8.6lf", tm.stage_unit_coefficient[j][r]));
            } else {
                p.Field(field::DrainUnitRow::DrainLength, real_text("%7.3lf", tm.stage_unit_drain_length[j][r]));
                p.Field(field::DrainUnitRow::Cv, real_text("%8.6lf", tm.stage_unit_coefficient[j][r]));
                p.Field(field::DrainUnitRow::EffectiveDiameter, Dashes(3));
                p.Field(field::DrainUnitRow::Alpha, Dashes(3));
                p.Field(field::DrainUnitRow::Ch, " " + Dashes(3));
            }
        }
        p.Form(false, print::kDrainUnitEndForm);
        p.Form(false, print::kDrainFactorHeadingForm);
        for (int r = 0; r < units; ++r) {
            p.Form(false, print::kDrainFactorRowForm);
            p.Field(field::DrainFactorRow::Layer, CFormat("%2d", c.unit_layer(r) + 1));
            if (unit_drained(c.st, r)) {
                const DrainFactors fl = drain_factors(layer_drains(c.in.soil[c.unit_layer(r)]),
                                                      tm.stage_unit_thickness[j][r]);
                p.Field(field::DrainFactorRow::F, real_text("%8.3lf", fl.F));
                p.Field(field::DrainFactorRow::L, real_text("%8.3lf", fl.L));
            } else {
                p.Field(field::DrainFactorRow::F, " " + Dashes(3));
                p.Field(field::DrainFactorRow::L, " " + Dashes(3));
            }
        }
        p.Form(false, print::kDrainFactorEndForm);
    }

    p.Reserve(2 * units + 5);
    p.Form(false, print::kStageTimeHeadingForm);
    for (int r = 0; r < units; ++r) {
        p.Form(false, print::kTimeRowForm);
        p.Field(kTimeLayerField, CFormat("%2d", c.unit_layer(r) + 1));
        const bool none = !Settles(c.unit_method(r));
        const UnitTimeline tl = unit_timeline(c.st, r);
        // k == kTimeDegrees is the final settlement, which has no day.
        for (int k = 0; k <= kTimeDegrees; ++k) {
            if (none) {
                if (k != kTimeDegrees) p.Field(k, Dashes(4));
                p.Field(kTimeSettlementBase + k, Dashes(4));
                continue;
            }
            const TableEntry e = consolidation_time_table(tl, j, k);
            if (k < kTimeDegrees) p.Field(k, day_text(e));
            p.Field(kTimeSettlementBase + k, real_text("%6.3lf", e.settlement));
        }
    }
    p.Form(false, print::kStageTimeEndForm);
}

// What a day of the overall time table counts for the graph's time axis:
// only days that were reached.
int axis_day(const TableEntry& e) {
    if (e.kind != DayKind::Reached && e.kind != DayKind::DuringLoading) return 0;
    return e.day < 0 ? -e.day : e.day;
}

// The overall time table (computed ahead in st.time_curves for this
// position, or now); returns its longest day (0 when none).
int write_overall_table(print::PageWriter& p, const Ctx& c, int position) {
    const int units = point_unit_count(c.st);
    const StageTiming& tm = c.st.timing;
    std::array<std::array<TableEntry, 9>, kMaxUnits> own;
    const std::array<std::array<TableEntry, 9>, kMaxUnits>* tables = &c.st.time_curves.overall;
    int longest = c.st.time_curves.longest;
    if (c.st.time_curves.position != position) {
        longest = overall_time_tables(c.st, own);
        tables = &own;
    }
    p.Form(true, print::kOverallTimeHeadingForm);
    p.Form(false, print::kOverallTimeLeadForm);
    for (int r = 0; r < units; ++r) {
        p.Form(false, print::kTimeRowForm);
        p.Field(kTimeLayerField, CFormat("%2d", c.unit_layer(r) + 1));
        const bool none = !Settles(c.unit_method(r));
        if (none) {
            for (int k = 0; k < kTimeDegrees; ++k) {
                p.Field(k, Dashes(4));
                p.Field(kTimeSettlementBase + k, Dashes(4));
            }
            p.Field(kTimeFinalField, Dashes(4));
            continue;
        }
        const std::array<TableEntry, 9>& table = (*tables)[r];
        for (int k = 0; k < kTimeDegrees; ++k) {
            const TableEntry& e = table[k];
            p.Field(k, day_text(e));
            p.Field(kTimeSettlementBase + k, real_text("%6.3lf", e.settlement));
        }
        p.Field(kTimeFinalField, real_text("%6.3lf", tm.stage_unit_total[c.h.stage_count - 1][r]));
    }
    p.Form(false, print::kOverallTimeEndForm);
    return longest;
}

}  // namespace

int overall_time_tables(const EngineState& st, std::array<std::array<TableEntry, 9>, kMaxUnits>& out) {
    const Ctx c{st, st.input, st.history};
    int longest = 0;
    for (int r = 0; r < point_unit_count(st); ++r) {
        out[r] = {};
        if (!Settles(c.unit_method(r))) continue;
        out[r] = overall_time_table(unit_timeline(st, r));
        for (const TableEntry& e : out[r]) longest = std::max(longest, axis_day(e));
    }
    return longest;
}

void write_point_report(const EngineState& st, int position) {
    const Ctx c{st, st.input, st.history};
    const CalcPoint& pt = st.input.positions[position];
    print::PageWriter p = open_report_page(st, CFormat("TK_DT_%02d.PDT", position + 1),
                                           CFormat("沈下算出点-No.%02d", position + 1));
    p.Form(true, print::kPositionTitleForm);
    p.Field(field::PositionTitle::Name, pt.name);
    p.Field(field::PositionTitle::X, real_text("%8.3lf", pt.x));
    // Nothing was computed under a position without soil: its page says so
    // and carries no figure and no drawing that could be read as a result.
    if (c.h.layer_count == 0) {
        p.Form(false, print::kNoSoilForm);
        p.Field(field::Text::Value, kNoSoilText);
        p.Close();
        return;
    }
    write_column(p, c);
    write_stress_table(p, c);
    for (int j = 0; j < c.h.stage_count; ++j) write_settlement_pages(p, c, j);
    write_summary(p, c);

    p.Form(true, "", CFormat("TNK_Z_%02d.PZK", position + 1));
    draw_settlement_profile(st, position);
    if (st.missing_curve_shown) {
        p.Close();
        return;
    }
    for (int j = 0; j < c.h.stage_count; ++j) write_consolidation_pages(p, c, j);
    p.Form(true, print::kTimeGraphGuideForm, "TIJ_0003.PZK");
    const int longest = write_overall_table(p, c, position);
    p.Form(false, "", CFormat("TNJ_H_%02d.PZK", position + 1));
    draw_time_settlement(st, position, longest);
    p.Close();
}

}  // namespace kova::engine
