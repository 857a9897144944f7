#include "dialogs/dialog15.hpp"

#include <QLabel>
#include <algorithm>

#include "dialogs/table_columns.hpp"
#include "platform/qt/screen_qt.hpp"

namespace kova {

namespace {

TableColumn<SheetPileRec> Level(const char* header, double (*get)(const SheetPileRec&),
                                void (*set)(SheetPileRec&, double), Item item = Item::Y) {
    return {.header = header, .width = 1200, .kind = ColumnKind::Number, .format = "#0.000", .item = item,
            .get = get, .set = set};
}

const ColumnTable<SheetPileRec>& Columns() {
    static const ColumnTable<SheetPileRec> table({
        Level("X 座標", [](const SheetPileRec& w) { return w.X; }, [](SheetPileRec& w, double v) { w.X = v; }, Item::X),
        Level("天端標高", [](const SheetPileRec& w) { return w.Top; }, [](SheetPileRec& w, double v) { w.Top = v; }),
        Level("下端標高", [](const SheetPileRec& w) { return w.Bottom; }, [](SheetPileRec& w, double v) { w.Bottom = v; }),
    });
    return table;
}

}  // namespace

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
    const int count = std::clamp<int>(m.SheetPileCount, 0, kMaxSheetPiles);
    Columns().Fill(*Qflg_YT,
                   {.rows = kMaxSheetPiles + 1, .headerRowHeight = 500, .controlWidth = 4300, .name = QStringLiteral("YAITA")},
                   {m.SheetPile.begin(), m.SheetPile.begin() + count});
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
    std::vector<SheetPileRec> walls;
    CellReader read = CellReader::AfterEdit(Qflg_YT->Model(), host_.Messages());
    if (!Columns().Read(Qflg_YT->Model(), read, kMaxSheetPiles, walls)) return;  // the edit is already undone
    std::copy(walls.begin(), walls.end(), m.SheetPile.begin());
    m.SheetPileCount = static_cast<i16>(walls.size());
    RenumberRows(Qflg_YT->Model(), static_cast<int>(walls.size()), "#0");
}

}  // namespace kova
