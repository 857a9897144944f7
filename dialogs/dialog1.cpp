#include "dialogs/dialog1.hpp"

#include <algorithm>

#include "dialogs/table_form.hpp"

namespace kova {

Dialog1::Dialog1(EditorHost& host, QWidget* owner) : LiveTableDialog(host, owner, QStringLiteral("盛土情報の入力")) {
    SetClientTwips(7740, 3480);
    Qflg_MB = AddGrid(240, 300, 5655, 2775);
    AddOkCancel(6240, 2220);

    BeginLoad();
    const Model& m = host_.SectionModel();
    const int count = std::clamp<int>(m.EmbankmentCount, 0, kMaxBlocks);
    SetUpGrid(*Qflg_MB, {.rows = count + 1,
                         .cols = 4,
                         .widths = {500, 2400, 1200, 1200},
                         .headers = {"No.", "盛土名称", "有効重量  (kN/m3)", "段階載荷番号"},
                         .formats = {"", "", "#0.000", "#0"},
                         .headerRowHeight = 500,
                         .controlWidth = 5700,
                         .tied = true});
    grid::GridModel& g = Qflg_MB->Model();
    for (int i = 0; i < count; ++i) {
        const SoilBlock& b = m.Embankment[static_cast<std::size_t>(i)];
        g.SetCell(i + 1, 0, Fmt(i + 1, "#0"));
        g.SetCell(i + 1, 1, QString::fromStdString(b.Name));
        g.SetCellValue(i + 1, 2, b.UnitWeight, "##0.000");
        g.SetCellValue(i + 1, 3, b.Stage, "#0");
    }
    for (int c : {2, 3}) Qflg_MB->Model().SetNumeric(c, true);
    Qflg_MB->SetDrawing(true);
    WidenRightOf(6240, Qflg_MB->width() - Px(5700));
    CentreOnOwner();
    Connect(Qflg_MB);
}

// Cancel puts the embankments back but keeps a stage count that an edit
// raised.
void Dialog1::RestoreSnapshot() {
    const i16 stages = host_.SectionModel().StageCount;
    LiveTableDialog::RestoreSnapshot();
    host_.SectionModel().StageCount = stages;
}

void Dialog1::CellEdited() {
    Model& m = host_.SectionModel();
    grid::GridModel& g = Qflg_MB->Model();
    const int u = std::min(Qflg_MB->RowsInUse(), kMaxBlocks);
    struct Row {
        std::string name;
        double weight = 0;
        i16 stage = 0;
    };
    std::vector<Row> rows(static_cast<std::size_t>(u));
    CellReader read = CellReader::AfterEdit(g, host_.Messages());
    for (int r = 1; r <= u && !read.Failed(); ++r) {
        Row& row = rows[static_cast<std::size_t>(r - 1)];
        if (auto name = read.Name(r, 1)) row.name = *name;
        if (auto w = read.Real(r, 2, Item::UnitWeight)) row.weight = *w;
        // Any 16-bit stage is stored for OK to refuse; only one that fits none is refused here.
        if (auto s = read.Int16(r, 3, kStageMessage, MsgIcon::None)) row.stage = *s;
    }
    if (read.Failed()) return;  // the edit is already undone
    i16 stages = m.StageCount;
    for (int r = 1; r <= u; ++r) {
        SoilBlock& b = m.Embankment[static_cast<std::size_t>(r - 1)];
        const Row& row = rows[static_cast<std::size_t>(r - 1)];
        b.Name = row.name;
        b.UnitWeight = row.weight;
        b.Stage = row.stage;
        // The stage tables hold five stages: a stage OK will refuse raises nothing.
        if (row.stage >= 1 && row.stage <= kMaxStages) stages = std::max(stages, row.stage);
    }
    m.StageCount = stages;
}

bool Dialog1::CheckOnOk() {
    const Model& m = host_.SectionModel();
    for (int i = 0; i < std::clamp<int>(m.EmbankmentCount, 0, kMaxBlocks); ++i) {
        const i16 s = m.Embankment[static_cast<std::size_t>(i)].Stage;
        if (s < 1 || s > kMaxStages) {
            host_.Messages().Notify(kStageMessage, MsgIcon::None);
            return false;
        }
    }
    return true;
}

}  // namespace kova
