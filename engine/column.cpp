#include "engine/column.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/rounding.hpp"

namespace kova::engine {

void intersect_polygon_vertical(const CalcInput& in, int n, const int* points, double x, double& top,
                                double& bottom) {
    // The vertical spans the whole section, at least +-1000 m.
    const Pt up{x, std::max(1000.0, in.node_ymax + 1000.0)};
    const Pt down{x, std::min(-1000.0, in.node_ymin - 1000.0)};
    top = -9999.99;
    bottom = 9999.99;
    const double margin = 1e-6 * (1 + std::fabs(x));
    for (int k = 1; k <= n; ++k) {
        const Node& a = in.nodes[points[k - 1]];
        const Node& b = in.nodes[points[k % n]];
        // An edge beside the vertical cannot meet it.
        if (std::min(a.x, b.x) > x + margin || std::max(a.x, b.x) < x - margin) continue;
        Pt hit;
        if (intersect_segments(Pt{a.x, a.y}, Pt{b.x, b.y}, up, down, hit) != 0) continue;
        if (hit.y > top) top = hit.y;
        if (hit.y < bottom) bottom = hit.y;
    }
    top = round_to_step(top, 0.001, 0);
    bottom = round_to_step(bottom, 0.001, 0);
}

double layers_at(const CalcInput& in, SoilColumn& col, double x) {
    double ground = -9999.99;
    int n = 0;
    std::array<int, kMaxSoilLayers> layer{};
    std::array<double, kMaxSoilLayers> top{}, bottom{}, depth{};
    for (int i = 0; i < in.soil_count; ++i) {
        const SoilLayerRec& s = in.soil[i];
        double t, b;
        intersect_polygon_vertical(in, s.vertex_count, s.vertices.data(), x, t, b);
        if (std::fabs(t - b) < 0.001 || t < -9999.9) continue;
        layer[n] = i;
        top[n] = t;
        bottom[n] = b;
        ++n;
        if (t > ground) ground = t;
    }
    for (int i = 0; i < in.block_count; ++i) {
        const LoadBlockRec& e = in.blocks[i];
        double t, b;
        intersect_polygon_vertical(in, e.vertex_count, e.vertices.data(), x, t, b);
        if (std::fabs(t - b) >= 0.001 && t >= -9999.9 && t > ground) ground = t;
    }
    for (int i = 0; i < n; ++i) depth[i] = ground - round_to_step((top[i] + bottom[i]) / 2, 0.001, 0);
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            if (depth[i] >= depth[j]) {
                std::swap(layer[i], layer[j]);
                std::swap(top[i], top[j]);
                std::swap(bottom[i], bottom[j]);
                std::swap(depth[i], depth[j]);
            }
        }
    }
    // A layer that starts above the bottom of the one kept before it overlaps
    // that layer and is dropped.
    col.count = 0;
    for (int i = 0; i < n; ++i) {
        if (col.count > 0) {
            int last = col.count - 1;
            if (col.bottom[last] - top[i] < -0.00001) continue;
        }
        int k = col.count++;
        col.layer[k] = layer[i];
        col.top[k] = top[i];
        col.bottom[k] = bottom[i];
        col.depth[k] = depth[i];
    }
    for (int k = 0; k < kColumnSlots; ++k) {
        col.p0[k] = col.dp[k] = col.cv[k] = col.cv_pressure[k] = 0;
        if (k >= col.count) {
            col.layer[k] = 0;
            col.top[k] = col.bottom[k] = col.depth[k] = 0;
        }
    }
    return ground;
}

void overburden_at_layers(const CalcInput& in, SoilColumn& col) {
    for (int i = 0; i < col.count; ++i) {
        double h = col.top[i] - col.bottom[i];
        double p = round_to_step(0.5 * h * in.soil[col.layer[i]].unit_weight, 0.001, 0);
        for (int j = 0; j < col.count; ++j) {
            if (j == i || col.top[j] < col.top[i]) continue;
            p += round_to_step((col.top[j] - col.bottom[j]) * in.soil[col.layer[j]].unit_weight, 0.001, 0);
        }
        col.p0[i] = p;
    }
}

double cut_unloading_at(const CalcInput& in, CutColumn& cuts, double x) {
    cuts.cut_count = 0;
    double u = 0;
    if (in.UseCutPreload == 0) return 0;
    for (int i = 0; i < in.cut_count; ++i) {
        const CutBlockRec& c = in.cuts[i];
        double t, b;
        intersect_polygon_vertical(in, c.vertex_count, c.vertices.data(), x, t, b);
        if (std::fabs(t - b) < 0.001 || t < -9999.9) continue;
        double load = round_to_step((t - b) * c.unit_weight, 0.001, 0);
        u += load;
        int k = cuts.cut_count++;
        cuts.cut_index[k] = i;
        cuts.cut_top[k] = t;
        cuts.cut_bottom[k] = b;
        cuts.cut_load[k] = load;
    }
    for (int i = 0; i < cuts.cut_count; ++i) {
        for (int j = i + 1; j < cuts.cut_count; ++j) {
            if (cuts.cut_top[i] <= cuts.cut_top[j]) {
                std::swap(cuts.cut_index[i], cuts.cut_index[j]);
                std::swap(cuts.cut_top[i], cuts.cut_top[j]);
                std::swap(cuts.cut_bottom[i], cuts.cut_bottom[j]);
                std::swap(cuts.cut_load[i], cuts.cut_load[j]);
            }
        }
    }
    return u;
}

}  // namespace kova::engine
