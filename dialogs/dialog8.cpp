#include "dialogs/dialog8.hpp"

#include <QPushButton>

#include "dialogs/grid_fit.hpp"
#include "dialogs/limit_check.hpp"
#include "dialogs/table_dialog.hpp"
#include "dialogs/table_form.hpp"
#include "platform/qt/qt_text.hpp"

namespace kova {

namespace {

constexpr int kCols = 1 + 1 + kSandCurves;

// Three lines each, so that the class name stands on the middle line.
constexpr const char* kHeaders[kCols] = {
    "No.",
    "圧力Ｐ  (kN/m2)",
    "非常に\nゆるい砂\n(N=0～4)",
    "\nゆるい砂\n(N=4～10)",
    "中位に\n締まった砂\n(N=10～30)",
    "\n締まった砂\n(N=30～50)",
    "非常に\n締まった砂\n(N>50)",
};

}  // namespace

Dialog8::Dialog8(EditorHost& host, QWidget* owner) : CommitDialog(host, owner, QStringLiteral("砂層のe-LogP曲線")) {
    SetClientTwips(8460, 6600);
    ok_ = AddButton(QStringLiteral("OK"), 7020, 300, 1215, 375);
    cancel_ = AddButton(QStringLiteral("ｷｬﾝｾﾙ"), 7020, 780, 1215, 375);
    grid_ = new grid::QEX_FLG(this);
    grid_->SetMessages(&host_.Messages());
    grid_->SetFullMessage(FullTableMessage("砂層のe-LogP曲線の点", kSandRows, "点"));
    PlaceTwips(grid_, 240, 300, 6650, 5415);
    cmd_[0] = AddButton(QStringLiteral("現在の値を初期値としてシステム登録"), 240, 5940, 3195, 375);
    cmd_[1] = AddButton(QStringLiteral("初期値に戻す"), 3660, 5940, 3195, 375);
    connect(ok_, &QPushButton::clicked, this, &Dialog8::OkClicked);
    connect(cancel_, &QPushButton::clicked, this, &Dialog8::CancelClicked);
    connect(cmd_[0], &QPushButton::clicked, this, &Dialog8::StoreDefaults);
    connect(cmd_[1], &QPushButton::clicked, this, &Dialog8::RestoreDefaults);

    grid_->SetDrawing(false);
    grid_->SetRows(kSandRows + 1);
    grid_->SetCols(kCols);
    for (int c = 1; c < kCols; ++c) grid_->Model().SetNumeric(c, true);
    grid_->SetHeaderRows(1);
    grid_->SetHeaderCols(1);
    for (int c = 0; c < kCols; ++c) {
        grid_->SetColWidth(c, c == 0 ? 500 : 1000);
        grid_->SetCellText(0, c, Q(kHeaders[c]));
    }
    grid_->SetControlWidth(6650);
    grid_->SetRowHeight(0, 800);
    grid_->SetGridStyle(4);
    grid_->SetGridName(QStringLiteral("MORIDO"));
    Fill(host.SectionModel().BKHoughCurve);
    connect(grid_, &grid::QEX_FLG::CellEdited, this, &Dialog8::CheckEdit);
    FitGridWidth(this, grid_, Px(6650), {ok_, cancel_});
    setTabOrder(ok_, cancel_);
    setTabOrder(cancel_, grid_);
    setTabOrder(grid_, cmd_[0]);
    setTabOrder(cmd_[0], cmd_[1]);
    CentreOnOwner();
    FocusFirstCell(*grid_);
}

void Dialog8::Fill(const SandCurves& curves) {
    Dialog8Form rows;
    rows.Load(curves);
    grid_->SetDrawing(false);
    grid_->Clear();
    grid_->Initialise(true, 0);
    grid_->SetFormat(1, QStringLiteral("#0.0"));
    grid_->SetTiedRows(false);
    grid::GridModel& g = grid_->Model();
    g.SetBlankShowsZero(true);  // a new row's empty void ratios are stored as 0
    for (int a = 0; a < rows.RowCount(); ++a) {
        const SandRow& r = rows.Row(a);
        g.SetCellValue(a + 1, 0, a + 1, QStringLiteral("#0"));
        g.SetCellValue(a + 1, 1, r[0], QStringLiteral("##0.0"));
        for (int d = 1; d <= kSandCurves; ++d)
            g.SetCellValue(a + 1, d + 1, r[static_cast<std::size_t>(d)], QStringLiteral("##0.000"));
    }
    g.SetRowsInUse(rows.RowCount());
    grid_->SetDrawing(true);
}

std::vector<SandRow> Dialog8::GridRows() const {
    const grid::GridModel& g = grid_->Model();
    std::vector<SandRow> rows;
    for (int r = 1; r <= grid_->RowsInUse(); ++r) {
        SandRow row{};
        for (int c = 0; c <= kSandCurves; ++c) row[static_cast<std::size_t>(c)] = g.Value(r, c + 1).value_or(0);
        rows.push_back(row);
    }
    return rows;
}

void Dialog8::CheckEdit() {
    const int col = grid_->Model().Last().col;
    if (col < 1) return;
    RefuseOutsideLimit(*grid_, col == 1 ? Item::SandPressure : Item::SandVoidRatio, 1, host_.Messages());
}

bool Dialog8::Commit() {
    Model& m = host_.SectionModel();
    Dialog8Form form(m);
    form.SetRows(GridRows());
    if (!form.ConfirmUsableCurves(m, host_.Messages())) return false;
    form.Apply(m);
    return true;
}

void Dialog8::StoreDefaults() {
    Model& m = host_.SectionModel();
    Dialog8Form form(m);
    form.SetRows(GridRows());
    form.StoreDefaults(m, host_.AppPath(), host_.Messages());
}

void Dialog8::RestoreDefaults() {
    Model& m = host_.SectionModel();
    Dialog8Form form(m);
    if (form.RestoreDefaults(m, host_.AppPath(), host_.Messages())) Fill(m.BKHoughCurve);
}

}  // namespace kova
