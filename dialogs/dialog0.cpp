#include "dialogs/dialog0.hpp"

#include <algorithm>

#include "dialogs/table_columns.hpp"
#include "model/boundary.hpp"

namespace kova {

namespace {

TableColumn<BoundaryPoint> Coordinate(const char* header, Item item, double (*get)(const BoundaryPoint&),
                                      void (*set)(BoundaryPoint&, double)) {
    return {.header = header, .width = 1200, .kind = ColumnKind::Number, .format = "0.000", .typed = "", .item = item,
            .get = get, .set = set};
}

const ColumnTable<BoundaryPoint>& Columns() {
    static const ColumnTable<BoundaryPoint> table(
        {Coordinate("X", Item::X, [](const BoundaryPoint& p) { return p.X; }, [](BoundaryPoint& p, double v) { p.X = v; }),
         Coordinate("Y", Item::Y, [](const BoundaryPoint& p) { return p.Y; }, [](BoundaryPoint& p, double v) { p.Y = v; })},
        "0");
    return table;
}

}  // namespace

Dialog0::Dialog0(EditorHost& host, QWidget* owner) : LiveTableDialog(host, owner, QStringLiteral("境界点の入力")) {
    SetClientTwips(5490, 5370);
    Qflg_NB = AddGrid(240, 120, 3495, 5055, FullTableMessage("境界点", kMaxBndPts, "点"));
    AddOkCancel(3960, 120);

    // Form_Load
    BeginLoad();
    const Model& m = host_.SectionModel();
    Columns().Fill(*Qflg_NB, {.rows = kMaxBndPts + 1, .controlWidth = 3250, .name = QStringLiteral("ZAHYO")},
                   {m.BndPt.begin(), m.BndPt.begin() + std::clamp<int>(m.BndPtCount, 0, kMaxBndPts)});
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
    std::vector<BoundaryPoint> xy;
    if (!Columns().Read(g, read, kMaxBndPts, xy)) return;  // the edit is already undone

    if (u > n && r <= n) RenumberLinePoints(m, static_cast<i16>(r - 1), static_cast<i16>(u - n), 1);
    if (u < n) RenumberLinePoints(m, static_cast<i16>(r - 1), static_cast<i16>(n - u), 2);
    m.BndPtCount = static_cast<i16>(u);
    for (int k = 1; k <= u; ++k) {
        m.BndPt[static_cast<std::size_t>(k - 1)].X = xy[static_cast<std::size_t>(k - 1)].X;
        m.BndPt[static_cast<std::size_t>(k - 1)].Y = xy[static_cast<std::size_t>(k - 1)].Y;
    }
    RenumberRows(g, u, "0");

    if (u >= n && r >= 1 && r <= u && !Qflg_NB->CellText(r, 1).isEmpty() && !Qflg_NB->CellText(r, 2).isEmpty()) {
        const double x = xy[static_cast<std::size_t>(r - 1)].X, y = xy[static_cast<std::size_t>(r - 1)].Y;
        for (int k = 1; k <= u; ++k) {
            if (k == r) continue;
            if (x == m.BndPt[static_cast<std::size_t>(k - 1)].X && y == m.BndPt[static_cast<std::size_t>(k - 1)].Y) {
                DuplicateMessage(k, r);
                return;
            }
        }
    }
    host_.Refresh();
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
                Qflg_NB->SetCurrentCell(j, 1);
                Qflg_NB->setFocus();
                return false;
            }
        }
    }
    return true;
}

}  // namespace kova
