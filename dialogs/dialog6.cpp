#include "dialogs/dialog6.hpp"

#include <QLabel>
#include <QPainter>
#include <algorithm>
#include <array>

#include "dialogs/table_columns.hpp"

namespace kova {

namespace {

// The explanatory diagram: load against time for two stages.
class StageDiagram : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), Qt::white);
        const double w = width(), h = height();
        const QPointF o(w * 0.12, h * 0.80);  // origin
        const double right = w * 0.95, top = h * 0.10;
        p.setPen(QPen(Qt::black, 1.5));
        p.drawLine(o, QPointF(right, o.y()));  // time axis
        p.drawLine(o, QPointF(o.x(), top));    // load axis
        p.drawText(QPointF(right - 40, o.y() + 18), QStringLiteral("時間"));
        p.drawText(QPointF(o.x() - 40, top + 4), QStringLiteral("荷重"));

        const double t1 = o.x() + w * 0.18, s2 = o.x() + w * 0.40, t2 = s2 + w * 0.18;
        const double l1 = o.y() - h * 0.30, l2 = o.y() - h * 0.58;
        p.setPen(QPen(Qt::blue, 2));
        p.drawPolyline(
            std::array<QPointF, 5>{o, QPointF(t1, l1), QPointF(s2, l1), QPointF(t2, l2), QPointF(right, l2)}.data(), 5);

        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.drawLine(QPointF(t1, l1), QPointF(t1, o.y()));
        p.drawLine(QPointF(s2, l1), QPointF(s2, o.y()));
        p.drawLine(QPointF(t2, l2), QPointF(t2, o.y()));
        p.setPen(Qt::black);
        p.drawText(QPointF(o.x() - 10, o.y() + 18), QStringLiteral("0"));
        p.drawText(QPointF(o.x() + 4, o.y() - h * 0.08), QStringLiteral("施工日数"));
        p.drawText(QPointF(s2 + 4, o.y() - h * 0.08), QStringLiteral("施工日数"));
        p.drawText(QPointF(t1 + 6, l1 - 8), QStringLiteral("第1段階載荷"));
        p.drawText(QPointF(t2 + 6, l2 - 8), QStringLiteral("第2段階載荷"));
        p.drawText(QPointF(s2 - 60, o.y() + 36), QStringLiteral("第2段階の載荷開始日数"));
        p.drawLine(QPointF(s2, o.y() + 22), QPointF(s2, o.y() + 4));
    }
};

// Row r of the table is stage r.
struct StageRow {
    i16 start = 0;
    i16 days = 0;
};

const ColumnTable<StageRow>& Columns() {
    static const ColumnTable<StageRow> table({
        {.header = "開始日数", .width = 1200, .kind = ColumnKind::Whole, .format = "#0", .item = Item::StageStartDay,
         .get = [](const StageRow& s) { return double(s.start); },
         .set = [](StageRow& s, double v) { s.start = static_cast<i16>(v); }},
        {.header = "施工日数", .width = 1200, .kind = ColumnKind::Whole, .format = "#0", .item = Item::StageDays,
         .get = [](const StageRow& s) { return double(s.days); },
         .set = [](StageRow& s, double v) { s.days = static_cast<i16>(v); }},
    });
    return table;
}

}  // namespace

Dialog6::Dialog6(EditorHost& host, QWidget* owner) : CommitTableDialog(host, owner, QStringLiteral("載荷情報の入力")) {
    SetClientTwips(7380, 6315);
    Qflg_KK = AddGrid(240, 240, 3000, 1455);
    AddOkCancel(5820, 120);
    Label1 = AddLabel(QStringLiteral("開始日数：第１段階の載荷日を０日とし、それぞれの載荷開始日を指定"), 300, 1920,
                      6075, 195);
    Label2 = AddLabel(QStringLiteral("施工日数：載荷開始から完了までの期間を指定（瞬間載荷の場合は０日とする）"), 300,
                      2160, 6075, 195);
    Label1->setFixedHeight(std::max(Label1->height(), Label1->sizeHint().height()));
    Label2->setFixedHeight(std::max(Label2->height(), Label2->sizeHint().height()));
    Picture1 = new StageDiagram(this);
    PlaceTwips(Picture1, 300, 2460, 6705, 3585);

    const Model& m = host_.SectionModel();
    // Row r is stage r: no row may be inserted or deleted, or one stage's
    // days would move to another.
    std::vector<StageRow> stages(static_cast<std::size_t>(std::clamp<int>(m.StageCount, 0, kMaxStages)));
    for (std::size_t s = 0; s < stages.size(); ++s) stages[s] = {m.StageStartDay[s], m.StageDays[s]};
    Columns().Fill(*Qflg_KK, {.rows = kMaxStages + 1, .controlWidth = 3000, .tied = true}, stages);
    Qflg_KK->GrowToShowAllRows();
    const int extra = std::max(Label1->x() + Label1->width(), Label2->x() + Label2->width()) - width() + Px(200);
    if (extra > 0) setFixedSize(width() + extra, height());
    CentreOnOwner();
    Connect(Qflg_KK);
}

void Dialog6::CellEdited() { Columns().RefuseEdited(*Qflg_KK, host_.Messages()); }

bool Dialog6::Commit() {
    Model& m = host_.SectionModel();
    std::vector<StageRow> rows;
    CellReader read(Qflg_KK->Model(), host_.Messages());
    if (!Columns().Read(Qflg_KK->Model(), read, kMaxStages, rows)) return false;
    for (std::size_t s = 0; s < rows.size(); ++s) {
        m.StageStartDay[s] = rows[s].start;
        m.StageDays[s] = rows[s].days;
    }
    return true;
}

void Dialog6::Unload() { host_.SelectToolOption(kNoToolOption); }

}  // namespace kova
