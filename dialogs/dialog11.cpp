#include "dialogs/dialog11.hpp"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "dialogs/grid_fit.hpp"
#include "dialogs/limit_check.hpp"
#include "dialogs/table_dialog.hpp"
#include "rules/limits.hpp"
#include "platform/qt/qt_text.hpp"

namespace kova {

namespace {

constexpr int kFirstValueCol = 3;

// Value columns 3 to 8: header, number format and the item of the table of limits.
struct ValueColumn {
    const char* header;
    const char* pattern;
    Item item;
};
constexpr ValueColumn kValueColumns[kDrainValueCount] = {
    {"打設間隔 d  (m)", "#0.000", Item::DrainSpacing},
    {"直径 dw  (m)", "#0.000", Item::DrainDiameter},
    {"係数 α", "#0.000", Item::DrainAlpha},
    {"係数 Kc/kw", "#0.000000", Item::PermRatio},
    {"応力分担比 n", "#0.000", Item::ShareRatio},
    {"砂杭置換率 as", "#0.000", Item::ReplaceRatio},
};
// What each value shows on opening.
constexpr const char* kOpenPatterns[kDrainValueCount] = {"##0.000", "##0.000", "##0.000", "#0.000000", "#0.000", "#0.000"};

}  // namespace

Dialog11::Dialog11(EditorHost& host, QWidget* owner) : CommitDialog(host, owner, QStringLiteral("促進工法の入力")) {
    SetClientTwips(11205, 4950);
    grid_ = new grid::QEX_FLG(this);
    grid_->SetMessages(&host_.Messages());
    PlaceTwips(grid_, 120, 60, 10815, 2775);
    ok_ = AddButton(QStringLiteral("OK"), 9660, 3060, 1215, 375);
    cancel_ = AddButton(QStringLiteral("ｷｬﾝｾﾙ"), 9660, 3540, 1215, 375);
    connect(ok_, &QPushButton::clicked, this, &Dialog11::OkClicked);
    connect(cancel_, &QPushButton::clicked, this, &Dialog11::CancelClicked);

    auto* panel = new QGroupBox(QStringLiteral("係数について"), this);
    PlaceTwips(panel, 120, 3000, 9315, 1815);
    panel->lower();
    // The help stands in the frame (twips as on the form, from its corner).
    auto label = [this, panel](const char* text, int left, int top, int width, int height) {
        auto* l = new QLabel(Q(text), panel);
        l->setGeometry(Px(left - 120), Py(top - 3000), Px(width), Py(height));
        return l;
    };
    label("α：圧密係数補正値 Ch=α・Cv", 300, 3240, 3255, 195);
    label("Kc：粘土の透水係数 （cm/秒）", 300, 3480, 2715, 195);
    label("Kw：ドレーンの透水係数 （cm/秒）", 300, 3720, 2715, 195);
    QLabel* open = label("(", 3420, 3360, 315, 675);
    QLabel* close = label(")", 7020, 3360, 315, 675);
    for (QLabel* l : {open, close}) {
        QFont f = l->font();
        f.setPointSizeF(f.pointSizeF() * 3);
        l->setFont(f);
    }
    QLabel* note = label("Kc/Kwはウェルレジスタンスの影響を考慮する場合のみ入力して下さい。", 3600, 3480, 3420, 375);
    note->setWordWrap(true);
    label("沈下低減係数βについて", 180, 4020, 2715, 195);
    label("低置換改良の場合（as＜0.5）  β=1/(1+(n-1)as)", 300, 4260, 5595, 195);
    label("高置換改良の場合（as≧0.5）  β=1-as", 300, 4500, 5595, 195);
    FitInFrame(panel);

    // The grid, one row per soil layer.
    const Model& m = host.SectionModel();
    const Dialog11Form form(m);
    grid_->SetDrawing(false);
    grid_->SetRows(form.RowCount() + 1);
    grid_->SetCols(9);
    grid_->SetHeaderRows(1);
    grid_->SetHeaderCols(2);
    const int widths[] = {500, 2000, 2000, 1000, 1000, 1000, 1000, 1000, 1000};
    for (int c = 0; c < 9; ++c) grid_->SetColWidth(c, widths[c]);
    grid_->SetCellText(0, 0, QStringLiteral("No."));
    grid_->SetCellText(0, 1, QStringLiteral("土層名称"));
    grid_->SetCellText(0, 2, QStringLiteral("促進工法"));
    for (int c = 0; c < kDrainValueCount; ++c) grid_->SetCellText(0, kFirstValueCol + c, Q(kValueColumns[c].header));
    grid_->SetDropDown(2, true);
    QString items;
    for (std::string_view it : kDrainMethodItems) items += (items.isEmpty() ? "" : "|") + Q(it);
    grid_->SetDropItems(2, items);
    grid_->SetHeaderColStyle(0, 4);
    grid_->SetHeaderColStyle(1, 4);
    grid_->SetRowHeight(0, 500);
    grid_->SetFormat(1, QString());
    grid_->SetFormat(2, QString());
    for (int c = 0; c < kDrainValueCount; ++c) grid_->SetFormat(kFirstValueCol + c, Q(kValueColumns[c].pattern));
    grid_->SetControlWidth(10850);
    grid_->SetGridStyle(4);
    grid_->SetGridName(QStringLiteral("MORIDO"));
    grid_->Initialise(true, 0);
    grid_->SetTiedRows(true);
    grid::GridModel& g = grid_->Model();
    for (int i = 0; i < form.RowCount(); ++i) {
        const DrainRow& r = form.Row(i);
        const int row = i + 1;
        g.SetCellValue(row, 0, i + 1, QStringLiteral("#0"));
        g.SetCell(row, 1, Q(r.name));
        g.SetCellCode(row, 2, r.method);
        for (int c = 0; c < kDrainValueCount; ++c)
            g.SetCellValue(row, kFirstValueCol + c, r.values[static_cast<std::size_t>(c)], Q(kOpenPatterns[c]));
    }
    g.SetRowsInUse(form.RowCount());
    grid_->SetDrawing(true);
    connect(grid_, &grid::QEX_FLG::CellEdited, this, &Dialog11::CheckEdit);
    FitGridWidth(this, grid_, Px(10850), {ok_, cancel_});
    CentreOnOwner();
    FocusFirstCell(*grid_);
}

void Dialog11::CheckEdit() {
    const int col = grid_->Model().Last().col;
    if (col < kFirstValueCol || col >= kFirstValueCol + kDrainValueCount) return;
    RefuseOutsideLimit(*grid_, kValueColumns[col - kFirstValueCol].item, 1, host_.Messages());
}

bool Dialog11::Commit() {
    Model& m = host_.SectionModel();
    Dialog11Form form(m);
    const grid::GridModel& g = grid_->Model();
    const int rows = std::min(grid_->RowsInUse(), form.RowCount());
    for (int r = 1; r <= rows; ++r) {
        // A text matching no item leaves the method as it was.
        const int code = g.Code(r, 2);
        if (code >= 0) form.SetMethod(r - 1, code);
        for (int c = 0; c < kDrainValueCount; ++c)
            form.SetValue(r - 1, c, g.Value(r, kFirstValueCol + c).value_or(0));
    }
    if (const auto refusal = form.Check())
        return RefuseAt(*grid_, refusal->row + 1, kFirstValueCol + refusal->column, host_.Messages(),
                        refusal->message, MsgIcon::Exclamation);
    form.Apply(m);
    return true;
}

}  // namespace kova
