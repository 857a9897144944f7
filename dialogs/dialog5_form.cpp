#include "dialogs/dialog5_form.hpp"

#include <algorithm>

#include "textio/cell_text.hpp"
#include "rules/settle_methods.hpp"

namespace kova {

namespace {

constexpr const char* kMark = "○";
constexpr const char* kNoMark = "－";

// Shown values per kind: Mv is held as ten times its m2/kN value.
double Shown(int kind, double y) { return kind == 1 ? y * 0.1 : y; }
double Held(int kind, double shown) { return kind == 1 ? shown * 10 : shown; }

}  // namespace

Dialog5Form::Dialog5Form(Model& m) : m_(m) {
    snapshot_ = {m.ELogPCurve, m.MvCurve, m.CvCurve};
    const int count = std::clamp<int>(m.SoilLayerCount, 0, kMaxBlocks);
    for (int i = 0; i < count; ++i)
        if (m.SoilParam[static_cast<std::size_t>(i)].SoilType == 0) clay_.push_back(i);
}

CurveTable& Dialog5Form::Curve(int kind, int layer) {
    auto& table = kind == 0 ? m_.ELogPCurve : kind == 1 ? m_.MvCurve : m_.CvCurve;
    return table.at(static_cast<std::size_t>(layer));
}

std::string Dialog5Form::SelectorText(int row, int col) const {
    static const char* kHeaders[] = {"No.", "土層名称", "e-LogP", "LogMv-LogP", "LogCv-LogP"};
    if (col < 0 || col > 4) return {};
    if (row == 0) return kHeaders[col];
    if (row < 1 || row > SelectorRows()) return {};
    const int layer = clay_[static_cast<std::size_t>(row - 1)];
    if (col == 0) return grid::FormatNumber(row, "#0");
    if (col == 1) return m_.SoilLayer[static_cast<std::size_t>(layer)].Name;
    const auto& table = col == 2 ? m_.ELogPCurve : col == 3 ? m_.MvCurve : m_.CvCurve;
    return table[static_cast<std::size_t>(layer)].n >= 1 ? kMark : kNoMark;
}

bool Dialog5Form::Choose(int row, int col) {
    c_rw_ = row;
    cl_ = col;
    if (!(cl_ >= 2 && cl_ <= 4 && c_rw_ >= 1 && c_rw_ <= SelectorRows())) {
        // The name column: the table keeps what it shows and stores nothing.
        if (cl_ > 4 || c_rw_ > SelectorRows()) cl_ = 0;
        return false;
    }
    rw_ = clay_[static_cast<std::size_t>(c_rw_ - 1)] + 1;
    shownKind_ = cl_ - 2;
    LoadPoints();
    txtX_ = grid::FormatNumber(xMax_[static_cast<std::size_t>(shownKind_)], "#0");
    txtY_ = grid::FormatNumber(yMax_[static_cast<std::size_t>(shownKind_)], shownKind_ == 1 ? "#0.00" : "#0");
    return true;
}

void Dialog5Form::LoadPoints() {
    points_.clear();
    const CurveTable& c = Curve(shownKind_, rw_ - 1);
    const int n = std::clamp<int>(c.n, 0, kCurveRows);
    for (int k = 0; k < n; ++k) points_.push_back({c.X[static_cast<std::size_t>(k)], c.Y[static_cast<std::size_t>(k)]});
    loaded_ = points_;
}

CurveKind Dialog5Form::Kind() const {
    if (cl_ >= 2 && cl_ <= 4) return static_cast<CurveKind>(cl_ - 2);
    return CurveKind::None;
}

std::string Dialog5Form::PointText(int row, int col) const {
    const CurvePoint& p = Point(row);
    switch (col) {
    case 0: return grid::FormatNumber(row + 1, "#0");
    case 1: return grid::FormatNumber(p.X * 10, "##0.000");
    case 2: return grid::FormatNumber(Shown(shownKind_, p.Y), shownKind_ == 1 ? "##0.000000" : "##0.000");
    default: return {};
    }
}

std::string Dialog5Form::ValueHeader() const {
    static const char* kHeaders[] = {"e", "Mv (m2/kN)", "Cv (cm2/日)"};
    return kHeaders[shownKind_];
}

std::string Dialog5Form::ValuePattern() const { return shownKind_ == 1 ? "#0.000000" : "#0.000"; }

void Dialog5Form::UpdatePoints(const std::vector<RowInput>& rows) {
    if (!PointsEditable()) return;
    points_.clear();
    for (const RowInput& r : rows) {
        if (PointCount() >= kCurveRows) break;
        const bool known = r.origin >= 0 && r.origin < static_cast<int>(loaded_.size());
        const CurvePoint old = known ? loaded_[static_cast<std::size_t>(r.origin)] : CurvePoint{};
        CurvePoint p;
        p.X = r.p ? *r.p * 0.1 : old.X;
        p.Y = r.value ? Held(shownKind_, *r.value) : old.Y;
        points_.push_back(p);
    }
}

void Dialog5Form::StorePoints() {
    if (!PointsEditable()) return;
    CurveTable& c = Curve(cl_ - 2, rw_ - 1);
    c.n = static_cast<i16>(PointCount());
    for (int k = 0; k < PointCount(); ++k) {
        c.X[static_cast<std::size_t>(k)] = points_[static_cast<std::size_t>(k)].X;
        c.Y[static_cast<std::size_t>(k)] = points_[static_cast<std::size_t>(k)].Y;
    }
}

bool Dialog5Form::XEdited(std::string text) {
    txtX_ = std::move(text);
    if (!picSw_) return false;
    const std::optional<double> v = grid::NumericValue(txtX_);
    if (!v || *v > 100000) return false;
    if (cl_ >= 2 && cl_ <= 4) xMax_[static_cast<std::size_t>(cl_ - 2)] = *v;
    return true;
}

bool Dialog5Form::YEdited(std::string text) {
    txtY_ = std::move(text);
    const std::optional<double> v = grid::NumericValue(txtY_);
    if (!v) return false;
    if (cl_ == 2 && (*v < 1 || *v > 30000)) return false;
    if ((cl_ == 3 || cl_ == 4) && *v > 100000) return false;
    if (!picSw_) return false;
    if (cl_ >= 2 && cl_ <= 4) yMax_[static_cast<std::size_t>(cl_ - 2)] = *v;
    return true;
}

SoilPlotInput Dialog5Form::PlotInput() const {
    SoilPlotInput in;
    in.pressureMax = grid::NumericValue(txtX_);
    in.valueMax = grid::NumericValue(txtY_);
    in.kind = Kind();
    for (const CurvePoint& p : points_) in.points.push_back({p.X * 10, Shown(shownKind_, p.Y)});
    return in;
}

void Dialog5Form::Restore() {
    m_.ELogPCurve = snapshot_[0];
    m_.MvCurve = snapshot_[1];
    m_.CvCurve = snapshot_[2];
}

std::optional<std::string> LayerCurveFault(const Model& m, int layer) {
    struct Read {
        int kind;  // 0 e-logP, 1 Mv, 2 Cv
        MethodCurve method;
        const char* name;
        const char* value;
    };
    constexpr Read kReads[] = {{0, MethodCurve::ELogP, "e-LogP曲線", "間隙比"},
                               {1, MethodCurve::Mv, "LogMv-LogP曲線", "Mv"},
                               {2, MethodCurve::None, "LogCv-LogP曲線", "Cv"}};
    const auto at = static_cast<std::size_t>(layer);
    const bool clay = m.SoilParam[at].SoilType == 0;
    // Without the immediate settlement of sand, a sand layer and a layer of
    // an immediate method compute nothing.
    const SettleMethodRow& method = !clay && m.Cond.UseSandImmediate == 0
                                        ? SettleMethodOf(kMethodNone)
                                        : MethodInRun(m.SoilParam[at].SettleMethod, m.Cond.UseSandImmediate);
    if (method.curve == MethodCurve::None) return std::nullopt;
    for (const Read& r : kReads) {
        if (r.kind == 2 ? !clay : r.method != method.curve) continue;
        const auto& table = r.kind == 0 ? m.ELogPCurve : r.kind == 1 ? m.MvCurve : m.CvCurve;
        const CurveTable& c = table[at];
        const int n = std::clamp<int>(c.n, 0, kMaxCurvePts);
        const std::string curve = "土層「" + m.SoilLayer[at].Name + "」の" + r.name;
        // A logCv-logP curve may be left out (no time curve), not one point short.
        const int needed = r.kind == 2 ? 0 : method.points;
        if (n < needed)
            return curve + (n == 0 ? "に点がありません" : "の点が" + std::to_string(n) + "点しかありません") + "（" +
                   method.checked + "には" + std::to_string(needed) + "点以上必要です）。";
        for (int k = 0; k < n; ++k) {
            const auto i = static_cast<std::size_t>(k);
            const std::string point = curve + "の第" + std::to_string(k + 1) + "点";
            if (!(c.X[i] > 0)) return point + "の圧力が0です（圧力は正の値で入力してください）。";
            if (!(c.Y[i] > 0)) return point + "の" + r.value + "が0です（正の値で入力してください）。";
            if (k == 0) continue;
            if (!(c.X[i] > c.X[i - 1]))
                return point + "の圧力が前の点より大きくありません（圧力は点ごとに増加させてください）。";
            if (r.kind == 0 && c.Y[i] > c.Y[i - 1])
                return point + "の間隙比が前の点より大きくなっています（圧力が増すと間隙比は増えません）。";
        }
    }
    return std::nullopt;
}

std::optional<std::string> Dialog5Form::FirstCurveFault() const {
    for (int layer : clay_)
        if (auto fault = LayerCurveFault(m_, layer)) return fault;
    return std::nullopt;
}

}  // namespace kova
