#pragma once
// Generated calculation inputs for the byte-identity check of the engine's
// files: variant n is always the same section, drawn from n alone with a
// fixed generator (no library distribution, whose results may differ between
// standard libraries). The variants run through drains valid and refused,
// every time condition, the sand and cut switches, walls, loading periods,
// staged loads, a layer without Cv curve and loads that take settlement back.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tests/engine/cal_builder.hpp"

namespace enginetest {

class VariantRandom {
public:
    explicit VariantRandom(std::uint64_t seed) : s_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    std::uint64_t Next() {
        std::uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // An integer in [lo, hi].
    int Int(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<std::uint64_t>(hi - lo + 1)); }
    bool Chance(int percent) { return Int(0, 99) < percent; }
    // A value in [lo, hi] on a grid of `step`, so that it is written exactly.
    double Grid(double lo, double hi, double step) {
        const int n = static_cast<int>(std::lround((hi - lo) / step));
        return lo + step * Int(0, n);
    }
    template <class T>
    const T& Pick(const std::vector<T>& v) {
        return v[static_cast<std::size_t>(Int(0, static_cast<int>(v.size()) - 1))];
    }

private:
    std::uint64_t s_;
};

// Curves of the shape the benchmark sections use, scaled.
inline Curve VariantCurve(int points, double (*value)(int, double), double scale) {
    Curve c;
    for (int k = 0; k < points; ++k) {
        const double p = std::round(std::pow(10.0, k / 6.0) * 1e4) / 1e4;
        c.pts.emplace_back(p, std::round(value(k, scale) * 1e6) / 1e6);
    }
    return c;
}

inline Input IdentityVariant(int n) {
    VariantRandom r(static_cast<std::uint64_t>(n) + 1);
    Input f;
    f.title = "variant " + std::to_string(n);
    f.leave = r.Pick(std::vector<int>{0, 1, 30, 100, 365, 1000, 2500, 32767});
    f.residual = r.Pick(std::vector<double>{0, 0.005, 0.02, 0.05, 0.1, 0.3, 1, 0.5});
    f.time_cond = n / 2 % 2;
    f.sand = r.Chance(60) ? 1 : 0;
    f.cut = r.Chance(50) ? 1 : 0;
    f.mvp = r.Int(0, 1);
    f.cvp = r.Int(0, 1);
    f.auto_scale = r.Int(0, 1);
    const bool drains = n % 2 == 1;
    const double width = r.Grid(60, 200, 10);

    // Soil layers: horizontal across the width, one of them sometimes split
    // into a left and a right part of different soils.
    const int layers = r.Int(2, 6);
    const int split = r.Chance(30) ? r.Int(0, layers - 1) : -1;
    const double cvScale = r.Pick(std::vector<double>{0.02, 0.1, 0.5, 1, 4});
    double top = 0;
    for (int i = 0; i < layers; ++i) {
        const double bottom = top - r.Grid(1, 6, 0.5);
        for (int part = 0; part < (i == split ? 2 : 1); ++part) {
            const double x0 = i == split && part == 1 ? width / 2 : 0;
            const double x1 = i == split && part == 0 ? width / 2 : width;
            Layer l;
            l.verts = {f.Point(x0, top), f.Point(x1, top), f.Point(x1, bottom), f.Point(x0, bottom)};
            l.kind = r.Chance(25) ? 1 : 0;
            l.method = l.kind == 1 ? (r.Chance(80) ? 3 : 4) : r.Pick(std::vector<int>{0, 0, 1, 2, 3, 4});
            l.drainage = r.Int(0, 1);
            l.gamma = r.Grid(14, 20, 0.5);
            l.n = r.Int(1, 60);
            l.cc = r.Grid(0.2, 0.8, 0.05);
            l.beta = r.Pick(std::vector<double>{1, 1, 0.9, 0.75});
            const double e0 = r.Grid(1.6, 2.6, 0.1);
            l.elogp = VariantCurve(20, [](int k, double s) { return s - 0.07 * k; }, e0);
            l.mv = VariantCurve(20, [](int k, double s) { return s * std::pow(10.0, -k / 10.0); },
                                r.Pick(std::vector<double>{0.01, 0.05, 0.1}));
            l.cv = VariantCurve(20, [](int k, double s) { return s * 200 * std::pow(10.0, -k / 20.0); },
                                cvScale * r.Pick(std::vector<double>{0.5, 1, 2}));
            if (r.Chance(6)) l.cv.pts.clear();  // no Cv curve: no time curves at this position
            if (drains && l.kind == 0 && r.Chance(70)) {
                l.drain = r.Int(1, 2);
                l.d = r.Grid(0.8, 2.5, 0.1);
                l.dw = r.Chance(10) ? 3.0 : 0.05;  // 3 m: wider than the drain's area, refused
                l.alpha = r.Grid(1, 3, 0.5);
                l.kk = r.Pick(std::vector<double>{0, 0, 0.5, 2});
            }
            f.layers.push_back(l);
        }
        top = bottom;
    }

    // Embankments on the ground, in stages, with loading periods, each in a
    // slot of its own (blocks that overlap are refused).
    const int blocks = r.Int(1, 4);
    const double slot = std::floor(width / blocks / 2) * 2;
    for (int b = 0; b < blocks; ++b) {
        const double w = std::min(r.Grid(10, width / 2, 2), slot);
        const double x0 = b * slot + std::min(r.Grid(0, width - w, 2), slot - w);
        const double h = r.Grid(1, 6, 0.5);
        const double s = r.Grid(1, w / 3, 1);
        Block k;
        k.verts = {f.Point(x0, 0)};
        if (r.Chance(40)) {
            // A crest of several points, as drawn by hand.
            const int steps = r.Int(3, 9);
            for (int i = 1; i <= steps; ++i) {
                const double t = static_cast<double>(i) / (steps + 1);
                k.verts.push_back(f.Point(x0 + w * t, std::round(h * std::sqrt(std::sin(3.14159265 * t)) * 1000) / 1000));
            }
        } else {
            k.verts.push_back(f.Point(x0 + s, h));
            k.verts.push_back(f.Point(x0 + w - s, h));
        }
        k.verts.push_back(f.Point(x0 + w, 0));
        k.gamma = r.Grid(15, 21, 0.5);
        k.stage = r.Int(1, 5);
        k.start = r.Pick(std::vector<int>{0, 0, 10, 30, 90, 200, 400});
        k.days = r.Pick(std::vector<int>{0, 1, 7, 20, 45, 120});
        f.blocks.push_back(k);
    }
    if (r.Chance(40)) {
        const double x0 = r.Grid(0, width - 20, 5);
        f.cuts.push_back(Block{{f.Point(x0, 0), f.Point(x0 + 20, 0), f.Point(x0 + 20, -1), f.Point(x0, -1)}, 16});
    }

    auto load = [&](double q, bool strip) {
        Load l;
        l.load = q;
        l.x1 = r.Grid(0, width, 1);
        l.y1 = r.Grid(0, 3, 0.5);
        if (strip) {
            l.x2 = r.Grid(0, width, 1);
            l.y2 = l.y1;
        }
        l.stage = r.Int(1, 5);
        l.start = r.Pick(std::vector<int>{0, 20, 60, 150});
        l.days = r.Pick(std::vector<int>{0, 5, 30});
        return l;
    };
    for (int i = r.Int(0, 2); i > 0; --i) f.point_loads.push_back(load(r.Grid(50, 300, 10), false));
    for (int i = r.Int(0, 2); i > 0; --i) f.line_loads.push_back(load(r.Grid(10, 80, 5), false));
    for (int i = r.Int(0, 2); i > 0; --i) f.strip_loads.push_back(load(r.Grid(5, 40, 1), true));
    // A strip load that takes part of the load away again in a later stage:
    // settlement falls back, so the curves are not monotone.
    if (r.Chance(15)) {
        Load l = load(-r.Grid(5, 30, 1), true);
        l.stage = 5;
        f.strip_loads.push_back(l);
    }

    for (int i = r.Chance(50) ? r.Int(1, 3) : 0; i > 0; --i)
        f.walls.push_back(Wall{r.Grid(5, width - 5, 1), r.Grid(0, 3, 1), -r.Grid(2, 30, 1)});

    for (int i = r.Int(1, 3); i > 0; --i)
        f.positions.emplace_back(r.Grid(0, width, 0.5), "No." + std::to_string(f.positions.size() + 1));
    return f;
}

}  // namespace enginetest
