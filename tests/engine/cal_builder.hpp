#pragma once
// Builds calculation input files for the engine tests, in the layout the
// section editor writes.
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include <unistd.h>

#include "engine/run.hpp"
#include "platform/message.hpp"
#include "testing/fakes.hpp"
#include "tests/support/tempdir.hpp"
#include "textio/cp932.hpp"
#include "textio/listline.hpp"

namespace enginetest {

struct Curve {
    std::vector<std::pair<double, double>> pts;  // as written in the file
};

struct Layer {
    std::vector<int> verts{};
    int kind = 0;
    double gamma = 18;
    int n = 5;
    double cc = 0.5;
    int method = 0;
    int drainage = 0;
    double beta = 1;
    int drain = 0;  // 0 none, 1 triangular, 2 square pattern
    double d = 0, dw = 0, alpha = 1, kk = 0;
    Curve elogp{}, mv{}, cv{};
};

struct Block {
    std::vector<int> verts{};
    double gamma = 19;
    int stage = 1, start = 0, days = 0;
};

struct Load {
    double load = 0, x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int stage = 1, start = 0, days = 0;
};

struct Wall {
    double x = 0, top = 0, bottom = 0;
};

struct Input {
    std::string title = "test";
    int sand = 1, cut = 1, mvp = 1, cvp = 1;
    int leave = 1000, time_cond = 0, auto_scale = 0;
    double residual = 1;
    std::vector<std::pair<double, std::string>> positions;
    std::vector<std::pair<double, double>> points;  // numbered from 1
    std::vector<Layer> layers;
    std::vector<Block> blocks, cuts;
    std::vector<Curve> sand_curves = std::vector<Curve>(5, Curve{{{10, 0.9}, {1000, 0.7}}});
    std::vector<Load> point_loads, line_loads, strip_loads;
    std::vector<Wall> walls;

    int Point(double x, double y) {
        points.emplace_back(x, y);
        return static_cast<int>(points.size());
    }

    std::vector<std::string> Lines() const {
        using kova::ListLine;
        std::vector<std::string> out;
        auto L = [&](const std::string& s) { out.push_back(s); };
        L("\"" + title + "\"");
        L(std::to_string(leave));
        L(ListLine().Real(residual));
        L(std::to_string(time_cond));
        L(std::to_string(sand));
        L(std::to_string(cut));
        L(std::to_string(mvp));
        L(std::to_string(cvp));
        L(std::to_string(auto_scale));
        L(ListLine().Int(positions.size()).Str("計算位置数"));
        for (std::size_t i = 0; i < positions.size(); ++i) {
            L(ListLine().Int(i + 1).Real(positions[i].first).Str("計算位置座標"));
            L("\"" + positions[i].second + "\"");
        }
        L(ListLine().Int(points.size()).Str("境界点数"));
        for (std::size_t i = 0; i < points.size(); ++i)
            L(ListLine().Int(i + 1).Real(points[i].first).Real(points[i].second).Str("境界点座標"));
        auto verts = [&](std::size_t i, const std::vector<int>& v, const char* a, const char* b) {
            L(ListLine().Int(i + 1).Int(v.size()).Str(a));
            for (std::size_t k = 0; k < v.size(); ++k) L(ListLine().Int(k + 1).Int(v[k]).Str(b));
        };
        L(ListLine().Int(layers.size()).Str("土層数"));
        for (std::size_t i = 0; i < layers.size(); ++i) {
            const Layer& s = layers[i];
            verts(i, s.verts, "土層構成点数", "土層構成点番号");
            L(ListLine().Real(0).Real(0).Str("ブロック中心"));
            L(ListLine().Int(s.kind).Str("土質"));
            L(ListLine().Real(s.gamma).Int(s.n).Str("有効重量,Ｎ値"));
            L(ListLine().Real(s.cc).Int(0).Int(0).Str("圧縮指数"));
            L(ListLine().Int(s.method).Str("沈下計算方法"));
            L(ListLine().Int(s.drainage).Str("排水条件"));
            L(ListLine().Int(s.drain).Str("促進工法"));
            L(ListLine().Real(s.d).Real(s.dw).Real(s.alpha).Real(s.kk).Int(0).Int(0).Real(s.beta).Str("工法詳細"));
        }
        L(ListLine().Int(blocks.size()).Str("盛土数"));
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            verts(i, blocks[i].verts, "盛土構成点数", "盛土構成点番号");
            L(ListLine().Real(0).Real(0).Str("ブロック中心"));
            L(ListLine().Real(blocks[i].gamma).Str("有効重量"));
            L(ListLine().Int(blocks[i].stage).Int(blocks[i].start).Int(blocks[i].days).Str("段階荷重番号,施工開始日,施工日数"));
        }
        L(ListLine().Int(cuts.size()).Str("切土数"));
        for (std::size_t i = 0; i < cuts.size(); ++i) {
            verts(i, cuts[i].verts, "切土構成点数", "切土構成点番号");
            L(ListLine().Real(0).Real(0).Str("ブロック中心"));
            L(ListLine().Real(cuts[i].gamma).Str("有効重量"));
        }
        L(ListLine().Int(layers.size()).Str("土層数"));
        auto curve = [&](std::size_t i, const Curve& c, const char* head, const char* label) {
            L(ListLine().Int(i + 1).Int(c.pts.size()).Str(head));
            for (std::size_t k = 0; k < c.pts.size(); ++k)
                L(ListLine().Int(k + 1).Real(c.pts[k].first).Real(c.pts[k].second).Str(label));
        };
        for (std::size_t i = 0; i < layers.size(); ++i) {
            curve(i, layers[i].elogp, "e-LogP曲線要素数", "e-LogP");
            curve(i, layers[i].mv, "LogMv-LogP曲線要素数", "LogMv-LogP");
            curve(i, layers[i].cv, "LogCv-LogP曲線要素数", "LogCv-LogP");
        }
        L(ListLine().Int(5).Str("BKHough曲線数"));
        for (std::size_t d = 0; d < 5; ++d) {
            const Curve& c = sand_curves[d];
            L(ListLine().Int(d + 1).Int(c.pts.size()).Str("BKHough曲線要素数"));
            L(std::to_string(d));
            for (std::size_t k = 0; k < c.pts.size(); ++k)
                L(ListLine().Int(k + 1).Real(c.pts[k].first).Real(c.pts[k].second).Str("e-LogP"));
        }
        auto loads = [&](const std::vector<Load>& v, const char* head, bool strip) {
            L(ListLine().Int(v.size()).Str(head));
            for (std::size_t i = 0; i < v.size(); ++i) {
                L(ListLine().Int(i + 1).Real(v[i].load).Str("荷重"));
                L(ListLine().Real(v[i].x1).Real(v[i].y1).Str("位置"));
                if (strip) L(ListLine().Real(v[i].x2).Real(v[i].y2).Str("終了位置"));
                L(ListLine().Int(v[i].stage).Int(v[i].start).Int(v[i].days).Str("段階荷重番号,施工開始日,施工日数"));
            }
        };
        loads(point_loads, "集中荷重数", false);
        loads(line_loads, "線荷重数", false);
        loads(strip_loads, "帯状荷重数", true);
        L(ListLine().Int(walls.size()).Str("矢板の数"));
        for (const Wall& w : walls) L(ListLine().Real(w.x).Real(w.top).Real(w.bottom).Str("位置、天端、下端"));
        return out;
    }
};

inline void WriteLines(const std::filesystem::path& path, const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& l : lines) text += l + "\r\n";
    std::ofstream f(path, std::ios::binary);
    f << kova::Utf8ToCp932(text);
}

// A fresh folder, removed at the end of the test.
struct TempDir {
    kova::test::TempDir owner;
    std::filesystem::path path = owner.path();
};

// One engine run in a fresh folder with the clock fixed. `prepare` may put
// files in the folder first (an input of its own, a folder blocking a file).
struct EngineRun {
    TempDir dir;
    std::unique_ptr<kova::engine::EngineState> st = std::make_unique<kova::engine::EngineState>();
    kova::RecordingMessages msgs;
    int code = -1;

    explicit EngineRun(const std::vector<std::string>& lines, int threads = 0,
                       const std::function<void(const std::filesystem::path&)>& prepare = {},
                       kova::engine::RunStamp stamp = {26, 12, 8, 9, 5, 7}) {
        if (!lines.empty()) WriteLines(dir.path / "CAL_TNK.DAT", lines);
        if (prepare) prepare(dir.path);
        kova::engine::RunOptions o;
        o.clock = [stamp] { return stamp; };
        o.threads = threads;
        code = kova::engine::run_calculation(dir.path, *st, msgs, o);
    }
    explicit EngineRun(const Input& in, int threads = 0) : EngineRun(in.Lines(), threads) {}
    // A run of a stored input file (under the test data folder).
    static std::function<void(const std::filesystem::path&)> Copy(const std::filesystem::path& input) {
        return [input](const std::filesystem::path& dir) {
            std::filesystem::copy_file(std::filesystem::path(KOVA_TEST_DATA) / input, dir / "CAL_TNK.DAT",
                                       std::filesystem::copy_options::overwrite_existing);
        };
    }
    bool Has(const std::string& name) const { return std::filesystem::exists(dir.path / name); }
    std::string Bytes(const std::string& name) const { return kova::test::ReadBytes(dir.path / name); }
};

// Clay with an e-logP curve through (P/10, e) points.
inline Layer Clay(std::vector<int> verts, double gamma, int method) {
    Layer l;
    l.verts = std::move(verts);
    l.gamma = gamma;
    l.method = method;
    l.elogp.pts = {{1, 2.0}, {10, 1.6}, {100, 1.2}};
    l.mv.pts = {{1, 0.02}, {100, 0.002}};
    l.cv.pts = {{1, 100}};
    return l;
}

}  // namespace enginetest
