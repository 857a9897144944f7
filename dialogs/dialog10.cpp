#include "dialogs/dialog10.hpp"

#include <algorithm>
#include <vector>

#include "dialogs/grid/cell_text.hpp"
#include "dialogs/table_form.hpp"

namespace kova {

Dialog10::Dialog10(EditorHost& host, QWidget* owner)
    : CommitTableDialog(host, owner, QStringLiteral("切り土情報の入力")) {
    SetClientTwips(6030, 3195);
    Qflg_KB = AddGrid(180, 180, 4395, 2775);
    AddOkCancel(4680, 120);

    const Model& m = host_.SectionModel();
    const int count = std::clamp<int>(m.CutCount, 0, kMaxBlocks);
    SetUpGrid(*Qflg_KB, {.rows = count + 1,
                         .cols = 3,
                         .widths = {500, 2400, 1200},
                         .headers = {"No.", "切り土名称", "有効重量  (kN/m3)"},
                         .formats = {"", ""},
                         .headerRowHeight = 500,
                         .controlWidth = 4450,
                         .tied = true});
    grid::GridModel& g = Qflg_KB->Model();
    for (int i = 0; i < count; ++i) {
        const SoilBlock& b = m.CutBlock[static_cast<std::size_t>(i)];
        g.SetCell(i + 1, 0, Fmt(i + 1, "#0"));
        g.SetCell(i + 1, 1, QString::fromStdString(b.Name));
        g.SetCellValue(i + 1, 2, b.UnitWeight, "##0.000");
    }
    Qflg_KB->Model().SetNumeric(2, true);
    Qflg_KB->SetDrawing(true);
    WidenRightOf(4680, Qflg_KB->width() - Px(4450));
    CentreOnOwner();
    Connect(Qflg_KB);
}

void Dialog10::CellEdited() {
    grid::GridModel& g = Qflg_KB->Model();
    const int r = Qflg_KB->CurrentRow();
    const auto& last = g.Last();
    if (last.col == 1 && RefuseEditedName(g, host_.Messages())) return;
    if (Qflg_KB->CurrentCol() != 2) return;
    // The weight as it will be stored: its numeric value in "#0.000". A
    // reformat by the dialog is no user edit.
    if (const auto v = grid::NumericValue(g.Cell(r, 2).toStdString())) g.SetCell(r, 2, Fmt(*v, "#0.000"));
}

bool Dialog10::Commit() {
    Model& m = host_.SectionModel();
    const grid::GridModel& g = Qflg_KB->Model();
    const int u = std::min(Qflg_KB->RowsInUse(), kMaxBlocks);
    std::vector<std::pair<std::string, double>> rows(static_cast<std::size_t>(u));
    CellReader read(g, host_.Messages());
    for (int r = 1; r <= u && !read.Failed(); ++r) {
        if (auto name = read.Name(r, 1)) rows[static_cast<std::size_t>(r - 1)].first = *name;
        if (auto w = read.Real(r, 2, Item::UnitWeight)) rows[static_cast<std::size_t>(r - 1)].second = *w;
    }
    if (read.Failed()) return false;
    for (int r = 1; r <= u; ++r) {
        m.CutBlock[static_cast<std::size_t>(r - 1)].Name = rows[static_cast<std::size_t>(r - 1)].first;
        m.CutBlock[static_cast<std::size_t>(r - 1)].UnitWeight = rows[static_cast<std::size_t>(r - 1)].second;
    }
    return true;
}

void Dialog10::Unload() {
    EditorState& st = host_.State();
    st.cmd_mode = CmdMode::kNone;
    st.SelIndex = -1;
    st.SelIndex2 = -1;
}

}  // namespace kova
