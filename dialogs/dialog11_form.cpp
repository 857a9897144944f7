#include "dialogs/dialog11_form.hpp"

#include <algorithm>
#include <cmath>

#include "model/geometry.hpp"
#include "rules/drain_rule.hpp"
#include "rules/rounding.hpp"

namespace kova {

namespace {

// The calculation's own rounding, so the dialog refuses exactly what the
// engine would compute without drains.
double Round3(double v) { return rules::RoundToStep(v, 0.001, rules::StepRounding::HalfEven); }

std::string LayerPrefix(int row) { return "土層 " + std::to_string(row + 1) + "："; }

std::string FaultText(DrainFault f, int method) {
    switch (f) {
    case DrainFault::Spacing: return "打設間隔 d が 0 以下です。";
    case DrainFault::Diameter: return "直径 dw が 0 以下です。";
    case DrainFault::Influence:
        return method == 1 ? "有効径 de（1.05d）が直径 dw 以下です。" : "有効径 de（1.128d）が直径 dw 以下です。";
    case DrainFault::Alpha: return "係数 α が 0 以下です。";
    case DrainFault::PermRatio: return "係数 Kc/kw が負の値です。";
    default: return {};
    }
}

// The column a drain fault is told at.
int FaultColumn(DrainFault f) {
    switch (f) {
    case DrainFault::Spacing: return kSpacing;
    case DrainFault::Alpha: return kAlpha;
    case DrainFault::PermRatio: return kPermRatio;
    default: return kDiameter;
    }
}

}  // namespace

double ReductionFactor(int method, double n, double as) {
    if (method == 0) return 1;
    double beta;
    if (as >= 0.5) {
        beta = 1 - as;
    } else {
        const double q = (n - 1) * as + 1;
        beta = q != 0 ? 1 / q : 1;
    }
    if (!(beta >= 0.001) || !std::isfinite(beta)) beta = 1;
    return RoundTo(beta, 0.001, 0);
}

Dialog11Form::Dialog11Form(const Model& m) {
    const int count = std::clamp<int>(m.SoilLayerCount, 0, kMaxBlocks);
    for (int i = 0; i < count; ++i) {
        DrainRow r;
        r.name = m.SoilLayer[static_cast<std::size_t>(i)].Name;
        const DrainMethodRec& d = m.DrainMethod[static_cast<std::size_t>(i)];
        r.method = d.Method;
        for (int c = 0; c < kDrainValueCount; ++c) r.values[static_cast<std::size_t>(c)] = d.Detail[static_cast<std::size_t>(c)];
        rows_.push_back(r);
    }
}

std::string Dialog11Form::MethodText(int code) {
    if (code >= 0 && code < static_cast<int>(kDrainMethodItems.size()))
        return std::string(kDrainMethodItems[static_cast<std::size_t>(code)]);
    return std::to_string(code);
}

std::optional<int> Dialog11Form::MethodOfItem(std::string_view text) {
    for (std::size_t i = 0; i < kDrainMethodItems.size(); ++i)
        if (kDrainMethodItems[i] == text) return static_cast<int>(i);
    return std::nullopt;
}

void Dialog11Form::SetMethod(int row, int code) { rows_.at(static_cast<std::size_t>(row)).method = code; }

void Dialog11Form::SetValue(int row, int column, double v) {
    rows_.at(static_cast<std::size_t>(row)).values.at(static_cast<std::size_t>(column)) = v;
}

std::optional<DrainRefusal> Dialog11Form::Check() const {
    for (int i = 0; i < RowCount(); ++i) {
        const DrainRow& r = rows_[static_cast<std::size_t>(i)];
        const auto& v = r.values;
        const auto refuse = [i](int column, const std::string& text) {
            return DrainRefusal{i, column, LayerPrefix(i) + text};
        };
        // Below n = 1, beta = 1 / ((n - 1) as + 1) of a low replacement rises
        // above 1: a reduction factor that would raise the settlement.
        const bool shareBelowOne = r.method != 0 && v[kReplaceRatio] > 0 && v[kReplaceRatio] < 0.5 && !(v[kShareRatio] >= 1);
        const char* const shareMessage = "応力分担比 n は 1 以上を指定してください（砂杭置換率 as が 0.5 未満のとき）。";
        if (r.method != 1 && r.method != 2) {
            if (shareBelowOne) return refuse(kShareRatio, shareMessage);
            continue;
        }
        const DrainValues dv{r.method, v[kSpacing], v[kDiameter], v[kAlpha], v[kPermRatio]};
        const DrainFault f = FindDrainFault(dv, Round3);
        if (f != DrainFault::None) return refuse(FaultColumn(f), FaultText(f, r.method));
        // With n >= 0 and as below 0.5 the divisor of beta stays above 0.5.
        if (!(v[kShareRatio] >= 0)) return refuse(kShareRatio, "応力分担比 n が負の値です。");
        if (!(v[kReplaceRatio] >= 0 && v[kReplaceRatio] <= 1))
            return refuse(kReplaceRatio, "砂杭置換率 as は 0～1 の範囲で指定してください。");
        if (shareBelowOne) return refuse(kShareRatio, shareMessage);
    }
    return std::nullopt;
}

std::optional<std::string> Dialog11Form::Apply(Model& m) const {
    if (auto refusal = Check()) return refusal->message;
    const int count = std::min<int>(RowCount(), kMaxBlocks + 1);
    for (int i = 0; i < count; ++i) {
        const DrainRow& r = rows_[static_cast<std::size_t>(i)];
        DrainMethodRec& d = m.DrainMethod[static_cast<std::size_t>(i)];
        d.Method = static_cast<i16>(r.method);
        for (int c = 0; c < kDrainValueCount; ++c) d.Detail[static_cast<std::size_t>(c)] = r.values[static_cast<std::size_t>(c)];
        d.Detail[kReductionFactor] = ReductionFactor(r.method, r.values[kShareRatio], r.values[kReplaceRatio]);
    }
    return std::nullopt;
}

}  // namespace kova
