#include "dialogs/dialog12.hpp"

#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <array>
#include <cmath>

#include "dialogs/dialog1.hpp"
#include "dialogs/table_form.hpp"

namespace kova {

namespace {

using LoadTable = std::array<LoadRec, kMaxLoads + 1>;

// One load grid; strip loads have two corners.
void FillLoads(grid::QEX_FLG& q, const LoadTable& loads, int count, bool strip, const char* loadHeader,
               int controlWidth) {
    GridLayout layout{.rows = kMaxLoads + 1,
                      .cols = strip ? 7 : 5,
                      .widths = std::vector<int>(strip ? 7 : 5, 1200),
                      .headers = {},
                      .formats = {},
                      .headerRowHeight = 500,
                      .controlWidth = controlWidth};
    layout.widths[0] = 500;
    if (strip) layout.headers = {"No.", "左-X", "左-Y", "右-X", "右-Y", loadHeader, "段階載荷番号"};
    else layout.headers = {"No.", "X", "Y", loadHeader, "段階載荷番号"};
    layout.formats.assign(static_cast<std::size_t>(layout.cols), QString());
    layout.formats.back() = "#0";
    SetUpGrid(q, layout);
    grid::GridModel& g = q.Model();
    for (int i = 0; i < std::clamp(count, 0, kMaxLoads); ++i) {
        const LoadRec& l = loads[static_cast<std::size_t>(i)];
        const int r = i + 1;
        g.SetCell(r, 0, Fmt(r, "#0"));
        int c = 1;
        g.SetCellValue(r, c++, l.X1, "##0.000");
        g.SetCellValue(r, c++, l.Y1, "##0.000");
        if (strip) {
            g.SetCellValue(r, c++, l.X2, "##0.000");
            g.SetCellValue(r, c++, l.Y2, "##0.000");
        }
        g.SetCellValue(r, c++, l.Load, "##0.000");
        g.SetCellValue(r, c, l.Stage, "#0");
    }
    for (int c = 1; c < layout.cols; ++c) g.SetNumeric(c, true);
    q.SetDrawing(true);
    q.GrowToShowAllRows();
}

// Reads one grid into records; the stage is checked unrounded, 1 to 5.
bool ReadLoads(const grid::QEX_FLG& q, bool strip, Item loadItem, MessageSink& msg, std::vector<LoadRec>& out) {
    const grid::GridModel& g = q.Model();
    const int u = std::min(q.RowsInUse(), kMaxLoads);
    out.assign(static_cast<std::size_t>(u), LoadRec{});
    CellReader read(g, msg);
    for (int r = 1; r <= u && !read.Failed(); ++r) {
        LoadRec& l = out[static_cast<std::size_t>(r - 1)];
        int c = 1;
        if (auto v = read.Real(r, c++, Item::X)) l.X1 = l.X2 = *v;
        if (auto v = read.Real(r, c++, Item::Y)) l.Y1 = l.Y2 = *v;
        if (strip) {
            if (auto v = read.Real(r, c++, Item::X)) l.X2 = *v;
            if (auto v = read.Real(r, c++, Item::Y)) l.Y2 = *v;
        }
        if (auto v = read.Real(r, c++, loadItem)) l.Load = *v;
        if (read.Failed()) break;
        const std::optional<double> s = g.Value(r, c);
        if (!s || !(*s >= 1 && *s <= kMaxStages)) {
            read.Refuse(kStageMessage, MsgIcon::None);
            break;
        }
        l.Stage = static_cast<i16>(std::nearbyint(*s));  // halves to even
    }
    return !read.Failed();
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
    FillLoads(*Qflg_SK, m.PointLoad, m.PointLoadCount, false, "   荷重値    (kN)", 5400);
    FillLoads(*Qflg_LK, m.LineLoad, m.LineLoadCount, false, "   荷重値    (kN/m)", 5400);
    FillLoads(*Qflg_OK, m.StripLoad, m.StripLoadCount, true, " 荷重値  (kN/m2)", 7800);

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
    OKButton->setFocus();
    Connect(nullptr);
}

bool Dialog12::Commit() {
    std::vector<LoadRec> points, lines, strips;
    MessageSink& msg = host_.Messages();
    // All three grids pass before anything is stored.
    if (!ReadLoads(*Qflg_SK, false, Item::PointLoad, msg, points)) return false;
    if (!ReadLoads(*Qflg_LK, false, Item::LineLoad, msg, lines)) return false;
    if (!ReadLoads(*Qflg_OK, true, Item::StripLoad, msg, strips)) return false;

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
