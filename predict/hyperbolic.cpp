#include "predict/hyperbolic.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "predict/rounding.hpp"

namespace kova::predict {

Message DataError(std::string text) {
    return Message{std::move(text), kDataErrorCaption, MsgIcon::Exclamation, MsgButtons::Ok, 0};
}

namespace {

// A fault of the fit the user can mend: its text says what and in which row.
class FitFault : public ArithmeticFault {
public:
    using ArithmeticFault::ArithmeticFault;
};

std::string Row(int i) { return std::to_string(i) + "行目"; }

double Finite(double v) {
    if (!std::isfinite(v)) throw ArithmeticFault("overflow");
    return v;
}

double Divide(double num, double den) {
    if (den == 0) throw ArithmeticFault("division by zero");
    return Finite(num / den);
}

// The fitted curve, day numbers counted from observation 1.
struct Curve {
    double a, b, s0;
    std::int32_t t0;

    double Denominator(std::int32_t d) const { return double(d - t0) * a + b; }
    double At(std::int32_t d) const { return Finite(Divide(double(d - t0), Denominator(d)) + s0); }
};

void Fit(const StationRecord& r, const ObsSettings& set, PredictionOutcome& out) {
    StationResults& res = out.results;
    if (r.ObsDate.size() <= std::size_t(r.Count) || r.Settlement.size() <= std::size_t(r.Count) ||
        r.SW.size() <= std::size_t(r.Count))
        throw ArithmeticFault("rows out of range");

    const int sa = r.Sa, sap = r.SaPrime;
    int st = sap;
    for (int i = sa; i <= sap - 1; ++i)
        if (r.SW[i] != 1) {
            st = i;
            break;
        }
    int en = sa;
    for (int i = sap; i >= sa + 1; --i)
        if (r.SW[i] != 1) {
            en = i;
            break;
        }
    if (en - st <= 1) {
        out.message = DataError("開始、終了が不正です。");
        return;
    }

    // Day numbers must be real dates in increasing order, or the fit and the
    // day search would run on nonsense (or outside the curve).
    if (!r.ObsDate[1].IsValid()) throw FitFault(Row(1) + "の観測日が不正です。");
    if (!r.ObsDate[st].IsValid()) throw FitFault(Row(st) + "の観測日が不正です。");
    if (r.ObsDate[st] < r.ObsDate[1]) throw FitFault(Row(st) + "（開始）の観測日が1行目より前です。");
    const std::int32_t t0 = DaysBetween(r.ObsDate[1], r.ObsDate[st]);
    if (t0 > kLastSearchDay)
        throw FitFault(Row(st) + "（開始）が1行目から" + std::to_string(kLastSearchDay) + "日を超えています。");

    const int N = en - st;
    std::vector<std::int32_t> t(1, 0);
    std::vector<double> inc(1, 0.0), ratio(1, 0.0);
    Date previous = r.ObsDate[st];
    for (int i = 1; i <= N; ++i) {
        int row = st + i;
        if (r.SW[row] == 1) continue;
        if (!r.ObsDate[row].IsValid()) throw FitFault(Row(row) + "の観測日が不正です。");
        if (r.ObsDate[row] <= previous) throw FitFault(Row(row) + "の観測日が前の観測日より後ではありません。");
        previous = r.ObsDate[row];
        std::int32_t days = DaysBetween(r.ObsDate[st], r.ObsDate[row]);
        double ds = Finite(r.Settlement[row] - r.Settlement[st]);
        if (ds == 0) throw FitFault(Row(row) + "の沈下量が開始の" + Row(st) + "と同じです。");
        t.push_back(days);
        inc.push_back(ds);
        ratio.push_back(Divide(days, ds));
    }
    const int n = static_cast<int>(t.size()) - 1;
    if (n < 2) throw FitFault("Sa～Sa'に回帰に使える観測が2点以上ありません。");

    double st1 = 0, sy = 0, stt = 0, sty = 0;
    for (int k = 1; k <= n; ++k) {
        st1 += t[k];
        sy += ratio[k];
        stt += double(t[k]) * t[k];
        sty += t[k] * ratio[k];
    }
    const double rawA = Divide(Finite(st1 * sy - n * sty), Finite(st1 * st1 - n * stt));
    const double rawB = Divide(Finite(sy - rawA * st1), n);
    double a = RoundToStep(rawA, 0.0001, 1);
    // A slope of 0 or below has no final settlement: the curve never levels off.
    if (a <= 0) throw FitFault("回帰直線の傾きが0以下です（沈下が収まりません）。");
    double b = RoundToStep(Divide(sy - a * st1, n), 0.0001, 1);
    // With b <= 0 the curve's pole lies at or after the start day, so the
    // predicted settlement would fall from infinity instead of rising.
    if (b <= 0) throw FitFault("回帰直線の切片が0以下です。");

    // r² is that of the least-squares line itself: with the rounded slope
    // and intercept the "explained" part can exceed the total (r² > 1).
    // Mathematically at most 1; the sums' rounding may leave a hair above.
    double ybar = sy / n;
    double explained = 0, total = 0;
    for (int k = 1; k <= n; ++k) {
        explained += Finite(std::pow(rawA * t[k] + rawB - ybar, 2));
        total += Finite(std::pow(ratio[k] - ybar, 2));
    }
    double r2 = RoundToStep(std::min(1.0, Divide(explained, total)), 0.0001, 1);
    const double s0 = r.Settlement[st];
    const double sf = RoundToStep(Divide(1, a) + s0, 0.001, 1);

    const Curve curve{a, b, s0, t0};

    // First day: back from the start until the curve turns negative; never
    // across the pole, where the denominator changes sign.
    std::int32_t first = 0;
    for (std::int32_t d = t0 - 1; d >= 0; --d) {
        if (curve.Denominator(d) <= 0 || curve.At(d) < 0) {
            first = d + 1;
            break;
        }
    }

    // The curve only approaches its final settlement: at 100 % it never
    // ends before the search does, even when Sf was rounded below the
    // asymptote S0 + 1/a.
    const double limit = set.EndConditionPercent / 100 * sf;
    std::int32_t last = kLastSearchDay + 1;
    for (std::int32_t d = t0; set.EndConditionPercent < 100 && d <= kLastSearchDay; ++d) {
        if (curve.At(d) > limit) {
            last = d;
            break;
        }
    }

    std::vector<double> predicted(std::size_t(last) + 1, 0.0);
    for (std::int32_t d = first; d <= last; ++d) predicted[d] = curve.At(d);

    // Target day by the settlement option, searched on the fitted curve so
    // that a target beyond the end condition is still found.
    std::int32_t target = 0;
    double targetValue = 0;
    auto firstAbove = [&](double level) {
        for (std::int32_t d = first; d <= kLastSearchDay; ++d)
            if (curve.At(d) > level) return d;
        return std::int32_t{0};
    };
    switch (set.SettlementOption) {
    case 0:
        if (set.LeaveDays > 0 && curve.Denominator(set.LeaveDays) > 0) target = set.LeaveDays;
        break;
    case 1:
        if (set.TargetPercent > 0) target = firstAbove(set.TargetPercent / 100 * sf);
        break;
    case 2:
        if (set.ResidualSettlement > 0) target = firstAbove(sf - set.ResidualSettlement);
        break;
    default:
        break;
    }
    if (target > 0) targetValue = curve.At(target);

    res.FitCount = static_cast<std::int16_t>(n);
    res.ElapsedDays = std::move(t);
    res.SettleInc = std::move(inc);
    res.Ratio = std::move(ratio);
    res.Slope = a;
    res.Intercept = b;
    res.R2 = r2;
    res.FinalSettlement = sf;
    res.FirstDay = first;
    res.LastDay = last;
    res.Predicted = std::move(predicted);
    res.TargetDay = target;
    res.TargetSettlement = targetValue;
}

}  // namespace

Message PredictionFailureMessage() {
    return Message{"予測計算で予期せぬエラーが起こりました。\r観測データの並び、沈下量を確認してください。",
                   kAppTitle, MsgIcon::Exclamation, MsgButtons::Ok, 0};
}

std::optional<Message> ValidatePredictionInput(const StationRecord& r, const ObsSettings& s) {
    if (!(r.Sa >= 1 && r.Sa < r.SaPrime)) return DataError(kBadSa);
    if (r.Count < r.SaPrime) return DataError(kBadSaPrime);
    switch (s.SettlementOption) {
    case 0:
        if (!(s.LeaveDays > 0)) return DataError(kBadLeave);
        break;
    case 1:
        if (!(s.TargetPercent >= 0 && s.TargetPercent <= 99)) return DataError(kBadPercent);
        break;
    case 2:
        if (!(s.ResidualSettlement > 0)) return DataError(kBadResidual);
        break;
    default:
        break;
    }
    // The curve must end below the final settlement, which it only approaches.
    // 100 % is never reached: the curve then runs to the end of the search.
    if (!(s.EndConditionPercent > 0 && s.EndConditionPercent <= 100)) return DataError(kBadEnd);
    return std::nullopt;
}

PredictionOutcome ComputePrediction(const StationRecord& station, const ObsSettings& settings) {
    PredictionOutcome out;
    if (auto m = ValidatePredictionInput(station, settings)) {
        out.check = 2;
        out.message = std::move(m);
        return out;
    }
    try {
        Fit(station, settings, out);
    } catch (const FitFault& e) {
        out.results = StationResults{};
        out.message = PredictionFailureMessage();
        out.cause = e.what();
    } catch (const ArithmeticFault&) {
        out.results = StationResults{};
        out.message = PredictionFailureMessage();
    }
    return out;
}

std::int16_t CheckPredictionInput(const StationRecord& station, const ObsSettings& settings,
                                  MessageSink& messages) {
    if (auto m = ValidatePredictionInput(station, settings)) {
        messages.Show(*m);
        return 2;
    }
    return 0;
}

Message AtStation(const Message& m, int k, const std::string& name, const std::string& cause) {
    Message out = m;
    out.text = "観測所" + std::to_string(k) + (name.empty() ? "" : "（" + name + "）") + "：" +
               (cause.empty() ? "" : cause + "\r") + m.text;
    return out;
}

void CalcPrediction(ObsDataSet& data, int curStation, MessageSink& messages) {
    if (curStation < 0 || curStation > kMaxStations) return;
    StationRecord& rec = data.Stations[curStation];
    PredictionOutcome out = ComputePrediction(rec, data);
    static_cast<StationResults&>(rec) = std::move(out.results);
    if (out.message) messages.Show(AtStation(*out.message, curStation, rec.Name, out.cause));
}

}  // namespace kova::predict
