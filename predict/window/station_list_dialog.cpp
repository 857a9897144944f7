#include "predict/window/station_list_dialog.hpp"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/grid/qex_flg.hpp"
#include "platform/qt/qt_text.hpp"
#include "platform/qt/screen_qt.hpp"
#include "predict/commands/station_list.hpp"
#include "textio/storable_text.hpp"

namespace kova::predict {

F1::F1(ObsDataSet& data, MessageSink& messages, const QWidget* centreOn,
       std::function<void(const std::string&, const std::string&)> showOnMain)
    : FixedDialog(nullptr, Q(kStationListCaption)),
      data_(data),
      messages_(messages),
      showOnMain_(std::move(showOnMain)) {
    SetClientTwips(6315, 6480);
    setObjectName(QStringLiteral("F1"));
    setFont(FormFont("ＭＳ Ｐゴシック", 9));
    auto* label1 = new QLabel(Q("業務名称"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    PlaceTextTwips(label1, 300, 180, 915, 255);
    text1_ = new QLineEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    PlaceTextTwips(text1_, 1260, 180, 3135, 270);
    auto* label2 = new QLabel(Q("沈下予測"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    PlaceTextTwips(label2, 300, 780, 915, 255);
    grid_ = new grid::QEX_FLG(this);
    grid_->setObjectName(QStringLiteral("QEXFLG"));
    grid_->SetMessages(&messages_);
    grid_->SetFullMessage(kTooManyStationsText);
    PlaceTextTwips(grid_, 1260, 720, 3075, 4875);
    command1_ = new QPushButton(QStringLiteral("OK"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setAutoDefault(false);
    PlaceTextTwips(command1_, 4740, 720, 1215, 375);
    connect(command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(grid_, &grid::QEX_FLG::CellEdited, this, [this] { QEXFLG_CellEdited(); });
    Form_Load();
    CentreOn(centreOn);
}

void F1::Form_Load() {
    text1_->setText(Q(data_.JobTitle));
    grid::QEX_FLG& g = *grid_;
    g.SetDrawing(false);
    g.Clear();
    g.SetCols(2);
    g.SetRows(kMaxStations + 1);
    g.SetHeaderCols(1);
    g.SetHeaderRows(1);
    g.SetControlWidth(3150);
    g.SetRowHeight(0, 500);
    g.SetColWidth(0, 500);
    g.SetColWidth(1, 2500);
    g.SetCellText(0, 0, QStringLiteral("No"));
    g.SetCellText(0, 1, Q("観測所名称"));
    g.SetGridStyle(4);
    g.SetFormat(1, QString());
    g.Initialise(true, 0);
    g.SetDrawing(true);
    const int count = std::clamp<int>(data_.StationCount, 0, kMaxStations);
    for (int i = 1; i <= count; ++i) {
        const QString name = Q(data_.Stations[i].Name);
        if (i < count) {
            g.SetCellText(i, 0, QString::number(i));
            g.SetCellText(i, 1, name);
        } else {
            g.AddRow(i, QString::number(i) + QLatin1Char('\t') + name);
        }
    }
}

void F1::QEXFLG_CellEdited() {
    if (undoing_) return;
    grid::QEX_FLG& g = *grid_;
    // A name the data file cannot hold is refused at its cell: every other
    // name passed before, so the refused one is the last edit.
    for (int i = 1; i <= g.RowsInUse(); ++i) {
        const std::string name = U(g.CellText(i, 1));
        if (!IsStorableText(name)) {
            undoing_ = true;
            g.Model().RevertLastEdit();  // the old name is back before the message
            undoing_ = false;
            messages_.Notify(ForbiddenTextMessage(StationNameField(i), name));
            return;
        }
    }
    const int row = g.CurrentRow();
    if (ApplyStationRows(data_, row, g.RowsInUse()) != StationListChange::Refused) {
        Renumber();
        return;
    }
    // A twenty-first station: the grid goes back to the twenty it had.
    messages_.Notify(kTooManyStationsText);
    undoing_ = true;
    while (g.RowsInUse() > kMaxStations) {
        const int before = g.RowsInUse();
        if (!g.Model().DeleteRowAt(std::clamp(row, 1, before))) break;
        if (g.RowsInUse() >= before) break;
    }
    undoing_ = false;
    Renumber();
}

void F1::Renumber() {
    grid::QEX_FLG& g = *grid_;
    const int inUse = g.RowsInUse();
    undoing_ = true;
    for (int i = 1; i <= kMaxStations; ++i) {
        const QString no = i <= inUse ? QString::number(i) : QString();
        if (g.CellText(i, 0) != no) g.SetCellText(i, 0, no);
    }
    // Clearing a number below the rows in use adds no row.
    g.Model().SetRowsInUse(inUse);
    undoing_ = false;
}

void F1::Command1_Click() {
    std::vector<std::string> names;
    const int used = std::min(grid_->RowsInUse(), kMaxStations);
    for (int i = 1; i <= used; ++i) names.push_back(U(grid_->CellText(i, 1)));
    if (auto refused = CommitStationList(data_, U(text1_->text()), names)) {
        messages_.Notify(*refused);
        return;
    }
    if (showOnMain_) showOnMain_(data_.JobTitle, U(grid_->CellText(1, 1)));
    accept();
}

}  // namespace kova::predict
