#include "engine/history.hpp"

#include "engine/settlement.hpp"

namespace kova::engine {

void clear_stage_totals(UnitState& units) { units = UnitState{}; }

void clear_layer_results(SoilColumn& col) {
    col.count = 0;
    for (int i = 0; i < kColumnSlots; ++i) {
        col.layer[i] = 0;
        col.top[i] = col.bottom[i] = col.depth[i] = col.p0[i] = 0;
        col.cv[i] = col.cv_pressure[i] = 0;
    }
}

void clear_stress_increments(SoilColumn& col) { col.dp.fill(0); }

void begin_point_history(EngineState& st, double unloading) {
    const SoilColumn& col = st.work.column;
    PositionHistory& h = st.history;
    h = PositionHistory{};
    st.timing = StageTiming{};
    h.layer_count = col.count;
    for (int i = 0; i < col.count; ++i) {
        h.layer_index[i] = col.layer[i];
        h.p0[i] = col.p0[i];
        h.unloading[i] = unloading;
        h.thickness[i] = col.top[i] - col.bottom[i];
        h.method[i] = st.input.soil[col.layer[i]].method;
    }
}

void snapshot_stage_stress(EngineState& st, int entry, int stage) {
    PositionHistory& h = st.history;
    h.stage_count = entry + 1;
    h.stage_number[entry] = stage;
    for (int i = 0; i < kColumnSlots; ++i) h.stage_dp[entry][i] = st.work.column.dp[i];
}

void store_stage_settlement(EngineState& st, int entry, double s) {
    PositionHistory& h = st.history;
    const SoilColumn& col = st.work.column;
    const LayerResults& r = st.work.results;
    for (int i = 0; i < col.count; ++i) {
        switch (SettleMethodOf(st.input.soil[col.layer[i]].method).result) {
        case MethodResult::ELogP:
            h.stage_settlement[entry][i] = r.elogp[i].settlement;
            h.stage_e1[entry][i] = r.elogp[i].e1;
            h.stage_e2[entry][i] = r.elogp[i].e2;
            h.stage_strain[entry][i] = r.elogp[i].strain;
            break;
        case MethodResult::Cc:
            h.stage_settlement[entry][i] = r.cc[i].settlement;
            h.stage_e1[entry][i] = r.cc[i].e1;
            h.stage_cc[entry][i] = r.cc[i].cc;
            h.stage_strain[entry][i] = r.cc[i].log_ratio;
            break;
        case MethodResult::Mv:
            h.stage_settlement[entry][i] = r.mv[i].settlement;
            h.stage_mv[entry][i] = r.mv[i].mv;
            h.stage_strain[entry][i] = r.mv[i].dn;
            break;
        case MethodResult::None: break;
        }
        h.stage_loaded[entry][i] = layer_loaded(col, i, h.unloading[i]);
        h.stage_cv[entry][i] = col.cv[i];
        h.stage_cv_pressure[entry][i] = col.cv_pressure[i];
    }
    h.stage_total[entry + 1] = s;
}

void mark_kept_settlement(EngineState& st, int entry, const std::array<double, kColumnSlots>& own) {
    PositionHistory& h = st.history;
    for (int i = 0; i < h.layer_count; ++i) {
        h.stage_kept_from[entry][i] = 0;
        if (entry == 0 || !(h.stage_settlement[entry][i] > own[i])) continue;
        const int earlier = h.stage_kept_from[entry - 1][i];
        h.stage_kept_from[entry][i] = earlier ? earlier : h.stage_number[entry - 1];
    }
}

}  // namespace kova::engine
