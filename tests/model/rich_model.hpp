#pragma once
// A section model that uses every table, for the file tests. The values are
// the ones written out by hand in tests/data/model/rich.kov and
// rich_CAL_TNK.DAT.
#include <filesystem>
#include <string>

#include "model/model.hpp"
#include "tests/support/tempdir.hpp"

namespace kova::test {

using XYs = std::initializer_list<std::pair<double, double>>;

inline void SetCurve(CurveTable& c, XYs pts) {
    c.n = 0;
    for (auto [x, y] : pts) {
        c.X[c.n] = x;
        c.Y[c.n++] = y;
    }
}

inline void SetBlock(SoilBlock& b, const char* name, double cx, double cy, double uw, int stage, XYs pts) {
    b.Name = name;
    b.CX = cx;
    b.CY = cy;
    b.UnitWeight = uw;
    b.Stage = static_cast<i16>(stage);
    b.nPt = 0;
    for (auto [x, y] : pts) {
        b.PX[b.nPt] = x;
        b.PY[b.nPt++] = y;
    }
    // The tracing repeats the first vertex in slot nPt; it is never saved.
    b.PX[b.nPt] = b.PX[0];
    b.PY[b.nPt] = b.PY[0];
}

inline void SetPoints(Model& m, XYs pts) {
    m.BndPtCount = 0;
    for (auto [x, y] : pts) m.BndPt[m.BndPtCount++] = {x, y};
}

inline void BuildRichModel(Model& m) {
    m = Model{};
    StudyCond& c = m.Cond;
    c.ProjectTitle = "  ○○地区, 盛土工事 ";  // trimmed when written
    c.LeavePeriod = 365;
    m.CalcPosCount = 2;
    c.CalcPosName[0] = "測点A";
    c.CalcPosX[0] = 12.5;
    c.CalcPosName[1] = "No.2";
    c.CalcPosX[1] = 40;
    c.MvPMethod = 0;
    c.CvPMethod = 1;
    c.UseCutPreload = 0;
    c.UseSandImmediate = 1;
    c.ResidualSettlement = 0.05;
    c.TimeCondKind = 1;
    c.AutoScaleXY = 1;

    SetPoints(m, {{0, 0}, {20, 0}, {30, 0}, {50, 0}, {0, -10}, {50, -10}, {25, 3.5}, {0, -20}, {50, -20}});
    const int lines[11][2] = {{0, 1}, {1, 2}, {2, 3}, {0, 4}, {3, 5}, {4, 5}, {1, 6}, {6, 2}, {4, 7}, {5, 8}, {7, 8}};
    for (int i = 0; i < 11; ++i) m.BndLine[i] = BoundaryLine{static_cast<i16>(lines[i][0]), static_cast<i16>(lines[i][1])};
    m.BndLineCount = 11;
    m.CutLine[0] = BoundaryLine{1, 2};
    m.CutLine[1] = BoundaryLine{2, 3};
    m.CutLineCount = 2;

    SetBlock(m.Embankment[0], "盛土１", 25, 1.5, 19, 2, {{20, 0}, {25, 3.5}, {30, 0}});
    m.EmbankmentCount = 1;
    SetBlock(m.SoilLayer[0], "", 25, -5, 7.5, 1, {{0, 0}, {20, 0}, {30, 0}, {50, 0}, {50, -10}, {0, -10}});
    SetBlock(m.SoilLayer[1], "砂層 Ac2", 25, -15, 9.2, 1, {{0, -10}, {50, -10}, {50, -20}, {0, -20}});
    m.SoilLayerCount = 2;
    SetBlock(m.CutBlock[0], "切土", 40, -0.5, 18, 1, {{30, 0}, {50, 0}, {50, -10}});
    m.CutCount = 1;

    SetCurve(m.ELogPCurve[0], {{1, 2.5}, {10, 2.1}, {100, 1.6}});
    SetCurve(m.MvCurve[0], {{1, 0.05}, {10, 0.0123}});
    SetCurve(m.CvCurve[0], {{1, 150}, {10, 95.5}});
    SetCurve(m.CvCurve[1], {{5, 0.00001}});
    const double e[5][2] = {{0.9, 0.85}, {0.8, 0.75}, {0.7, 0.65}, {0.6, 0.55}, {0.5, 0.45}};
    for (int d = 0; d < 5; ++d) SetCurve(m.BKHoughCurve[d], {{10, e[d][0]}, {100, e[d][1]}});

    m.SoilParam[0] = SoilParamRec{0, 0, 0, 0.35, 0, 0, 2};
    m.SoilParam[1] = SoilParamRec{1, 3, 1, 0, 0, 0, 15};
    m.DrainMethod[0].Method = 1;
    m.DrainMethod[0].Detail = {1.2, 0.05, 1, 0, 0, 0, 1};

    m.StageCount = 2;
    m.StageStartDay[0] = 0;
    m.StageDays[0] = 30;
    m.StageStartDay[1] = 60;
    m.StageDays[1] = 15;
    m.PointLoad[0] = LoadRec{10, 0, 0, 0, 100, 1};
    m.PointLoadCount = 1;
    m.LineLoad[0] = LoadRec{45, 0, 0, 0, 12.5, 2};
    m.LineLoadCount = 1;
    m.StripLoad[0] = LoadRec{5, 0, 15, 0, 10, 1};
    m.StripLoadCount = 1;
    m.SheetPile[0] = SheetPileRec{32, 0.5, -12};
    m.SheetPileCount = 1;
}

inline std::filesystem::path DataFile(const char* name) {
    return std::filesystem::path(KOVA_TEST_DATA) / "model" / name;
}

}  // namespace kova::test
