#include "engine/checks.hpp"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

#include "engine/column.hpp"
#include "engine/consolidation.hpp"
#include "engine/errors.hpp"
#include "engine/finite.hpp"
#include "engine/history.hpp"
#include "engine/rounding.hpp"
#include "engine/settlement.hpp"
#include "engine/strips.hpp"
#include "engine/stress.hpp"
#include "rules/drain_rule.hpp"
#include "textio/cformat.hpp"
#include "textio/numfmt.hpp"

namespace kova::engine {
namespace {

// What a curve's values are, and so what they must be: a void ratio is
// positive and does not rise with pressure; a compressibility mv or a
// coefficient of consolidation cv (both held as plain values, read on
// logarithmic axes) is positive, since a zero carries no compressibility and
// has no logarithm.
enum class CurveKind { ELogP, Mv, Cv, Sand };

struct CurveKindInfo {
    const char* name;
    const char* value;
    bool falling;  // the values must not rise with pressure
};

const CurveKindInfo& KindInfo(CurveKind kind) {
    static const CurveKindInfo kinds[] = {
        {"e-logP曲線", "間隙比", true},
        {"logMv-logP曲線", "体積圧縮係数Mv", false},
        {"logCv-logP曲線", "圧密係数Cv", false},
        {"B.K.Hough曲線", "間隙比", true},
    };
    return kinds[static_cast<int>(kind)];
}

// One curve a method reads and the points it needs; 0: the curve may be
// missing (told while the run computes), but what it holds is checked.
struct CurveRead {
    CurveKind kind;
    int needed;
};

// The curve kind a method reads its compression from.
CurveKind KindOf(MethodCurve curve) {
    return curve == MethodCurve::Mv ? CurveKind::Mv : curve == MethodCurve::Sand ? CurveKind::Sand : CurveKind::ELogP;
}

// The curve of `kind` that layer s reads, and its name in a message.
const CurveRec* CurveOf(const CalcInput& in, const SoilLayerRec& s, CurveKind kind, std::string& name) {
    auto numbered = [](const auto& table, int number) -> const CurveRec* {
        return number >= 1 && number <= kMaxCurveNumber ? &table[number] : nullptr;
    };
    name = KindInfo(kind).name;
    switch (kind) {
        case CurveKind::ELogP: return numbered(in.elogp, s.curve_elogp);
        case CurveKind::Mv: return numbered(in.mv, s.curve_mv);
        case CurveKind::Cv: return numbered(in.cv, s.curve_cv);
        case CurveKind::Sand: {
            const int d = sand_curve_for(s.n_value);
            name += CFormat(" %d（N値 %d）", d, s.n_value);
            return &in.sand[d];
        }
    }
    return nullptr;
}

// The first fault of one curve that `method` reads, after `head` ("土層 1
// のe-logP曲線"); empty when it is usable.
std::string CurveFault(const std::string& head, const char* method, const CurveRec* curve, const CurveRead& read) {
    const CurveKindInfo& kind = KindInfo(read.kind);
    const int n = curve ? std::clamp(curve->count, 0, kMaxCurvePoints) : 0;
    if (n < read.needed) {
        if (n == 0) return head + CFormat("に点がありません（%sには%d点以上必要です）。", method, read.needed);
        return head + CFormat("の点が%d点しかありません（%sには%d点以上必要です）。", n, method, read.needed);
    }
    for (int k = 0; k < n; ++k) {
        if (!(curve->pressure[k] > 0)) return head + CFormat("の第%d点の圧力が正ではありません。", k + 1);
        if (k > 0 && !(curve->pressure[k] > curve->pressure[k - 1]))
            return head + CFormat("の第%d点の圧力が前の点の圧力より大きくありません（圧力は点ごとに増加させてください）。",
                                  k + 1);
        if (!(curve->value[k] > 0)) return head + CFormat("の第%d点の%sが正ではありません。", k + 1, kind.value);
        if (kind.falling && k > 0 && curve->value[k] > curve->value[k - 1])
            return head + CFormat("の第%d点の%sが前の点より大きくなっています（圧力が増すと%sは増えません）。", k + 1,
                                  kind.value, kind.value);
    }
    return {};
}

// The faults of everything layer i reads by its method, in the order of
// the table.
void LayerFaults(const CalcInput& in, int i, std::vector<std::string>& out) {
    const SoilLayerRec& s = in.soil[i];
    const SettleMethodRow& m = SettleMethodOf(effective_method(in, s));
    if (m.curve == MethodCurve::None) return;
    const std::string layer = CFormat("土層 %d の", i + 1);
    std::vector<CurveRead> curves = {{KindOf(m.curve), m.points}};
    // A clay that consolidates reads its logCv-logP curve for the time.
    if (s.soil_kind == 0) curves.push_back({CurveKind::Cv, 0});
    for (const CurveRead& read : curves) {
        std::string name;
        const CurveRec* curve = CurveOf(in, s, read.kind, name);
        if (std::string f = CurveFault(layer + name, m.checked, curve, read); !f.empty()) out.push_back(f);
    }
    // The values as read: a refused value must not print as an allowed one.
    if (!(s.unit_weight > 0))
        out.push_back(layer + CFormat("有効重量が %s です（%sでは有効土被り圧を求めるため0より大きくしてください）。",
                                      FormatAsRead(s.unit_weight).c_str(), m.checked));
    if (!(s.beta > 0 && s.beta <= 1))
        out.push_back(layer + CFormat("沈下低減係数βが %s です（%sでは0より大きく1以下にしてください）。",
                                      FormatAsRead(s.beta).c_str(), m.checked));
    if (m.cc && !(s.cc > 0))
        out.push_back(layer + CFormat("圧縮指数Ccが正ではありません（%sには正の圧縮指数が必要です）。", m.checked));
}

// Twice the signed area of the triangle a, b, c.
double Orientation(const Node& a, const Node& b, const Node& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// The sign of an orientation, 0 when c lies on the line a-b within a
// distance relative to the size of the coordinates. |o| is |b - a| times
// that distance, so the test holds its precision on long edges and far from
// the origin: at coordinates of 1e7 a point 0.01 mm off the line is off it.
int Side(const Node& a, const Node& b, const Node& c) {
    const double o = Orientation(a, b, c);
    const double size =
        std::max({1.0, std::fabs(a.x), std::fabs(a.y), std::fabs(b.x), std::fabs(b.y), std::fabs(c.x), std::fabs(c.y)});
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    if (std::fabs(o) <= 1e-12 * size * length) return 0;
    return o > 0 ? 1 : -1;
}

// Whether segments p-q and r-s cross at a point inside both. Touching ends
// and overlapping collinear edges are not crossings: traced outlines may
// meet themselves at a boundary point.
bool ProperCrossing(const Node& p, const Node& q, const Node& r, const Node& s) {
    const int a = Side(p, q, r), b = Side(p, q, s), c = Side(r, s, p), d = Side(r, s, q);
    return a != 0 && b != 0 && c != 0 && d != 0 && a != b && c != d;
}

// A block's outline as the points it runs through, without repeated
// vertices (such as the first one again at the end).
struct Outline {
    std::array<Node, kMaxBlockVertices> v{};
    int n = 0;
    const Node& at(int k) const { return v[k % n]; }
};

Outline OutlineOf(const CalcInput& in, int count, const std::array<int, kMaxBlockVertices>& vertices) {
    Outline o;
    for (int k = 0; k < std::clamp(count, 0, kMaxBlockVertices); ++k) {
        const int number = vertices[k];
        const Node node = number >= 0 && number <= kMaxNodeNumber ? in.nodes[number] : Node{};
        if (o.n > 0 && node.x == o.v[o.n - 1].x && node.y == o.v[o.n - 1].y) continue;
        o.v[o.n++] = node;
    }
    while (o.n > 1 && o.v[o.n - 1].x == o.v[0].x && o.v[o.n - 1].y == o.v[0].y) --o.n;
    return o;
}

// Whether two outlines lie apart: their extents meet in no more than a line
// (side by side, one above the other), so that they can neither cross nor
// share any height.
bool Apart(const Outline& a, const Outline& b) {
    auto extent = [](const Outline& o, double Node::*axis) {
        double lo = 0, hi = 0;
        for (int k = 0; k < o.n; ++k) {
            const double v = o.v[k].*axis;
            lo = k == 0 ? v : std::min(lo, v);
            hi = k == 0 ? v : std::max(hi, v);
        }
        return std::pair{lo, hi};
    };
    for (double Node::*axis : {&Node::x, &Node::y}) {
        const auto [alo, ahi] = extent(a, axis);
        const auto [blo, bhi] = extent(b, axis);
        if (!(std::min(ahi, bhi) > std::max(alo, blo))) return true;
    }
    return false;
}

// Whether the closed outline crosses itself.
bool SelfCrossing(const Outline& o) {
    const int n = o.n;
    if (n < 4) return false;
    for (int i = 0; i < n; ++i) {
        // Edges next to each other share a vertex; the last edge is next to
        // the first.
        for (int j = i + 2; j < n; ++j) {
            if (i == 0 && j == n - 1) continue;
            if (ProperCrossing(o.at(i), o.at(i + 1), o.at(j), o.at(j + 1))) return true;
        }
    }
    return false;
}

// Where the vertical at x enters and leaves an outline, as the soil column
// takes it (the highest and the lowest crossing); false when it misses.
template <class Rec>
bool Span(const CalcInput& in, const Rec& s, double x, double& top, double& bottom) {
    intersect_polygon_vertical(in, s.vertex_count, s.vertices.data(), x, top, bottom);
    return !(std::fabs(top - bottom) < 0.001 || top < -9999.9);
}

// Whether two layers (or two blocks of one kind) share ground: their
// outlines cross, or on some vertical both take more than a millimetre of
// the same height, so that the column would drop one of them or count that
// ground twice (a load twice). The verticals tried lie midway between the
// abscissas of the vertices of both.
template <class Rec>
bool Overlap(const CalcInput& in, const Rec& a, const Outline& oa, const Rec& b, const Outline& ob) {
    if (Apart(oa, ob)) return false;
    for (int i = 0; i < oa.n; ++i)
        for (int j = 0; j < ob.n; ++j)
            if (ProperCrossing(oa.at(i), oa.at(i + 1), ob.at(j), ob.at(j + 1))) return true;
    std::vector<double> xs;
    for (const Outline* o : {&oa, &ob})
        for (int k = 0; k < o->n; ++k) xs.push_back(o->v[k].x);
    std::sort(xs.begin(), xs.end());
    for (std::size_t k = 0; k + 1 < xs.size(); ++k) {
        if (!(xs[k + 1] - xs[k] > 0.002)) continue;
        const double x = (xs[k] + xs[k + 1]) / 2;
        double ta, ba, tb, bb;
        if (!Span(in, a, x, ta, ba) || !Span(in, b, x, tb, bb)) continue;
        if (std::min(ta, tb) - std::max(ba, bb) > 0.001) return true;
    }
    return false;
}

// Whether some vertical crosses the outline more than twice: the outline
// overhangs, and the strips (which take a block's height between its lowest
// and highest edge at each abscissa) cannot carry it. The count between two
// neighbouring abscissas of the vertices is the count everywhere between.
bool Overhangs(const Outline& o) {
    std::vector<double> xs;
    for (int k = 0; k < o.n; ++k) xs.push_back(o.v[k].x);
    std::sort(xs.begin(), xs.end());
    for (std::size_t k = 0; k + 1 < xs.size(); ++k) {
        if (!(xs[k + 1] > xs[k])) continue;
        const double x = xs[k] + (xs[k + 1] - xs[k]) / 2;
        int crossings = 0;
        for (int e = 0; e < o.n; ++e) {
            const double x0 = o.at(e).x, x1 = o.at(e + 1).x;
            if (std::min(x0, x1) < x && x < std::max(x0, x1)) ++crossings;
        }
        if (crossings > 2) return true;
    }
    return false;
}

// The highest and the lowest edge of an outline over [x0, x1], an
// interval no vertex abscissa lies inside, as their heights at x0 and at
// x1 (edges do not cross there, so one edge is highest all along it);
// false when the outline does not reach over the interval.
bool EdgesOver(const Outline& o, double x0, double x1, double top[2], double bottom[2]) {
    const double mid = x0 + (x1 - x0) / 2;
    double best = 0, least = 0;
    bool any = false;
    for (int e = 0; e < o.n; ++e) {
        const Node& a = o.at(e);
        const Node& b = o.at(e + 1);
        if (!(std::min(a.x, b.x) <= x0 && std::max(a.x, b.x) >= x1) || a.x == b.x) continue;
        auto y = [&](double x) { return a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x); };
        const double ym = y(mid);
        if (!any || ym > best) best = ym, top[0] = y(x0), top[1] = y(x1);
        if (!any || ym < least) least = ym, bottom[0] = y(x0), bottom[1] = y(x1);
        any = true;
    }
    return any && best > least;
}

// Where two lines, given by their heights at the ends of [x0, x1], meet
// inside it, as a fraction of its width; -1 when they do not.
double Meeting(const double p[2], const double q[2]) {
    const double d0 = p[0] - q[0], d1 = p[1] - q[1];
    if ((d0 < 0 && d1 > 0) || (d0 > 0 && d1 < 0)) return d0 / (d0 - d1);
    return -1;
}

// The thinnest ground the soil column takes (m), as Span: a fill and a
// layer that share no more on any vertical share no ground.
constexpr double kSharedHeightTolerance = 0.001;

// The greatest height two outlines share on one vertical. Between two
// neighbouring abscissas of the vertices of both, each outline's top and
// bottom are straight, so the shared height is concave there and greatest
// at an end or where the two tops or the two bottoms meet: the result is
// exact, however thin the shared sliver or wherever along the interval it
// lies.
double SharedHeight(const Outline& a, const Outline& b) {
    if (Apart(a, b)) return 0;
    std::vector<double> xs;
    for (const Outline* o : {&a, &b})
        for (int k = 0; k < o->n; ++k) xs.push_back(o->v[k].x);
    std::sort(xs.begin(), xs.end());
    double most = 0;
    for (std::size_t k = 0; k + 1 < xs.size(); ++k) {
        const double x0 = xs[k], x1 = xs[k + 1];
        if (!(x1 > x0)) continue;
        double ta[2], ba[2], tb[2], bb[2];
        if (!EdgesOver(a, x0, x1, ta, ba) || !EdgesOver(b, x0, x1, tb, bb)) continue;
        for (double f : {0.0, 1.0, Meeting(ta, tb), Meeting(ba, bb)}) {
            if (f < 0) continue;
            auto at = [f](const double v[2]) { return v[0] + (v[1] - v[0]) * f; };
            most = std::max(most, std::min(at(ta), at(tb)) - std::max(at(ba), at(bb)));
        }
    }
    return most;
}

// The faults of the blocks of one kind (embankments or cuts): an outline
// that crosses itself, one that overhangs, two that overlap. Returns the
// outlines, empty where the block has one of the first two faults.
template <class Rec, std::size_t N>
std::vector<Outline> BlockFaults(const CalcInput& in, const std::array<Rec, N>& blocks, int count, const char* kind,
                                 std::vector<std::string>& out) {
    std::vector<Outline> outline(count);
    std::vector<bool> bad(count);
    for (int i = 0; i < count; ++i) {
        outline[i] = OutlineOf(in, blocks[i].vertex_count, blocks[i].vertices);
        if (SelfCrossing(outline[i])) {
            out.push_back(
                CFormat("%s %d の外形線が交差しています（構成点が折り返しています）。構成点の位置を確認してください。",
                        kind, i + 1));
            bad[i] = true;
        } else if (Overhangs(outline[i])) {
            out.push_back(
                CFormat("%s %d の外形線が張り出しています（一つの鉛直線と3回以上交わります）。"
                        "帯状荷重に分けられないため計算できません。構成点の位置を確認してください。",
                        kind, i + 1));
            bad[i] = true;
        }
    }
    for (int i = 0; i < count; ++i)
        for (int j = i + 1; j < count; ++j)
            if (!bad[i] && !bad[j] && Overlap(in, blocks[i], outline[i], blocks[j], outline[j]))
                out.push_back(
                    CFormat("%s %d と%s %d の外形線が重なっています（重なった部分が二重に数えられます）。"
                            "構成点の位置を確認してください。",
                            kind, i + 1, kind, j + 1));
    for (int i = 0; i < count; ++i)
        if (bad[i]) outline[i] = Outline{};
    return outline;
}

const char* DrainFaultText(DrainFault f) {
    switch (f) {
        case DrainFault::Method: return "配置が三角形配置でも正方形配置でもありません";
        case DrainFault::Spacing: return "打設間隔dが正ではありません";
        case DrainFault::Diameter: return "ドレーン径dwが正ではありません";
        case DrainFault::Influence: return "打設間隔dがドレーン径dwに対して小さすぎます（有効径de/dwが1以下です）";
        case DrainFault::Alpha: return "係数αが正ではありません";
        case DrainFault::PermRatio: return "透水係数比Kc/kwが負です";
        case DrainFault::None: break;
    }
    return "";
}

}  // namespace

int effective_method(const CalcInput& in, const SoilLayerRec& layer) {
    if (in.UseSandImmediate == 0 && (layer.soil_kind != 0 || SettleMethodOf(layer.method).immediate))
        return kMethodNone;
    return layer.method;
}

std::vector<std::string> curve_faults(const CalcInput& in) {
    std::vector<std::string> out;
    for (int i = 0; i < std::clamp(in.soil_count, 0, kMaxSoilLayers); ++i) LayerFaults(in, i, out);
    return out;
}

std::vector<std::string> outline_faults(const CalcInput& in) {
    std::vector<std::string> out;
    const char* tail = "の外形線が交差しています（構成点が折り返しています）。構成点の位置を確認してください。";
    const int layers = std::clamp(in.soil_count, 0, kMaxSoilLayers);
    std::vector<Outline> soil(layers);
    std::vector<bool> folded(layers);
    for (int i = 0; i < layers; ++i) {
        soil[i] = OutlineOf(in, in.soil[i].vertex_count, in.soil[i].vertices);
        folded[i] = SelfCrossing(soil[i]);
        if (folded[i]) out.push_back(CFormat("土層 %d ", i + 1) + tail);
    }
    // A folded outline is named above; whatever it overlaps follows from it.
    for (int i = 0; i < layers; ++i)
        for (int j = i + 1; j < layers; ++j)
            if (!folded[i] && !folded[j] && Overlap(in, in.soil[i], soil[i], in.soil[j], soil[j]))
                out.push_back(CFormat("土層 %d と土層 %d の外形線が重なっています（同じ地盤が二つの土層に含まれます）。"
                                      "構成点の位置を確認してください。",
                                      i + 1, j + 1));
    const std::vector<Outline> fills = BlockFaults(in, in.blocks, std::clamp(in.block_count, 0, kMaxLoadBlocks), "盛土", out);
    // A fill that reaches into a layer is counted twice where they meet: as
    // the layer's ground and as the load on it. A cut lies in the ground by
    // design and is not checked.
    for (std::size_t b = 0; b < fills.size(); ++b)
        for (int i = 0; i < layers; ++i)
            if (fills[b].n > 0 && !folded[i] && SharedHeight(fills[b], soil[i]) > kSharedHeightTolerance)
                out.push_back(CFormat("盛土 %d と土層 %d の外形線が重なっています（重なった部分が土層としても盛土の荷重としても"
                                      "数えられます）。構成点の位置を確認してください。",
                                      static_cast<int>(b) + 1, i + 1));
    // Without the cut flag the cut blocks take no part in the calculation.
    if (in.UseCutPreload != 0) BlockFaults(in, in.cuts, std::clamp(in.cut_count, 0, kMaxCutBlocks), "切土", out);
    return out;
}

void check_input_meaning(const CalcInput& in, MessageSink& messages) {
    std::vector<std::string> faults = curve_faults(in);
    std::vector<std::string> outlines = outline_faults(in);
    for (std::string& f : outlines) faults.push_back(std::move(f));
    for (const std::string& f : faults) messages.Show(Message{f, "error", MsgIcon::None, MsgButtons::Ok, 0});
    if (!faults.empty()) throw RunAborted("input refused");
}

void report_drains_and_stage_days(const CalcInput& in, MessageSink& messages) {
    for (int i = 0; i < std::clamp(in.soil_count, 0, kMaxSoilLayers); ++i) {
        const SoilLayerRec& s = in.soil[i];
        if (!consolidating_layer(s) || s.drain_kind == 0) continue;
        const DrainValues v{s.drain_kind, s.drain_spacing, s.drain_diameter, s.alpha, s.perm_ratio};
        const DrainFault f = FindDrainFault(v, [](double x) { return round_to_step(x, 0.001, 0); });
        if (f == DrainFault::None) continue;
        messages.Show(Message{CFormat("土層 %d のドレーン: ", i + 1) + DrainFaultText(f) +
                                  "。\rこの土層はドレーンなしで計算します。",
                              "ドレーン", MsgIcon::None, MsgButtons::Ok, 0});
    }

    // The loads in the order the stage loop visits them.
    struct Timing {
        int stage, start, days;
    };
    std::vector<Timing> loads;
    for (int j = 0; j < std::clamp(in.block_count, 0, kMaxLoadBlocks); ++j)
        loads.push_back({in.blocks[j].stage, in.blocks[j].start_day, in.blocks[j].days});
    const std::pair<const std::array<LoadRec, kMaxLoads>*, int> tables[] = {
        {&in.point_loads, in.point_load_count}, {&in.line_loads, in.line_load_count}, {&in.strip_loads, in.strip_load_count}};
    for (const auto& [table, count] : tables)
        for (int j = 0; j < std::clamp(count, 0, kMaxLoads); ++j)
            loads.push_back({(*table)[j].stage, (*table)[j].start_day, (*table)[j].days});
    for (int stage = 1; stage <= kMaxStages; ++stage) {
        const Timing* first = nullptr;
        const Timing* last = nullptr;
        bool differ = false;
        for (const Timing& t : loads) {
            if (t.stage != stage) continue;
            if (!first) first = &t;
            if (t.start != first->start || t.days != first->days) differ = true;
            last = &t;
        }
        if (!differ) continue;
        messages.Show(Message{CFormat("第%d段階の荷重の施工開始日・施工日数が荷重ごとに異なります。\r"
                                      "最後の荷重の値（施工開始日 %d、施工日数 %d）で計算します。",
                                      stage, last->start, last->days),
                              "段階載荷", MsgIcon::None, MsgButtons::Ok, 0});
    }
}

std::string layer_settlement_fault(const CalcInput& in, const SoilColumn& col, const LayerResults& res, double u) {
    for (int i = 0; i < std::clamp(col.count, 0, kColumnSlots); ++i) {
        const SoilLayerRec& s = in.soil[col.layer[i]];
        const double h = col.top[i] - col.bottom[i];
        const double settlement = layer_settlement(res, i, effective_method(in, s));
        if (settlement >= h)
            return CFormat("土層 %d の沈下量 %.3f m が層厚 %.3f m 以上になります。土質定数を確認してください。",
                           col.layer[i] + 1, settlement, h);
        if (settlement < 0 && layer_loaded(col, i, u))
            return CFormat("土層 %d の沈下量が %.3f m と負になります（荷重が増すのに隆起します）。土質定数を確認してください。",
                           col.layer[i] + 1, settlement);
    }
    return {};
}

void abort_run(MessageSink& messages, const std::string& text) {
    messages.Show(Message{text, "error", MsgIcon::None, MsgButtons::Ok, 0});
    throw RunAborted("run refused");
}

Message no_soil_message(const std::string& place) {
    // Without a caption of its own the box reads "圧密沈下: 計算位置 2 ...".
    return Message{place + ": 土層がありません。この位置の沈下量は計算されません。", "", MsgIcon::None,
                   MsgButtons::Ok, 0};
}

}  // namespace kova::engine
