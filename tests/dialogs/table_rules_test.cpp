// The rules every table dialog keeps: a number outside its range is refused
// when the cell is left, the old text is back before the message, which
// names the column as its header does and the row, and nothing is stored;
// the keyboard starts in the first cell.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <memory>

#include "dialogs/dialog0.hpp"
#include "dialogs/dialog1.hpp"
#include "dialogs/dialog10.hpp"
#include "dialogs/dialog11.hpp"
#include "dialogs/dialog12.hpp"
#include "dialogs/dialog13.hpp"
#include "dialogs/dialog15.hpp"
#include "dialogs/dialog4.hpp"
#include "dialogs/dialog5.hpp"
#include "dialogs/dialog6.hpp"
#include "dialogs/dialog7.hpp"
#include "dialogs/dialog8.hpp"
#include "predict/window/graph_options_dialog.hpp"
#include "predict/window/obs_grid.hpp"
#include "tests/dialogs/dialog_test_util.hpp"
#include "tests/predict/window/window_fixture.hpp"

namespace kova {
namespace {

using test::FakeEditorHost;

// Two rows in every table.
void TwoOfEach(Model& m) {
    m.BndPtCount = 2;
    m.BndPt[0].X = 0, m.BndPt[1].X = 5, m.BndPt[1].Y = 1;
    m.EmbankmentCount = m.SoilLayerCount = m.CutCount = 2;
    for (std::size_t i = 0; i < 2; ++i) {
        m.Embankment[i].UnitWeight = 19 - static_cast<double>(i);
        m.CutBlock[i].UnitWeight = 18 - static_cast<double>(i);
        m.SoilLayer[i].UnitWeight = 16;
        m.SoilParam[i].NValue = 10;
        m.Cond.CalcPosX[i] = 3;
        m.SheetPile[i] = {1, 2, -3};
        m.DrainMethod[i].Detail[kShareRatio] = 3;
        for (auto* t : {&m.PointLoad, &m.LineLoad, &m.StripLoad}) (*t)[i] = {1, 2, 3, 4, 10, 1};
    }
    m.StageCount = 2;
    m.StageStartDay[1] = 20;
    m.StageDays[1] = 5;
    m.CalcPosCount = m.SheetPileCount = 2;
    m.PointLoadCount = m.LineLoadCount = m.StripLoadCount = 2;
    for (auto& c : m.BKHoughCurve) c = {2, {10, 100}, {1.2, 1.0}};
}

struct TableCase {
    const char* dialog;
    std::function<std::unique_ptr<QDialog>(EditorHost&, grid::QEX_FLG*&)> make;
    int row, col;
    const char* typed;
    const char* message;
    const char* old;                        // the cell's text before and after
    std::function<double(const Model&)> stored;  // the value behind the cell
};

template <class D>
std::function<std::unique_ptr<QDialog>(EditorHost&, grid::QEX_FLG*&)> Make(grid::QEX_FLG* D::* grid) {
    return [grid](EditorHost& h, grid::QEX_FLG*& g) {
        auto d = std::make_unique<D>(h, nullptr);
        g = (*d).*grid;
        return std::unique_ptr<QDialog>(std::move(d));
    };
}
template <class D>
std::function<std::unique_ptr<QDialog>(EditorHost&, grid::QEX_FLG*&)> Make(grid::QEX_FLG* (D::*grid)()) {
    return [grid](EditorHost& h, grid::QEX_FLG*& g) {
        auto d = std::make_unique<D>(h, nullptr);
        g = ((*d).*grid)();
        return std::unique_ptr<QDialog>(std::move(d));
    };
}

void ClickOk(QDialog& d) {
    for (auto* b : d.findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("OK")) b->click();
}

std::vector<TableCase> Cases() {
    return {
        {"境界点", Make(&Dialog0::Qflg_NB), 2, 1, "2e7", "「X」の2行目は-10000000～10000000の範囲で指定してください。",
         "5.000", [](const Model& m) { return m.BndPt[1].X; }},
        {"盛土", Make(&Dialog1::Qflg_MB), 2, 2, "1e999", "「有効重量(kN/m3)」の2行目は0～100の範囲で指定してください。",
         "18.000", [](const Model& m) { return m.Embankment[1].UnitWeight; }},
        {"土層", Make(&Dialog4::Qflg_DB), 2, 5, "0", "「有効重量(kN/m3)」の2行目は0を超え100以下の範囲で指定してください。",
         "16.000", [](const Model& m) { return m.SoilLayer[1].UnitWeight; }},
        {"土層", Make(&Dialog4::Qflg_DB), 2, 6, "5000", "「N値」の2行目は0～1000の範囲で指定してください。", "10",
         [](const Model& m) { return double(m.SoilParam[1].NValue); }},
        {"載荷", Make(&Dialog6::Qflg_KK), 2, 1, "99999", "「開始日数」の2行目は0～32767の範囲で指定してください。", "20",
         [](const Model& m) { return double(m.StageStartDay[1]); }},
        {"載荷", Make(&Dialog6::Qflg_KK), 2, 2, "-30", "「施工日数」の2行目は0～32767の範囲で指定してください。", "5",
         [](const Model& m) { return double(m.StageDays[1]); }},
        {"計算位置", Make(&Dialog7::Qflg_KP), 2, 2, "1e999", "「X座標」の2行目は-10000000～10000000の範囲で指定してください。",
         "3.000", [](const Model& m) { return m.Cond.CalcPosX[1]; }},
        {"切り土", Make(&Dialog10::Qflg_KB), 2, 2, "1e999", "「有効重量(kN/m3)」の2行目は0～100の範囲で指定してください。",
         "17.000", [](const Model& m) { return m.CutBlock[1].UnitWeight; }},
        {"切り土", Make(&Dialog10::Qflg_KB), 2, 2, "-18", "「有効重量(kN/m3)」の2行目は0～100の範囲で指定してください。",
         "17.000", [](const Model& m) { return m.CutBlock[1].UnitWeight; }},
        {"上載荷重", Make(&Dialog12::Qflg_SK), 2, 3, "1e999", "「荷重値(kN)」の2行目は-1000000～1000000の範囲で指定してください。",
         "10.000", [](const Model& m) { return m.PointLoad[1].Load; }},
        {"上載荷重", Make(&Dialog12::Qflg_LK), 2, 3, "-2e6", "「荷重値(kN/m)」の2行目は-1000000～1000000の範囲で指定してください。",
         "10.000", [](const Model& m) { return m.LineLoad[1].Load; }},
        {"上載荷重", Make(&Dialog12::Qflg_OK), 2, 5, "1e999",
         "「荷重値(kN/m2)」の2行目は-1000000～1000000の範囲で指定してください。", "10.000",
         [](const Model& m) { return m.StripLoad[1].Load; }},
        {"矢板", Make(&Dialog15::Qflg_YT), 2, 3, "2e6", "「下端標高」の2行目は-1000000～1000000の範囲で指定してください。",
         "-3.000", [](const Model& m) { return m.SheetPile[1].Bottom; }},
        {"砂層", Make(&Dialog8::Qflg_BK), 2, 1, "0", "「圧力Ｐ(kN/m2)」の2行目は0を超え1000000以下の範囲で指定してください。",
         "100.0", [](const Model& m) { return m.BKHoughCurve[0].X[1]; }},
        {"促進工法", Make(&Dialog11::Qflg_SB), 2, 7, "1001", "「応力分担比 n」の2行目は0～1000の範囲で指定してください。",
         "3.000", [](const Model& m) { return m.DrainMethod[1].Detail[kShareRatio]; }},
    };
}

TEST(TableRules, OutOfRangeRefusedWhenTheCellIsLeftNamingColumnAndRow) {
    for (const TableCase& c : Cases()) {
        SCOPED_TRACE(std::string(c.dialog) + " " + c.typed);
        FakeEditorHost host;
        TwoOfEach(*host.model);
        const double before = c.stored(*host.model);
        grid::QEX_FLG* g = nullptr;
        auto d = c.make(host, g);
        d->show();
        ASSERT_EQ(g->CellText(c.row, c.col), c.old);
        QString shownWhileTold;
        host.messages.onShow = [&](const Message&) { shownWhileTold = g->CellText(c.row, c.col); };
        test::TypeCell(*g, c.row, c.col, c.typed);
        EXPECT_EQ(test::Texts(host.messages), std::vector<std::string>{c.message});
        EXPECT_EQ(shownWhileTold, c.old) << "the old text is back before the message";
        EXPECT_EQ(g->CellText(c.row, c.col), c.old);
        EXPECT_EQ(c.stored(*host.model), before);
        // OK stores what the cells show.
        host.messages.onShow = nullptr;
        ClickOk(*d);
        EXPECT_EQ(c.stored(*host.model), before);
    }
}

// Checks that stay at OK keep their own texts and put the cursor on the
// cell they are about.
TEST(TableRules, ChecksAtOkPutTheCursorOnTheirCell) {
    struct Case {
        const char* dialog;
        std::function<std::unique_ptr<QDialog>(EditorHost&, grid::QEX_FLG*&)> make;
        std::function<void(Model&)> file;  // what a file brought in
        int row, col;
        const char* typed;  // nullptr: nothing typed
        const char* message;
    } cases[] = {
        {"上載荷重", Make(&Dialog12::Qflg_LK), nullptr, 2, 4, "9", kStageMessage},
        {"盛土", Make(&Dialog1::Qflg_MB), nullptr, 2, 3, "0", kStageMessage},
        {"促進工法", Make(&Dialog11::Qflg_SB),
         [](Model& m) {
             m.DrainMethod[1].Method = 1;
             m.DrainMethod[1].Detail = {1.2, 0.05, 1, 0, 0.5, 0.3, 1};
         },
         2, 7, nullptr, "土層 2：応力分担比 n は 1 以上を指定してください（砂杭置換率 as が 0.5 未満のとき）。"},
        // What the calculation would refuse of a layer a file brought in.
        {"土層", Make(&Dialog4::Qflg_DB), [](Model& m) { m.SoilLayer[1].UnitWeight = 0; }, 2, 5, nullptr,
         "土層 2 の有効重量が正ではありません（0より大きくしてください）。"},
        {"土層", Make(&Dialog4::Qflg_DB), [](Model& m) { m.SoilParam[1].SettleMethod = 1; }, 2, 7, nullptr,
         "土層 2 の圧縮指数Ccが正ではありません（Cc法には正の圧縮指数が必要です）。"},
        {"境界点", Make(&Dialog0::Qflg_NB), [](Model& m) { m.BndPt[1] = m.BndPt[0]; }, 2, 1, nullptr,
         "同一座標の境界点が存在します。\r\r           1=2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dialog);
        FakeEditorHost host;
        TwoOfEach(*host.model);
        if (c.file) c.file(*host.model);
        const Model before = *host.model;
        grid::QEX_FLG* g = nullptr;
        auto d = c.make(host, g);
        d->show();
        if (c.typed) test::TypeCell(*g, c.row, c.col, c.typed);
        g->SetCurrentCell(1, 1);
        ClickOk(*d);
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(test::Texts(host.messages), std::vector<std::string>{c.message});
        EXPECT_EQ(d->focusWidget(), g);
        EXPECT_EQ(g->CurrentRow(), c.row);
        EXPECT_EQ(g->CurrentCol(), c.col);
        EXPECT_EQ(host.model->DrainMethod[1].Detail, before.DrainMethod[1].Detail);
        EXPECT_EQ(host.model->LineLoad[1].Stage, before.LineLoad[1].Stage);
    }
}

// n takes the whole range a file may hold where typed, 0 included (a new
// layer's n): whether the row reads it is for OK to say.
TEST(TableRules, TheShareRatioCellTakesTheFileRange) {
    for (const char* typed : {"0", "0.5", "1000"}) {
        SCOPED_TRACE(typed);
        FakeEditorHost host;
        TwoOfEach(*host.model);
        grid::QEX_FLG* g = nullptr;
        auto d = Make(&Dialog11::Qflg_SB)(host, g);
        d->show();
        test::TypeCell(*g, 2, 7, typed);
        EXPECT_TRUE(test::Texts(host.messages).empty());
        ClickOk(*d);  // a row without drains does not read n
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(host.model->DrainMethod[1].Detail[kShareRatio], std::stod(typed));
    }
}

// Every table dialog opens with the keyboard in its first cell; typed
// digits land there.
TEST(TableRules, KeyboardStartsInTheFirstCell) {
    // Each table dialog once, by its first case.
    std::vector<TableCase> opens;
    for (const TableCase& c : Cases())
        if (opens.empty() || std::string(opens.back().dialog) != c.dialog) opens.push_back(c);
    for (const TableCase& o : opens) {
        SCOPED_TRACE(o.dialog);
        FakeEditorHost host;
        TwoOfEach(*host.model);
        grid::QEX_FLG* g = nullptr;
        auto d = o.make(host, g);
        d->show();
        d->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(d.get()));
        EXPECT_EQ(QApplication::focusWidget(), g);
        EXPECT_EQ(g->CurrentRow(), 1);
        EXPECT_EQ(g->CurrentCol(), g->HeaderCols());
        if (g->Model().DropItems(g->HeaderCols()).isEmpty()) {
            QTest::keyClicks(QApplication::focusWidget(), "7");
            QCoreApplication::processEvents();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCoreApplication::processEvents();
            EXPECT_TRUE(g->CellText(1, g->HeaderCols()).startsWith(QLatin1Char('7'))) << g->CellText(1, g->HeaderCols()).toStdString();
        }
    }
}

// The soil-constants dialog asks at OK about a curve that the layer's method
// reads and the calculation cannot use, as the sand curves are asked about;
// a curve no method reads is left alone.
TEST(TableRules, SoilCurvesAskedAboutAtOk) {
    struct Case {
        int method;
        int kind;  // 0 e-logP, 1 Mv, 2 Cv
        CurveTable curve;
        bool asked;
    } cases[] = {
        {2, 1, {2, {10, 100}, {0, 0}}, true},       // Mv of zeros
        {0, 1, {2, {10, 100}, {0, 0}}, false},      // e-logP reads no Mv
        {0, 0, {2, {10, 100}, {1.0, 1.2}}, true},   // void ratio rising
        {1, 0, {2, {100, 10}, {1.2, 1.0}}, true},   // pressure falling
        {0, 2, {2, {0, 100}, {5, 5}}, true},        // Cv at zero pressure
        {4, 2, {2, {0, 100}, {5, 5}}, false},       // a layer that does not consolidate
        {0, 0, {2, {10, 100}, {1.2, 1.0}}, false},  // usable
        {0, 0, {1, {10}, {1.2}}, true},             // one point, e-logP needs two
        {1, 0, {1, {10}, {1.2}}, false},            // Cc needs one
        {2, 0, {0, {}, {}}, false},                 // Mv reads no e-logP curve
        {3, 2, {2, {0, 100}, {5, 5}}, true},        // a clay by B.K.Hough consolidates
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.method) + " " + std::to_string(c.kind));
        FakeEditorHost host;
        Model& m = *host.model;
        m.SoilLayerCount = 1;
        m.SoilLayer[0].Name = "粘土";
        m.SoilParam[0].SettleMethod = static_cast<i16>(c.method);
        const CurveTable usable{2, {10, 100}, {1.2, 1.0}};
        m.ELogPCurve[0] = m.MvCurve[0] = m.CvCurve[0] = usable;
        (c.kind == 0 ? m.ELogPCurve : c.kind == 1 ? m.MvCurve : m.CvCurve)[0] = c.curve;
        Dialog5 d(host, nullptr);
        d.show();
        host.messages.Script(MsgAnswer::No);
        d.OkClicked();
        EXPECT_EQ(host.messages.Count(), c.asked ? 1u : 0u);
        EXPECT_EQ(d.isVisible(), c.asked) << "No keeps the dialog open";
        if (!c.asked) continue;
        EXPECT_EQ(host.messages.Last().buttons, MsgButtons::YesNo);
        EXPECT_NE(host.messages.Last().text.find("土層「粘土」"), std::string::npos) << host.messages.Last().text;
        host.messages.Script(MsgAnswer::Yes);
        d.OkClicked();
        EXPECT_FALSE(d.isVisible());
    }
}


// The one rule of a typed value, in every kind of place a user types one in
// both programs (the table cells above, the boxes of the fixed dialogs, the
// observation grid and the graph options): refused when left, the old text
// back before the message, which names the field as its caption or header
// shows it and the row where there is one; nothing stored, OK included.
struct Opened {
    std::shared_ptr<void> keep;  // the window and its services
    RecordingMessages* messages = nullptr;
    std::function<void(const char*)> type;  // types and leaves (Enter)
    std::function<std::string()> shown;
    std::function<std::string()> stored;
    std::function<void()> ok;
};
struct RuleCase {
    const char* where;
    std::function<Opened()> open;
    const char* typed;
    std::string message;
    const char* old;
};

void TypeIntoBox(QLineEdit* box, const char* text, bool append = false) {
    box->setFocus();
    if (append) box->end(false);
    else box->selectAll();
    QTest::keyClicks(box, QString::fromUtf8(text));
    QTest::keyClick(box, Qt::Key_Return);
    QCoreApplication::processEvents();
}

std::string Num(double v) { return std::to_string(v); }

Opened KovacalcTable(const TableCase& c) {
    auto host = std::make_shared<FakeEditorHost>();
    TwoOfEach(*host->model);
    grid::QEX_FLG* g = nullptr;
    std::shared_ptr<QDialog> d = c.make(*host, g);
    d->show();
    return {std::make_shared<std::pair<std::shared_ptr<FakeEditorHost>, std::shared_ptr<QDialog>>>(host, d),
            &host->messages,
            [g, c](const char* t) { test::TypeCell(*g, c.row, c.col, t); },
            [g, c] { return g->CellText(c.row, c.col).toStdString(); },
            [host, c] { return Num(c.stored(*host->model)); },
            [d] { ClickOk(*d); }};
}

// Calculation conditions and project title: a box of a KOVACALC dialog.
Opened KovacalcBox(std::function<std::shared_ptr<QDialog>(FakeEditorHost&)> make,
                   std::function<QLineEdit*(QDialog&)> box, std::function<std::string(const Model&)> stored,
                   bool append = false) {
    auto host = std::make_shared<FakeEditorHost>();
    host->model->Cond.LeavePeriod = 30;
    host->model->Cond.ResidualSettlement = 0.5;
    host->model->Cond.ProjectTitle = "T";
    std::shared_ptr<QDialog> d = make(*host);
    d->show();
    QLineEdit* b = box(*d);
    return {std::make_shared<std::pair<std::shared_ptr<FakeEditorHost>, std::shared_ptr<QDialog>>>(host, d),
            &host->messages,
            [b, append](const char* t) { TypeIntoBox(b, t, append); },
            [b] { return b->text().toStdString(); },
            [host, stored] { return stored(*host->model); },
            [d] {
                if (auto* c = dynamic_cast<Dialog13*>(d.get())) c->OkClicked();
                else ClickOk(*d);
            }};
}

Opened GraphOption(int box) {
    struct State {
        predict::ObsSettings settings;
        RecordingMessages messages;
        std::unique_ptr<predict::Dialog1> d;
    };
    auto st = std::make_shared<State>();
    st->d = std::make_unique<predict::Dialog1>(st->settings, st->messages, nullptr);
    st->d->show();
    QLineEdit* b = box < 3 ? st->d->T1(box) : st->d->T2();
    return {st, &st->messages, [b](const char* t) { TypeIntoBox(b, t); }, [b] { return b->text().toStdString(); },
            [st] {
                const predict::ObsSettings& s = st->settings;
                return Num(s.LeaveDays) + " " + Num(s.ResidualSettlement) + " " + Num(s.TargetPercent) + " " +
                       Num(s.EndConditionPercent);
            },
            [st] { st->d->OKButton_Click(); }};
}

Opened ObservationCell(int col) {
    auto f = std::make_shared<predict::test::WindowFixture>();
    f->Open(predict::test::Sample("sample.tlm"));
    f->w->show();
    predict::ObservationGrid* g = f->w->QEXFLG();
    f->msg.Clear();
    return {f, &f->msg,
            [g, col](const char* t) {
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                test::TypeCell(*g, 2, col, t);
            },
            [g, col] { return g->Text(2, col); },
            [f] {
                const predict::StationRecord& s = f->w->Data().Stations[f->w->CurStation()];
                return Num(s.Settlement[2]) + " " + s.Remark[2];
            },
            [] {}};
}

std::vector<RuleCase> RuleCases() {
    std::vector<RuleCase> out;
    for (const TableCase& c : Cases())
        out.push_back({c.dialog, [c] { return KovacalcTable(c); }, c.typed, c.message, c.old});
    auto conditions = [](int i) {
        return [i] {
            return KovacalcBox([](FakeEditorHost& h) { return std::make_shared<Dialog13>(h, nullptr); },
                               [i](QDialog& d) { return static_cast<Dialog13&>(d).txt_dg12[i]; },
                               [](const Model& m) { return Num(m.Cond.LeavePeriod) + " " + Num(m.Cond.ResidualSettlement); });
        };
    };
    out.push_back({"計算条件", conditions(0), "1e999", "「放置期間指定」は0～32767の範囲で指定してください。", "30"});
    out.push_back({"計算条件", conditions(0), "-5", "「放置期間指定」は0～32767の範囲で指定してください。", "30"});
    out.push_back({"計算条件", conditions(0), "abc", "「放置期間指定」には数値を入力してください。", "30"});
    out.push_back({"計算条件", conditions(1), "1e999", "「残留沈下量指定」は0～1000の範囲で指定してください。", "0.500"});
    out.push_back({"業務名称",
                   [] {
                       return KovacalcBox([](FakeEditorHost& h) { return std::make_shared<Dialog7>(h, nullptr); },
                                          [](QDialog& d) { return static_cast<Dialog7&>(d).txt_dg7; },
                                          [](const Model& m) { return m.Cond.ProjectTitle; }, true);
                   },
                   "\"", "業務名称に使用できない文字（\"）が含まれています。", "T"});
    out.push_back({"上載荷重", [] { return KovacalcTable({"上載荷重", Make(&Dialog12::Qflg_SK), 2, 4, "", "", "1",
                                                       [](const Model& m) { return double(m.PointLoad[1].Stage); }}); },
                   "1e999", kStageMessage, "1"});
    out.push_back({"グラフオプション", [] { return GraphOption(1); }, "1e999",
                   "「残留沈下量指定（ｍ）」は0～1000の範囲で指定してください。", "0.200"});
    out.push_back({"グラフオプション", [] { return GraphOption(0); }, "-5",
                   "「放置期間指定（日）」は0～3652059の範囲で指定してください。", "365"});
    out.push_back({"グラフオプション", [] { return GraphOption(3); }, "101",
                   "「計算終了条件の圧密度（％）」は0～100の範囲で指定してください。", "95"});
    for (const char* typed : {"abc", "1e999", "1e10"}) {
        out.push_back({"沈下量", [] { return ObservationCell(predict::kColSettlement); }, typed,
                       std::string(typed) == "abc" ? "「沈下量(m)」の2行目には数値を入力してください。"
                                                   : "「沈下量(m)」の2行目は-1000～1000の範囲で指定してください。",
                       "0.500"});
    }
    out.push_back({"備考", [] { return ObservationCell(predict::kColRemark); }, "a\"b",
                   "「備考」の2行目に使用できない文字（\"）が含まれています。", "盛土開始"});
    return out;
}

TEST(TypedValueRule, EveryCellAndBoxOfBothPrograms) {
    for (const RuleCase& c : RuleCases()) {
        SCOPED_TRACE(std::string(c.where) + " " + c.typed);
        Opened o = c.open();
        ASSERT_EQ(o.shown(), c.old);
        const std::string before = o.stored();
        std::string shownWhileTold;
        o.messages->onShow = [&](const Message&) { shownWhileTold = o.shown(); };
        o.type(c.typed);
        o.messages->onShow = nullptr;
        EXPECT_EQ(test::Texts(*o.messages), std::vector<std::string>{c.message});
        EXPECT_EQ(shownWhileTold, c.old) << "the old text is back before the message";
        EXPECT_EQ(o.shown(), c.old);
        EXPECT_EQ(o.stored(), before);
        o.messages->Clear();
        o.ok();
        EXPECT_EQ(o.stored(), before);
        EXPECT_TRUE(test::Texts(*o.messages).empty()) << "what the field shows passes OK";
    }
}

}  // namespace
}  // namespace kova
