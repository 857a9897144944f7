#include "engine/settlement.hpp"

#include <array>
#include <cmath>

#include "engine/rounding.hpp"

namespace kova::engine {
namespace {

double Round(double v, double step) { return round_to_step(v, step, 0); }

// The method column_settlement computes slot i by.
int SettlingMethod(const CalcInput& in, const SoilColumn& col, int i) {
    const int method = in.soil[col.layer[i]].method;
    return method == kMethodHough && in.UseSandImmediate != 1 ? kMethodNone : method;
}

// The settlement field of slot i that `method` fills (const or not).
template <class Results>
auto SettlementOf(Results& res, int i, int method) -> decltype(&res.mv[i].settlement) {
    switch (method) {
    case kMethodELogP:
    case kMethodHough: return &res.elogp[i].settlement;
    case kMethodCc: return &res.cc[i].settlement;
    case kMethodMv: return &res.mv[i].settlement;
    default: return nullptr;
    }
}

template <typename Interp>
double Lookup(const CurveRec& c, double p, Interp interp) {
    if (c.count <= 0) return 0;
    double v = c.value[0];
    for (int j = 0; j + 1 < c.count; ++j) {
        if (c.pressure[j] <= p && p <= c.pressure[j + 1]) return interp(j);
        if (c.pressure[j] > p) return c.value[j];
        v = c.value[j + 1];
    }
    return v;
}

// A layer h thick taken from p1 to p2 on a void ratio curve (the e-log p
// curve of a clay, the curve of a sand's N value); an unloaded layer keeps
// its void ratios and settles nothing. The settlement is reduced by beta.
ELogPResult VoidRatioResult(const CurveRec& curve, double p1, double p2, double h, bool loaded, double beta) {
    const double e1 = Round(curve_semilog(curve, p1), 0.001);
    const double e2 = Round(curve_semilog(curve, p2), 0.001);
    double strain = 0, se = 0;
    if (loaded && 1 + e1 != 0) {
        strain = Round((e1 - e2) / (1 + e1), 0.0001);
        se = Round(h * strain, 0.001);
    }
    return ELogPResult{e1, e2, strain, se * beta};
}

}  // namespace

double curve_semilog(const CurveRec& c, double p) {
    return Lookup(c, p, [&](int j) {
        double p0 = c.pressure[j], p1 = c.pressure[j + 1];
        if (p <= 0 || p0 <= 0 || p1 <= p0) return c.value[j];
        return c.value[j] +
               (c.value[j + 1] - c.value[j]) * (std::log10(p) - std::log10(p0)) / (std::log10(p1) - std::log10(p0));
    });
}

double curve_loglog(const CurveRec& c, double p) {
    return Lookup(c, p, [&](int j) {
        double p0 = c.pressure[j], p1 = c.pressure[j + 1];
        double v0 = c.value[j], v1 = c.value[j + 1];
        if (p <= 0 || p0 <= 0 || p1 <= p0 || v0 <= 0 || v1 <= 0) return v0;
        double lv = std::log10(v0) +
                    (std::log10(v1) - std::log10(v0)) * (std::log10(p) - std::log10(p0)) /
                        (std::log10(p1) - std::log10(p0));
        return std::pow(10.0, lv);
    });
}

int sand_curve_for(int n) {
    if (n <= 4) return 1;
    if (n <= 10) return 2;
    if (n <= 30) return 3;
    if (n <= 50) return 4;
    return 5;
}

double column_settlement(const CalcInput& in, const SoilColumn& col, LayerResults& res, double u) {
    res = LayerResults{};
    double sum = 0;
    for (int i = 0; i < col.count; ++i) {
        const SoilLayerRec& s = in.soil[col.layer[i]];
        const double h = col.top[i] - col.bottom[i];
        const double dp = col.dp[i];
        const double p1 = col.p0[i] + u;
        const double p2 = col.p0[i] + dp;
        const bool loaded = layer_loaded(col, i, u);
        const int method = SettlingMethod(in, col, i);

        if (method == kMethodELogP || method == kMethodCc) {
            res.elogp[i] = VoidRatioResult(in.elogp[s.curve_elogp], p1, p2, h, loaded, s.beta);
            const double e1 = res.elogp[i].e1;
            double l = 0, scc = 0;
            if (loaded && p1 > 0 && p2 > 0 && 1 + e1 != 0) {
                l = Round(std::log10(p2 / p1), 0.00001);
                scc = Round(s.cc / (1 + e1) * h * l, 0.001);
            }
            res.cc[i] = CcResult{e1, s.cc, l, scc * s.beta};
            sum += method == kMethodELogP ? res.elogp[i].settlement : res.cc[i].settlement;
        } else if (method == kMethodMv) {
            double pm;
            if (in.MvPMethod == 1)
                pm = p1 * p2 > 0 ? std::sqrt(p1 * p2) : 0;
            else
                pm = p1 + (dp - u) / 2;
            pm = Round(pm, 0.001);
            double mv = Round(curve_loglog(in.mv[s.curve_mv], pm), 0.000001);
            double dn = 0, sm = 0;
            if (loaded) {
                dn = Round(dp - u, 0.0001);
                sm = Round(h * mv * dn, 0.001);
            }
            res.mv[i] = MvResult{mv, dn, sm * s.beta};
            sum += res.mv[i].settlement;
        } else if (method == kMethodHough) {
            res.elogp[i] = VoidRatioResult(in.sand[sand_curve_for(s.n_value)], p1, p2, h, loaded, s.beta);
            sum += res.elogp[i].settlement;
        }
    }
    return sum;
}

double layer_settlement(const LayerResults& res, int slot, int method) {
    const double* v = SettlementOf(res, slot, method);
    return v ? *v : 0;
}

bool layer_loaded(const SoilColumn& col, int slot, double u) {
    return std::trunc(1000 * col.dp[slot]) - std::trunc(1000 * u) > 0;
}

double slot_settlement(const CalcInput& in, const SoilColumn& col, const LayerResults& res, int i) {
    return layer_settlement(res, i, SettlingMethod(in, col, i));
}

double keep_reached_settlement(const CalcInput& in, const SoilColumn& col, LayerResults& res,
                               const std::array<double, kColumnSlots>& reached, double sum) {
    bool raised = false;
    for (int i = 0; i < col.count; ++i) {
        double* v = SettlementOf(res, i, SettlingMethod(in, col, i));
        if (v && *v < reached[i]) {
            *v = reached[i];
            raised = true;
        }
    }
    if (!raised) return sum;
    // Added again in column_settlement's order.
    double s = 0;
    for (int i = 0; i < col.count; ++i) s += slot_settlement(in, col, res, i);
    return s;
}

}  // namespace kova::engine
