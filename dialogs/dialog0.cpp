#include "dialogs/dialog0.hpp"

#include "dialogs/table_form.hpp"
#include "model/boundary.hpp"

namespace kova {

Dialog0::Dialog0(EditorHost& host, QWidget* owner) : LiveTableDialog(host, owner, QStringLiteral("境界点の入力")) {
    SetClientTwips(5490, 5370);
    Qflg_NB = AddGrid(240, 120, 3495, 5055, FullTableMessage("境界点", kMaxBndPts, "点"));
    AddOkCancel(3960, 120);

    // Form_Load
    BeginLoad();
    const Model& m = host_.SectionModel();
    SetUpGrid(*Qflg_NB, {.rows = kMaxBndPts + 1,
                         .cols = 3,
                         .widths = {500, 1200, 1200},
                         .headers = {"No.", "X", "Y"},
                         .formats = {},
                         .controlWidth = 3250,
                         .name = QStringLiteral("ZAHYO")});
    for (int i = 0; i < m.BndPtCount; ++i) {
        Qflg_NB->SetCellText(i + 1, 0, Fmt(i + 1, "0"));
        Qflg_NB->Model().SetCellValue(i + 1, 1, m.BndPt[static_cast<std::size_t>(i)].X, "0.000");
        Qflg_NB->Model().SetCellValue(i + 1, 2, m.BndPt[static_cast<std::size_t>(i)].Y, "0.000");
    }
    for (int c : {1, 2}) Qflg_NB->Model().SetNumeric(c, true);
    Qflg_NB->SetDrawing(true);
    WidenRightOf(3960, Qflg_NB->width() - Px(3250));
    CentreOnOwner();
    Connect(Qflg_NB);
}

void Dialog0::DuplicateMessage(int first, int second) {
    host_.Messages().Notify(
        "同一座標の境界点が存在します。\r\r           " + std::to_string(first) + "=" + std::to_string(second),
        MsgIcon::Exclamation);
}

void Dialog0::CellEdited() {
    Model& m = host_.SectionModel();
    grid::GridModel& g = Qflg_NB->Model();
    const int r = Qflg_NB->CurrentRow();
    const int n = m.BndPtCount;
    const int u = Qflg_NB->RowsInUse();

    // Every row is read before anything is stored: a refused cell changes nothing.
    CellReader read = CellReader::AfterEdit(g, host_.Messages());
    std::vector<std::pair<double, double>> xy(static_cast<std::size_t>(u));
    for (int k = 1; k <= u && !read.Failed(); ++k) {
        const auto x = read.Real(k, 1, Item::X);
        const auto y = read.Real(k, 2, Item::Y);
        if (x && y) xy[static_cast<std::size_t>(k - 1)] = {*x, *y};
    }
    if (read.Failed()) return;  // the edit is already undone

    if (u > n && r <= n) RenumberLinePoints(m, static_cast<i16>(r - 1), static_cast<i16>(u - n), 1);
    if (u < n) RenumberLinePoints(m, static_cast<i16>(r - 1), static_cast<i16>(n - u), 2);
    m.BndPtCount = static_cast<i16>(u);
    for (int k = 1; k <= u; ++k) {
        m.BndPt[static_cast<std::size_t>(k - 1)].X = xy[static_cast<std::size_t>(k - 1)].first;
        m.BndPt[static_cast<std::size_t>(k - 1)].Y = xy[static_cast<std::size_t>(k - 1)].second;
    }
    RenumberRows(g, u, "0");

    if (u >= n && r >= 1 && r <= u && !Qflg_NB->CellText(r, 1).isEmpty() && !Qflg_NB->CellText(r, 2).isEmpty()) {
        const auto [x, y] = xy[static_cast<std::size_t>(r - 1)];
        for (int k = 1; k <= u; ++k) {
            if (k == r) continue;
            if (x == m.BndPt[static_cast<std::size_t>(k - 1)].X && y == m.BndPt[static_cast<std::size_t>(k - 1)].Y) {
                DuplicateMessage(k, r);
                return;
            }
        }
    }
    host_.RepaintCanvas();
}

bool Dialog0::CheckOnOk() {
    const Model& m = host_.SectionModel();
    const grid::GridModel& g = Qflg_NB->Model();
    const int n = m.BndPtCount;
    // The cells read back as stored, so comparing stored points is the same
    // as comparing the cells.
    for (int i = 1; i <= n; ++i) {
        const BoundaryPoint& p = m.BndPt[static_cast<std::size_t>(i - 1)];
        for (int j = 1; j <= n; ++j) {
            if (j == i) continue;
            if (g.Value(j, 1) == p.X && g.Value(j, 2) == p.Y) {
                DuplicateMessage(i, j);
                return false;
            }
        }
    }
    return true;
}

}  // namespace kova
