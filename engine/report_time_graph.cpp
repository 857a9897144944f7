// TNJ_H_nn.PZK: load-time diagram above the settlement-time curves of one
// calculation position.
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <thread>
#include <vector>

#include "engine/report.hpp"
#include "engine/report_common.hpp"
#include "engine/report_point.hpp"
#include "engine/rounding.hpp"
#include "engine/timetable.hpp"
#include "textio/cformat.hpp"

namespace kova::engine {
namespace {

// Settlement of a unit on days 0 to b - 1, into v[0..b). A stage's share
// only grows and is exactly its final value once its degree of
// consolidation reaches 1 in double arithmetic (after its loading period);
// from the day every stage is there, or never settles in time, the sum no
// longer changes. Skipping that tail changes no value, nor does leaving out
// the stages whose every value is a zero.
void unit_settlement_days(const UnitTimeline& tl, int b, double* v) {
    std::array<std::optional<StageCurve>, kMaxStages> curves;
    int n = 0;
    for (int j = 0; j < tl.stage_count; ++j) {
        StageCurve c(tl.stages[j]);
        if (!c.adds_nothing()) curves[n++].emplace(c);
    }
    std::array<bool, kMaxStages> done{};
    v[0] = 0;
    int t = 1;
    for (int left = n; t < b && left > 0; ++t) {
        double s = 0;
        for (int j = 0; j < n; ++j) {
            const double sj = curves[j]->at(t);
            s += sj;
            const UnitStage& u = curves[j]->stage();
            if (!done[j] && t > u.start && static_cast<long long>(t) - u.start >= u.period &&
                sj == u.settlement) {
                done[j] = true;
                --left;
            }
        }
        v[t] = s;
    }
    for (; t < b; ++t) v[t] = v[t - 1];
}

int curve_threads(const EngineState& st, int units) {
    const int threads = st.curve_threads > 0 ? st.curve_threads : static_cast<int>(std::thread::hardware_concurrency());
    return std::min(std::clamp(threads, 1, 8), units);
}

// Every unit's days into values (unit r at r * b); the units are
// independent, so with threads they are computed in parallel, each by
// exactly the same arithmetic as alone.
void all_unit_days(const EngineState& st, int units, int b, int threads, double* values) {
    auto work = [&](int first, int stride) {
        for (int r = first; r < units; r += stride)
            unit_settlement_days(unit_timeline(st, r), b, values + static_cast<std::size_t>(r) * b);
    };
    if (threads <= 1) {
        work(0, 1);
        return;
    }
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) pool.emplace_back(work, t, threads);
    work(0, threads);
    for (auto& t : pool) t.join();
}

// The days of the units one after the other: computed ahead
// (st.time_curves), or all at once with threads, or else each in turn into
// one buffer.
class UnitDays {
public:
    UnitDays(const EngineState& st, int position, int units, int b) : st_(st), b_(std::max(b, 1)) {
        const TimeCurveCache& c = st.time_curves;
        if (c.position == position && c.days == b_ && c.units == units &&
            c.values.size() == static_cast<std::size_t>(units) * b_) {
            all_ = c.values.data();
            return;
        }
        const int threads = curve_threads(st, units);
        if (threads <= 1) {
            own_.resize(b_);
            return;
        }
        own_.resize(static_cast<std::size_t>(units) * b_);
        all_unit_days(st, units, b_, threads, own_.data());
        all_ = own_.data();
    }
    // Unit r's days; without threads valid until the next call.
    const double* of(int r) {
        if (all_) return all_ + static_cast<std::size_t>(r) * b_;
        unit_settlement_days(unit_timeline(st_, r), b_, own_.data());
        return own_.data();
    }

private:
    const EngineState& st_;
    int b_;
    const double* all_ = nullptr;
    std::vector<double> own_;
};

}  // namespace

int time_axis_days(int longestTime) {
    const int longest = std::clamp(longestTime, 0, kTimeHorizonDays);
    return static_cast<int>(std::floor((longest + 100) * 0.01)) * 100;
}

double settlement_axis_metres(double T) {
    const double s = std::floor((T + 0.2) * 10) * 0.1;
    // A heave or a rounding quirk must not leave the axis empty or reversed.
    return std::isfinite(s) && s >= 0.2 ? s : 0.2;
}

void prepare_time_settlement(EngineState& st) {
    TimeCurveCache& c = st.time_curves;
    c.position = -1;
    // A missing Cv curve leaves the position without its drawing.
    if (st.missing_curve_shown || st.position < 0) return;
    const int b = std::max(time_axis_days(longest_table_day(st)), 1);
    const int units = point_unit_count(st);
    c.values.resize(static_cast<std::size_t>(units) * b);
    all_unit_days(st, units, b, curve_threads(st, units), c.values.data());
    c.days = b;
    c.units = units;
    c.position = st.position;
}

void draw_time_settlement(const EngineState& st, int position, int longestTime) {
    const CalcInput& in = st.input;
    const PositionHistory& h = st.history;
    print::DrawingWriter w =
        open_report_drawing(st, CFormat("TNJ_H_%02d.PZK", position + 1), print::kSizeTimeGraph);
    w.Line(0, 0, 0, 0, 4200, 0, 0, 2);
    w.Line(0, 0, 4200, 0, 4200, 2700, 0, 2);
    w.Line(0, 0, 4200, 2700, 0, 2700, 0, 2);
    w.Line(0, 0, 0, 2700, 0, 0, 0, 2);
    w.Line(0, 0, 500, 400, 4100, 400, 0, 2);
    w.Line(0, 0, 500, 500, 500, 2600, 0, 2);
    w.Line(0, 0, 500, 1000, 4100, 1000, 0, 2);

    const int n = h.stage_count;
    const double T = h.stage_total[n];
    const int b = time_axis_days(longestTime);
    const int labelStep = b < 200 ? 20 : (b < 1000 ? 200 : 500);
    const int plotStep = b < 1000 ? 1 : 2;
    const double sx = 3500.0 / b;
    const double Smax = settlement_axis_metres(T);
    const double sy = 1500 / Smax;

    // Settlement of every unit on every day of the axis, computed once for
    // its curve and added up, unit after unit, for the column curve.
    const int units = point_unit_count(st);
    std::vector<double> unitSum(std::max(b, 1), 0.0);
    UnitDays unitDays(st, position, units, b);

    // Unit curves of the consolidating methods.
    for (int r = 0; r < units; ++r) {
        const double* day = unitDays.of(r);
        for (int t = 1; t < b; ++t) unitSum[t] += day[t];
        const int layer = st.timing.timing_unit_layer[r];
        const int method = effective_method(in, in.soil[layer].method);
        if (method > 2) continue;
        int px = 0, py = 0;
        for (int t = 1; t < b; t += plotStep) {
            const int x = dint(t * sx);
            const int y = dint(day[t] * sy);
            if (x != px || y != py) {
                w.Line(500, 1000, px, py, x, y, 0, 2);
                px = x;
                py = y;
            }
        }
        w.Text(500, 1000, px - 140, py - 10, 70, 70, 0, 2, CFormat("%2d層", layer + 1));
    }

    // Column curve: all units and the immediate settlement of the sand
    // layers, applied with the loads.
    std::vector<int> sandSlots;
    if (in.UseSandImmediate == 1)
        for (int i = 0; i < h.layer_count; ++i)
            if (h.method[i] == kMethodHough) sandSlots.push_back(i);
    double residual = std::fabs(in.ResidualSettlement);
    bool markerDone = false;
    int px = 0, py = 0;
    for (int t = 1; t < b; ++t) {
        double g = unitSum[t];
        for (int i : sandSlots)
            for (int j = 0; j < n; ++j) {
                const double inc = h.stage_settlement[j][i] - (j > 0 ? h.stage_settlement[j - 1][i] : 0);
                g += ramp_load_fraction(t, inc, st.timing.stage_start[j], st.timing.stage_days[j]);
            }
        const int m = dint(t * sx);
        const int o = dint(g * sy);
        // On a long axis many days share one drawing point; a line of no
        // length draws nothing, so only moves are written (as for the unit
        // curves).
        if (m != px || o != py) {
            w.Line(500, 1000, px, py, m, o, 0, 2);
            px = m;
            py = o;
        }

        // The residual settlement only on the days that can still place the
        // marker.
        bool marker = false;
        double remaining = 0;
        if (in.TimeCondKind == 1) {
            if (!markerDone && residual < T) {
                remaining = T - round_to_step(g, 0.001, 0);
                marker = remaining <= residual;
            }
        } else if (in.TimeCondKind == 0 && t == in.LeavePeriod) {
            remaining = T - round_to_step(g, 0.001, 0);
            marker = true;
        }
        if (!marker) continue;
        markerDone = true;
        const int f = dint(sy * T);
        w.Line(500, 1000, m, -650, m, f, 0, 1);
        w.Line(500, 1000, m - 25, f, m + 25, f, 0, 1);
        w.Line(500, 1000, m, f, m - 10, f - 30, 0, 1);
        w.Line(500, 1000, m, f, m + 10, f - 30, 0, 1);
        w.Line(500, 1000, m, o, m - 10, o + 30, 0, 1);
        w.Line(500, 1000, m, o, m + 10, o + 30, 0, 1);
        std::string rest = real_text("%1.3lfm", remaining);
        w.Text(500, 1000, m - 20, dint(label_bytes(rest) * 0.5 * 35 + (g + T) * 0.5 * sy), 70, 70,
               90, 1, rest);
        std::string day = CFormat("%d", t);
        w.Text(500, 0, m - dint(label_bytes(day) * 0.5 * 35), 350, 70, 70, 0, 1, day);
    }
    w.Text(500, 1000, px - 140, py - 10, 70, 70, 0, 2, "全層");

    // Load diagram: one ramp per loaded stage up to its share of the height.
    {
        int cx = 0, ch = 0;
        for (int k = 1; k <= n; ++k) {
            const int a = st.timing.stage_start[k - 1];
            const int d = st.timing.stage_days[k - 1];
            const int xa = dint(a * sx);
            w.Line(500, 1000, cx, -ch, xa, -ch, 1, 2);
            const int xe = dint((static_cast<double>(a) + d) * sx);
            const int hk = dint(500.0 / n * k);
            w.Line(500, 1000, xa, -ch, xe, -hk, 1, 2);
            cx = xe;
            ch = hk;
        }
        w.Line(500, 1000, cx, -ch, 3500, -ch, 1, 2);
    }

    const int tickStep = b >= 200 ? 100 : 20;
    for (int t = 0; t <= b; t += tickStep) w.Line(500, 0, dint(t * sx), 400, dint(t * sx), 350, 0, 2);
    for (int t = 0; t <= b; t += labelStep) {
        std::string label = CFormat("%d", t);
        w.Text(500, 0, dint(t * sx) - dint(label_bytes(label) * 70 * 0.25), 350, 70, 70, 0, 2, label);
    }
    w.Text(0, 0, 1700, 220, 100, 100, 0, 2, "経  過  時  間 (日)");

    {
        double s = 0;
        for (int i = 0; i < kMaxScaleSteps && s <= Smax + 0.01; ++i, s += 0.1)
            w.Line(500, 1000, 0, dint(s * sy), -50, dint(s * sy), 0, 2);
        s = 0;
        for (int i = 0; i < kMaxScaleSteps && s <= Smax + 0.01; ++i, s += 0.2)
            w.Text(0, 1000, 330, dint(s * sy) + 35, 70, 70, 0, 2, real_text("%1.1lf", s));
    }
    w.Text(0, 0, 130, 1550, 100, 100, 0, 2, "沈");
    w.Text(0, 0, 130, 1750, 100, 100, 0, 2, "下");
    w.Text(0, 0, 130, 1950, 100, 100, 0, 2, "量");
    w.Text(0, 0, 105, 2150, 100, 100, 0, 2, "(m)");

    for (int k = 1; k <= n; ++k) {
        const int y = -dint(500.0 / n * k);
        w.Line(500, 1000, 0, y, -50, y, 0, 2);
    }
    w.Text(0, 0, 330, 535, 70, 70, 0, 2, CFormat("%3d", n));
    w.Text(0, 0, 130, 650, 100, 100, 0, 2, "荷");
    w.Text(0, 0, 130, 850, 100, 100, 0, 2, "重");

    const int f = dint(sy * T);
    w.Line(500, 1000, 2500, f, 3500, f, 0, 2);
    w.Text(500, 1000, 2500, f + 70, 70, 70, 0, 2, real_text("最終沈下量 %1.3lfm", T));
    w.Close();
}

}  // namespace kova::engine
