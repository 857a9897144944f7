#include "dialogs/dialog7.hpp"

#include <QLineEdit>
#include <QSignalBlocker>
#include <algorithm>
#include <vector>

#include "dialogs/table_columns.hpp"
#include "textio/storable_text.hpp"

namespace kova {

namespace {

struct Position {
    std::string name;
    double x = 0;
};

const ColumnTable<Position>& Columns() {
    static const ColumnTable<Position> table({
        {.header = "位置名称", .width = 2400, .kind = ColumnKind::Text,
         .getText = [](const Position& p) { return p.name; },
         .setText = [](Position& p, std::string v) { p.name = std::move(v); }},
        {.header = "X座標", .width = 1200, .kind = ColumnKind::Number, .format = "##0.000", .typed = "", .item = Item::X,
         .get = [](const Position& p) { return p.x; },
         .set = [](Position& p, double v) { p.x = v; }},
    });
    return table;
}

}  // namespace

Dialog7::Dialog7(EditorHost& host, QWidget* owner)
    : LiveTableDialog(host, owner, QStringLiteral("沈下予測個所の入力")) {
    SetClientTwips(7710, 6015);
    AddLabel(QStringLiteral("業務名称"), 240, 300, 795, 255);
    txt_dg7 = new QLineEdit(this);
    PlaceTwips(txt_dg7, 1500, 300, 4155, 255);
    txt_dg7->setFixedHeight(std::max(txt_dg7->height(), txt_dg7->sizeHint().height()));
    AddLabel(QStringLiteral("沈下算出点"), 240, 960, 975, 255);
    Qflg_KP = AddGrid(1500, 900, 4455, 4815, FullTableMessage("沈下予測個所", kMaxCalcPos, "箇所"));
    AddOkCancel(6120, 300);

    BeginLoad();
    const Model& m = host_.SectionModel();
    const int count = std::clamp<int>(m.CalcPosCount, 0, kMaxCalcPos);
    std::vector<Position> rows;
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) rows.push_back({m.Cond.CalcPosName[i], m.Cond.CalcPosX[i]});
    Columns().Fill(*Qflg_KP, {.rows = kMaxCalcPos + 1, .controlWidth = 4200}, rows);
    WidenRightOf(6120, Qflg_KP->x() + Qflg_KP->width() - Px(5655));
    shownTitle_ = QString::fromStdString(m.Cond.ProjectTitle);
    txt_dg7->setText(shownTitle_);
    CentreOnOwner();

    connect(txt_dg7, &QLineEdit::textChanged, this, &Dialog7::TitleChanged);
    Connect(Qflg_KP);
}

void Dialog7::Unload() { host_.SelectToolOption(kNoToolOption); }

void Dialog7::TitleChanged(const QString& text) {
    if (!IsStorableText(text.toStdString())) {
        // The old text is back before the message, as in a cell.
        {
            const QSignalBlocker block(txt_dg7);
            txt_dg7->setText(shownTitle_);
        }
        CheckName("業務名称", text.toStdString(), host_.Messages());
        return;
    }
    shownTitle_ = text;
    host_.SectionModel().Cond.ProjectTitle = text.toStdString();
}

void Dialog7::CellEdited() {
    Model& m = host_.SectionModel();
    std::vector<Position> rows;
    CellReader read = CellReader::AfterEdit(Qflg_KP->Model(), host_.Messages());
    if (!Columns().Read(Qflg_KP->Model(), read, kMaxCalcPos, rows)) return;  // the edit is already undone
    m.CalcPosCount = static_cast<i16>(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        m.Cond.CalcPosName[i] = rows[i].name;
        m.Cond.CalcPosX[i] = rows[i].x;
    }
    RenumberRows(Qflg_KP->Model(), static_cast<int>(rows.size()), "#0");
    host_.Refresh();
}

}  // namespace kova
