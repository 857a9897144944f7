#include "engine/checks.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/consolidation.hpp"
#include "engine/errors.hpp"
#include "engine/rounding.hpp"
#include "rules/drain_rule.hpp"
#include "textio/cformat.hpp"

namespace kova::engine {
namespace {

const char* MethodName(int method) {
    switch (method) {
        case kMethodELogP: return "e-logP法";
        case kMethodCc: return "Cc法";
        case kMethodMv: return "Mv法";
        default: return "";
    }
}

// The faults of one curve that `method` reads; `elogp`: the void ratios
// must not rise with pressure.
void CurveFaults(int layer, int method, const char* curveName, const CurveRec* curve, int needed, bool elogp,
                 std::vector<std::string>& out) {
    const std::string head = CFormat("土層 %d の%s", layer + 1, curveName);
    const int n = curve ? std::clamp(curve->count, 0, kMaxCurvePoints) : 0;
    if (n < needed) {
        if (n == 0)
            out.push_back(head + CFormat("に点がありません（%sには%d点以上必要です）。", MethodName(method), needed));
        else
            out.push_back(head + CFormat("の点が%d点しかありません（%sには%d点以上必要です）。", n, MethodName(method),
                                         needed));
        return;
    }
    for (int k = 0; k < n; ++k) {
        if (!(curve->pressure[k] > 0)) {
            out.push_back(head + CFormat("の第%d点の圧力が正ではありません。", k + 1));
            return;
        }
        if (k > 0 && !(curve->pressure[k] > curve->pressure[k - 1])) {
            out.push_back(head + CFormat("の第%d点の圧力が前の点の圧力より大きくありません（圧力は点ごとに増加させてください）。",
                                         k + 1));
            return;
        }
        if (elogp && k > 0 && curve->value[k] > curve->value[k - 1]) {
            out.push_back(head + CFormat("の第%d点の間隙比が前の点より大きくなっています（圧力が増すと間隙比は増えません）。",
                                         k + 1));
            return;
        }
    }
}

// Twice the signed area of the triangle a, b, c.
double Orientation(const Node& a, const Node& b, const Node& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// The sign of an orientation, 0 within rounding of the coordinates.
int Side(const Node& a, const Node& b, const Node& c) {
    const double o = Orientation(a, b, c);
    const double scale = std::fabs(b.x - a.x) + std::fabs(b.y - a.y) + std::fabs(c.x - a.x) + std::fabs(c.y - a.y);
    if (std::fabs(o) <= 1e-9 * scale * scale) return 0;
    return o > 0 ? 1 : -1;
}

// Whether segments p-q and r-s cross at a point inside both. Touching ends
// and overlapping collinear edges are not crossings: traced outlines may
// meet themselves at a boundary point.
bool ProperCrossing(const Node& p, const Node& q, const Node& r, const Node& s) {
    const int a = Side(p, q, r), b = Side(p, q, s), c = Side(r, s, p), d = Side(r, s, q);
    return a != 0 && b != 0 && c != 0 && d != 0 && a != b && c != d;
}

// Whether the closed outline through the vertices crosses itself.
bool SelfCrossing(const CalcInput& in, int count, const std::array<int, kMaxBlockVertices>& vertices) {
    std::array<Node, kMaxBlockVertices> v{};
    int n = 0;
    for (int k = 0; k < std::clamp(count, 0, kMaxBlockVertices); ++k) {
        const int number = vertices[k];
        const Node node = number >= 0 && number <= kMaxNodeNumber ? in.nodes[number] : Node{};
        // A repeated vertex (such as the first one again at the end) adds
        // no edge.
        if (n > 0 && node.x == v[n - 1].x && node.y == v[n - 1].y) continue;
        v[n++] = node;
    }
    while (n > 1 && v[n - 1].x == v[0].x && v[n - 1].y == v[0].y) --n;
    if (n < 4) return false;
    for (int i = 0; i < n; ++i) {
        const Node& a = v[i];
        const Node& b = v[(i + 1) % n];
        // Edges next to each other share a vertex; the last edge is next to
        // the first.
        for (int j = i + 2; j < n; ++j) {
            if (i == 0 && j == n - 1) continue;
            if (ProperCrossing(a, b, v[j], v[(j + 1) % n])) return true;
        }
    }
    return false;
}

double LayerSettlement(const LayerResults& res, int slot, int method) {
    switch (method) {
        case kMethodELogP:
        case kMethodHough: return res.elogp[slot].settlement;
        case kMethodCc: return res.cc[slot].settlement;
        case kMethodMv: return res.mv[slot].settlement;
        default: return 0;
    }
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
    if (in.UseSandImmediate == 0 && (layer.soil_kind != 0 || layer.method == kMethodHough)) return kMethodNone;
    return layer.method;
}

std::vector<std::string> curve_faults(const CalcInput& in) {
    std::vector<std::string> out;
    auto curve = [](const auto& table, int number) -> const CurveRec* {
        return number >= 1 && number <= kMaxCurveNumber ? &table[number] : nullptr;
    };
    for (int i = 0; i < std::clamp(in.soil_count, 0, kMaxSoilLayers); ++i) {
        const SoilLayerRec& s = in.soil[i];
        const int method = effective_method(in, s);
        if (method == kMethodELogP)
            CurveFaults(i, method, "e-logP曲線", curve(in.elogp, s.curve_elogp), 2, true, out);
        else if (method == kMethodCc)
            CurveFaults(i, method, "e-logP曲線", curve(in.elogp, s.curve_elogp), 1, true, out);
        else if (method == kMethodMv)
            CurveFaults(i, method, "logMv-logP曲線", curve(in.mv, s.curve_mv), 1, false, out);
    }
    return out;
}

std::vector<std::string> outline_faults(const CalcInput& in) {
    std::vector<std::string> out;
    const char* tail = "の外形線が交差しています（構成点が折り返しています）。構成点の位置を確認してください。";
    for (int i = 0; i < std::clamp(in.soil_count, 0, kMaxSoilLayers); ++i)
        if (SelfCrossing(in, in.soil[i].vertex_count, in.soil[i].vertices))
            out.push_back(CFormat("土層 %d ", i + 1) + tail);
    for (int i = 0; i < std::clamp(in.block_count, 0, kMaxLoadBlocks); ++i)
        if (SelfCrossing(in, in.blocks[i].vertex_count, in.blocks[i].vertices))
            out.push_back(CFormat("盛土 %d ", i + 1) + tail);
    // Without the cut flag the cut blocks take no part in the calculation.
    if (in.UseCutPreload != 0)
        for (int i = 0; i < std::clamp(in.cut_count, 0, kMaxCutBlocks); ++i)
            if (SelfCrossing(in, in.cuts[i].vertex_count, in.cuts[i].vertices))
                out.push_back(CFormat("切土 %d ", i + 1) + tail);
    return out;
}

void check_input_meaning(const CalcInput& in, MessageSink& messages) {
    std::vector<std::string> faults = curve_faults(in);
    for (std::string& f : outline_faults(in)) faults.push_back(std::move(f));
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

std::string thickness_fault(const CalcInput& in, const SoilColumn& col, const LayerResults& res) {
    for (int i = 0; i < std::clamp(col.count, 0, kColumnSlots); ++i) {
        const SoilLayerRec& s = in.soil[col.layer[i]];
        const double h = col.top[i] - col.bottom[i];
        const double settlement = LayerSettlement(res, i, effective_method(in, s));
        if (settlement >= h)
            return CFormat("土層 %d の沈下量 %.3f m が層厚 %.3f m 以上になります。土質定数を確認してください。",
                           col.layer[i] + 1, settlement, h);
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
