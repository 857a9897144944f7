#include "dialogs/dialog8_form.hpp"

#include <algorithm>
#include <string>
#include <utility>

#include "rules/settle_methods.hpp"
#include "textio/cell_text.hpp"

namespace kova {

namespace {

bool Confirm(MessageSink& ui, const char* text) {
    Message m{text, "確認", MsgIcon::Information, MsgButtons::OkCancel, 1};
    return ui.Show(m) == MsgAnswer::Ok;
}

}  // namespace

// The sand classes of the curves, as their column headers name them.
constexpr const char* kSandClasses[kSandCurves] = {"非常にゆるい砂", "ゆるい砂", "中位に締まった砂", "締まった砂",
                                                    "非常に締まった砂"};

bool AskToStoreAnyway(MessageSink& ui, const std::string& fault) {
    return ui.Show(Message{fault + "\rこのまま保存しますか？", "確認", MsgIcon::Exclamation, MsgButtons::YesNo, 1}) ==
           MsgAnswer::Yes;
}

bool Dialog8Form::ConfirmUsableCurves(const Model& m, MessageSink& ui) const {
    // A layer of a sand-curve method reads the curve its N value picks; all
    // share the rows.
    for (int i = 0; i < std::clamp<int>(m.SoilLayerCount, 0, kMaxBlocks); ++i) {
        const auto at = static_cast<std::size_t>(i);
        const SettleMethodRow& method = MethodInRun(m.SoilParam[at].SettleMethod, m.Cond.UseSandImmediate);
        if (method.curve != MethodCurve::Sand || RowCount() >= method.points) continue;
        return AskToStoreAnyway(ui, "土層「" + m.SoilLayer[at].Name + "」が読む砂層のe-LogP曲線" +
                                        (RowCount() == 0 ? "に点がありません"
                                                         : "の点が" + std::to_string(RowCount()) + "点しかありません") +
                                        "（" + method.checked + "には" + std::to_string(method.points) +
                                        "点以上必要です）。\rこのままでは沈下計算ができません。");
    }
    for (std::size_t a = 1; a < rows_.size(); ++a) {
        const double lo = rows_[a - 1][0], hi = rows_[a][0];
        if (hi > lo) continue;
        return AskToStoreAnyway(ui, "圧力Ｐが、" + std::to_string(a + 1) + "行目で " + grid::FormatNumber(lo, "##0.0") +
                                        " から " + grid::FormatNumber(hi, "##0.0") +
                                        " kN/m2 と増えていません。\r圧力Ｐは行ごとに増えるように入力してください"
                                        "（このままでは沈下計算ができません）。");
    }
    for (std::size_t d = 1; d <= static_cast<std::size_t>(kSandCurves); ++d)
        for (std::size_t a = 1; a < rows_.size(); ++a) {
            const SandRow &lo = rows_[a - 1], &hi = rows_[a];
            if (!(hi[0] > lo[0] && hi[d] > lo[d])) continue;
            const std::string text =
                std::string("「") + kSandClasses[d - 1] + "」の間隙比が、圧力Ｐ " + grid::FormatNumber(lo[0], "##0.0") +
                " から " + grid::FormatNumber(hi[0], "##0.0") + " kN/m2 の間で " + grid::FormatNumber(lo[d], "##0.000") +
                " から " + grid::FormatNumber(hi[d], "##0.000") +
                " に増えています。\r間隙比は圧力とともに減るように入力してください（このままでは沈下計算ができません）。";
            return AskToStoreAnyway(ui, text);
        }
    return true;
}

void Dialog8Form::Load(const SandCurves& curves) {
    rows_.clear();
    const int n = std::clamp<int>(curves[0].n, 0, kSandRows);
    for (int a = 0; a < n; ++a) {
        SandRow r{};
        r[0] = curves[0].X[static_cast<std::size_t>(a)];
        for (int d = 0; d < kSandCurves; ++d)
            r[static_cast<std::size_t>(d + 1)] = curves[static_cast<std::size_t>(d)].Y[static_cast<std::size_t>(a)];
        rows_.push_back(r);
    }
}

void Dialog8Form::SetValue(int row, int column, double v) {
    if (row == RowCount() && row < kSandRows) rows_.push_back(SandRow{});
    rows_.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column)) = v;
}

void Dialog8Form::SetRows(std::vector<SandRow> rows) {
    if (rows.size() > static_cast<std::size_t>(kSandRows)) rows.resize(kSandRows);
    rows_ = std::move(rows);
}

SandCurves Dialog8Form::Curves(const SandCurves& base) const {
    SandCurves c = base;
    const int n = RowCount();
    for (int d = 0; d < kSandCurves; ++d) {
        CurveTable& t = c[static_cast<std::size_t>(d)];
        t.n = static_cast<i16>(n);
        for (int a = 0; a < n; ++a) {
            t.X[static_cast<std::size_t>(a)] = rows_[static_cast<std::size_t>(a)][0];
            t.Y[static_cast<std::size_t>(a)] = rows_[static_cast<std::size_t>(a)][static_cast<std::size_t>(d + 1)];
        }
    }
    return c;
}

bool Dialog8Form::StoreDefaults(const Model& m, const std::filesystem::path& appPath, MessageSink& ui) const {
    if (!Confirm(ui, "データを初期値として保存します")) return false;
    // The writer takes the table built from the rows; the model stays as it is.
    return WriteSandCurveFile(appPath, Curves(m.BKHoughCurve), ui);
}

bool Dialog8Form::RestoreDefaults(Model& m, const std::filesystem::path& appPath, MessageSink& ui) {
    if (!Confirm(ui, "データを初期化します")) return false;
    if (!ReadSandCurveFile(appPath, m.BKHoughCurve, ui)) return false;
    Load(m.BKHoughCurve);
    return true;
}

}  // namespace kova
