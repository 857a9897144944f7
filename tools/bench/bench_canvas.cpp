// Times the full repaint of the section canvas on the largest section the
// editor allows. kova_bench_canvas [repeats] [width height]: prints the
// median and the spread in milliseconds.
#include <QApplication>
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "editor/section_painter.hpp"

namespace {

using kova::i16;

// Every table full: 500 points, 500 lines, 20 blocks of 100 vertices in each
// block table, 20 positions, 5 loads of each kind, results drawn.
void BuildMaximalSection(kova::Model& m) {
    m = kova::Model{};
    for (int i = 0; i < kova::kMaxBndPts; ++i) {
        auto& p = m.BndPt[static_cast<std::size_t>(i)];
        p.X = (i % 25) * 10.0;
        p.Y = -(i / 25) * 2.0;
    }
    m.BndPtCount = kova::kMaxBndPts;
    for (int i = 0; i < kova::kMaxLines; ++i) {
        const int a = i % kova::kMaxBndPts;
        const int b = (i % 25 == 24) ? a + 25 : a + 1;
        m.BndLine[static_cast<std::size_t>(i)] = {static_cast<i16>(a), static_cast<i16>(std::min(b, 499))};
        m.CutLine[static_cast<std::size_t>(i)] = m.BndLine[static_cast<std::size_t>(i)];
    }
    m.BndLineCount = m.CutLineCount = kova::kMaxLines;
    auto band = [](kova::SoilBlock& b, double top, double bottom, double x0, double x1) {
        b.nPt = kova::kMaxVertices;
        const int half = kova::kMaxVertices / 2;
        for (int j = 0; j < half; ++j) {
            const double x = x0 + (x1 - x0) * j / (half - 1);
            b.PX[static_cast<std::size_t>(j)] = x;
            b.PY[static_cast<std::size_t>(j)] = top + 0.3 * std::sin(x);
            b.PX[static_cast<std::size_t>(kova::kMaxVertices - 1 - j)] = x;
            b.PY[static_cast<std::size_t>(kova::kMaxVertices - 1 - j)] = bottom + 0.3 * std::cos(x);
        }
        b.PX[kova::kMaxVertices] = b.PX[0];
        b.PY[kova::kMaxVertices] = b.PY[0];
        b.CX = (x0 + x1) / 2;
        b.CY = (top + bottom) / 2;
    };
    for (int i = 0; i < kova::kMaxBlocks; ++i) {
        const auto k = static_cast<std::size_t>(i);
        band(m.SoilLayer[k], -2.0 * i, -2.0 * i - 2, 0, 240);
        m.SoilParam[k].SoilType = static_cast<i16>(i % 3 == 2);
        m.DrainMethod[k].Method = static_cast<i16>(i % 2);
        band(m.Embankment[k], 6 - 0.3 * i, 0, 60 + i, 180 - i);
        band(m.CutBlock[k], 1 - 0.05 * i, -1, 10 + 5 * i, 14 + 5 * i);
    }
    m.SoilLayerCount = m.EmbankmentCount = m.CutCount = kova::kMaxBlocks;
    for (int i = 0; i < kova::kMaxCalcPos; ++i) {
        m.Cond.CalcPosName[static_cast<std::size_t>(i)] = "測点" + std::to_string(i + 1);
        m.Cond.CalcPosX[static_cast<std::size_t>(i)] = 10.0 + 11 * i;
        m.CalcPosResult[static_cast<std::size_t>(i)] = {10.0 + 11 * i, 0, 0.1 + 0.01 * i};
    }
    m.CalcPosCount = kova::kMaxCalcPos;
    for (int i = 0; i < kova::kMaxLoads; ++i) {
        const auto k = static_cast<std::size_t>(i);
        m.StripLoad[k] = {20.0 + 40 * i, 6, 35.0 + 40 * i, 6, 10, 1};
        m.PointLoad[k] = {30.0 + 40 * i, 7, 0, 0, 100, 1};
        m.LineLoad[k] = {40.0 + 40 * i, 7, 0, 0, 10, 1};
    }
    m.StripLoadCount = m.PointLoadCount = m.LineLoadCount = kova::kMaxLoads;
    m.SheetPileCount = kova::kMaxSheetPiles;
    for (int i = 0; i < kova::kMaxSheetPiles; ++i) m.SheetPile[static_cast<std::size_t>(i)] = {50.0 + 60 * i, 2, -15};
    for (int k = 0; k < kova::kProfileRows; ++k)
        m.SettledSurface[static_cast<std::size_t>(k)] = {k * 0.24, 0.5 * std::sin(k * 0.01), 0.3};
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const int w = argc > 3 ? std::atoi(argv[2]) : 766;  // the canvas of an 800 x 600 window
    const int h = argc > 3 ? std::atoi(argv[3]) : 441;

    auto model = std::make_unique<kova::Model>();
    BuildMaximalSection(*model);
    kova::EditorState ed;
    ed.CanvasWidth = w * 15;
    ed.CanvasHeight = h * 15;
    ed.ViewLeftX = -10;
    ed.ViewTopY = 12;
    ed.ViewScale = ed.CanvasWidth / 260.0;
    ed.cmd_mode = 4;
    for (int i = 0; i < 50; ++i) ed.SelFlags[static_cast<std::size_t>(i * 10)] = 1;

    kova::SectionPainter painter;
    QImage img(w, h, QImage::Format_RGB32);
    const kova::PaintOptions opt{true, true};
    painter.FullRepaint(img, *model, ed, opt);  // fonts and glyph caches warm

    std::vector<double> ms;
    for (int i = 0; i < repeats; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        painter.FullRepaint(img, *model, ed, opt);
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("full repaint, %dx%d px, maximal section: median %.2f ms, min %.2f, 90%% %.2f (%d runs)\n", w, h,
                ms[ms.size() / 2], ms.front(), ms[ms.size() * 9 / 10], repeats);
    if (const char* png = std::getenv("KOVA_BENCH_PNG")) img.save(png);
    return 0;
}
