#include "dialogs/dialog4.hpp"

#include <algorithm>

#include "dialogs/dialog5_form.hpp"
#include "dialogs/table_columns.hpp"
#include "rules/settle_methods.hpp"

namespace kova {

// The methods' names, in code order.
const std::string Dialog4::kMethods = [] {
    std::string items;
    for (const SettleMethodRow& m : kSettleMethods) items += (items.empty() ? "" : "|") + std::string(m.listed);
    return items;
}();

const char* const Dialog4::kSoilTypes = "粘性土|砂質土";
const char* const Dialog4::kDrainages = "両面排水|片面排水";

namespace {

// Columns of the grid (0 is the row header).
constexpr int kMethodCol = 3, kUnitWeightCol = 5, kCcCol = 7;

// One soil layer: its block (name, weight) and its parameters.
struct Layer {
    SoilBlock b;
    SoilParamRec p;
};

TableColumn<Layer> CodeColumn(const char* header, const char* items, double (*get)(const Layer&),
                              void (*set)(Layer&, double)) {
    return {.header = header, .width = 1000, .kind = ColumnKind::Code, .get = get, .set = set, .items = items};
}

const ColumnTable<Layer>& Columns() {
    static const ColumnTable<Layer> table({
        {.header = "土層名称", .width = 2000, .kind = ColumnKind::Text,
         .getText = [](const Layer& l) { return l.b.Name; },
         .setText = [](Layer& l, std::string v) { l.b.Name = std::move(v); }},
        CodeColumn("土質", Dialog4::kSoilTypes, [](const Layer& l) { return double(l.p.SoilType); },
                   [](Layer& l, double v) { l.p.SoilType = static_cast<i16>(v); }),
        CodeColumn("沈下計算", Dialog4::kMethods.c_str(), [](const Layer& l) { return double(l.p.SettleMethod); },
                   [](Layer& l, double v) { l.p.SettleMethod = static_cast<i16>(v); }),
        CodeColumn("排水条件", Dialog4::kDrainages, [](const Layer& l) { return double(l.p.Drainage); },
                   [](Layer& l, double v) { l.p.Drainage = static_cast<i16>(v); }),
        {.header = "有効重量  (kN/m3)", .width = 1000, .kind = ColumnKind::Number, .format = "#0.000", .typed = "",
         .item = Item::SoilUnitWeight,
         .get = [](const Layer& l) { return l.b.UnitWeight; },
         .set = [](Layer& l, double v) { l.b.UnitWeight = v; }},
        {.header = "N値", .width = 1000, .kind = ColumnKind::Whole, .format = "#0", .item = Item::NValue,
         .get = [](const Layer& l) { return double(l.p.NValue); },
         .set = [](Layer& l, double v) { l.p.NValue = static_cast<i16>(v); }},
        {.header = "圧縮指数Cc", .width = 1000, .kind = ColumnKind::Number, .format = "#0.000", .typed = "",
         .item = Item::CompressionIndex,
         .get = [](const Layer& l) { return l.p.C1; },
         .set = [](Layer& l, double v) { l.p.C1 = v; }},
    });
    return table;
}

std::vector<Layer> Layers(const Model& m, int count) {
    std::vector<Layer> rows;
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) rows.push_back({m.SoilLayer[i], m.SoilParam[i]});
    return rows;
}

}  // namespace

Dialog4::Dialog4(EditorHost& host, QWidget* owner) : LiveTableDialog(host, owner, QStringLiteral("土層情報の入力")) {
    SetClientTwips(10800, 3330);
    Qflg_DB = AddGrid(60, 180, 8850, 2775);
    AddOkCancel(9240, 2100);

    BeginLoad();
    const Model& m = host_.SectionModel();
    const int count = std::clamp<int>(m.SoilLayerCount, 0, kMaxBlocks);
    Columns().Fill(*Qflg_DB, {.rows = count + 1, .headerRowHeight = 500, .controlWidth = 8900, .tied = true},
                   Layers(m, count));
    Qflg_DB->SetHeaderColStyle(0, 4);
    WidenRightOf(9240, Qflg_DB->x() + Qflg_DB->width() - Px(60 + 8900));
    CentreOnOwner();
    Connect(Qflg_DB);
}

void Dialog4::CellEdited() {
    Model& m = host_.SectionModel();
    std::vector<Layer> rows = Layers(m, kMaxBlocks);
    CellReader read = CellReader::AfterEdit(Qflg_DB->Model(), host_.Messages());
    if (!Columns().Read(Qflg_DB->Model(), read, kMaxBlocks, rows)) return;  // the edit is already undone
    for (std::size_t i = 0; i < rows.size(); ++i) {
        m.SoilLayer[i] = rows[i].b;
        m.SoilParam[i] = rows[i].p;
    }
}

// What the calculation refuses of a layer, refused here first: a layer
// carries its own weight, the Cc method of a layer it computes needs a
// positive Cc, and a sand layer computed by a curve of its own needs that
// curve usable (the soil-constants dialog lists only clay layers, so no
// dialog could mend it). The cursor goes to the cell.
bool Dialog4::CheckOnOk() {
    const Model& m = host_.SectionModel();
    const int rows = std::min(Qflg_DB->Model().RowCount() - 1, kMaxBlocks);
    for (int r = 1; r <= rows; ++r) {
        const SoilBlock& b = m.SoilLayer[static_cast<std::size_t>(r - 1)];
        const SoilParamRec& p = m.SoilParam[static_cast<std::size_t>(r - 1)];
        std::string message;
        int col = 0;
        if (!(b.UnitWeight > 0)) {
            message = "土層 " + std::to_string(r) + " の有効重量が正ではありません（0より大きくしてください）。";
            col = kUnitWeightCol;
        } else if (SettleMethodOf(p.SettleMethod).cc && (p.SoilType == 0 || m.Cond.UseSandImmediate != 0) && !(p.C1 > 0)) {
            message = "土層 " + std::to_string(r) + " の圧縮指数Ccが正ではありません（Cc法には正の圧縮指数が必要です）。";
            col = kCcCol;
        } else if (p.SoilType != 0) {
            if (const auto fault = LayerCurveFault(m, r - 1)) {
                std::string choices;  // the methods that read no curve of the layer's own
                for (const SettleMethodRow& row : kSettleMethods)
                    if (row.curve == MethodCurve::Sand || row.curve == MethodCurve::None)
                        choices += (choices.empty() ? "" : "か") + std::string(row.listed);
                message = *fault + "\r砂質土の曲線は入力できないため、沈下計算は" + choices + "を選んでください。";
                col = kMethodCol;
            }
        }
        if (!message.empty()) return RefuseAt(*Qflg_DB, r, col, host_.Messages(), message, MsgIcon::Exclamation);
    }
    return true;
}

}  // namespace kova
