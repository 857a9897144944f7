// Every table dialog, opened on values with more digits than it shows, tiny,
// negative and as large as the limits allow: OK without an edit leaves the
// model bit for bit as it was, one typed cell changes that value only, and
// Cancel or the close box after any edits leaves the whole model as it was.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <sstream>

#include "dialogs/dialog0.hpp"
#include "dialogs/dialog1.hpp"
#include "dialogs/dialog10.hpp"
#include "dialogs/dialog12.hpp"
#include "dialogs/dialog13.hpp"
#include "dialogs/dialog15.hpp"
#include "dialogs/dialog4.hpp"
#include "dialogs/dialog6.hpp"
#include "dialogs/dialog7.hpp"
#include "model/projectfile.hpp"
#include "tests/dialogs/dialog_test_util.hpp"

namespace kova {
namespace {

using test::FakeEditorHost;

constexpr double kOdd[] = {1.23456, 1e-7, -12.3456789, -0.0, 9999999.9999, 1e7, -1e7, 0.1};

bool Bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The differences between two models in what the table dialogs edit.
std::string Diff(const Model& a, const Model& b) {
    std::ostringstream out;
    auto d = [&out](const char* what, std::size_t i, double x, double y) {
        if (!Bits(x, y)) out << what << "[" << i << "] " << x << " != " << y << "\n";
    };
    auto n = [&out](const char* what, std::size_t i, long long x, long long y) {
        if (x != y) out << what << "[" << i << "] " << x << " != " << y << "\n";
    };
    auto s = [&out](const char* what, std::size_t i, const std::string& x, const std::string& y) {
        if (x != y) out << what << "[" << i << "] " << x << " != " << y << "\n";
    };
    n("BndPtCount", 0, a.BndPtCount, b.BndPtCount);
    for (std::size_t i = 0; i < a.BndPt.size(); ++i) {
        d("BndPt.X", i, a.BndPt[i].X, b.BndPt[i].X);
        d("BndPt.Y", i, a.BndPt[i].Y, b.BndPt[i].Y);
        n("BndPt.nLink", i, a.BndPt[i].nLink, b.BndPt[i].nLink);
        for (std::size_t k = 0; k < a.BndPt[i].Link.size(); ++k)
            n("BndPt.Link", i, a.BndPt[i].Link[k], b.BndPt[i].Link[k]);
    }
    n("BndLineCount", 0, a.BndLineCount, b.BndLineCount);
    n("CutLineCount", 0, a.CutLineCount, b.CutLineCount);
    for (std::size_t i = 0; i < a.BndLine.size(); ++i) {
        n("BndLine.pt1", i, a.BndLine[i].pt1, b.BndLine[i].pt1);
        n("BndLine.pt2", i, a.BndLine[i].pt2, b.BndLine[i].pt2);
        n("CutLine.pt1", i, a.CutLine[i].pt1, b.CutLine[i].pt1);
        n("CutLine.pt2", i, a.CutLine[i].pt2, b.CutLine[i].pt2);
    }
    const std::pair<const char*, const std::array<SoilBlock, kMaxBlocks + 1> Model::*> blocks[] = {
        {"Embankment", &Model::Embankment}, {"SoilLayer", &Model::SoilLayer}, {"CutBlock", &Model::CutBlock}};
    for (const auto& [what, table] : blocks)
        for (std::size_t i = 0; i <= kMaxBlocks; ++i) {
            const SoilBlock &x = (a.*table)[i], &y = (b.*table)[i];
            s(what, i, x.Name, y.Name);
            d(what, i, x.UnitWeight, y.UnitWeight);
            n(what, i, x.Stage, y.Stage);
            d(what, i, x.CX, y.CX);
        }
    for (std::size_t i = 0; i <= kMaxBlocks; ++i) {
        const SoilParamRec &x = a.SoilParam[i], &y = b.SoilParam[i];
        n("SoilType", i, x.SoilType, y.SoilType);
        n("SettleMethod", i, x.SettleMethod, y.SettleMethod);
        n("Drainage", i, x.Drainage, y.Drainage);
        d("C1", i, x.C1, y.C1);
        d("C2", i, x.C2, y.C2);
        d("C3", i, x.C3, y.C3);
        n("NValue", i, x.NValue, y.NValue);
    }
    n("StageCount", 0, a.StageCount, b.StageCount);
    for (std::size_t i = 0; i <= kMaxStages; ++i) {
        n("StageStartDay", i, a.StageStartDay[i], b.StageStartDay[i]);
        n("StageDays", i, a.StageDays[i], b.StageDays[i]);
    }
    const std::pair<const char*, const std::array<LoadRec, kMaxLoads + 1> Model::*> loads[] = {
        {"PointLoad", &Model::PointLoad}, {"LineLoad", &Model::LineLoad}, {"StripLoad", &Model::StripLoad}};
    for (const auto& [what, table] : loads)
        for (std::size_t i = 0; i <= kMaxLoads; ++i) {
            const LoadRec &x = (a.*table)[i], &y = (b.*table)[i];
            d(what, i, x.X1, y.X1);
            d(what, i, x.Y1, y.Y1);
            d(what, i, x.X2, y.X2);
            d(what, i, x.Y2, y.Y2);
            d(what, i, x.Load, y.Load);
            n(what, i, x.Stage, y.Stage);
        }
    n("PointLoadCount", 0, a.PointLoadCount, b.PointLoadCount);
    n("LineLoadCount", 0, a.LineLoadCount, b.LineLoadCount);
    n("StripLoadCount", 0, a.StripLoadCount, b.StripLoadCount);
    n("SheetPileCount", 0, a.SheetPileCount, b.SheetPileCount);
    for (std::size_t i = 0; i <= kMaxSheetPiles; ++i) {
        d("SheetPile.X", i, a.SheetPile[i].X, b.SheetPile[i].X);
        d("SheetPile.Top", i, a.SheetPile[i].Top, b.SheetPile[i].Top);
        d("SheetPile.Bottom", i, a.SheetPile[i].Bottom, b.SheetPile[i].Bottom);
    }
    const StudyCond &x = a.Cond, &y = b.Cond;
    s("ProjectTitle", 0, x.ProjectTitle, y.ProjectTitle);
    n("CalcPosCount", 0, a.CalcPosCount, b.CalcPosCount);
    for (std::size_t i = 0; i <= kMaxCalcPos; ++i) {
        s("CalcPosName", i, x.CalcPosName[i], y.CalcPosName[i]);
        d("CalcPosX", i, x.CalcPosX[i], y.CalcPosX[i]);
    }
    n("LeavePeriod", 0, x.LeavePeriod, y.LeavePeriod);
    n("MvPMethod", 0, x.MvPMethod, y.MvPMethod);
    n("CvPMethod", 0, x.CvPMethod, y.CvPMethod);
    n("UseCutPreload", 0, x.UseCutPreload, y.UseCutPreload);
    n("UseSandImmediate", 0, x.UseSandImmediate, y.UseSandImmediate);
    n("TimeCondKind", 0, x.TimeCondKind, y.TimeCondKind);
    d("ResidualSettlement", 0, x.ResidualSettlement, y.ResidualSettlement);
    n("AutoScaleXY", 0, x.AutoScaleXY, y.AutoScaleXY);
    return out.str();
}

// The differences, then the whole project as the file writes it (on copies:
// the writer trims names).
std::string Differences(const Model& a, const Model& b) {
    const std::string fields = Diff(a, b);
    if (!fields.empty()) return fields;
    auto x = std::make_unique<Model>(a), y = std::make_unique<Model>(b);
    return FormatCondFile(*x) == FormatCondFile(*y) ? "" : "project file text differs";
}

// A model whose every table holds awkward values within the limits.
void FillAwkward(Model& m) {
    const auto odd = [](std::size_t i) { return kOdd[i % std::size(kOdd)]; };
    m.BndPtCount = 8;
    for (std::size_t i = 0; i < 8; ++i) m.BndPt[i] = BoundaryPoint{odd(i), odd(i + 3) / 10, {}, 0};
    m.BndPt[4].Link[0] = 2;
    m.BndPt[4].nLink = 1;
    m.BndLineCount = 2;
    m.BndLine[0] = {0, 4};
    m.BndLine[1] = {4, 7};
    m.CutLineCount = 1;
    m.CutLine[0] = {1, 2};
    const double weights[] = {1.23456, 1e-7, 100, 17.98765};
    m.EmbankmentCount = m.SoilLayerCount = m.CutCount = 4;
    for (std::size_t i = 0; i < 4; ++i) {
        m.Embankment[i] =
            SoilBlock{.Name = "盛土" + std::to_string(i), .UnitWeight = weights[i], .Stage = static_cast<i16>(i + 1)};
        m.SoilLayer[i] = SoilBlock{.Name = "Ac" + std::to_string(i), .UnitWeight = weights[3 - i]};
        m.SoilParam[i] = SoilParamRec{static_cast<i16>(i % 2),  static_cast<i16>(i), 1, weights[i], 0.5, 0.25,
                                      static_cast<i16>(i * 333)};
        m.CutBlock[i] = SoilBlock{.Name = "切土" + std::to_string(i), .UnitWeight = weights[(i + 1) % 4]};
    }
    m.StageCount = 5;
    m.StageStartDay = {0, 30, 32767, 100, 200, 0};
    m.StageDays = {32767, 0, 7, 8, 9, 0};
    for (std::size_t i = 0; i < 5; ++i) {
        const i16 stage = static_cast<i16>(i + 1);
        m.PointLoad[i] =
            LoadRec{odd(i), odd(i + 1) / 10, odd(i), odd(i + 1) / 10, i == 4 ? 1e6 : odd(i + 2) / 10, stage};
        m.LineLoad[i] = LoadRec{odd(i + 3), -1e6, odd(i + 3), -1e6, -1e6, stage};
        m.StripLoad[i] = LoadRec{odd(i), odd(i + 2) / 10, odd(i + 4), odd(i + 5) / 10, 1.23456, stage};
    }
    m.PointLoadCount = m.LineLoadCount = m.StripLoadCount = 5;
    m.SheetPileCount = 3;
    for (std::size_t i = 0; i < 3; ++i) m.SheetPile[i] = SheetPileRec{odd(i), odd(i + 1) / 10, -1e6};
    m.Cond.ProjectTitle = "国道１号　盛土 ";
    m.CalcPosCount = 20;
    for (std::size_t i = 0; i < 20; ++i) {
        m.Cond.CalcPosName[i] = "No." + std::to_string(i) + " ";
        m.Cond.CalcPosX[i] = odd(i);
    }
    m.Cond.LeavePeriod = 32767;
    m.Cond.ResidualSettlement = 1.23456e-7;
    m.Cond.MvPMethod = 0;
    m.Cond.UseSandImmediate = 0;
    m.Cond.AutoScaleXY = 1;
}

struct Case {
    const char* name;
    std::function<void(FakeEditorHost&)> run;  // open, maybe edit, press OK
    std::function<void(Model&)> expect;        // what the edit changes
};

template <class D>
void OpenEditOk(FakeEditorHost& host, grid::QEX_FLG* D::*grid, int row, int col, const char* text) {
    D d(host, nullptr);
    d.show();
    if (grid && text) test::TypeCell(*(d.*grid), row, col, text);
    d.OkClicked();
    EXPECT_FALSE(d.isVisible());
}

void NoEdit(Model&) {}

TEST(RoundTrip, OkKeepsEveryUntouchedValueBitForBit) {
    const Case cases[] = {
        {"points", [](auto& h) { OpenEditOk<Dialog0>(h, nullptr, 0, 0, nullptr); }, NoEdit},
        {"points, one Y", [](auto& h) { OpenEditOk<Dialog0>(h, &Dialog0::Qflg_NB, 3, 2, "-2.5"); },
         [](Model& m) { m.BndPt[2].Y = -2.5; }},
        {"embankments", [](auto& h) { OpenEditOk<Dialog1>(h, nullptr, 0, 0, nullptr); }, NoEdit},
        {"embankments, one name", [](auto& h) { OpenEditOk<Dialog1>(h, &Dialog1::Qflg_MB, 2, 1, "B1"); },
         [](Model& m) { m.Embankment[1].Name = "B1"; }},
        {"layers", [](auto& h) { OpenEditOk<Dialog4>(h, nullptr, 0, 0, nullptr); }, NoEdit},
        {"layers, one N", [](auto& h) { OpenEditOk<Dialog4>(h, &Dialog4::Qflg_DB, 4, 6, "12.5"); },
         [](Model& m) { m.SoilParam[3].NValue = 12; }},
        {"stages", [](auto& h) { OpenEditOk<Dialog6>(h, nullptr, 0, 0, nullptr); }, NoEdit},
        {"stages, one day", [](auto& h) { OpenEditOk<Dialog6>(h, &Dialog6::Qflg_KK, 5, 2, "3"); },
         [](Model& m) { m.StageDays[4] = 3; }},
        {"positions", [](auto& h) { OpenEditOk<Dialog7>(h, nullptr, 0, 0, nullptr); }, NoEdit},
        {"positions, one X", [](auto& h) { OpenEditOk<Dialog7>(h, &Dialog7::Qflg_KP, 20, 2, "－３．２５"); },
         [](Model& m) { m.Cond.CalcPosX[19] = -3.25; }},
        {"cuts", [](auto& h) { OpenEditOk<Dialog10>(h, nullptr, 0, 0, nullptr); }, NoEdit},
        {"cuts, one weight", [](auto& h) { OpenEditOk<Dialog10>(h, &Dialog10::Qflg_KB, 1, 2, "18.12345"); },
         [](Model& m) { m.CutBlock[0].UnitWeight = 18.123; }},
        {"loads", [](auto& h) { OpenEditOk<Dialog12>(h, nullptr, 0, 0, nullptr); }, NoEdit},
        {"loads, one strip value", [](auto& h) { OpenEditOk<Dialog12>(h, &Dialog12::Qflg_OK, 2, 5, "-7.125"); },
         [](Model& m) { m.StripLoad[1].Load = -7.125; }},
        {"conditions", [](auto& h) { OpenEditOk<Dialog13>(h, nullptr, 0, 0, nullptr); }, NoEdit},
        {"walls", [](auto& h) { OpenEditOk<Dialog15>(h, nullptr, 0, 0, nullptr); }, NoEdit},
        {"walls, one top", [](auto& h) { OpenEditOk<Dialog15>(h, &Dialog15::Qflg_YT, 3, 2, "4.5"); },
         [](Model& m) { m.SheetPile[2].Top = 4.5; }},
    };
    for (const Case& c : cases) {
        FakeEditorHost host;
        FillAwkward(*host.model);
        auto expected = std::make_unique<Model>(*host.model);
        c.expect(*expected);
        c.run(host);
        EXPECT_EQ(Differences(*expected, *host.model), "") << c.name;
        EXPECT_EQ(host.messages.Count(), 0u) << c.name;
    }
}

struct EditCase {
    const char* name;
    std::function<void(FakeEditorHost&, bool closeBox)> run;
};

// Opens D, edits it, checks that the edits reached the model when it is
// live (and only then), and closes it by Cancel or the close box.
template <class D>
EditCase Edits(const char* name, bool live, std::function<void(D&)> edit) {
    return {name, [name, live, edit](FakeEditorHost& host, bool closeBox) {
                const auto before = std::make_unique<Model>(*host.model);
                D d(host, nullptr);
                d.show();
                edit(d);
                EXPECT_EQ(Diff(*before, *host.model).empty(), !live) << name;
                if (closeBox) d.close();
                else d.CancelClicked();
                EXPECT_FALSE(d.isVisible()) << name;
            }};
}

TEST(RoundTrip, CancelAfterEditsLeavesTheWholeModelAsItWas) {
    using test::GridKey;
    using test::TypeCell;
    const EditCase cases[] = {
        Edits<Dialog0>("points", true,
                       [](Dialog0& d) {
                           TypeCell(*d.Qflg_NB, 3, 2, "-2.5");
                           GridKey(*d.Qflg_NB, 2, 1, Qt::Key_Insert);
                           TypeCell(*d.Qflg_NB, 2, 1, "77");
                           GridKey(*d.Qflg_NB, 6, 1, Qt::Key_Delete, Qt::ControlModifier);  // a point with lines
                       }),
        Edits<Dialog1>("embankments", true,
                       [](Dialog1& d) {
                           TypeCell(*d.Qflg_MB, 2, 1, "B1");
                           TypeCell(*d.Qflg_MB, 3, 2, "20.5");
                           TypeCell(*d.Qflg_MB, 1, 3, "2");
                       }),
        Edits<Dialog4>("layers", true,
                       [](Dialog4& d) {
                           TypeCell(*d.Qflg_DB, 4, 6, "12");
                           test::PickCell(*d.Qflg_DB, 1, 3, 2);
                           TypeCell(*d.Qflg_DB, 2, 1, "Dg");
                       }),
        Edits<Dialog6>("stages", false,
                       [](Dialog6& d) {
                           TypeCell(*d.Qflg_KK, 5, 2, "3");
                           TypeCell(*d.Qflg_KK, 1, 1, "4");
                       }),
        Edits<Dialog7>("positions", true,
                       [](Dialog7& d) {
                           d.txt_dg7->setText(QStringLiteral("別の業務"));
                           TypeCell(*d.Qflg_KP, 20, 2, "-3.25");
                           GridKey(*d.Qflg_KP, 3, 1, Qt::Key_Delete, Qt::ControlModifier);
                       }),
        Edits<Dialog10>("cuts", false,
                        [](Dialog10& d) {
                            TypeCell(*d.Qflg_KB, 1, 2, "18.5");
                            TypeCell(*d.Qflg_KB, 2, 1, "C2");
                        }),
        Edits<Dialog12>("loads", false,
                        [](Dialog12& d) {
                            TypeCell(*d.Qflg_SK, 1, 1, "7");
                            TypeCell(*d.Qflg_LK, 1, 4, "2");
                            TypeCell(*d.Qflg_OK, 2, 5, "-7.125");
                        }),
        Edits<Dialog15>("walls", true,
                        [](Dialog15& d) {
                            TypeCell(*d.Qflg_YT, 3, 2, "4.5");
                            GridKey(*d.Qflg_YT, 1, 1, Qt::Key_Insert);
                            TypeCell(*d.Qflg_YT, 1, 1, "2");
                        }),
    };
    for (const EditCase& c : cases)
        for (const bool closeBox : {false, true}) {
            FakeEditorHost host;
            FillAwkward(*host.model);
            const auto before = std::make_unique<Model>(*host.model);
            c.run(host, closeBox);
            EXPECT_EQ(Differences(*before, *host.model), "") << c.name << (closeBox ? ", close box" : ", Cancel");
        }
}

}  // namespace
}  // namespace kova
