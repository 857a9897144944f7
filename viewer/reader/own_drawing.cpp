#include "viewer/reader/own_drawing.hpp"

#include <cmath>

#include "textio/cp932.hpp"
#include "viewer/reader/grammar.hpp"

namespace kova::viewer {
namespace {

// Axes: time to the right from (x0, y0), settlement downwards.
constexpr int kX0 = 500, kY0 = 450, kX1 = 3900, kY1 = 2350;
constexpr int kDay90 = 2700;  // where 90 % is reached, in drawing units from x0

int XOf(double t) { return kX0 + static_cast<int>(std::lround(t)); }
int YOf(double degree) { return kY0 + static_cast<int>(std::lround((kY1 - kY0 - 100) * degree)); }

void Line(std::string& s, int x1, int y1, int x2, int y2, int type, int pen) {
    s += "L " + std::to_string(x1) + " " + std::to_string(y1) + " " + std::to_string(x2) + " " + std::to_string(y2) +
         " " + std::to_string(type) + " " + std::to_string(pen) + "\n";
}

void Text(std::string& s, int x, int y, int cell, int angle, const std::string& text) {
    s += "K " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(cell) + " " + std::to_string(cell) +
         " " + std::to_string(angle) + " 1\n" + text + "\n";
}

}  // namespace

std::string OwnTimeDiagramText() {
    std::string s =
        std::string(kViewerOwnDrawing) + "\n" + std::string(kSizeTimeGraph) + "\n" + std::string(kDrawingHeader) + "\n";
    const double T = kDay90 / std::log(10.0);  // U = 1 - exp(-t / T)
    Line(s, kX0, kY0, kX1, kY0, kLineSolid, kPenThick);
    Line(s, kX0, kY0, kX0, kY1, kLineSolid, kPenThick);
    Text(s, kX1 - 700, kY0 - 60, 70, 0, "経過日数 t（日）");
    Text(s, kX0 - 130, kY1, 70, 90, "沈下量 S");
    Text(s, kX0 - 60, kY0 - 60, 60, 0, "0");
    // The final settlement, approached but not reached.
    Line(s, kX0, YOf(1), kX1, YOf(1), kLineDashDot, kPenThin);
    Text(s, kX1 - 650, YOf(1) + 90, 60, 0, "最終沈下量（100%）");
    int px = kX0, py = YOf(0);
    for (int t = 25; t <= kX1 - kX0; t += 25) {
        const int x = XOf(t), y = YOf(1 - std::exp(-t / T));
        Line(s, px, py, x, y, kLineSolid, kPenThick);
        px = x, py = y;
    }
    for (int k = 1; k <= 9; ++k) {
        const double u = k / 10.0;
        const int x = XOf(-T * std::log(1 - u)), y = YOf(u);
        Line(s, kX0, y, x, y, kLineDashed, kPenThin);
        Line(s, x, y, x, kY0, kLineDashed, kPenThin);
        // Left of the axis, clear of its thick pen, centred on its line.
        const std::string degree = std::to_string(10 * k) + "%";
        Text(s, kX0 - 25 - static_cast<int>(degree.size()) * 25, y + 20, 50, 0, degree);
        if (k % 2 == 1 || k == 8) Text(s, x - 40, kY0 - 15, 45, 0, "t" + std::to_string(10 * k));
    }
    Text(s, kX0 + 700, kY1 + 20, 60, 0, "表の日数は各圧密度 U（%）に達する日数 t、沈下量はそのときの S");
    return s;
}

const DrawingFile& OwnTimeDiagram() {
    static const DrawingFile d = ReadDrawing(Utf8ToCp932(OwnTimeDiagramText()), std::string(kViewerOwnDrawing));
    return d;
}

}  // namespace kova::viewer
