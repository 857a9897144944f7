#include "dialogs/dialog4.hpp"

#include <algorithm>

#include "dialogs/table_form.hpp"

namespace kova {

const char* const Dialog4::kSoilTypes = "粘性土|砂質土";
const char* const Dialog4::kMethods = "e-LogP法|Cc法|Mv法|B.K.Hough|非圧密層";
const char* const Dialog4::kDrainages = "両面排水|片面排水";

Dialog4::Dialog4(EditorHost& host, QWidget* owner) : LiveTableDialog(host, owner, QStringLiteral("土層情報の入力")) {
    SetClientTwips(10800, 3330);
    Qflg_DB = AddGrid(60, 180, 8850, 2775);
    AddOkCancel(9240, 2100);

    BeginLoad();
    const Model& m = host_.SectionModel();
    const int count = std::clamp<int>(m.SoilLayerCount, 0, kMaxBlocks);
    grid::QEX_FLG& q = *Qflg_DB;
    grid::GridModel& g = q.Model();
    q.SetDrawing(false);
    q.SetRows(count + 1);
    q.SetCols(8);
    q.SetHeaderCols(1);
    const int widths[] = {500, 2000, 1000, 1000, 1000, 1000, 1000, 1000};
    const char* headers[] = {"No.",      "土層名称",          "土質", "沈下計算",
                             "排水条件", "有効重量  (kN/m3)", "N値",  "圧縮指数Cc"};
    for (int c = 0; c < 8; ++c) {
        q.SetColWidth(c, widths[c]);
        q.SetCellText(0, c, QString::fromUtf8(headers[c]));
    }
    q.SetDropDown(2, true);
    q.SetDropItems(2, QString::fromUtf8(kSoilTypes));
    q.SetDropDown(3, true);
    q.SetDropItems(3, QString::fromUtf8(kMethods));
    q.SetDropDown(4, true);
    q.SetDropItems(4, QString::fromUtf8(kDrainages));
    q.SetFormat(1, "");
    q.SetFormat(6, "#0");
    q.SetHeaderColStyle(0, 4);
    q.SetRowHeight(0, 500);
    q.SetGridStyle(4);
    q.SetGridName("MORIDO");
    q.Initialise(true, 0);
    q.SetTiedRows(true);
    q.SetControlWidth(8900);
    for (int i = 0; i < count; ++i) {
        const SoilBlock& b = m.SoilLayer[static_cast<std::size_t>(i)];
        const SoilParamRec& p = m.SoilParam[static_cast<std::size_t>(i)];
        g.SetCell(i + 1, 0, Fmt(i + 1, "#0"));
        g.SetCell(i + 1, 1, QString::fromStdString(b.Name));
        g.SetCellCode(i + 1, 2, p.SoilType);
        g.SetCellCode(i + 1, 3, p.SettleMethod);
        g.SetCellCode(i + 1, 4, p.Drainage);
        g.SetCellValue(i + 1, 5, b.UnitWeight, "#0.000");
        g.SetCellValue(i + 1, 6, p.NValue, "#0");
        g.SetCellValue(i + 1, 7, p.C1, "#0.000");
    }
    for (int c : {5, 6, 7}) g.SetNumeric(c, true);
    q.SetDrawing(true);
    WidenRightOf(9240, q.x() + q.width() - Px(60 + 8900));
    CentreOnOwner();
    Connect(Qflg_DB);
}

void Dialog4::CellEdited() {
    Model& m = host_.SectionModel();
    grid::GridModel& g = Qflg_DB->Model();
    const int u = std::min(Qflg_DB->RowsInUse(), kMaxBlocks);
    struct Row {
        std::string name;
        i16 type = 0, method = 0, drainage = 0, n = 0;
        double weight = 0, cc = 0;
    };
    std::vector<Row> rows(static_cast<std::size_t>(u));
    CellReader read = CellReader::AfterEdit(g, host_.Messages());
    for (int r = 1; r <= u && !read.Failed(); ++r) {
        Row& row = rows[static_cast<std::size_t>(r - 1)];
        if (auto name = read.Name(r, 1)) row.name = *name;
        row.type = read.Code(r, 2);
        row.method = read.Code(r, 3);
        row.drainage = read.Code(r, 4);
        if (auto w = read.Real(r, 5, Item::UnitWeight)) row.weight = *w;
        if (auto n = read.Int(r, 6, Item::NValue)) row.n = *n;
        if (auto cc = read.Real(r, 7, Item::CompressionIndex)) row.cc = *cc;
    }
    if (read.Failed()) return;  // the edit is already undone
    for (int r = 1; r <= u; ++r) {
        const Row& row = rows[static_cast<std::size_t>(r - 1)];
        SoilBlock& b = m.SoilLayer[static_cast<std::size_t>(r - 1)];
        SoilParamRec& p = m.SoilParam[static_cast<std::size_t>(r - 1)];
        b.Name = row.name;
        p.SoilType = row.type;
        p.SettleMethod = row.method;
        p.Drainage = row.drainage;
        b.UnitWeight = row.weight;
        p.NValue = row.n;
        p.C1 = row.cc;
    }
}

}  // namespace kova
