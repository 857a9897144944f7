#include "engine/finite.hpp"

#include <algorithm>
#include <cmath>

#include "engine/errors.hpp"
#include "engine/timetable.hpp"
#include "textio/cformat.hpp"

namespace kova::engine {
namespace {

std::string Layer(int layer, const char* quantity) { return CFormat("土層 %d の%s", layer + 1, quantity); }
std::string Unit(int unit, const char* quantity) { return CFormat("第%d圧密ユニットの%s", unit + 1, quantity); }

}  // namespace

std::string column_fault(const SoilColumn& col, const LayerResults& res) {
    const int n = std::min(col.count, kColumnSlots);
    for (int i = 0; i < n; ++i) {
        const int layer = col.layer[i];
        const std::pair<double, const char*> values[] = {
            {col.top[i], "上端標高"},
            {col.bottom[i], "下端標高"},
            {col.depth[i], "深さ"},
            {col.p0[i], "有効土被り圧"},
            {col.dp[i], "増加応力"},
            {col.cv_pressure[i], "圧密係数を求める圧力"},
            {col.cv[i], "圧密係数"},
            {res.cc[i].e1, "初期間隙比"},
            {res.cc[i].cc, "圧縮指数"},
            {res.cc[i].log_ratio, "圧力比の対数"},
            {res.cc[i].settlement, "沈下量"},
            {res.elogp[i].e1, "初期間隙比"},
            {res.elogp[i].e2, "圧密後の間隙比"},
            {res.elogp[i].strain, "ひずみ"},
            {res.elogp[i].settlement, "沈下量"},
            {res.mv[i].mv, "体積圧縮係数"},
            {res.mv[i].dn, "ひずみ"},
            {res.mv[i].settlement, "沈下量"},
        };
        for (auto [v, quantity] : values)
            if (!std::isfinite(v)) return Layer(layer, quantity);
    }
    return {};
}

std::string units_fault(const UnitState& units) {
    const int n = std::min(units.unit_count, kMaxUnits);
    for (int r = 0; r < n; ++r) {
        const std::pair<double, const char*> values[] = {
            {units.unit_coefficient[r], "圧密係数"},
            {units.unit_thickness[r], "換算層厚"},
            {units.unit_drain_length[r], "排水長"},
            {units.unit_settlement[r], "沈下量"},
            {units.unit_previous[r], "前段階までの沈下量"},
        };
        for (auto [v, quantity] : values)
            if (!std::isfinite(v)) return Unit(r, quantity);
    }
    return {};
}

std::string drain_factor_fault(const EngineState& st) {
    const int n = std::min(st.timing.timing_unit_count, kMaxUnits);
    for (int r = 0; r < n; ++r) {
        if (!unit_drained(st, r)) continue;
        const UnitTimeline u = unit_timeline(st, r);
        for (int j = 0; j < u.stage_count; ++j) {
            if (!std::isfinite(u.stages[j].factors.F)) return Unit(r, "ドレーンの係数F(n)");
            if (!std::isfinite(u.stages[j].factors.L)) return Unit(r, "ウェル抵抗の項");
        }
    }
    return {};
}

void check_stage_results(const EngineState& st, double u, double s, const std::string& place,
                         MessageSink& messages) {
    std::string fault = column_fault(st.work.column, st.work.results);
    if (fault.empty() && !std::isfinite(u)) fault = "切土による除荷重";
    if (fault.empty() && !std::isfinite(s)) fault = "沈下量";
    if (fault.empty()) fault = units_fault(st.units);
    if (!fault.empty()) abort_non_finite(messages, place, fault);
}

std::string profile_column_fault(const ColumnWork& work, double ground, double u, double s) {
    std::string fault = column_fault(work.column, work.results);
    if (fault.empty() && !std::isfinite(u)) fault = "切土による除荷重";
    if (fault.empty() && !std::isfinite(s)) fault = "沈下量";
    if (fault.empty() && !std::isfinite(ground)) fault = "地表面標高";
    return fault;
}

std::string non_finite_text(const std::string& place, const std::string& fault) {
    return place + ": " + fault + "が計算できません（数値が有限ではありません）。";
}

void abort_non_finite(MessageSink& messages, const std::string& place, const std::string& fault) {
    messages.Show(Message{non_finite_text(place, fault), "error", MsgIcon::None, MsgButtons::Ok, 0});
    throw RunAborted("non-finite " + fault);
}

std::string position_place(const CalcInput& in, int position, int stage) {
    const CalcPoint& at = in.positions[position];
    std::string place = CFormat("計算位置 %d", position + 1);
    if (!at.name.empty()) place += "「" + at.name + "」";
    place += CFormat(" (X=%.3f)", at.x);
    if (stage > 0) place += CFormat(" 第%d段階", stage);
    return place;
}

std::string profile_place(double x) { return CFormat("沈下量分布 X=%.3f", x); }

}  // namespace kova::engine
