#include "dialogs/dialog12.hpp"

#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <array>

#include "dialogs/table_columns.hpp"

namespace kova {

namespace {

using LoadTable = std::array<LoadRec, kMaxLoads + 1>;
using Column = TableColumn<LoadRec>;

Column Stage() { return StageColumn<LoadRec, &LoadRec::Stage>(); }
Column Number(const char* header, Item item, double (*get)(const LoadRec&), void (*set)(LoadRec&, double)) {
    return {.header = header, .width = 1200, .kind = ColumnKind::Number, .format = "##0.000", .typed = "",
            .item = item, .get = get, .set = set};
}
double GetLoad(const LoadRec& l) { return l.Load; }
void SetLoad(LoadRec& l, double v) { l.Load = v; }

// A point or line load stands at (X1, Y1); X2 and Y2 keep the same point.
ColumnTable<LoadRec> AtPoint(const char* loadHeader, Item loadItem) {
    return ColumnTable<LoadRec>({
        Number("X", Item::X, [](const LoadRec& l) { return l.X1; }, [](LoadRec& l, double v) { l.X1 = l.X2 = v; }),
        Number("Y", Item::Y, [](const LoadRec& l) { return l.Y1; }, [](LoadRec& l, double v) { l.Y1 = l.Y2 = v; }),
        Number(loadHeader, loadItem, GetLoad, SetLoad),
        Stage(),
    });
}

const ColumnTable<LoadRec>& PointColumns() {
    static const auto t = AtPoint("   荷重値    (kN)", Item::PointLoad);
    return t;
}
const ColumnTable<LoadRec>& LineColumns() {
    static const auto t = AtPoint("   荷重値    (kN/m)", Item::LineLoad);
    return t;
}
const ColumnTable<LoadRec>& StripColumns() {
    static const ColumnTable<LoadRec> t({
        Number("左-X", Item::X, [](const LoadRec& l) { return l.X1; }, [](LoadRec& l, double v) { l.X1 = v; }),
        Number("左-Y", Item::Y, [](const LoadRec& l) { return l.Y1; }, [](LoadRec& l, double v) { l.Y1 = v; }),
        Number("右-X", Item::X, [](const LoadRec& l) { return l.X2; }, [](LoadRec& l, double v) { l.X2 = v; }),
        Number("右-Y", Item::Y, [](const LoadRec& l) { return l.Y2; }, [](LoadRec& l, double v) { l.Y2 = v; }),
        Number(" 荷重値  (kN/m2)", Item::StripLoad, GetLoad, SetLoad),
        Stage(),
    });
    return t;
}

void FillLoads(grid::QEX_FLG& q, const ColumnTable<LoadRec>& columns, const LoadTable& loads, int count,
               int controlWidth) {
    count = std::clamp(count, 0, kMaxLoads);
    columns.Fill(q, {.rows = kMaxLoads + 1, .headerRowHeight = 500, .controlWidth = controlWidth},
                 {loads.begin(), loads.begin() + count});
    q.GrowToShowAllRows();
}

// Reads one grid into records; a stage other than 1 to 5 is refused with
// its own text and the cursor on it.
bool ReadLoads(grid::QEX_FLG& q, const ColumnTable<LoadRec>& columns, MessageSink& msg, std::vector<LoadRec>& out) {
    if (const auto bad = columns.FirstBadStage(q.Model(), kMaxLoads))
        return RefuseAt(q, bad->first, bad->second, msg, kStageMessage, MsgIcon::None);
    CellReader read(q.Model(), msg);
    out.clear();
    return columns.Read(q.Model(), read, kMaxLoads, out);
}

}  // namespace

Dialog12::Dialog12(EditorHost& host, QWidget* owner)
    : CommitTableDialog(host, owner, QStringLiteral("上載荷重の入力")) {
    SetClientTwips(8760, 7110);
    AddLabel(QStringLiteral("集中荷重"), 660, 180, 720, 180)->adjustSize();
    Qflg_SK = AddGrid(660, 420, 5400, 1755, FullTableMessage("集中荷重", kMaxLoads, "個"));
    AddLabel(QStringLiteral("等分布線荷重"), 660, 2400, 1080, 180)->adjustSize();
    Qflg_LK = AddGrid(660, 2640, 5400, 1755, FullTableMessage("等分布線荷重", kMaxLoads, "個"));
    AddLabel(QStringLiteral("等分布帯状荷重"), 660, 4620, 1260, 180)->adjustSize();
    Qflg_OK = AddGrid(660, 4860, 7800, 1755, FullTableMessage("等分布帯状荷重", kMaxLoads, "個"));
    AddOkCancel(7200, 420);

    const Model& m = host_.SectionModel();
    FillLoads(*Qflg_SK, PointColumns(), m.PointLoad, m.PointLoadCount, 5400);
    FillLoads(*Qflg_LK, LineColumns(), m.LineLoad, m.LineLoadCount, 5400);
    FillLoads(*Qflg_OK, StripColumns(), m.StripLoad, m.StripLoadCount, 7800);

    // The strip grid is the widest; the buttons stand right of the upper two.
    const int upper = std::max(Qflg_SK->x() + Qflg_SK->width(), Qflg_LK->x() + Qflg_LK->width());
    if (upper + Px(120) > OKButton->x()) {
        const int shift = upper + Px(120) - OKButton->x();
        OKButton->move(OKButton->x() + shift, OKButton->y());
        CancelButton->move(CancelButton->x() + shift, CancelButton->y());
    }
    const int right = std::max({OKButton->x() + OKButton->width(), Qflg_OK->x() + Qflg_OK->width()}) + Px(300);
    if (right > width()) setFixedSize(right, height());
    CentreOnOwner();
    // Each grid refuses a number outside its range when the cell is left.
    const std::pair<grid::QEX_FLG*, const ColumnTable<LoadRec>*> grids[] = {
        {Qflg_SK, &PointColumns()}, {Qflg_LK, &LineColumns()}, {Qflg_OK, &StripColumns()}};
    for (auto [q, columns] : grids)
        connect(q, &grid::QEX_FLG::CellEdited, this, [this, q, columns] { columns->RefuseEdited(*q, host_.Messages()); });
    Connect(nullptr);
}

bool Dialog12::Commit() {
    std::vector<LoadRec> points, lines, strips;
    MessageSink& msg = host_.Messages();
    // All three grids pass before anything is stored.
    if (!ReadLoads(*Qflg_SK, PointColumns(), msg, points)) return false;
    if (!ReadLoads(*Qflg_LK, LineColumns(), msg, lines)) return false;
    if (!ReadLoads(*Qflg_OK, StripColumns(), msg, strips)) return false;

    Model& m = host_.SectionModel();
    i16 stages = m.StageCount;
    auto store = [&stages](const std::vector<LoadRec>& in, LoadTable& table, i16& count) {
        for (std::size_t i = 0; i < in.size(); ++i) {
            table[i] = in[i];
            stages = std::max(stages, in[i].Stage);
        }
        count = static_cast<i16>(in.size());
    };
    store(points, m.PointLoad, m.PointLoadCount);
    store(lines, m.LineLoad, m.LineLoadCount);
    store(strips, m.StripLoad, m.StripLoadCount);
    m.StageCount = stages;
    return true;
}

void Dialog12::Unload() { host_.SelectToolOption(kNoToolOption); }

}  // namespace kova
