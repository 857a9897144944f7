#include "predict/drawings.hpp"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "textio/numfmt.hpp"
#include "print/drawing_file.hpp"
#include "print/print_common.hpp"
#include "print/text_board.hpp"

namespace kova::predict {
namespace {

using print::DrawingWriter;
using print::TextBoard;
using print::TextExtent;
using print::TextExtentOf;
using print::Rounding;
using print::ToDrawingInt;

// Greatest integer not above v, and nearest with halves to even, as drawing
// integers (clamped into the viewer's range).
int Int(double v) { return ToDrawingInt(v, Rounding::Floor); }
int Nearest(double v) { return ToDrawingInt(v, Rounding::NearestEven); }

// The multiple of 100 just above v.
double Up100(double v) { return std::floor((v + 100) * 0.01) * 100; }

// Record styles.
constexpr int kSolidA = 0, kSolidB = 2;     // frames, axes, ticks, fitted and final lines
constexpr int kGridA = 1, kGridB = 1;       // grid lines
constexpr int kCurveA = 0, kCurveB = 1;     // predicted curve, target marking, leaders
constexpr int kTextMain = 2;                // titles, captions, labels, final settlement
constexpr int kTextNote = 1;                // target texts, "Sa", "Sa'"
constexpr int kTitleSize = 100, kTextSize = 70;
constexpr int kMarkerKind = 1;
constexpr int kMaxSettlementTicks = 1000;
constexpr double kTimeAxisLength = 3600;  // (500, 500)-(4100, 500)

int Chars(const std::string& ascii) { return static_cast<int>(ascii.size()); }

// x that centres a label of ascii characters, each half of 70 units wide.
int CentredX(int x, const std::string& label) { return x - Int(Chars(label) * 17.5); }

// `grid` keeps the grid lines drawn, for the texts that should keep off them.
void ElapsedDayAxis(DrawingWriter& f, TextBoard& texts, TextBoard& grid, double T, double xs, int step) {
    const int ox = 500, oy = 0;
    for (long long i = 0; i <= T; i += 100) {
        int x = Int(i * xs);
        f.Line(ox, oy, x, 500, x, 450, kSolidA, kSolidB);
    }
    for (long long i = 0; i <= T; i += step) {
        int x = Int(i * xs);
        f.Line(ox, oy, x, 500, x, 2600, kGridA, kGridB);
        grid.KeepLine(ox, oy, x, 500, x, 2600);
        std::string label = std::to_string(i);
        texts.Text(ox, oy, CentredX(x, label), 450, kTextSize, 0, kTextMain, label);
    }
}

void YearMonthAxis(DrawingWriter& f, TextBoard& texts, TextBoard& grid, Date firstDate, double T, double xs) {
    const int ox = 500, oy = 0;
    int year, month, day;
    firstDate.Ymd(year, month, day);
    for (int visit = 0; visit < 1000; ++visit) {
        auto jan = Date::FromYmd(year, 1, 1);
        if (!jan) break;
        const double o = DaysBetween(firstDate, *jan);
        if (o > T) break;
        if (o >= 0) {
            int x = Nearest(o * xs);
            f.Line(ox, oy, x, 500, x, 450, kSolidA, kSolidB);
            f.Line(ox, oy, x, 500, x, 2600, kGridA, kGridB);
            grid.KeepLine(ox, oy, x, 500, x, 2600);
            std::string label = std::to_string(year % 100);
            if (label.size() < 2) label.insert(0, "0");
            texts.Text(ox, oy, Int(o * xs) - 35, 450, kTextSize, 0, kTextMain, label);
        }
        if (T < 5000) {
            for (int m = 2; m <= 12; ++m) {
                auto first = Date::FromYmd(year, m, 1);
                if (!first) break;
                const double om = DaysBetween(firstDate, *first);
                if (om > T) break;
                if (om >= 0) {
                    int x = Nearest(om * xs);
                    f.Line(ox, oy, x, 500, x, 450, kSolidA, kSolidB);
                }
            }
            year += 1;
        } else if (T < 10000) {
            year += 1;
        } else {
            year += 5;
        }
    }
}

// The target day above its line in the row of the day labels; where a day
// label stands there, just below the time axis beside the line.
void TargetDayText(TextBoard& texts, int xt, const std::string& dayText) {
    int x = CentredX(xt, dayText), y = -50;
    if (!texts.Free(500, 500, x, y, kTextSize, 0, dayText)) {
        x = xt + 20;
        y = 20 + kTextSize;
        for (int i = 0; i < 20 && !texts.Free(500, 500, x, y, kTextSize, 0, dayText); ++i) y += kTextSize;
    }
    texts.Text(500, 500, x, y, kTextSize, 0, kTextNote, dayText);
}

}  // namespace

std::string PredictionDrawingName(int k) { return "YOSOKU" + std::to_string(k) + ".PZK"; }
std::string RegressionDrawingName(int k) { return "KAIKI_" + std::to_string(k) + ".PZK"; }

std::filesystem::path WritePredictionDrawing(const StationRecord& s, const ObsSettings& set, int k,
                                             const std::filesystem::path& folder) {
    const std::filesystem::path path = folder / PredictionDrawingName(k);
    DrawingWriter f(path, kPredictionSizeLine);

    const int count = std::clamp<int>(s.Count, 0, static_cast<int>(s.ObsDate.size()) - 1);
    const Date firstDate = count >= 1 ? s.ObsDate[1] : Date{};
    auto dayOf = [&](int i) { return double(DaysBetween(firstDate, s.ObsDate[i])); };
    const int first = s.FirstDay;
    const int last = std::min<int>(s.LastDay, static_cast<int>(s.Predicted.size()) - 1);
    auto sp = [&](int d) { return d >= 0 && d < static_cast<int>(s.Predicted.size()) ? s.Predicted[d] : 0.0; };

    // Scales.
    const double T = std::max({Up100(s.LastDay), count >= 1 ? Up100(dayOf(count)) : 0.0, 100.0});
    const double xs = 3500 / T;
    const int step = T < 1000 ? 200 : T < 5000 ? 500 : T < 10000 ? 1000 : 5000;
    const double sf = s.FinalSettlement;
    double ymax = std::floor((sf + 0.2) * 10) * 0.1;
    // A heave station (Sf below about -0.1 m) has no settlement extent;
    // draw it on the smallest one so that the file stays readable.
    if (!(ymax > 0)) ymax = 0.1;
    const double ys = 2000 / ymax;

    TextBoard texts(f);
    // The grid lines across the time axis and along it, apart: a text
    // crossed by a line along it reads struck through.
    TextBoard columns(f), rows(f);
    f.Frame(4200, 2700, kSolidA, kSolidB);
    f.Line(0, 0, 500, 500, 4100, 500, kSolidA, kSolidB);
    f.Line(0, 0, 500, 500, 500, 2600, kSolidA, kSolidB);

    if (set.TimeAxisMode == 0)
        ElapsedDayAxis(f, texts, columns, T, xs, step);
    else if (set.TimeAxisMode == 1 && count >= 1)
        YearMonthAxis(f, texts, columns, firstDate, T, xs);

    texts.Text(0, 0, 1600, 200, kTitleSize, 0, kTextMain, "実測及び予想沈下経時曲線");
    texts.Text(0, 0, 1900, 350, kTextSize, 0, kTextMain, "経  過  時  間 (日)");

    // At most 1000 ticks: a huge final settlement would otherwise write
    // without end (v + 0.1 stops growing once v is large enough).
    int ticks = 0;
    for (double v = 0; v <= ymax + 0.01 && ticks < kMaxSettlementTicks; v += 0.1, ++ticks) {
        int y = Int(v * ys);
        f.Line(500, 500, 0, y, -50, y, kSolidA, kSolidB);
    }
    ticks = 0;
    for (double v = 0; v <= ymax + 0.01 && ticks < kMaxSettlementTicks; v += 0.2, ++ticks) {
        int y = Int(v * ys);
        f.Line(500, 500, 0, y, 3600, y, kGridA, kGridB);
        rows.KeepLine(500, 500, 0, y, 3600, y);
        texts.Text(0, 500, 330, y + 35, kTextSize, 0, kTextMain, FormatFixed(v, 1));
    }

    texts.Text(0, 0, 180, 1250, kTextSize, 0, kTextMain, "沈");
    texts.Text(0, 0, 180, 1450, kTextSize, 0, kTextMain, "下");
    texts.Text(0, 0, 180, 1650, kTextSize, 0, kTextMain, "量");
    texts.Text(0, 0, 160, 1850, kTextSize, 0, kTextMain, "(m)");
    const int yfinal = Int(ys * sf);
    const std::string finalText = "最終沈下量 " + FormatFixed(sf, 3) + "m";

    for (int i = 1; i <= count; ++i)
        f.Marker(500, 500, Int(dayOf(i) * xs), Int(ys * s.Settlement[i]), 8, kMarkerKind);

    // Predicted curve with a pair of markers at each further tenth of Sf.
    int px = 0, py = 0;
    if (first != 0) {
        px = Int((first - 1) * xs);
        py = Int(ys * sp(first - 1));
    }
    double threshold = 10;
    for (int d = first; d <= last; ++d) {
        int x = Int(d * xs), y = Int(ys * sp(d));
        f.Line(500, 500, px, py, x, y, kCurveA, kCurveB);
        if (sf != 0 && sp(d) / sf * 100 >= threshold) {
            f.Marker(500, 500, x, y, 6, kMarkerKind);
            f.Marker(500, 500, x, y, 12, kMarkerKind);
            threshold += 10;
        }
        px = x;
        py = y;
    }

    // Target marking; a target the curve never reaches has TargetDay 0.
    // A target day past the end of the time axis (a leaving period longer
    // than the drawing's span) is left out: drawn at the edge it would show
    // a wrong day, drawn where it is it would lie outside the frame.
    const double targetX = double(s.TargetDay) * xs;
    if (s.TargetDay > 0 && targetX <= kTimeAxisLength) {
        const double spt = s.TargetSettlement;
        const int xt = Int(targetX), yt = Int(ys * spt), yf = Int(ys * sf);
        const std::string dayText = std::to_string(s.TargetDay);
        const int opt = set.SettlementOption;
        if (opt == 0 || (opt == 2 && sf > set.ResidualSettlement)) {
            f.HeightMark(500, 500, xt, -50, yf, yt, kCurveA, kCurveB);
            std::string rest = FormatFixed(sf - spt, 3) + "m";
            texts.Text(500, 500, xt - 20, Nearest(Chars(rest) * 17.5 + (sf + spt) * ys / 2), kTextSize, 90,
                       kTextNote, rest);
            TargetDayText(texts, xt, dayText);
        } else if (opt == 1) {
            f.HeightMark(500, 500, xt, -50, yt, 0, kCurveA, kCurveB);
            std::string pct = FormatFixed(set.TargetPercent, 0) + "%";
            texts.Text(500, 500, xt - 20, Nearest(Chars(pct) * 17.5 + spt * ys / 2), kTextSize, 90, kTextNote,
                       pct);
            TargetDayText(texts, xt, dayText);
        }
    }

    auto leader = [&](int row, const char* text) {
        if (row < 1 || row > count) return;
        const int xa = Int(dayOf(row) * xs), ya = Int(ys * s.Settlement[row]);
        // The leader rises to its text; where that would cover another
        // label (a reading near the time axis) it falls instead.
        const int d = texts.Free(500, 500, xa + 100, ya - 100, kTextSize, 0, text) ? -100 : 100;
        f.Line(500, 500, xa, ya, xa + 100, ya + d, kCurveA, kCurveB);
        f.Line(500, 500, xa + 100, ya + d, xa + 200, ya + d, kCurveA, kCurveB);
        texts.Text(500, 500, xa + 100, d < 0 ? ya + d : ya + d + kTextSize, kTextSize, 0, kTextNote, text);
    };
    leader(s.Sa, "Sa");
    leader(s.SaPrime, "Sa'");

    f.Line(500, 500, 2500, yfinal, 3500, yfinal, kSolidA, kSolidB);
    // Under its line, else above it, moved along it, else further left:
    // at the first place free of other texts and of grid lines; where
    // there is none, of lines along the time axis at least.
    std::vector<std::pair<int, int>> places;
    for (int x = 2500; x <= 2905; x += 35) places.insert(places.end(), {{x, yfinal + 70}, {x, yfinal - 10}});
    for (int x = 2465; x >= 1900; x -= 35) places.insert(places.end(), {{x, yfinal + 70}, {x, yfinal - 10}});
    auto freeAt = [&](const std::pair<int, int>& p, bool acrossToo) {
        const TextExtent e = TextExtentOf(500 + p.first, 500 + p.second, kTextSize, 0, finalText);
        // A line across it at its edge reads as part of a character: a gap.
        const TextExtent g = print::Grown(e, 10);
        return texts.Free(e) && rows.FreeOfLines(e) && (!acrossToo || columns.FreeOfLines(g));
    };
    std::pair<int, int> at = places.front();
    const auto best = std::find_if(places.begin(), places.end(), [&](const auto& p) { return freeAt(p, true); });
    const auto good = std::find_if(places.begin(), places.end(), [&](const auto& p) { return freeAt(p, false); });
    if (best != places.end())
        at = *best;
    else if (good != places.end())
        at = *good;
    texts.Text(500, 500, at.first, at.second, kTextSize, 0, kTextMain, finalText);

    f.Close();
    return path;
}

std::filesystem::path WriteRegressionDrawing(const StationRecord& s, int k, const std::filesystem::path& folder) {
    const std::filesystem::path path = folder / RegressionDrawingName(k);
    DrawingWriter f(path, kRegressionSizeLine);

    f.Frame(2200, 2700, kSolidA, kSolidB);
    f.Line(0, 0, 500, 2300, 500, 300, kSolidA, kSolidB);
    f.Line(0, 0, 500, 2300, 2000, 2300, kSolidA, kSolidB);
    f.Text(0, 0, 230, 1750, kTextSize, kTextSize, 90, kTextMain, "(t-t0)/(s-s0) (日/m)");
    f.Text(0, 0, 1100, 2600, kTextSize, kTextSize, 0, kTextMain, "t-t0 (日)");
    f.Text(0, 0, 650, 200, kTitleSize, kTitleSize, 0, kTextMain, "双曲線法算定結果図");

    const int n = std::min<int>({s.FitCount, static_cast<int>(s.ElapsedDays.size()) - 1,
                                 static_cast<int>(s.Ratio.size()) - 1});
    if (n >= 1) {
        const double tn = s.ElapsedDays[n], rn = s.Ratio[n];
        // Fit points have increasing positive days, so Up100(tn) >= 100.
        const double xs = 1400 / std::max(Up100(tn), 100.0);
        double ys = 999999.999;
        for (int i = 1; i <= n; ++i)
            if (s.Ratio[i] > 0 && 1900 / Up100(s.Ratio[i]) < ys) ys = 1900 / Up100(s.Ratio[i]);
        const int tstep = tn < 100 ? 20 : tn < 500 ? 100 : tn < 1000 ? 200 : 500;
        const int rstep = rn < 200 ? 50 : rn < 500 ? 100 : rn < 1000 ? 200 : rn < 5000 ? 500 : 1000;
        const int timeRange = Nearest(1500 / xs);
        const int ratioRange = Nearest(2000 / ys);

        const int ox = 500, oy = 2300;
        for (int i = 1; i <= n; ++i)
            f.Marker(ox, oy, Nearest(s.ElapsedDays[i] * xs), -Nearest(ys * s.Ratio[i]), 10, kMarkerKind);
        f.Line(ox, oy, 0, -Nearest(ys * s.Intercept), Nearest(tn * xs),
               -Nearest((tn * s.Slope + s.Intercept) * ys), kSolidA, kSolidB);
        for (long long i = 0; i <= timeRange; i += 100) {
            int x = Int(i * xs);
            f.Line(ox, oy, x, 0, x, 50, kSolidA, kSolidB);
        }
        for (long long i = 0; i <= timeRange; i += tstep) {
            int x = Int(i * xs);
            f.Line(ox, oy, x, -2000, x, 0, kGridA, kGridB);
            std::string label = std::to_string(i);
            f.Text(ox, oy, CentredX(x, label), 150, kTextSize, kTextSize, 0, kTextMain, label);
        }
        for (long long v = 0; v <= ratioRange; v += rstep) {
            int y = Int(v * ys);
            f.Line(ox, oy, 0, -y, -50, -y, kSolidA, kSolidB);
            f.Line(ox, oy, 1500, -y, 0, -y, kGridA, kGridB);
            f.Text(ox, oy, -220, 40 - y, kTextSize, kTextSize, 0, kTextMain, AlignRight(std::to_string(v), 5));
        }
    }

    f.Close();
    return path;
}

}  // namespace kova::predict
