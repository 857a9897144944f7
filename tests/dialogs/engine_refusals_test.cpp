// Every value the engine refuses is refused first where the user types it.
// The engine is the judge: the worked example, with each typed field set to
// the values its limits make interesting, goes through CAL_TNK.DAT into the
// engine's reader and its checks of what the values mean; whatever the
// engine refuses is then typed, the same way, into the dialog, which must
// refuse it when the cell is left or at OK.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTableWidget>
#include <cstring>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <set>

#include "dialogs/dialog1.hpp"
#include "dialogs/dialog10.hpp"
#include "dialogs/dialog11.hpp"
#include "dialogs/dialog11_form.hpp"
#include "dialogs/dialog12.hpp"
#include "dialogs/dialog13.hpp"
#include "dialogs/dialog15.hpp"
#include "dialogs/dialog4.hpp"
#include "dialogs/dialog5.hpp"
#include "dialogs/dialog6.hpp"
#include "dialogs/dialog7.hpp"
#include "dialogs/dialog8.hpp"
#include "engine/checks.hpp"
#include "engine/errors.hpp"
#include "engine/reader.hpp"
#include "model/calcinput.hpp"
#include "model/projectfile.hpp"
#include "rules/limits.hpp"
#include "rules/settle_methods.hpp"
#include "tests/dialogs/dialog_test_util.hpp"
#include "tests/support/tempdir.hpp"

namespace kova {
namespace {

using test::FakeEditorHost;
using Opener = std::function<std::unique_ptr<QDialog>(FakeEditorHost&, grid::QEX_FLG*&, QLineEdit*&)>;

// One field a user types a value the engine reads into. Row 1 of a soil
// table is the example's first layer, Ac1.
struct Place {
    const char* where;
    Item item;
    std::function<bool(Model&, double)> store;  // as the dialog stores v; false: no field of the model holds it
    Opener open;
    int row = 0, col = 0;  // the cell; 0: the box `open` gives
    double shown = 1;      // typed units per model unit
    // v typed, item v of the cell's list, or the rows left (Ctrl+Delete).
    enum { Typed, Picked, RowsKept } entry = Typed;
};

template <class D>
Opener Table(grid::QEX_FLG* D::*grid) {
    return [grid](FakeEditorHost& h, grid::QEX_FLG*& g, QLineEdit*&) {
        auto d = std::make_unique<D>(h, nullptr);
        g = (*d).*grid;
        return std::unique_ptr<QDialog>(std::move(d));
    };
}
template <class D>
Opener Table(grid::QEX_FLG* (D::*grid)()) {
    return [grid](FakeEditorHost& h, grid::QEX_FLG*& g, QLineEdit*&) {
        auto d = std::make_unique<D>(h, nullptr);
        g = ((*d).*grid)();
        return std::unique_ptr<QDialog>(std::move(d));
    };
}
// The point table of Ac1's curve in selector column `col` (2 e-logP, 3 Mv, 4 Cv).
Opener Curve(int col) {
    return [col](FakeEditorHost& h, grid::QEX_FLG*& g, QLineEdit*&) {
        auto d = std::make_unique<Dialog5>(h, nullptr);
        d->show();
        d->Qflg_YD()->setCurrentCell(0, col);
        g = d->Qflg_GD();
        return std::unique_ptr<QDialog>(std::move(d));
    };
}
Opener ConditionBox(int i) {
    return [i](FakeEditorHost& h, grid::QEX_FLG*&, QLineEdit*& box) {
        auto d = std::make_unique<Dialog13>(h, nullptr);
        box = d->txt_dg12[static_cast<std::size_t>(i)];
        return std::unique_ptr<QDialog>(std::move(d));
    };
}

template <class F>
std::function<bool(Model&, double)> Real(F field) {
    return [field](Model& m, double v) {
        field(m) = v;
        return true;
    };
}
// A 16-bit field, or a code picked from a list of `count` items.
template <class F>
std::function<bool(Model&, double)> Whole(F field, int count = 0) {
    return [field, count](Model& m, double v) {
        if (count ? !(v >= 0 && v < count) : !(v >= -32768 && v <= 32767)) return false;
        field(m) = static_cast<i16>(v);
        return true;
    };
}
// A ground-improvement value, stored with the beta OK derives from n and as.
std::function<bool(Model&, double)> Drain(DrainDetail k) {
    return [k](Model& m, double v) {
        DrainMethodRec& d = m.DrainMethod[0];
        d.Detail[k] = v;
        d.Detail[kReductionFactor] = ReductionFactor(d.Method, d.Detail[kShareRatio], d.Detail[kReplaceRatio]);
        return true;
    };
}
// A curve's points cut down to v, as deleting the rows below leaves it.
template <class F>
std::function<bool(Model&, double)> Points(F curves) {
    return [curves](Model& m, double v) {
        for (CurveTable* c : curves(m)) {
            if (!(v >= 0 && v <= c->n)) return false;
            c->n = static_cast<i16>(v);
        }
        return true;
    };
}
// The sand table's rows hold one pressure for all five curves.
bool SandPressure(Model& m, double v) {
    for (int d = 0; d < kSandCurves; ++d) m.BKHoughCurve[static_cast<std::size_t>(d)].X[1] = v;
    return true;
}

std::vector<Place> Places() {
    return {
        {"土層 有効重量", Item::SoilUnitWeight, Real([](Model& m) -> double& { return m.SoilLayer[0].UnitWeight; }),
         Table(&Dialog4::Qflg_DB), 1, 5},
        {"土層 土質", Item::SoilType, Whole([](Model& m) -> i16& { return m.SoilParam[0].SoilType; }, 2),
         Table(&Dialog4::Qflg_DB), 1, 2, 1, Place::Picked},
        // The second layer, As, is sand: only its method picks a curve of its own.
        {"土層 沈下計算 (砂質土)", Item::SettleMethod,
         Whole([](Model& m) -> i16& { return m.SoilParam[1].SettleMethod; }, kMethodCount), Table(&Dialog4::Qflg_DB), 2,
         3, 1, Place::Picked},
        {"土層 N値", Item::NValue, Whole([](Model& m) -> i16& { return m.SoilParam[0].NValue; }),
         Table(&Dialog4::Qflg_DB), 1, 6},
        {"土層 圧縮指数Cc", Item::CompressionIndex, Real([](Model& m) -> double& { return m.SoilParam[0].C1; }),
         Table(&Dialog4::Qflg_DB), 1, 7},
        {"促進工法 打設間隔 d", Item::DrainSpacing, Drain(kSpacing), Table(&Dialog11::Qflg_SB), 1, 3},
        {"促進工法 直径 dw", Item::DrainDiameter, Drain(kDiameter), Table(&Dialog11::Qflg_SB), 1, 4},
        {"促進工法 係数 α", Item::DrainAlpha, Drain(kAlpha), Table(&Dialog11::Qflg_SB), 1, 5},
        {"促進工法 係数 Kc/kw", Item::PermRatio, Drain(kPermRatio), Table(&Dialog11::Qflg_SB), 1, 6},
        {"促進工法 応力分担比 n", Item::ShareRatio, Drain(kShareRatio), Table(&Dialog11::Qflg_SB), 1, 7},
        {"促進工法 砂杭置換率 as", Item::ReplaceRatio, Drain(kReplaceRatio), Table(&Dialog11::Qflg_SB), 1, 8},
        // The second point of each curve: the first stays, so a value below
        // or above it is one out of order.
        {"土質定数 e-LogP曲線 P", Item::CurvePressure, Real([](Model& m) -> double& { return m.ELogPCurve[0].X[1]; }),
         Curve(2), 2, 1, 10},
        {"土質定数 e-LogP曲線 e", Item::VoidRatio, Real([](Model& m) -> double& { return m.ELogPCurve[0].Y[1]; }),
         Curve(2), 2, 2},
        {"土質定数 LogMv-LogP曲線 P", Item::CurvePressure, Real([](Model& m) -> double& { return m.MvCurve[0].X[1]; }),
         Curve(3), 2, 1, 10},
        {"土質定数 LogMv-LogP曲線 Mv", Item::MvValue, Real([](Model& m) -> double& { return m.MvCurve[0].Y[1]; }),
         Curve(3), 2, 2, 0.1},
        {"土質定数 LogCv-LogP曲線 P", Item::CurvePressure, Real([](Model& m) -> double& { return m.CvCurve[0].X[1]; }),
         Curve(4), 2, 1, 10},
        {"土質定数 LogCv-LogP曲線 Cv", Item::CvValue, Real([](Model& m) -> double& { return m.CvCurve[0].Y[1]; }),
         Curve(4), 2, 2},
        {"土質定数 e-LogP曲線 点数", Item::CurvePointCount,
         Points([](Model& m) { return std::vector{&m.ELogPCurve[0]}; }), Curve(2), 0, 1, 1, Place::RowsKept},
        {"土質定数 LogMv-LogP曲線 点数", Item::CurvePointCount,
         Points([](Model& m) { return std::vector{&m.MvCurve[0]}; }), Curve(3), 0, 1, 1, Place::RowsKept},
        {"砂層 点数", Item::SandPointCount, Points([](Model& m) {
             std::vector<CurveTable*> five;
             for (int d = 0; d < kSandCurves; ++d) five.push_back(&m.BKHoughCurve[static_cast<std::size_t>(d)]);
             return five;
         }),
         Table(&Dialog8::Qflg_BK), 0, 1, 1, Place::RowsKept},
        {"砂層 圧力Ｐ", Item::SandPressure, SandPressure, Table(&Dialog8::Qflg_BK), 2, 1},
        {"砂層 非常にゆるい砂", Item::SandVoidRatio, Real([](Model& m) -> double& { return m.BKHoughCurve[0].Y[1]; }),
         Table(&Dialog8::Qflg_BK), 2, 2},
        {"盛土 有効重量", Item::UnitWeight, Real([](Model& m) -> double& { return m.Embankment[0].UnitWeight; }),
         Table(&Dialog1::Qflg_MB), 1, 2},
        {"盛土 段階", Item::Stage, Whole([](Model& m) -> i16& { return m.Embankment[0].Stage; }),
         Table(&Dialog1::Qflg_MB), 1, 3},
        {"切り土 有効重量", Item::UnitWeight, Real([](Model& m) -> double& { return m.CutBlock[0].UnitWeight; }),
         Table(&Dialog10::Qflg_KB), 1, 2},
        {"載荷 開始日数", Item::StageStartDay, Whole([](Model& m) -> i16& { return m.StageStartDay[1]; }),
         Table(&Dialog6::Qflg_KK), 2, 1},
        {"載荷 施工日数", Item::StageDays, Whole([](Model& m) -> i16& { return m.StageDays[1]; }),
         Table(&Dialog6::Qflg_KK), 2, 2},
        {"計算位置 X座標", Item::X, Real([](Model& m) -> double& { return m.Cond.CalcPosX[0]; }),
         Table(&Dialog7::Qflg_KP), 1, 2},
        {"集中荷重 荷重値", Item::PointLoad, Real([](Model& m) -> double& { return m.PointLoad[0].Load; }),
         Table(&Dialog12::Qflg_SK), 1, 3},
        {"集中荷重 段階", Item::Stage, Whole([](Model& m) -> i16& { return m.PointLoad[0].Stage; }),
         Table(&Dialog12::Qflg_SK), 1, 4},
        {"線荷重 荷重値", Item::LineLoad, Real([](Model& m) -> double& { return m.LineLoad[0].Load; }),
         Table(&Dialog12::Qflg_LK), 1, 3},
        {"帯状荷重 荷重値", Item::StripLoad, Real([](Model& m) -> double& { return m.StripLoad[0].Load; }),
         Table(&Dialog12::Qflg_OK), 1, 5},
        {"矢板 下端標高", Item::Y, Real([](Model& m) -> double& { return m.SheetPile[0].Bottom; }),
         Table(&Dialog15::Qflg_YT), 1, 3},
        {"計算条件 放置期間", Item::LeavePeriod, Whole([](Model& m) -> i16& { return m.Cond.LeavePeriod; }),
         ConditionBox(0)},
        {"計算条件 残留沈下量", Item::ResidualSettlement,
         Real([](Model& m) -> double& { return m.Cond.ResidualSettlement; }), ConditionBox(1)},
    };
}

// What no user enters a value of the engine refuses: a list or a switch
// whose every choice it computes with, a count the editors keep (a curve's
// points are the rows of its table), beta (OK derives it from n and as),
// the prediction's.
bool NotTyped(Item i) {
    return i == Item::Drainage || i == Item::DrainMethod || i == Item::ReductionFactor ||
           (i >= Item::TimeCondKind && i <= Item::PointNumber && i != Item::CurvePointCount &&
            i != Item::SandPointCount) ||
           i >= Item::ObsFileVersion;
}

// The values of an item worth trying: its bounds, just outside them, and
// the small values a method may refuse.
std::vector<double> Probes(Item item) {
    const Limit& l = LimitOf(item);
    std::set<double> v = {l.lo - 1, l.lo, l.hi, l.hi + 1, 0, 1};
    if (!l.integral) v.insert({0.001, 0.5});
    // Every code of a list.
    if (l.integral && l.hi - l.lo <= 10)
        for (double c = l.lo; c < l.hi; ++c) v.insert(c);
    return {v.begin(), v.end()};
}

// The worked example, and it again with Ac1 computed by each method,
// without the immediate settlement of sand, and with a low replacement
// ratio of sand piles (where n is read).
struct Context {
    std::string name;
    std::function<void(Model&)> apply;
};
std::vector<Context> Contexts() {
    std::vector<Context> out{{"例題", [](Model&) {}}};
    for (const SettleMethodRow& row : kSettleMethods)
        out.push_back({std::string("Ac1 ") + row.listed, [code = row.code](Model& m) {
                           m.SoilParam[0].SettleMethod = static_cast<i16>(code);
                           m.SoilParam[0].C1 = 0.5;
                       }});
    out.push_back({"砂質土の即時沈下なし", [](Model& m) { m.Cond.UseSandImmediate = 0; }});
    out.push_back({"Ac1 as 0.3, n 2", [](Model& m) {
                       Drain(kShareRatio)(m, 2);
                       Drain(kReplaceRatio)(m, 0.3);
                   }});
    return out;
}

// What the engine refuses of the model, as KOVACALC writes it for a run:
// the reader's message, or the layers' faults (an outline fault is the
// geometry's, not one value's); nullopt when the front end writes nothing.
struct Refusal {
    std::vector<std::string> texts;  // empty: the engine computes
    bool reading = false;            // the reader's: the value alone, whatever the rest
};
std::optional<Refusal> EngineRefusals(const Model& m, const test::TempDir& dir) {
    RecordingMessages ui;
    if (!WriteCalcInput(m, dir.path(), ui)) return std::nullopt;
    auto in = std::make_unique<engine::CalcInput>();
    RecordingMessages engine;
    Refusal out{{}, true};
    std::vector<std::string> outlines;
    try {
        engine::read_calc_input(dir.path(), *in, engine);
        out.reading = false;
        outlines = engine::outline_faults(*in);
        engine::check_input_meaning(*in, engine);
    } catch (const engine::RunAborted&) {
    }
    for (const std::string& t : test::Texts(engine))
        if (std::find(outlines.begin(), outlines.end(), t) == outlines.end()) out.texts.push_back(t);
    return out;
}

// The dialog's answer to v typed into the place: the messages when the
// cell or box is left, those at OK (a question answered No), and whether
// OK closed the dialog.
struct Answer {
    std::vector<std::string> atCell, atOk;
    bool closed = false;
};
Answer TypeIntoDialog(const Place& p, const Model& start, double v) {
    FakeEditorHost host;
    *host.model = start;
    grid::QEX_FLG* g = nullptr;
    QLineEdit* box = nullptr;
    std::unique_ptr<QDialog> d = p.open(host, g, box);
    d->show();
    const QString typed = QString::number(v * p.shown, 'g', 12);
    if (p.entry == Place::Picked) {
        test::PickCell(*g, p.row, p.col, static_cast<int>(v));
    } else if (p.entry == Place::RowsKept) {
        while (g->RowsInUse() > v) test::GridKey(*g, g->RowsInUse(), p.col, Qt::Key_Delete, Qt::ControlModifier);
    } else if (box) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, typed);
        QTest::keyClick(box, Qt::Key_Return);
        QCoreApplication::processEvents();
    } else {
        test::TypeCell(*g, p.row, p.col, typed);
    }
    Answer a;
    a.atCell = test::Texts(host.messages);
    host.messages.Clear();
    for (int i = 0; i < 4; ++i) host.messages.Script(MsgAnswer::No);
    if (auto* c = dynamic_cast<CommitDialog*>(d.get())) c->OkClicked();
    else if (auto* l = dynamic_cast<LiveEditDialog*>(d.get())) l->OkClicked();
    a.atOk = test::Texts(host.messages);
    a.closed = !d->isVisible();
    return a;
}

// A message with its numbers left out: one kind of refusal.
std::string Kind(const std::string& text) {
    const auto digit = [&](std::size_t k) { return k < text.size() && text[k] >= '0' && text[k] <= '9'; };
    std::string out;
    for (std::size_t k = 0; k < text.size();) {
        if (!digit(k) && !(text[k] == '-' && digit(k + 1))) {
            out += text[k++];
            continue;
        }
        for (++k; digit(k) || (k < text.size() && std::strchr(".e+-", text[k])); ++k) {
        }
        out += '#';
    }
    return out;
}

TEST(EngineRefusals, EachMeetsADialogCheckFirst) {
    auto example = std::make_unique<Model>();
    {
        ProgramState ps;
        RecordingMessages ui;
        ASSERT_TRUE(ReadCondFile(*example, ps, std::filesystem::path(KOVA_EXAMPLES) / "road_embankment.kov", ui));
    }
    const std::vector<Place> places = Places();
    std::set<Item> typed;
    for (const Place& p : places) typed.insert(p.item);
    for (int i = 0; i < static_cast<int>(Item::Count_); ++i)
        EXPECT_TRUE(typed.count(Item(i)) || NotTyped(Item(i))) << ItemName(Item(i)) << ": where is it typed?";

    test::TempDir dir;
    auto model = std::make_unique<Model>();
    // Each kind of refusal at each place, and the dialog check that met it first.
    std::map<std::string, std::string> walked;
    for (const Context& c : Contexts()) {
        *model = *example;
        c.apply(*model);
        const auto refused = EngineRefusals(*model, dir);
        ASSERT_TRUE(refused && refused->texts.empty()) << c.name << " must compute";
    }
    int drives = 0;
    for (const Place& p : places) {
        std::set<double> read;  // refused by the reader: typed once
        for (const Context& c : Contexts()) {
            for (double v : Probes(p.item)) {
                *model = *example;
                c.apply(*model);
                if (read.count(v) || !p.store(*model, v)) continue;
                const auto refused = EngineRefusals(*model, dir);
                if (!refused || refused->texts.empty()) continue;
                if (refused->reading) read.insert(v);
                ++drives;
                const std::string& engineText = refused->texts.front();
                SCOPED_TRACE(std::string(p.where) + " = " + std::to_string(v) + " (" + c.name + "): " + engineText);
                auto start = std::make_unique<Model>(*example);
                c.apply(*start);
                const Answer a = TypeIntoDialog(p, *start, v);
                const bool atCell = !a.atCell.empty();
                EXPECT_TRUE(atCell || (!a.atOk.empty() && !a.closed)) << "the dialog stores what the engine refuses";
                if (!atCell && a.atOk.empty()) continue;
                walked.emplace(Kind(engineText) + "\n    " + p.where + (atCell ? " (left): " : " (OK): "),
                               (atCell ? a.atCell : a.atOk).front() + "  [" + c.name + "]");
            }
        }
    }
    EXPECT_FALSE(walked.empty());
    std::cout << drives << " refused values typed\n";
    for (const auto& [refusal, check] : walked) std::cout << refusal << check << "\n";
}

}  // namespace
}  // namespace kova
