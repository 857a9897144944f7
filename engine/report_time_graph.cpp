// TNJ_H_nn.PZK: load-time diagram above the settlement-time curves of one
// calculation position.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "engine/report.hpp"
#include "engine/report_common.hpp"
#include "engine/report_point.hpp"
#include "engine/rounding.hpp"
#include "engine/timetable.hpp"
#include "print/text_board.hpp"
#include "rules/segments.hpp"
#include "textio/cformat.hpp"

namespace kova::engine {
namespace {

// The curves of a position's time-settlement drawing: the settlement of
// every consolidation unit (the sum of its stages' curves), and the column
// (the units one after the other, then the immediate settlement of the sand
// layers, applied with the loads), each on days 1 to b - 1 as a drawing
// height.
//
// A stage's curve never turns back: it rises (or, for a stage that takes
// settlement back, falls) from 0 to its final value. So on the days between
// two days a and c every stage lies between its values on a and c, and since
// rounded addition never turns back either, a unit's sum lies between the
// sums of those bounds, taken in the same order, and so does the column's.
// Where the drawing heights of both bounds agree, every day in between has
// that height; elsewhere the interval is halved at an exactly computed day.
// The heights are those of computing every day, without computing most of
// them. The same holds for the residual settlement's marker: its test only
// turns from false to true as the column's settlement grows.
class GraphCurves {
public:
    GraphCurves(const EngineState& st, int b, double sy) : b_(b), sy_(sy) {
        const CalcInput& in = st.input;
        const PositionHistory& h = st.history;
        units_ = point_unit_count(st);
        first_.push_back(0);
        for (int r = 0; r < units_; ++r) {
            const UnitTimeline tl = unit_timeline(st, r);
            for (int j = 0; j < tl.stage_count; ++j) {
                StageCurve c(tl.stages[j]);
                // A stage whose every value is a zero leaves the sum as it is.
                if (!c.adds_nothing()) curves_.push_back(c);
            }
            first_.push_back(static_cast<int>(curves_.size()));
            if (SettlesInTime(MethodInRun(in.soil[st.timing.timing_unit_layer[r]].method, in.UseSandImmediate)))
                drawn_ |= Bit(r);
        }
        for (int i = 0; i < h.layer_count; ++i)
            if (MethodInRun(h.method[i], in.UseSandImmediate).immediate)
                for (int j = 0; j < h.stage_count; ++j) {
                    const double inc = h.stage_settlement[j][i] - (j > 0 ? h.stage_settlement[j - 1][i] : 0);
                    sand_.push_back(SandTerm{inc, st.timing.stage_start[j], st.timing.stage_days[j]});
                }
        const double T = h.stage_total[h.stage_count];
        const double residual = std::fabs(in.ResidualSettlement);
        marker_pending_ = in.TimeCondKind == 1 && residual < T;
        T_ = T;
        residual_ = residual;
        values_ = static_cast<int>(curves_.size() + sand_.size());
    }

    void Compute(TimeCurveCache& out) {
        out_ = &out;
        out.unit_runs.assign(units_, {});
        out.column_runs.clear();
        out.marker_day = 0;
        out.days = b_;
        out.scale = sy_;
        const std::uint32_t all = drawn_ | kColumn;
        std::array<double, kMaxValues> first, last;
        if (b_ - 1 < 1) return;
        Evaluate(1, first.data(), nullptr, nullptr, all);
        Exact(1, first.data(), all);
        if (b_ - 1 > 1) {
            Evaluate(b_ - 1, last.data(), nullptr, nullptr, all);
            Split(1, b_ - 1, first.data(), last.data(), all);
            Exact(b_ - 1, last.data(), all);
        }
    }

    // The column's settlement on day t, exactly as the drawing adds it up.
    double ColumnAt(int t) const {
        std::array<double, kMaxValues> v;
        Evaluate(t, v.data(), nullptr, nullptr, kColumn);
        return ColumnSum(v.data());
    }

private:
    struct SandTerm {
        double inc;
        int start;
        int days;
        double at(int t) const { return ramp_load_fraction(t, inc, start, days); }
    };
    static constexpr std::uint32_t kColumn = 1u << 31;
    // Stage curves of the units, then the sand layers' stages.
    static constexpr int kMaxValues = kMaxUnits * kMaxStages + kColumnSlots * kMaxStages;
    static std::uint32_t Bit(int r) { return 1u << r; }

    // Values of the stages and sand terms the curves in `need` use on day t;
    // a stage that has the same value on days a and c (va, vc) has it on
    // every day in between.
    void Evaluate(int t, double* v, const double* va, const double* vc, std::uint32_t need) const {
        for (int r = 0; r < units_; ++r) {
            if (!(need & (Bit(r) | kColumn))) continue;
            for (int k = first_[r]; k < first_[r + 1]; ++k)
                v[k] = va && va[k] == vc[k] ? va[k] : curves_[k].at(t);
        }
        if (need & kColumn) {
            const int base = static_cast<int>(curves_.size());
            for (std::size_t q = 0; q < sand_.size(); ++q) v[base + q] = sand_[q].at(t);
        }
    }

    double UnitSum(const double* v, int r) const {
        double s = 0;
        for (int k = first_[r]; k < first_[r + 1]; ++k) s += v[k];
        return s;
    }
    double ColumnSum(const double* v) const {
        double g = 0.0;
        for (int r = 0; r < units_; ++r) g += UnitSum(v, r);
        const int base = static_cast<int>(curves_.size());
        for (std::size_t q = 0; q < sand_.size(); ++q) g += v[base + q];
        return g;
    }

    int Height(double s) const { return dint(s * sy_); }
    bool Marks(double g) const { return T_ - round_to_step(g, 0.001, 0) <= residual_; }

    static void Add(std::vector<CurveRun>& runs, int last, int y) {
        if (!runs.empty() && runs.back().y == y)
            runs.back().last = last;
        else
            runs.push_back(CurveRun{last, y});
    }

    // Day t, whose values are v, for the curves in `active`.
    void Exact(int t, const double* v, std::uint32_t active) {
        for (int r = 0; r < units_; ++r)
            if (active & Bit(r)) Add(out_->unit_runs[r], t, Height(UnitSum(v, r)));
        if (!(active & kColumn)) return;
        const double g = ColumnSum(v);
        Add(out_->column_runs, t, Height(g));
        if (marker_pending_ && Marks(g)) {
            out_->marker_day = t;
            marker_pending_ = false;
        }
    }

    // Bounds of a sum over the values k of [from, to) between days a and c;
    // false when a value is not finite (nothing is then known in between).
    static bool Bounds(const double* va, const double* vc, int from, int to, double& lo, double& hi) {
        for (int k = from; k < to; ++k) {
            const double x = va[k], y = vc[k];
            if (!std::isfinite(x) || !std::isfinite(y)) return false;
            lo += std::min(x, y);
            hi += std::max(x, y);
        }
        return true;
    }

    // The days strictly between a and c, whose values are va and vc, for the
    // curves in `active`; every day before them is done.
    void Split(int a, int c, const double* va, const double* vc, std::uint32_t active) {
        if (c - a < 2) return;
        std::uint32_t open = 0;
        const bool column = active & kColumn;
        double glo = 0.0, ghi = 0.0;
        bool gknown = true;
        // Where the split goes: near the middle drawing height between a
        // and c of the first curve still open (the column before the units),
        // as the straight line between the ends places it.
        double aim = -1;
        for (int r = 0; r < units_; ++r) {
            const bool unit = active & Bit(r);
            if (!unit && !column) continue;
            double lo = 0, hi = 0;
            const bool known = Bounds(va, vc, first_[r], first_[r + 1], lo, hi) && std::isfinite(lo) && std::isfinite(hi);
            if (unit) {
                if (known && Height(lo) == Height(hi)) {
                    Add(out_->unit_runs[r], c - 1, Height(lo));
                } else {
                    open |= Bit(r);
                    if (aim < 0 && known) aim = Aim(a, c, UnitSum(va, r) * sy_, UnitSum(vc, r) * sy_);
                }
            }
            gknown = gknown && known;
            glo += lo;
            ghi += hi;
        }
        if (column) {
            const int base = static_cast<int>(curves_.size());
            gknown = gknown && Bounds(va, vc, base, values_, glo, ghi) && std::isfinite(glo) && std::isfinite(ghi);
            bool settled = gknown && Height(glo) == Height(ghi);
            bool marker = false;
            if (marker_pending_) {
                if (gknown && Marks(glo)) {
                    out_->marker_day = a + 1;
                    marker_pending_ = false;
                } else if (!gknown || Marks(ghi)) {
                    settled = false;
                    marker = true;
                }
            }
            if (settled) {
                Add(out_->column_runs, c - 1, Height(glo));
            } else {
                open |= kColumn;
                if (gknown) {
                    const double ga = ColumnSum(va), gc = ColumnSum(vc);
                    if (!marker || Height(ga) != Height(gc))
                        aim = Aim(a, c, ga * sy_, gc * sy_);
                    else  // where the column reaches what the marker asks
                        aim = Cross(a, c, ga, gc, T_ - residual_);
                }
            }
        }
        if (!open) return;
        int mid = a + (c - a) / 2;
        if (aim >= 0) mid = std::clamp(static_cast<int>(aim), a + 1, c - 1);
        std::array<double, kMaxValues> vm;
        Evaluate(mid, vm.data(), va, vc, open);
        Split(a, mid, va, vm.data(), open);
        Exact(mid, vm.data(), open);
        Split(mid, c, vm.data(), vc, open);
    }

    // The day between a and c where a straight line from value ya to yc
    // reaches v (ya and yc on either side of it); -1 when there is none.
    static double Cross(int a, int c, double ya, double yc, double v) {
        if (!(ya != yc) || !std::isfinite(ya) || !std::isfinite(yc)) return -1;
        const double f = (v - ya) / (yc - ya);
        if (!(f > 0 && f < 1)) return -1;
        return std::ceil(a + (c - a) * f);
    }
    // The same for the middle height between heights ha and hc (reals).
    double Aim(int a, int c, double ha, double hc) const {
        const double lo = std::trunc(std::min(ha, hc)), hi = std::trunc(std::max(ha, hc));
        if (!(hi > lo)) return -1;
        return Cross(a, c, ha, hc, std::floor((lo + hi + 1) / 2));
    }

    int b_;
    double sy_;
    int units_ = 0;
    std::vector<StageCurve> curves_;   // unit r's stages: first_[r] .. first_[r + 1]
    std::vector<int> first_;
    std::vector<SandTerm> sand_;       // values after the stages'
    int values_ = 0;
    std::uint32_t drawn_ = 0;          // units with a curve of their own
    bool marker_pending_ = false;
    double T_ = 0;
    double residual_ = 0;
    TimeCurveCache* out_ = nullptr;
};

// The time axis and settlement scale of the position's drawing.
struct GraphScale {
    int b;
    double sy;
};
GraphScale graph_scale(const EngineState& st, int longestTime) {
    const PositionHistory& h = st.history;
    return GraphScale{time_axis_days(longestTime), 1500 / settlement_axis_metres(h.stage_total[h.stage_count])};
}

// The graph's boxes relative to its origin (500, 1000): the curves between
// the time axis and the end of the settlement axis, the load diagram above.
struct AxisBox {
    int left, top, right, bottom;
};
constexpr AxisBox kCurveBox{0, 0, 3500, 1600};
constexpr AxisBox kLoadBox{0, -500, 3500, 0};

bool Inside(const AxisBox& box, int x, int y) {
    return x >= box.left && x <= box.right && y >= box.top && y <= box.bottom;
}

// A line of the graph cut to its box; one wholly inside is written as it is.
void boxed_line(print::DrawingWriter& w, int x1, int y1, int x2, int y2, int lineType, int pen, const AxisBox& box) {
    if (Inside(box, x1, y1) && Inside(box, x2, y2)) {
        w.Line(500, 1000, x1, y1, x2, y2, lineType, pen);
        return;
    }
    double a = x1, b = y1, c = x2, d = y2;
    if (!rules::ClipSegment(a, b, c, d, box.left, box.top, box.right, box.bottom)) return;
    const int p1 = dint(a), q1 = dint(b), p2 = dint(c), q2 = dint(d);
    if (p1 == p2 && q1 == q2) return;
    w.Line(500, 1000, p1, q1, p2, q2, lineType, pen);
}

// A curve of the graph traced day by day from the origin. On a long axis
// many days share one drawing point; a line of no length draws nothing, so
// only moves are kept. After To, (px, py) is the day's point.
struct CurveLine {
    int x1, y1, x2, y2;
};
struct CurvePen {
    const std::vector<CurveRun>& runs;
    double sx;
    std::vector<CurveLine> lines;
    std::size_t k = 0;
    int px = 0, py = 0;
    // Each line moves x (below the box's width) or changes the run: room
    // for all of them at once, no copies as the curve grows.
    void Reserve() { lines.reserve(static_cast<std::size_t>(kCurveBox.right) + runs.size() + 1); }
    // Days in rising order.
    void To(int t) {
        while (runs[k].last < t) ++k;
        const int x = dint(t * sx);
        const int y = runs[k].y;
        if (x != px || y != py) {
            lines.push_back(CurveLine{px, py, x, y});
            px = x;
            py = y;
        }
    }
    // To on the days from, from + step, ... below to. Days that leave both
    // the run and the drawing x as they are draw nothing and are passed
    // over: where many days share one drawing point, the next that may
    // move is found from the scale and checked day by day from there.
    void Trace(int from, int to, int step) {
        for (int t = from; t < to;) {
            To(t);
            // The first day of the steps past the run of t.
            const int runEnd = t + ((runs[k].last - t) / step + 1) * step;
            // A lower bound of the first day reaching the next x (the
            // margin of two days covers the rounding of the quotient).
            const double reach = (px + 1) / sx - 2;
            int next = t + step;
            if (reach > next) next += static_cast<int>((reach - next) / step) * step;
            next = std::min(next, runEnd);
            while (next < to && next < runEnd && dint(next * sx) == px) next += step;
            t = next;
        }
    }
    // Writes the lines [from, to).
    void Write(print::DrawingWriter& w, int lineType, std::size_t from, std::size_t to) const {
        for (std::size_t k = from; k < to; ++k)
            boxed_line(w, lines[k].x1, lines[k].y1, lines[k].x2, lines[k].y2, lineType, 2, kCurveBox);
    }
    // Keeps the curve's lines off the labels, as far as they are drawn.
    // Runs of level (or upright) lines that join end to end are kept as one
    // line: the same points, far fewer lines to file.
    void Keep(print::TextBoard& board) const {
        std::optional<CurveLine> run;
        auto joins = [](const CurveLine& r, const CurveLine& n) {
            return r.x2 == n.x1 && r.y2 == n.y1 &&
                   ((r.y1 == r.y2 && n.y1 == n.y2 && (r.x2 - r.x1 > 0) == (n.x2 - n.x1 > 0)) ||
                    (r.x1 == r.x2 && n.x1 == n.x2 && (r.y2 - r.y1 > 0) == (n.y2 - n.y1 > 0)));
        };
        for (const CurveLine& l : lines) {
            CurveLine n = l;
            if (!Inside(kCurveBox, l.x1, l.y1) || !Inside(kCurveBox, l.x2, l.y2)) {
                double a = l.x1, b = l.y1, c = l.x2, d = l.y2;
                if (!rules::ClipSegment(a, b, c, d, kCurveBox.left, kCurveBox.top, kCurveBox.right, kCurveBox.bottom))
                    continue;
                n = CurveLine{dint(a), dint(b), dint(c), dint(d)};
            }
            if (run && joins(*run, n)) {
                run->x2 = n.x2;
                run->y2 = n.y2;
                continue;
            }
            if (run) board.KeepLine(500, 1000, run->x1, run->y1, run->x2, run->y2);
            run = n;
        }
        if (run) board.KeepLine(500, 1000, run->x1, run->y1, run->x2, run->y2);
    }
};

// The day labels' step: the usual one for the axis, widened (2, 5, 10 ...
// times) until the widest label and half a cell between fit.
int day_label_step(int b, double sx) {
    int step = b < 200 ? 20 : (b < 1000 ? 200 : 500);
    const double width = label_bytes(CFormat("%d", b)) * 35 + 35;
    while (step < b && step * sx < width) {
        int lead = step;
        while (lead >= 10) lead /= 10;
        step = lead == 2 ? step / 2 * 5 : step * 2;
    }
    return step;
}

// The ticks' step: the usual one, widened to a part of the label step (a
// tenth, a fifth, a half, all of it) where ticks would stand closer than
// half a cell and run into a bar.
int tick_step(int b, double sx, int labelStep) {
    const int usual = b >= 200 ? 100 : 20;
    if (usual * sx >= 35) return usual;
    for (int parts : {10, 5, 2})
        if (labelStep % parts == 0 && labelStep / parts >= usual && labelStep / parts * sx >= 35)
            return labelStep / parts;
    return labelStep;
}

// The gap that keeps the time axis's labels apart from the marker's day.
constexpr int kDayLabelGap = 35;

// Where the curves' labels go. A label stands at its curve's end (just
// above it, ending there) when that place is free of other curves, lines
// and labels, with a gap. The others are tied to their ends by thin
// leaders: level with their ends in the margin right of the curves (every
// curve ends on the last day) where that holds them; else side by side in
// the nearest free row below the ends, the highest end's label leftmost,
// so that the leaders fan out apart and never cross; else stacked in the
// margin.
struct LabelPlace {
    int x, y;  // relative to the curves' origin
    bool leader;
};
constexpr int kLabelCell = 70;
constexpr int kLabelGap = 10;
constexpr int kLabelPitch = kLabelCell + kLabelGap;
// The margin column: right of the curves' box, inside the frame; below the
// zero line, above the frame's foot.
constexpr int kMarginX = 3520;
constexpr int kMarginTop = kLabelGap + kLabelPitch;
constexpr int kMarginBottom = 1700 - kLabelGap;

struct CurveEnd {
    int x, y;
    std::string text;
};

int label_width(const std::string& text) { return print::TextExtentOf(0, 0, kLabelCell, 0, text).right; }
print::TextExtent label_extent(const std::string& text, const LabelPlace& p) {
    return print::TextExtentOf(500 + p.x, 1000 + p.y, kLabelCell, 0, text);
}

// The point of a label's extent nearest to its curve's end: where its
// leader meets it.
std::pair<int, int> leader_foot(const CurveEnd& e, const LabelPlace& p) {
    return {std::clamp(e.x, p.x, p.x + label_width(e.text)), std::clamp(e.y, p.y - kLabelCell, p.y)};
}

// Baselines of labels wanted at `want` (in rising order), a pitch apart,
// within the margin; none when they do not fit.
std::optional<std::vector<int>> stack_baselines(const std::vector<int>& want) {
    const int count = static_cast<int>(want.size());
    if (count == 0) return std::vector<int>{};
    if ((count - 1) * kLabelPitch > kMarginBottom - kMarginTop) return std::nullopt;
    std::vector<int> y(want);
    for (int k = 0; k < count; ++k) y[k] = std::max(y[k], k ? y[k - 1] + kLabelPitch : kMarginTop);
    for (int k = count - 1; k >= 0; --k) y[k] = std::min(y[k], k + 1 < count ? y[k + 1] - kLabelPitch : kMarginBottom);
    return y;
}

// The labels `order` (ends from the highest) in the margin column; none
// when they do not fit, or (`level`) when one would stand off its end's
// height.
std::optional<std::vector<LabelPlace>> margin_places(const print::TextBoard& board, const std::vector<CurveEnd>& ends,
                                                     const std::vector<int>& order, bool level) {
    std::vector<int> want;
    for (int k : order) want.push_back(ends[k].y + kLabelCell / 2);
    const auto baselines = stack_baselines(want);
    if (!baselines) return std::nullopt;
    std::vector<LabelPlace> out;
    for (std::size_t q = 0; q < order.size(); ++q) {
        const LabelPlace p{kMarginX, (*baselines)[q], true};
        const CurveEnd& e = ends[order[q]];
        const print::TextExtent t = label_extent(e.text, p);
        if (t.right > 4200 - kLabelGap || !board.Free(print::Grown(t, kLabelGap))) return std::nullopt;
        if (level && std::abs(p.y - kLabelCell / 2 - e.y) > kLabelCell) return std::nullopt;
        out.push_back(p);
    }
    return out;
}

// The labels `order` side by side in one row, from the ends' side leftward:
// the lowest end's label nearest. Each takes the first free place of the
// row; none when the row cannot hold them.
std::optional<std::vector<LabelPlace>> row_places(const print::TextBoard& board, const std::vector<CurveEnd>& ends,
                                                  const std::vector<int>& order, int baseline) {
    std::vector<LabelPlace> out(order.size());
    int right = ends[order.back()].x;
    for (std::size_t q = order.size(); q-- > 0;) {
        const CurveEnd& e = ends[order[q]];
        const int width = label_width(e.text);
        for (;; right -= kLabelCell / 2) {
            if (right - width < kLabelGap) return std::nullopt;
            const LabelPlace p{right - width, baseline, true};
            if (board.Free(print::Grown(label_extent(e.text, p), kLabelGap))) {
                out[q] = p;
                right -= width + 2 * kLabelGap;
                break;
            }
        }
    }
    return out;
}

// Whether every leader of `order` passes clear of every label.
bool leaders_clear(const std::vector<CurveEnd>& ends, const std::vector<LabelPlace>& places,
                   const std::vector<int>& order, std::vector<int>& struck) {
    for (int k : order) {
        const auto [fx, fy] = leader_foot(ends[k], places[k]);
        for (std::size_t j = 0; j < ends.size(); ++j) {
            if (static_cast<int>(j) == k) continue;
            if (print::LineMeets(label_extent(ends[j].text, places[j]), 500 + ends[k].x, 1000 + ends[k].y, 500 + fx,
                                 1000 + fy)) {
                struck.push_back(static_cast<int>(j));
            }
        }
    }
    return struck.empty();
}

// The places of the labels of `ends`, on a board holding every curve and
// every other text; none when no arrangement holds them.
std::optional<std::vector<LabelPlace>> place_labels(const print::TextBoard& base, const std::vector<CurveEnd>& ends) {
    const int n = static_cast<int>(ends.size());
    std::vector<bool> moved(n, false);
    // A label at its end that a leader strikes is moved too; each round
    // moves one more, so this ends.
    for (int round = 0; round <= n; ++round) {
        print::TextBoard board = base;
        std::vector<LabelPlace> places(n);
        for (int k = 0; k < n; ++k) {
            if (moved[k]) continue;
            const CurveEnd& e = ends[k];
            const LabelPlace home{e.x - label_width(e.text), e.y - 10, false};
            const print::TextExtent t = label_extent(e.text, home);
            // Its own curve ends at the label's foot: it may come near.
            if (t.top >= 1000 + kLabelGap && board.FreeOfTexts(print::Grown(t, kLabelGap)) && 
                board.FreeOfLines(print::TextExtent{t.left - kLabelGap, t.top - kLabelGap, t.right + kLabelGap, t.bottom})) {
                places[k] = home;
                board.Take(t);
            } else {
                moved[k] = true;
            }
        }
        std::vector<int> order;
        for (int k = 0; k < n; ++k)
            if (moved[k]) order.push_back(k);
        if (order.empty()) return places;
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return ends[a].y < ends[b].y; });
        // Level in the margin, one by one from the highest end; the rest in
        // a row, or else all stacked in the margin.
        std::vector<int> level, rest;
        {
            print::TextBoard margin = board;
            for (int k : order) {
                const auto p = margin_places(margin, ends, {k}, true);
                if (p) {
                    places[k] = p->front();
                    margin.Take(label_extent(ends[k].text, places[k]));
                    level.push_back(k);
                } else {
                    rest.push_back(k);
                }
            }
            if (!rest.empty()) {
                std::optional<std::vector<LabelPlace>> found;
                for (int y = ends[rest.back()].y + kLabelCell + 2 * kLabelGap; !found && y <= kMarginBottom; y += 20)
                    found = row_places(margin, ends, rest, y);
                if (found) {
                    for (std::size_t q = 0; q < rest.size(); ++q) places[rest[q]] = (*found)[q];
                } else {
                    found = margin_places(board, ends, order, false);
                    if (!found) return std::nullopt;
                    for (std::size_t q = 0; q < order.size(); ++q) places[order[q]] = (*found)[q];
                }
            }
        }
        std::vector<int> struck;
        if (leaders_clear(ends, places, order, struck)) return places;
        const auto first = std::find_if(struck.begin(), struck.end(), [&](int j) { return !moved[j]; });
        if (first == struck.end()) return std::nullopt;
        moved[*first] = true;
    }
    return std::nullopt;
}

// Writes a label at its place, with its leader (a thin line) from the
// curve's end first.
void write_label(print::DrawingWriter& w, const CurveEnd& e, const LabelPlace& p) {
    if (p.leader) {
        const auto [fx, fy] = leader_foot(e, p);
        w.Line(500, 1000, e.x, e.y, fx, fy, 0, 1);
    }
    w.Text(500, 1000, p.x, p.y, kLabelCell, kLabelCell, 0, 2, e.text);
}

}  // namespace

int time_axis_days(int longestTime) {
    const int longest = std::clamp(longestTime, 0, kTimeHorizonDays);
    return static_cast<int>(std::floor((longest + 100) * 0.01)) * 100;
}

double settlement_axis_metres(double T) {
    const double s = std::floor((T + 0.2) * 10) * 0.1;
    // A heave or a rounding quirk must not leave the axis empty or reversed.
    return std::isfinite(s) && s >= 0.2 ? s : 0.2;
}

void prepare_time_settlement(EngineState& st) {
    TimeCurveCache& c = st.time_curves;
    c.position = -1;
    c.days = 0;
    // A missing Cv curve, or no soil under the position, leaves it without
    // its drawing.
    if (st.missing_curve_shown || st.position < 0 || st.history.layer_count == 0) return;
    c.longest = overall_time_tables(st, c.overall);
    c.position = st.position;
    const GraphScale g = graph_scale(st, c.longest);
    GraphCurves(st, g.b, g.sy).Compute(c);
}

void draw_time_settlement(const EngineState& st, int position, int longestTime) {
    const CalcInput& in = st.input;
    const PositionHistory& h = st.history;
    print::DrawingWriter w =
        open_report_drawing(st, CFormat("TNJ_H_%02d.PZK", position + 1), print::kSizeTimeGraph);
    w.Frame(4200, 2700, 0, 2);
    w.Line(0, 0, 500, 400, 4100, 400, 0, 2);
    w.Line(0, 0, 500, 500, 500, 2600, 0, 2);
    w.Line(0, 0, 500, 1000, 4100, 1000, 0, 2);

    const int n = h.stage_count;
    const double T = h.stage_total[n];
    const int b = time_axis_days(longestTime);
    const int plotStep = b < 1000 ? 1 : 2;
    const double sx = 3500.0 / b;
    const int labelStep = day_label_step(b, sx);
    const double Smax = settlement_axis_metres(T);
    const double sy = 1500 / Smax;

    // The drawing heights of the curves on every day of the axis: computed
    // ahead for this drawing, or now.
    const GraphCurves curves(st, b, sy);
    TimeCurveCache own;
    const TimeCurveCache* cache = &st.time_curves;
    if (cache->position != position || cache->days != b || cache->scale != sy) {
        GraphCurves(st, b, sy).Compute(own);
        cache = &own;
    }

    // The marker of the residual settlement stands on the first day that
    // leaves no more than it to come, that of the leave period on its day.
    int markerDay = 0;
    if (in.TimeCondKind == 1)
        markerDay = cache->marker_day;
    else if (in.TimeCondKind == 0)
        markerDay = in.LeavePeriod;

    // The curves are traced first and every text's place is planned on one
    // board, off the curves and the lines; the records are then written in
    // the drawing's usual order.
    print::TextBoard board(w);
    const int f = dint(sy * T);
    const std::string finalText = real_text("最終沈下量 %1.3lfm", T);
    board.Take(print::TextExtentOf(500 + 2500, 1000 + f + 70, 70, 0, finalText));
    board.KeepLine(500, 1000, 2500, f, 3500, f);
    board.KeepLine(0, 0, 500, 1000, 4100, 1000);
    board.KeepLine(0, 0, 500, 500, 500, 2600);

    // Unit curves of the consolidating methods.
    const int units = point_unit_count(st);
    std::vector<CurvePen> unitPens;
    std::vector<CurveEnd> ends;
    for (int r = 0; r < units; ++r) {
        const int layer = st.timing.timing_unit_layer[r];
        if (!SettlesInTime(MethodInRun(in.soil[layer].method, in.UseSandImmediate))) continue;
        unitPens.push_back(CurvePen{cache->unit_runs[r], sx, {}});
        unitPens.back().Reserve();
        unitPens.back().Trace(1, b, plotStep);
        ends.push_back(CurveEnd{unitPens.back().px, unitPens.back().py, CFormat("%2d層", layer + 1)});
    }

    // Column curve: all units and the immediate settlement of the sand
    // layers, applied with the loads, and the marker.
    CurvePen pen{cache->column_runs, sx, {}};
    pen.Reserve();
    struct Marker {
        std::size_t line;  // the column's lines before it
        int m, o;
        std::string rest, day;
        int restY, dayX;
    };
    std::optional<Marker> marker;
    const bool marked = markerDay >= 1 && markerDay < b;
    pen.Trace(1, marked ? markerDay + 1 : b, 1);
    if (marked) {
        const int t = markerDay;
        const double g = curves.ColumnAt(t);
        Marker k{pen.lines.size(), pen.px, pen.py, real_text("%1.3lfm", T - round_to_step(g, 0.001, 0)),
                 CFormat("%d", t), 0, 0};
        k.restY = dint(label_bytes(k.rest) * 0.5 * 35 + (g + T) * 0.5 * sy);
        // Under its line, but a gap clear of the axis's first label.
        const int zeroRight = print::TextExtentOf(-dint(70 * 0.25), 0, 70, 0, "0").right;
        k.dayX = std::max(k.m - dint(label_bytes(k.day) * 0.5 * 35), zeroRight + kDayLabelGap);
        board.KeepLine(500, 1000, k.m, 0, k.m, std::max(f, k.o));
        board.Take(print::TextExtentOf(500 + k.dayX, 350, 70, 0, k.day));
        marker = k;
        pen.Trace(markerDay + 1, b, 1);
    }
    ends.push_back(CurveEnd{pen.px, pen.py, "全層"});
    pen.Keep(board);
    for (const CurvePen& p : unitPens) p.Keep(board);
    // The remaining settlement beside the marker's middle; where curves run
    // through it there (a short mark among them), the nearest free place
    // below the mark, else above it.
    if (marker) {
        Marker& k = *marker;
        const int len = print::TextExtentOf(0, 0, 70, 90, k.rest).bottom - print::TextExtentOf(0, 0, 70, 90, k.rest).top;
        auto extent = [&](int y) { return print::TextExtentOf(500 + k.m - 20, 1000 + y, 70, 90, k.rest); };
        std::vector<int> ys{k.restY};
        for (int y = std::max(f, k.o) + kLabelGap + len; y <= kCurveBox.bottom; y += kLabelPitch / 2) ys.push_back(y);
        ys.push_back(std::min(f, k.o) - kLabelGap);
        for (int y : ys) {
            const print::TextExtent e = extent(y);
            if (y - len >= kLabelGap && y <= kCurveBox.bottom && board.Free(print::Grown(e, kLabelGap / 2))) {
                k.restY = y;
                break;
            }
        }
        board.Take(extent(k.restY));
    }
    // A curve that leaves the box (a heave) is labelled where it leaves it.
    for (CurveEnd& e : ends) e.y = std::clamp(e.y, kCurveBox.top, kCurveBox.bottom);

    std::vector<LabelPlace> places;
    if (const auto planned = place_labels(board, ends)) {
        places = *planned;
    } else {
        for (const CurveEnd& e : ends) places.push_back(LabelPlace{e.x - label_width(e.text), e.y - 10, false});
    }

    for (std::size_t k = 0; k < unitPens.size(); ++k) {
        unitPens[k].Write(w, 0, 0, unitPens[k].lines.size());
        write_label(w, ends[k], places[k]);
    }
    pen.Write(w, 0, 0, marker ? marker->line : pen.lines.size());
    if (marker) {
        w.HeightMark(500, 1000, marker->m, -650, f, marker->o, 0, 1);
        w.Text(500, 1000, marker->m - 20, marker->restY, 70, 70, 90, 1, marker->rest);
        w.Text(500, 0, marker->dayX, 350, 70, 70, 0, 1, marker->day);
        pen.Write(w, 0, marker->line, pen.lines.size());
    }
    write_label(w, ends.back(), places.back());

    // Load diagram: one ramp per loaded stage up to its share of the height.
    {
        int cx = 0, ch = 0;
        for (int k = 1; k <= n; ++k) {
            const int a = st.timing.stage_start[k - 1];
            const int d = st.timing.stage_days[k - 1];
            const int xa = dint(a * sx);
            boxed_line(w, cx, -ch, xa, -ch, 1, 2, kLoadBox);
            const int xe = dint((static_cast<double>(a) + d) * sx);
            const int hk = dint(500.0 / n * k);
            boxed_line(w, xa, -ch, xe, -hk, 1, 2, kLoadBox);
            cx = xe;
            ch = hk;
        }
        if (cx < 3500) boxed_line(w, cx, -ch, 3500, -ch, 1, 2, kLoadBox);
    }

    const int tickStep = tick_step(b, sx, labelStep);
    // The axis's end keeps its tick where the widened step passes it; a
    // tick so near it that the two would read as a bar is left out.
    const bool endTick = b % tickStep != 0;
    for (int t = 0; t <= b; t += tickStep)
        if (!endTick || t == 0 || (b - t) * sx >= 35) w.Line(500, 0, dint(t * sx), 400, dint(t * sx), 350, 0, 2);
    if (endTick) w.Line(500, 0, dint(b * sx), 400, dint(b * sx), 350, 0, 2);
    for (int t = 0; t <= b; t += labelStep) {
        std::string label = CFormat("%d", t);
        const int x = dint(t * sx) - dint(label_bytes(label) * 70 * 0.25);
        // The origin's label always stands (the marker's day keeps clear of
        // it); another under the marker's day, or too near to read apart
        // from it, is left out.
        if (t == 0 || board.Free(print::Grown(print::TextExtentOf(500 + x, 350, 70, 0, label), kDayLabelGap)))
            w.Text(500, 0, x, 350, 70, 70, 0, 2, label);
    }
    w.Text(0, 0, 1700, 220, 100, 100, 0, 2, "経  過  時  間 (日)");

    {
        double s = 0;
        for (int i = 0; i < kMaxScaleSteps && s <= Smax + 0.01; ++i, s += 0.1)
            w.Line(500, 1000, 0, dint(s * sy), -50, dint(s * sy), 0, 2);
        s = 0;
        for (int i = 0; i < kMaxScaleSteps && s <= Smax + 0.01; ++i, s += 0.2)
            w.Text(0, 1000, 330, dint(s * sy) + 35, 70, 70, 0, 2, real_text("%1.1lf", s));
    }
    w.Text(0, 0, 130, 1550, 100, 100, 0, 2, "沈");
    w.Text(0, 0, 130, 1750, 100, 100, 0, 2, "下");
    w.Text(0, 0, 130, 1950, 100, 100, 0, 2, "量");
    w.Text(0, 0, 105, 2150, 100, 100, 0, 2, "(m)");

    for (int k = 1; k <= n; ++k) {
        const int y = -dint(500.0 / n * k);
        w.Line(500, 1000, 0, y, -50, y, 0, 2);
    }
    w.Text(0, 0, 330, 535, 70, 70, 0, 2, CFormat("%3d", n));
    w.Text(0, 0, 130, 650, 100, 100, 0, 2, "荷");
    w.Text(0, 0, 130, 850, 100, 100, 0, 2, "重");

    w.Line(500, 1000, 2500, f, 3500, f, 0, 2);
    w.Text(500, 1000, 2500, f + 70, 70, 70, 0, 2, finalText);
    w.Close();
}

}  // namespace kova::engine
