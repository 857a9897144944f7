#include "predict/commands/graphs.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

#include "textio/numfmt.hpp"
#include "textio/cformat.hpp"

namespace kova::predict {

namespace {

// Palette numbers of the graphs.
constexpr int kWhite = 15, kBlack = 0, kBlue = 9, kGrey = 8, kRed = 12, kDarkRed = 4, kMagenta = 13;

// Tick loops and the year loop never run longer than this, whatever the
// axis maxima are.
constexpr int kMaxTicks = 1000;
constexpr int kMaxYears = 1000;

// Calls tick(v) for v = 0, step, 2 step ... up to max; kMaxTicks at most.
template <class Tick>
void ForTicks(double step, double max, Tick tick) {
    for (int i = 0; i < kMaxTicks; ++i) {
        const double v = i * step;
        if (v > max) break;
        tick(v);
    }
}

// A fault that ends a graph's drawing.
struct GraphFault {};

double Finite(double v) {
    if (!std::isfinite(v)) throw GraphFault{};
    return v;
}

// A station's observation arrays must hold its count before any is read.
void CheckRows(const StationRecord& s) {
    const std::size_t need = static_cast<std::size_t>(std::max<int>(s.Count, 0)) + 1;
    if (s.Count < 0 || s.ObsDate.size() < need || s.Settlement.size() < need || s.SW.size() < need)
        throw GraphFault{};
}

void ResetPens(Picture& p) {
    p.SetBackPalette(kWhite);
    p.SetLineStyle(LineStyle::Solid);
    p.SetLineWidth(1);
    p.SetForePalette(kBlack);
    p.SetFill(false, PaletteColour(kBlack));
}

std::string DateText(Date d) { return d.Text("%04d/%02d/%02d"); }

// The settlement-time graph's mapping from (day, settlement) to twips.
struct TimeMap {
    double xs, ys;
    double X(double day) const { return Finite(700 + day * xs); }
    double Y(double s) const { return Finite(350 + s * ys); }
};

// Labels keep this far from the graph's frame, which the box draws on its
// edge.
constexpr double kFrameMargin = 30;
// A label of the vertical axis ends this far before its tick (a pixel).
constexpr double kTickGap = 15;

// The labels of one graph as they are drawn: none may cover another or a
// box the window lays over the graph, and none is cut by the graph's frame. A label whose place is taken moves to the next free place it
// may take, or is left out (a tick label where the next tick's label or a
// box already stands: the ticks stay); a label that would reach past the
// frame is moved inside it first (a target day near the end of the axis).
class LabelBoard {
public:
    LabelBoard(Picture& p, std::vector<LabelBox> taken) : p_(p), taken_(std::move(taken)) {}

    // A label that belongs at one place only.
    void Fixed(double x, double y, const std::string& text) { Place({{x, y}}, text); }
    // A label whose right end stands at `right` (a label of the vertical
    // axis, ending where its tick begins), or at x when that is further
    // left; never left of the frame.
    void EndingAt(double x, double right, double y, const std::string& text) {
        Fixed(std::max(kFrameMargin, std::min(x, right - Width(text))), y, text);
    }
    // The first free place of `places`.
    // `avoid`: places this label may not take either (a line drawn later).
    void Place(const std::vector<std::pair<double, double>>& places, const std::string& text,
               const std::vector<LabelBox>& avoid = {}) {
        for (const auto& [x, y] : places) {
            const LabelBox b = InsideFrame(TextBox(p_.FontPoints(), x, y, text));
            if (!Free(b) || std::any_of(avoid.begin(), avoid.end(), [&](const LabelBox& a) { return Overlap(b, a); }))
                continue;
            if (TextInBox(p_, b.left, b.top, text)) taken_.push_back(b);
            return;
        }
    }
    double Width(const std::string& text) const { return TextBox(p_.FontPoints(), 0, 0, text).right; }
    // A label held back until Flush, so that a box can be fitted between
    // the labels of its row first.
    void Defer(double x, double y, const std::string& text) { deferred_.push_back({x, y, text}); }
    // The first of `boxes` that neither a held-back label nor a placed one
    // covers, else the first of them; taken. Then the held-back labels.
    LabelBox PlaceBoxThenFlush(const std::vector<LabelBox>& boxes) {
        LabelBox chosen = boxes.front();
        for (const LabelBox& b : boxes) {
            bool free = Free(b);
            for (const Deferred& d : deferred_)
                free = free && !Overlap(b, TextBox(p_.FontPoints(), d.x, d.y, d.text));
            if (free) {
                chosen = b;
                break;
            }
        }
        taken_.push_back(chosen);
        for (const Deferred& d : deferred_) Fixed(d.x, d.y, d.text);
        deferred_.clear();
        return chosen;
    }
    // A label beside a vertical line at x: to its right, or to its left where
    // it would reach past the frame on the right; in a column as below.
    void BesideLine(double x, double y0, double yMin, double yMax, const std::string& text,
                    const std::vector<LabelBox>& avoid = {}) {
        double left = x + 50;
        if (left + Width(text) > p_.Width() - kFrameMargin && left < p_.Width()) left = x - 50 - Width(text);
        Place(Column(left, y0, yMin, yMax), text, avoid);
    }
    // Places in a column at x: from y0 down in steps of one line to yMax,
    // then up from y0 to yMin.
    std::vector<std::pair<double, double>> Column(double x, double y0, double yMin, double yMax) const {
        const double step = TextBox(p_.FontPoints(), 0, 0, "0").bottom;
        std::vector<std::pair<double, double>> places{{x, y0}};
        for (int i = 1; i < 100 && y0 + i * step <= yMax; ++i) places.emplace_back(x, y0 + i * step);
        for (int i = 1; i < 100 && y0 - i * step >= yMin; ++i) places.emplace_back(x, y0 - i * step);
        return places;
    }

private:
    struct Deferred {
        double x, y;
        std::string text;
    };
    // A box that begins inside the frame and reaches past it, moved inside
    // where it fits; one that begins outside belongs to nothing drawn and
    // stays where it is (the picture leaves it out).
    LabelBox InsideFrame(LabelBox b) const {
        const double W = p_.Width(), H = p_.Height();
        if (!(b.left >= 0 && b.left < W && b.top >= 0 && b.top < H)) return b;
        auto shift = [](double lo, double hi, double limitLo, double limitHi) {
            if (hi - lo > limitHi - limitLo) return 0.0;
            if (hi > limitHi) return limitHi - hi;
            if (lo < limitLo) return limitLo - lo;
            return 0.0;
        };
        const double dx = shift(b.left, b.right, kFrameMargin, W - kFrameMargin);
        const double dy = shift(b.top, b.bottom, kFrameMargin, H - kFrameMargin);
        return LabelBox{b.left + dx, b.top + dy, b.right + dx, b.bottom + dy};
    }
    bool Free(const LabelBox& b) const {
        for (const LabelBox& t : taken_)
            if (Overlap(b, t)) return false;
        return true;
    }
    Picture& p_;
    std::vector<LabelBox> taken_;
    std::vector<Deferred> deferred_;
};

LabelBox Box(double left, double top, double width, double height) {
    return LabelBox{left, top, left + width, top + height};
}

}  // namespace

LabelBox TextBox(double points, double x, double y, std::string_view utf8) {
    const double em = points * 20;
    double width = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        // Half-width katakana (U+FF61..U+FF9F) are as narrow as ASCII.
        const bool halfKana = n == 3 && c == 0xEF && i + 2 < utf8.size() &&
                              ((static_cast<unsigned char>(utf8[i + 1]) == 0xBD &&
                                static_cast<unsigned char>(utf8[i + 2]) >= 0xA1) ||
                               static_cast<unsigned char>(utf8[i + 1]) == 0xBE);
        width += c == ' ' ? 0.3 * em : n == 1 || halfKana ? 0.6 * em : em;
        i += n;
    }
    return LabelBox{x, y, x + width, y + 1.1 * em};
}

bool Overlap(const LabelBox& a, const LabelBox& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

LabelBox SettlementUnitBox() { return Box(40, 40, 450, 240); }
LabelBox TimeUnitBox() { return Box(880, 60, 560, 240); }
LabelBox RatioUnitBox() { return Box(760, 60, 700, 240); }
LabelBox MaxDaysBox(double w, double) { return Box(w - 700, 60, 640, 300); }
LabelBox MaxSettlementBox(double, double h) { return Box(60, h - 340, 640, 300); }

std::string BareNumber(double v) {
    std::string s = CFormat("%.15g", v);
    if (v >= 0 || s == "0") s.insert(0, " ");
    if (s == " -0") s = " 0";
    return s + " ";
}

double SettlementTickStep(double t) {
    if (t <= 1) return 0.2;
    if (t <= 2) return 0.4;
    if (t <= 4) return 0.5;
    return 1;
}

double DayTickStep(double n) {
    if (n <= 100) return 10;
    if (n <= 300) return 50;
    if (n <= 500) return 100;
    if (n <= 1000) return 200;
    if (n <= 5000) return 500;
    return 1000;
}

double RegressionTimeStep(double t) {
    if (t < 100) return 20;
    if (t < 200) return 50;
    if (t < 500) return 100;
    if (t < 1000) return 200;
    if (t < 5000) return 500;
    return 1000;
}

double RegressionRatioStep(double r) {
    if (r < 200) return 50;
    if (r < 500) return 100;
    if (r < 1000) return 200;
    if (r < 5000) return 500;
    return 1000;
}

GraphOutcome DrawTimeGraph(Picture& p, const ObsSettings& set, const StationRecord& st,
                           const TimeGraphView& view) {
    GraphOutcome out;
    const double W = p.Width(), H = p.Height();
    ResetPens(p);
    LineInBox(p, 700, 350, W - 500, 350);
    LineInBox(p, 700, 350, 700, H - 100);

    const double N = view.maxDays, T = view.maxSettlement;
    if (!(N > 0 && N <= 30000 && T > 0 && T <= 30000)) return out;

    LabelBoard labels(p, {SettlementUnitBox(), MaxDaysBox(W, H), MaxSettlementBox(W, H)});
    // The time-unit label slides along the row of the time labels to the
    // first gap between them; without one it keeps its place and the time
    // labels it would cover are left out.
    auto placeUnit = [&] {
        std::vector<LabelBox> row;
        const LabelBox first = TimeUnitBox();
        for (double dx = 0; dx == 0 || first.right + dx <= W - 700; dx += 90)
            row.push_back(LabelBox{first.left + dx, first.top, first.right + dx, first.bottom});
        out.unitBox = labels.PlaceBoxThenFlush(row);
    };
    try {
        const TimeMap m{Finite((W - 1200) / N), Finite((H - 450) / T)};

        ForTicks(SettlementTickStep(T), T, [&](double v) {
            const double y = m.Y(v);
            LineInBox(p, 700, y, 650, y);
            labels.EndingAt(300, 650 - kTickGap, y - 50, BareNumber(v));
        });

        CheckRows(st);
        const int count = st.Count;
        if (set.TimeAxisMode == 0) {
            ForTicks(DayTickStep(N), N, [&](double d) {
                const double x = m.X(d);
                LineInBox(p, x, 300, x, 350);
                labels.Defer(x - 200, 100, BareNumber(d));
            });
            out.unitCaption = kDayUnitCaption;
            placeUnit();
        } else if (set.TimeAxisMode == 1) {
            if (count >= 1) {
                const Date first = st.ObsDate[1];
                int year = 0, month = 0, day = 0;
                first.Ymd(year, month, day);
                bool done = false;
                for (int visited = 0; visited < kMaxYears && !done; ++visited, ++year) {
                    const auto jan = Date::FromYmd(year, 1, 1);
                    if (!jan || DaysBetween(first, *jan) > N) break;
                    if (*jan >= first) {
                        const double x = m.X(DaysBetween(first, *jan));
                        LineInBox(p, x, 300, x, 350);
                        labels.Defer(x - 75, 100, CFormat("%02d", year % 100));
                    }
                    for (int mo = 2; mo <= 12; ++mo) {
                        const auto md = Date::FromYmd(year, mo, 1);
                        if (!md) {
                            done = true;
                            break;
                        }
                        if (DaysBetween(first, *md) > N) break;
                        if (*md >= first) {
                            const double x = m.X(DaysBetween(first, *md));
                            LineInBox(p, x, 300, x, 350);
                        }
                    }
                }
            }
            out.unitCaption = kYearUnitCaption;
            placeUnit();
        }

        auto point = [&](int i, double& x, double& y) {
            x = m.X(DaysBetween(st.ObsDate[1], st.ObsDate[i]));
            y = m.Y(st.Settlement[i]);
        };

        for (int i = 1; i <= count; ++i) {
            p.SetForePalette(st.SW[i] == 1 ? kGrey : kBlue);
            double x = 0, y = 0;
            point(i, x, y);
            CircleInBox(p, x, y, 40);
        }

        // The texts of the selected reading and of Sa and Sa' keep clear of
        // the target's lines, which are drawn last.
        std::vector<LabelBox> targetLines;
        if (st.TargetDay != 0 && set.SettlementOption >= 0 && set.SettlementOption <= 2 &&
            st.LastDay - st.FirstDay >= 1) {
            const double x = m.X(st.TargetDay), y = m.Y(st.TargetSettlement);
            targetLines.push_back({x - 10, std::min(350.0, y), x + 10, std::max(350.0, y)});
            targetLines.push_back({std::min(700.0, x), y - 10, std::max(700.0, x), y + 10});
        }
        p.SetForePalette(kBlue);
        const int k = view.selected;
        if (k != 0 && k >= 1 && k <= count) {
            double x = 0, y = 0;
            point(k, x, y);
            p.SetLineStyle(LineStyle::Dotted);
            LineInBox(p, x, 350, x, H);
            LineInBox(p, 700, y, W, y);
            p.SetLineStyle(LineStyle::Solid);
            labels.Place(labels.Column(800, H - 700, 350, H), BareNumber(k), targetLines);
            labels.Place(labels.Column(850, H - 500, 350, H), DateText(st.ObsDate[k]), targetLines);
            labels.Place(labels.Column(800, H - 300, 350, H), BareNumber(st.Settlement[k]), targetLines);
        }

        auto mark = [&](int row, const char* text) {
            if (!(row > 0 && row <= count)) return;
            p.SetForePalette(kRed);
            double x = 0, y = 0;
            point(row, x, y);
            p.SetLineStyle(LineStyle::Dotted);
            LineInBox(p, x, 350, x, y);
            p.SetLineStyle(LineStyle::Solid);
            // Below the time axis, between it and the point where there is room.
            labels.BesideLine(x, y / 2, 350, H, text, targetLines);
        };
        mark(st.Sa, "Sa");
        mark(st.SaPrime, "Sa'");

        if (st.LastDay - st.FirstDay < 1) return out;
        if (st.FirstDay < 0 || static_cast<std::size_t>(st.LastDay) >= st.Predicted.size())
            throw GraphFault{};
        const double sf = st.FinalSettlement;
        if (sf == 0 || !std::isfinite(sf)) throw GraphFault{};
        p.SetForePalette(kRed);
        double threshold = 10;
        for (std::int32_t d = st.FirstDay; d <= st.LastDay; ++d) {
            const double v = st.Predicted[static_cast<std::size_t>(d)];
            const double x = m.X(d), y = m.Y(v);
            if (Finite(v / sf * 100) >= threshold) {
                p.SetFill(true, PaletteColour(kDarkRed));
                CircleInBox(p, x, y, 50);
                threshold += 10;
                p.SetFill(false, PaletteColour(kBlack));
            } else {
                CircleInBox(p, x, y, 10);
            }
        }

        // The target is marked where the fitted curve has it, which may lie
        // beyond the end of the drawn curve.
        const std::int32_t t0 = st.TargetDay;
        if (t0 == 0 || set.SettlementOption < 0 || set.SettlementOption > 2) return out;
        p.SetForePalette(kMagenta);
        p.SetLineStyle(LineStyle::Dotted);
        const double x = m.X(t0), y = m.Y(st.TargetSettlement);
        LineInBox(p, x, 350, x, y);
        LineInBox(p, 700, y, x, y);
        p.SetLineStyle(LineStyle::Solid);
        labels.BesideLine(x, (350 + y) / 2, 350, H, FormatFixed(t0, 0) + "日");
        std::string second;
        double offset = 0;
        switch (set.SettlementOption) {
        case 0:
            second = "残" + FormatFixed(Finite(sf - st.TargetSettlement), 3) + "m";
            offset = 140;
            break;
        case 1:
            second = FormatFixed(set.TargetPercent, 0) + "%";
            break;
        default:
            second = "残" + FormatFixed(set.ResidualSettlement, 3) + "m";
            offset = 280;
            break;
        }
        labels.Place(labels.Column((700 + x) / 2 - offset, y, 350, H), second);
    } catch (const GraphFault&) {
        out.ok = false;
    }
    p.SetLineStyle(LineStyle::Solid);
    p.SetFill(false, PaletteColour(kBlack));
    return out;
}

GraphOutcome DrawRegressionGraph(Picture& p, const StationRecord& st, double alpha, double beta) {
    GraphOutcome out;
    const double W = p.Width(), H = p.Height();
    ResetPens(p);
    LineInBox(p, 700, H - 350, W - 100, H - 350);
    LineInBox(p, 700, 100, 700, H - 350);

    const int n = st.FitCount;
    if (n < 1) return out;
    LabelBoard labels(p, {RatioUnitBox()});
    try {
        const std::size_t need = static_cast<std::size_t>(n) + 1;
        if (st.ElapsedDays.size() < need || st.Ratio.size() < need) throw GraphFault{};
        const double tn = st.ElapsedDays[static_cast<std::size_t>(n)];
        const double rn = st.Ratio[static_cast<std::size_t>(n)];
        if (tn == 0) throw GraphFault{};
        const double xs = Finite((W - 800) / tn);
        double ys = 999999.999;
        for (int i = 1; i <= n; ++i) {
            const double r = st.Ratio[static_cast<std::size_t>(i)];
            if (r > 0) ys = std::min(ys, (H - 450) / r);
        }
        Finite(ys);
        auto X = [&](double t) { return Finite(700 + t * xs); };
        auto Y = [&](double r) { return Finite(H - 350 - r * ys); };

        ForTicks(RegressionTimeStep(tn), tn, [&](double v) {
            const double x = X(v);
            LineInBox(p, x, H - 300, x, H - 350);
            labels.Fixed(x - 200, H - 250, BareNumber(v));
        });
        ForTicks(RegressionRatioStep(Finite(rn)), rn, [&](double v) {
            const double y = Y(v);
            LineInBox(p, 650, y, 700, y);
            labels.EndingAt(200, 650 - kTickGap, y - 50, BareNumber(v));
        });

        p.SetForePalette(kBlue);
        for (int i = 1; i <= n; ++i)
            CircleInBox(p, X(st.ElapsedDays[static_cast<std::size_t>(i)]),
                        Y(st.Ratio[static_cast<std::size_t>(i)]), 40);

        if (alpha > 0) {
            p.SetForePalette(kRed);
            LineInBox(p, 700, Y(alpha), X(tn), Y(Finite(beta * tn + alpha)));
        }
    } catch (const GraphFault&) {
        out.ok = false;
    }
    p.SetForePalette(kBlack);
    return out;
}

}  // namespace kova::predict
