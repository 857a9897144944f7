#include "dialogs/dialog1.hpp"

#include <algorithm>

namespace kova {

const ColumnTable<SoilBlock>& Dialog1::Columns() const {
    static const ColumnTable<SoilBlock> table({
        BlockNameColumn("盛土名称"),
        BlockWeightColumn(),
        StageColumn<SoilBlock, &SoilBlock::Stage>(),
    });
    return table;
}

Dialog1::Dialog1(EditorHost& host, QWidget* owner) : LiveTableDialog(host, owner, QStringLiteral("盛土情報の入力")) {
    SetClientTwips(7740, 3480);
    Qflg_MB = AddGrid(240, 300, 5655, 2775);
    AddOkCancel(6240, 2220);

    BeginLoad();
    const Model& m = host_.SectionModel();
    const int count = std::clamp<int>(m.EmbankmentCount, 0, kMaxBlocks);
    Columns().Fill(*Qflg_MB, {.rows = count + 1, .headerRowHeight = 500, .controlWidth = 5700, .tied = true},
                   {m.Embankment.begin(), m.Embankment.begin() + count});
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
    std::vector<SoilBlock> rows(m.Embankment.begin(), m.Embankment.begin() + kMaxBlocks);
    CellReader read = CellReader::AfterEdit(Qflg_MB->Model(), host_.Messages());
    if (!Columns().Read(Qflg_MB->Model(), read, kMaxBlocks, rows)) return;  // the edit is already undone
    i16 stages = m.StageCount;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        m.Embankment[i] = rows[i];
        // The stage tables hold five stages: a stage OK will refuse raises nothing.
        if (rows[i].Stage >= 1 && rows[i].Stage <= kMaxStages) stages = std::max(stages, rows[i].Stage);
    }
    m.StageCount = stages;
}

bool Dialog1::CheckOnOk() {
    if (const auto bad = Columns().FirstBadStage(Qflg_MB->Model(), kMaxBlocks))
        return RefuseAt(*Qflg_MB, bad->first, bad->second, host_.Messages(), kStageMessage, MsgIcon::None);
    return true;
}

}  // namespace kova
