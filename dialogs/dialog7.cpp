#include "dialogs/dialog7.hpp"

#include <QLineEdit>
#include <QSignalBlocker>
#include <algorithm>
#include <vector>

#include "dialogs/table_form.hpp"

namespace kova {

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
    SetUpGrid(*Qflg_KP, {.rows = kMaxCalcPos + 1,
                         .cols = 3,
                         .widths = {500, 2400, 1200},
                         .headers = {"No.", "位置名称", "X座標"},
                         .formats = {"", ""},
                         .controlWidth = 4200});
    grid::GridModel& g = Qflg_KP->Model();
    for (int i = 0; i < count; ++i) {
        g.SetCell(i + 1, 0, Fmt(i + 1, "#0"));
        g.SetCell(i + 1, 1, QString::fromStdString(m.Cond.CalcPosName[static_cast<std::size_t>(i)]));
        g.SetCellValue(i + 1, 2, m.Cond.CalcPosX[static_cast<std::size_t>(i)], "##0.000");
    }
    Qflg_KP->Model().SetNumeric(2, true);
    Qflg_KP->SetDrawing(true);
    WidenRightOf(6120, Qflg_KP->x() + Qflg_KP->width() - Px(5655));
    shownTitle_ = QString::fromStdString(m.Cond.ProjectTitle);
    txt_dg7->setText(shownTitle_);
    CentreOnOwner();

    connect(txt_dg7, &QLineEdit::textChanged, this, &Dialog7::TitleChanged);
    Connect(Qflg_KP);
}

void Dialog7::Unload() { host_.SelectToolOption(kNoToolOption); }

void Dialog7::TitleChanged(const QString& text) {
    if (!CheckName(text.toStdString(), host_.Messages())) {
        const QSignalBlocker block(txt_dg7);
        txt_dg7->setText(shownTitle_);
        return;
    }
    shownTitle_ = text;
    host_.SectionModel().Cond.ProjectTitle = text.toStdString();
}

void Dialog7::CellEdited() {
    Model& m = host_.SectionModel();
    grid::GridModel& g = Qflg_KP->Model();
    const int u = std::min(Qflg_KP->RowsInUse(), kMaxCalcPos);
    std::vector<std::pair<std::string, double>> rows(static_cast<std::size_t>(u));
    CellReader read = CellReader::AfterEdit(g, host_.Messages());
    for (int r = 1; r <= u && !read.Failed(); ++r) {
        if (auto name = read.Name(r, 1)) rows[static_cast<std::size_t>(r - 1)].first = *name;
        if (auto x = read.Real(r, 2, Item::X)) rows[static_cast<std::size_t>(r - 1)].second = *x;
    }
    if (read.Failed()) return;  // the edit is already undone
    m.CalcPosCount = static_cast<i16>(u);
    for (int r = 1; r <= u; ++r) {
        m.Cond.CalcPosName[static_cast<std::size_t>(r - 1)] = rows[static_cast<std::size_t>(r - 1)].first;
        m.Cond.CalcPosX[static_cast<std::size_t>(r - 1)] = rows[static_cast<std::size_t>(r - 1)].second;
    }
    RenumberRows(g, u, "#0");
    host_.RepaintCanvas();
}

}  // namespace kova
