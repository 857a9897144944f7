#include "dialogs/dialog5.hpp"

#include <QEvent>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>

#include "dialogs/dialog8.hpp"
#include "dialogs/dialog8_form.hpp"
#include "dialogs/grid/number_box.hpp"
#include "dialogs/limit_check.hpp"
#include "dialogs/table_form.hpp"
#include "platform/qt/picture_qt.hpp"
#include "platform/qt/qt_text.hpp"
#include "platform/qt/screen_qt.hpp"

namespace kova {

namespace {

const QColor kChosen(0, 255, 0);
const QColor kLeft(255, 255, 255);

// Items of the table of limits for the value column, by kind, and the
// factor from the shown value to the model's.
constexpr Item kValueItems[] = {Item::VoidRatio, Item::MvValue, Item::CvValue};
constexpr double kValueToModel[] = {1, 10, 1};

}  // namespace

Dialog5::Dialog5(EditorHost& host, QWidget* owner) : LiveEditDialog(host, owner, QStringLiteral("土質定数の入力")) {
    BeginLoad();
    SetClientTwips(9195, 8040);

    ok_ = AddButton(QStringLiteral("OK"), 7680, 300, 1215, 375);
    cancel_ = AddButton(QStringLiteral("ｷｬﾝｾﾙ"), 7680, 780, 1215, 375);
    connect(ok_, &QPushButton::clicked, this, &Dialog5::OkClicked);
    connect(cancel_, &QPushButton::clicked, this, &Dialog5::CancelClicked);

    points_ = new grid::QEX_FLG(this);
    points_->SetMessages(&host_.Messages());
    points_->SetFullMessage(FullTableMessage("圧密曲線の点", kCurveRows, "点"));
    PlaceTwips(points_, 180, 2580, 3255, 4815);

    plot_ = new PictureBoxWidget(this);
    PlaceTwips(plot_, 3360, 2580, 5715, 4815);
    plot_->setFont(FormFont("ＭＳ Ｐゴシック", 9));

    selector_ = new QTableWidget(this);
    PlaceTwips(selector_, 180, 480, 6855, 1695);

    auto* head0 = new QLabel(QStringLiteral("各種設定対象のグラフ項目をクリックします。"), this);
    PlaceTwips(head0, 180, 180, 6675, 195);
    head1_ = new QLabel(QStringLiteral("下記表でグラフデータの入力を行います。"), this);
    PlaceTwips(head1_, 180, 2340, 6675, 195);
    sand_ = AddButton(QStringLiteral("砂のe-LogP曲線"), 7320, 1440, 1635, 735);
    connect(sand_, &QPushButton::clicked, this, &Dialog5::OpenSandCurves);

    // Inside the plot box.
    txtY_ = new QLineEdit(plot_);
    PlaceTwips(txtY_, 120, 240, 735, 270);
    txtX_ = new QLineEdit(plot_);
    PlaceTwips(txtX_, 4800, 4380, 735, 270);
    lbl1_ = new QLabel(QStringLiteral("ｅ"), plot_);
    lbl2_ = new QLabel(QString(), plot_);
    auto* label2 = new QLabel(QStringLiteral("LogP（kN/m2）"), plot_);
    const TwipsScale s = ScreenTwips(this);
    for (auto [l, left, top] : {std::tuple{lbl1_, 300, 2040}, std::tuple{lbl2_, 350, 2280}, std::tuple{label2, 2700, 4545}}) {
        l->move(s.ToPixelsX(left), s.ToPixelsY(top));
        l->setAutoFillBackground(false);
        l->adjustSize();
    }
    // The two fixed axis lines.
    auto* line2 = new QFrame(plot_);
    line2->setGeometry(s.ToPixelsX(960), s.ToPixelsY(240), 1, s.ToPixelsY(4240) - s.ToPixelsY(240) + 1);
    auto* line1 = new QFrame(plot_);
    line1->setGeometry(s.ToPixelsX(960), s.ToPixelsY(4260), s.ToPixelsX(4960) - s.ToPixelsX(960) + 1, 1);
    for (QFrame* f : {line1, line2}) {
        f->setAutoFillBackground(true);
        QPalette p = f->palette();
        p.setColor(QPalette::Window, Qt::black);
        f->setPalette(p);
    }

    // Tab order as the form lists it.
    QWidget* order[] = {ok_, cancel_, points_, plot_, selector_, sand_, txtY_, txtX_};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

    // The point grid: empty until a curve is chosen.
    points_->SetDrawing(false);
    points_->SetRows(kCurveRows + 1);
    points_->SetCols(3);
    points_->Model().SetNumeric(1, true);
    points_->Model().SetNumeric(2, true);
    points_->SetHeaderRows(1);
    points_->SetHeaderCols(1);
    points_->SetColWidth(0, 500);
    points_->SetColWidth(1, 1200);
    points_->SetColWidth(2, 1200);
    points_->SetCellText(0, 0, QStringLiteral("No."));
    points_->SetCellText(0, 1, QStringLiteral("P (kN/m2)"));
    points_->SetCellText(0, 2, QStringLiteral("e"));
    points_->SetControlWidth(3020);
    points_->SetGridStyle(4);
    points_->SetGridName(QStringLiteral("ZAHYO"));
    points_->Initialise(true, 0);
    points_->SetTiedRows(false);
    points_->SetDrawing(true);
    SetPointsEditable(false);
    connect(points_, &grid::QEX_FLG::CellEdited, this, &Dialog5::PointsEdited);

    txtX_->setText(Q(form_->XText()));
    txtY_->setText(Q(form_->YText()));
    for (QLineEdit* box : {txtX_, txtY_}) box->installEventFilter(this);
    connect(txtX_, &QLineEdit::textEdited, this, [this](const QString& t) { BoxEdited(true, t); });
    connect(txtY_, &QLineEdit::textEdited, this, [this](const QString& t) { BoxEdited(false, t); });
    checkX_ = new grid::NumberBox(txtX_, QStringLiteral("圧力軸の最大値"), "", &host_.Messages());
    checkY_ = new grid::NumberBox(txtY_, QStringLiteral("縦軸の最大値"), "", &host_.Messages());
    connect(checkX_, &grid::NumberBox::Restored, this, [this](const QString& t) { BoxRestored(true, t); });
    connect(checkY_, &grid::NumberBox::Restored, this, [this](const QString& t) { BoxRestored(false, t); });

    FillSelector();

    plot_->SetDraw([this](Picture& pic) {
        SoilPlotInput in = form_->PlotInput();
        const QColor back = palette().color(QPalette::Base);
        in.back = Rgb{static_cast<std::uint8_t>(back.red()), static_cast<std::uint8_t>(back.green()),
                      static_cast<std::uint8_t>(back.blue())};
        if (auto titles = DrawSoilCurvePlot(pic, in)) {
            lbl1_->setText(Q(titles->title));
            lbl2_->setText(Q(titles->unit));
            lbl1_->adjustSize();
            lbl2_->adjustSize();
        }
        return true;
    });
    CentreOnOwner();
    // The keyboard starts in the curve chooser: the points take no typing
    // until a curve is chosen.
    selector_->setFocus();
}

Dialog5::~Dialog5() {
    // Nothing may reach the form once it is gone (focus leaving a box, a
    // last drawing of the plot).
    txtX_->removeEventFilter(this);
    txtY_->removeEventFilter(this);
    plot_->SetDraw(nullptr);
}

void Dialog5::TakeSnapshot() { form_ = std::make_unique<Dialog5Form>(host_.SectionModel()); }

void Dialog5::RestoreSnapshot() { form_->Restore(); }

// A curve the calculation cannot use is asked about, as the sand curves
// are; the engine stays the last check.
bool Dialog5::CheckOnOk() {
    const auto fault = form_->FirstCurveFault();
    return !fault || AskToStoreAnyway(host_.Messages(), *fault + "\rこのままでは沈下計算ができません。");
}

void Dialog5::FillSelector() {
    const int rows = form_->SelectorRows();
    selector_->blockSignals(true);
    selector_->setRowCount(rows);
    selector_->setColumnCount(5);
    selector_->verticalHeader()->hide();
    selector_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    selector_->setSelectionMode(QAbstractItemView::NoSelection);
    selector_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    selector_->horizontalHeader()->setSectionsClickable(false);
    const TwipsScale s = ScreenTwips(this);
    const int widths[] = {500, 2400, 1200, 1200, 1200};
    for (int c = 0; c < 5; ++c) {
        selector_->setColumnWidth(c, s.ToPixelsX(widths[c]));
        auto* h = new QTableWidgetItem(Q(form_->SelectorText(0, c)));
        h->setTextAlignment(Qt::AlignCenter);
        selector_->setHorizontalHeaderItem(c, h);
    }
    for (int r = 1; r <= rows; ++r)
        for (int c = 0; c < 5; ++c) {
            auto* item = new QTableWidgetItem(Q(form_->SelectorText(r, c)));
            item->setTextAlignment(Qt::AlignCenter);
            item->setBackground(kLeft);
            // The number column is the fixed header column.
            if (c == 0) item->setFlags(Qt::ItemIsEnabled);
            selector_->setItem(r - 1, c, item);
        }
    selector_->setCurrentCell(-1, -1);
    selector_->blockSignals(false);
    selector_->setFixedWidth(s.ToPixelsX(6860));
    connect(selector_, &QTableWidget::currentCellChanged, this, &Dialog5::SelectorMoved);
}

void Dialog5::SelectorMoved(int row, int col, int prevRow, int prevCol) {
    if (row >= 0 && col < 1) {
        // The fixed number column is not a cell to choose: the mark and the
        // choice stay where they were.
        QSignalBlocker quiet(selector_);
        selector_->setCurrentCell(prevRow, prevCol);
        return;
    }
    if (QTableWidgetItem* left = selector_->item(prevRow, prevCol)) left->setBackground(kLeft);
    if (row < 0) return;
    if (QTableWidgetItem* now = selector_->item(row, col)) now->setBackground(kChosen);
    const bool curve = form_->Choose(row + 1, col);
    SetPointsEditable(form_->PointsEditable());
    if (!curve) return;
    LoadPointGrid();
    checkX_->SetStored(Q(form_->XText()));
    checkY_->SetStored(Q(form_->YText()));
    plot_->RequestRefresh();
    points_->SetDrawing(true);
}

void Dialog5::LoadPointGrid() {
    points_->SetDrawing(false);
    points_->Clear();
    points_->SetGridStyle(4);
    points_->SetCellText(0, 0, QStringLiteral("No."));
    points_->SetCellText(0, 1, QStringLiteral("P (kN/m2)"));
    points_->SetFormat(2, Q(form_->ValuePattern()));
    points_->SetCellText(0, 2, Q(form_->ValueHeader()));
    grid::GridModel& g = points_->Model();
    const QString valuePattern = form_->Kind() == CurveKind::MvLogP ? QStringLiteral("##0.000000") : QStringLiteral("##0.000");
    const double toShown = form_->Kind() == CurveKind::MvLogP ? 0.1 : 1;
    for (int k = 0; k < form_->PointCount(); ++k) {
        const CurvePoint& p = form_->Point(k);
        // The number keeps the point it started from, so that a point the
        // user leaves alone is stored back with its own values.
        g.SetCellValue(k + 1, 0, k + 1, QStringLiteral("#0"));
        g.SetCellValue(k + 1, 1, p.X * 10, QStringLiteral("##0.000"));
        g.SetCellValue(k + 1, 2, p.Y * toShown, valuePattern);
    }
    g.SetRowsInUse(form_->PointCount());
}

void Dialog5::SetPointsEditable(bool on) {
    // Until a curve cell is chosen, the table takes no edits at all, and the
    // line above it says why.
    points_->Model().SetReadOnly(!on);
    head1_->setText(on ? QStringLiteral("下記表でグラフデータの入力を行います。")
                       : QStringLiteral("上の表でグラフ項目（○/－）を選ぶと入力できます。"));
}

void Dialog5::PointsEdited() {
    if (!form_->PointsEditable()) return;
    const int kind = static_cast<int>(form_->Kind());
    const int col = points_->Model().Last().col;
    // The ranges are told in the units the user types.
    if (col == 1) RefuseOutsideLimit(*points_, Item::CurvePressure, 0.1, host_.Messages());
    if (col == 2) RefuseOutsideLimit(*points_, kValueItems[kind], kValueToModel[kind], host_.Messages());

    const grid::GridModel& g = points_->Model();
    std::vector<Dialog5Form::RowInput> rows;
    for (int r = 1; r <= points_->RowsInUse(); ++r) {
        // A row with a cell never filled (a new row, or one whose only value
        // was refused) is no point yet: storing it would make a point of 0.
        const auto unfilled = [&g, r](int c) { return !g.HasKeptValue(r, c) && g.Cell(r, c).trimmed().isEmpty(); };
        if (unfilled(1) || unfilled(2)) continue;
        Dialog5Form::RowInput in;
        if (g.HasKeptValue(r, 0)) in.origin = static_cast<int>(g.Value(r, 0).value_or(0)) - 1;
        if (!g.HasKeptValue(r, 1)) in.p = g.Value(r, 1).value_or(0);
        if (!g.HasKeptValue(r, 2)) in.value = g.Value(r, 2).value_or(0);
        rows.push_back(in);
    }
    form_->UpdatePoints(rows);
    form_->StorePoints();
    // Every row in use shows its number; a loaded row keeps the point it
    // came from behind it.
    for (int r = 1; r <= points_->RowsInUse(); ++r)
        if (points_->CellText(r, 0) != QString::number(r)) points_->Model().SetCellTextKeepingValue(r, 0, QString::number(r));
    if (QTableWidgetItem* mark = selector_->item(form_->c_rw() - 1, form_->cl()))
        mark->setText(Q(form_->SelectorText(form_->c_rw(), form_->cl())));
    plot_->RequestRefresh();
}

void Dialog5::BoxEdited(bool xBox, const QString& text) {
    const bool repaint = xBox ? form_->XEdited(U(text)) : form_->YEdited(U(text));
    if (repaint) plot_->RequestRefresh();
}

void Dialog5::BoxRestored(bool xBox, const QString& text) {
    // The refused text may have been stored while it was typed: the text
    // put back is stored again, as if typed into the box.
    const int inBox = form_->pic_sw();
    form_->SetBoxFocus(true);
    BoxEdited(xBox, text);
    form_->SetBoxFocus(inBox != 0);
}

bool Dialog5::eventFilter(QObject* watched, QEvent* e) {
    if ((watched == txtX_ || watched == txtY_) && (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut))
        form_->SetBoxFocus(e->type() == QEvent::FocusIn);
    return LiveEditDialog::eventFilter(watched, e);
}

void Dialog5::OpenSandCurves() {
    // The sand curves are the sand dialog's own: this dialog's snapshot does
    // not cover them, and nothing here is reloaded afterwards.
    Dialog8 d(host_, this);
    d.exec();
}

}  // namespace kova
