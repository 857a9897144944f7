#include "dialogs/dialog10.hpp"

#include <algorithm>
#include <vector>

#include "dialogs/table_columns.hpp"

namespace kova {

namespace {

const ColumnTable<SoilBlock>& Columns() {
    static const ColumnTable<SoilBlock> table({
        BlockNameColumn("切り土名称"),
        BlockWeightColumn(),
    });
    return table;
}

}  // namespace

Dialog10::Dialog10(EditorHost& host, QWidget* owner)
    : CommitTableDialog(host, owner, QStringLiteral("切り土情報の入力")) {
    SetClientTwips(6030, 3195);
    Qflg_KB = AddGrid(180, 180, 4395, 2775);
    AddOkCancel(4680, 120);

    const Model& m = host_.SectionModel();
    const int count = std::clamp<int>(m.CutCount, 0, kMaxBlocks);
    Columns().Fill(*Qflg_KB, {.rows = count + 1, .headerRowHeight = 500, .controlWidth = 4450, .tied = true},
                   {m.CutBlock.begin(), m.CutBlock.begin() + count});
    WidenRightOf(4680, Qflg_KB->width() - Px(4450));
    CentreOnOwner();
    Connect(Qflg_KB);
}

// Stored on OK, but refused when the cell is left, like every table.
void Dialog10::CellEdited() { Columns().RefuseEdited(*Qflg_KB, host_.Messages()); }

bool Dialog10::Commit() {
    Model& m = host_.SectionModel();
    std::vector<SoilBlock> rows(m.CutBlock.begin(), m.CutBlock.begin() + kMaxBlocks);
    CellReader read(Qflg_KB->Model(), host_.Messages());
    if (!Columns().Read(Qflg_KB->Model(), read, kMaxBlocks, rows)) return false;
    std::copy(rows.begin(), rows.end(), m.CutBlock.begin());
    return true;
}

void Dialog10::Unload() {
    host_.ResetTool(ToolReset::kCanvasTaken);
}

}  // namespace kova
