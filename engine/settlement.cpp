#include "engine/settlement.hpp"

#include <array>
#include <cmath>

#include "engine/rounding.hpp"

namespace kova::engine {
namespace {

double Round(double v, double step) { return round_to_step(v, step, 0); }

// The method column_settlement computes slot i by.
const SettleMethodRow& SettlingMethod(const CalcInput& in, const SoilColumn& col, int i) {
    return MethodInRun(in.soil[col.layer[i]].method, in.UseSandImmediate);
}

// The settlement field of slot i that `method` fills (const or not).
template <class Results>
auto SettlementOf(Results& res, int i, const SettleMethodRow& method) -> decltype(&res.mv[i].settlement) {
    switch (method.result) {
    case MethodResult::ELogP: return &res.elogp[i].settlement;
    case MethodResult::Cc: return &res.cc[i].settlement;
    case MethodResult::Mv: return &res.mv[i].settlement;
    case MethodResult::None: break;
    }
    return nullptr;
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

// What a method's computation reads of layer slot i: its thickness h, its
// pressures before (p1, with the cut unloading u) and after (p2) the stress
// increase dp.
struct LayerLoad {
    const CalcInput& in;
    const SoilLayerRec& s;
    double h, dp, u, p1, p2;
    bool loaded;
};
using MethodComputation = void (*)(const LayerLoad&, LayerResults&, int i);

// The e-logP and Cc methods: both lines, each method's settlement its own.
void VoidRatioAndCc(const LayerLoad& l, LayerResults& res, int i) {
    const SoilLayerRec& s = l.s;
    res.elogp[i] = VoidRatioResult(l.in.elogp[s.curve_elogp], l.p1, l.p2, l.h, l.loaded, s.beta);
    const double e1 = res.elogp[i].e1;
    double lr = 0, scc = 0;
    if (l.loaded && l.p1 > 0 && l.p2 > 0 && 1 + e1 != 0) {
        lr = Round(std::log10(l.p2 / l.p1), 0.00001);
        scc = Round(s.cc / (1 + e1) * l.h * lr, 0.001);
    }
    res.cc[i] = CcResult{e1, s.cc, lr, scc * s.beta};
}

void MvLine(const LayerLoad& l, LayerResults& res, int i) {
    const double pm =
        Round(l.in.MvPMethod == 1 ? (l.p1 * l.p2 > 0 ? std::sqrt(l.p1 * l.p2) : 0) : l.p1 + (l.dp - l.u) / 2, 0.001);
    const double mv = Round(curve_loglog(l.in.mv[l.s.curve_mv], pm), 0.000001);
    double dn = 0, sm = 0;
    if (l.loaded) {
        dn = Round(l.dp - l.u, 0.0001);
        sm = Round(l.h * mv * dn, 0.001);
    }
    res.mv[i] = MvResult{mv, dn, sm * l.s.beta};
}

// B.K.Hough: the sand curve of the layer's N value.
void SandCurve(const LayerLoad& l, LayerResults& res, int i) {
    res.elogp[i] = VoidRatioResult(l.in.sand[sand_curve_for(l.s.n_value)], l.p1, l.p2, l.h, l.loaded, l.s.beta);
}

// Each method's computation, at its code.
constexpr std::array<MethodComputation, kMethodCount> kComputations{VoidRatioAndCc, VoidRatioAndCc, MvLine, SandCurve,
                                                                    nullptr};

constexpr bool EverySettlingMethodComputed() {
    for (int i = 0; i < kMethodCount; ++i)
        if (Settles(SettleMethodOf(i)) != (kComputations[static_cast<std::size_t>(i)] != nullptr)) return false;
    return true;
}
static_assert(EverySettlingMethodComputed(), "a method that settles has its computation, and only such a one");

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
        const double p0 = col.p0[i], dp = col.dp[i];
        const LayerLoad load{in, in.soil[col.layer[i]], col.top[i] - col.bottom[i], dp, u, p0 + u, p0 + dp,
                             layer_loaded(col, i, u)};
        const SettleMethodRow& method = SettlingMethod(in, col, i);
        if (MethodComputation compute = kComputations[static_cast<std::size_t>(method.code)]) {
            compute(load, res, i);
            sum += *SettlementOf(res, i, method);
        }
    }
    return sum;
}

double layer_settlement(const LayerResults& res, int slot, int method) {
    const double* v = SettlementOf(res, slot, SettleMethodOf(method));
    return v ? *v : 0;
}

bool layer_loaded(const SoilColumn& col, int slot, double u) {
    return std::trunc(1000 * col.dp[slot]) - std::trunc(1000 * u) > 0;
}

double slot_settlement(const CalcInput& in, const SoilColumn& col, const LayerResults& res, int i) {
    return layer_settlement(res, i, SettlingMethod(in, col, i).code);
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
