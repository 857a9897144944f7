#include "dialogs/dialog15.hpp"

#include <QLabel>
#include <algorithm>

#include "dialogs/table_form.hpp"
#include "platform/qt/screen_qt.hpp"

namespace kova {

Dialog15::Dialog15(EditorHost& host, QWidget* owner)
    : LiveTableDialog(host, owner, QStringLiteral("矢板（仕切り線）")) {
    SetClientTwips(6030, 3195);
    AddOkCancel(4680, 120);
    Qflg_YT = AddGrid(240, 120, 4300, 1335, FullTableMessage("矢板", kMaxSheetPiles, "本"));
    Label1 = new QLabel(QStringLiteral(" 鉛直増加応力の計算において、矢板を通過する応力を無視します。"), this);
    PlaceTwips(Label1, 240, 1980, 5595, 855);
    Label1->setWordWrap(true);
    Label1->setAutoFillBackground(true);
    Label1->setBackgroundRole(QPalette::ToolTipBase);
    Label1->setForegroundRole(QPalette::ToolTipText);

    BeginLoad();
    const Model& m = host_.SectionModel();
    SetUpGrid(*Qflg_YT, {.rows = kMaxSheetPiles + 1,
                         .cols = 4,
                         .widths = {500, 1200, 1200, 1200},
                         .headers = {"No.", "X 座標", "天端標高", "下端標高"},
                         .formats = {"", "#0.000", "#0.000", "#0.000"},
                         .headerRowHeight = 500,
                         .controlWidth = 4300,
                         .name = QStringLiteral("YAITA")});
    grid::GridModel& g = Qflg_YT->Model();
    for (int i = 0; i < std::clamp<int>(m.SheetPileCount, 0, kMaxSheetPiles); ++i) {
        const SheetPileRec& w = m.SheetPile[static_cast<std::size_t>(i)];
        g.SetCell(i + 1, 0, Fmt(i + 1, "#0"));
        g.SetCellValue(i + 1, 1, w.X, "#0.000");
        g.SetCellValue(i + 1, 2, w.Top, "#0.000");
        g.SetCellValue(i + 1, 3, w.Bottom, "#0.000");
    }
    Qflg_YT->SetDrawing(true);
    Qflg_YT->GrowToShowAllRows();
    WidenRightOf(4680, Qflg_YT->width() - Px(4300));
    // Not centred: it opens where the palettes do, below the tool strip.
    const TwipsScale s = ScreenTwips(this);
    move(s.ToPixelsX(host_.PaletteOrigin().left), s.ToPixelsY(host_.PaletteOrigin().top));
    Connect(Qflg_YT);
}

void Dialog15::Unload() { host_.SelectToolOption(kNoToolOption); }

void Dialog15::CellEdited() {
    Model& m = host_.SectionModel();
    grid::GridModel& g = Qflg_YT->Model();
    const int u = std::min(Qflg_YT->RowsInUse(), kMaxSheetPiles);
    std::vector<SheetPileRec> walls(static_cast<std::size_t>(u));
    CellReader read = CellReader::AfterEdit(g, host_.Messages());
    for (int r = 1; r <= u && !read.Failed(); ++r) {
        SheetPileRec& w = walls[static_cast<std::size_t>(r - 1)];
        if (auto v = read.Real(r, 1, Item::X)) w.X = *v;
        if (auto v = read.Real(r, 2, Item::Y)) w.Top = *v;
        if (auto v = read.Real(r, 3, Item::Y)) w.Bottom = *v;
    }
    if (read.Failed()) return;  // the edit is already undone
    std::copy(walls.begin(), walls.end(), m.SheetPile.begin());
    m.SheetPileCount = static_cast<i16>(u);
    RenumberRows(g, u, "#0");
}

}  // namespace kova
