#pragma once
// Hand-built engine states for the report writers, and readers of what they
// wrote.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/data.hpp"
#include "tests/engine/cal_builder.hpp"
#include "tests/support/viewer_grammar.hpp"

namespace reporttest {

using namespace kova::engine;
namespace ts = kova::testsupport;

struct State {
    enginetest::TempDir dir;
    std::unique_ptr<EngineState> st = std::make_unique<EngineState>();
    CalcInput& in() { return st->input; }

    State() {
        st->folder = dir.path;
        st->stamp = RunStamp{5, 12, 19, 14, 3, 7};
        in().UseSandImmediate = 1;
        in().UseCutPreload = 1;
        in().MvPMethod = 1;
        in().CvPMethod = 1;
    }

    int Node(double x, double y) {
        int n = ++in().node_count;
        in().nodes[n] = kova::engine::Node{x, y};
        return n;
    }
    template <class Rec>
    void Outline(Rec& r, const std::vector<std::pair<double, double>>& pts) {
        r.vertex_count = static_cast<i16>(pts.size());
        for (std::size_t k = 0; k < pts.size(); ++k) r.vertices[k] = Node(pts[k].first, pts[k].second);
    }
    SoilLayerRec& Soil(const std::vector<std::pair<double, double>>& pts, int kind = 0, int method = 0) {
        SoilLayerRec& s = in().soil[in().soil_count++];
        Outline(s, pts);
        s.soil_kind = static_cast<i16>(kind);
        s.method = static_cast<i16>(method);
        s.unit_weight = 16;
        s.beta = 1;
        return s;
    }
    LoadBlockRec& Block(const std::vector<std::pair<double, double>>& pts) {
        LoadBlockRec& b = in().blocks[in().block_count++];
        Outline(b, pts);
        b.unit_weight = 19;
        b.stage = 1;
        return b;
    }
    CutBlockRec& Cut(const std::vector<std::pair<double, double>>& pts) {
        CutBlockRec& c = in().cuts[in().cut_count++];
        Outline(c, pts);
        c.unit_weight = 18;
        return c;
    }
    void Position(double x, const std::string& name) {
        in().positions[in().position_count++] = CalcPoint{name, x, 0};
    }
    // A flat profile of no settlement with ground at y over [x0, x1).
    void FlatProfile(double x0, double x1, double y) {
        for (int i = 0; i < kProfileRows; ++i)
            st->profile[i] = ProfileRow{x0 + (x1 - x0) * 0.001 * i, y, 0};
    }

    std::filesystem::path Path(const std::string& name) const { return dir.path / name; }
    bool Exists(const std::string& name) const { return std::filesystem::exists(Path(name)); }

    ts::PageFile Page(const std::string& name) const {
        std::vector<std::string> errors;
        ts::PageFile p = ts::ParsePage(Path(name), ts::DateStyle::Engine, errors);
        EXPECT_TRUE(errors.empty()) << ts::JoinErrors(errors);
        return p;
    }
    ts::DrawingFile Drawing(const std::string& name) const {
        std::vector<std::string> errors;
        ts::DrawingFile d = ts::ParseDrawing(Path(name), ts::ExpectedSizeLine(name), false, errors);
        EXPECT_TRUE(errors.empty()) << ts::JoinErrors(errors);
        return d;
    }
};

// The form names of a page in order ("" for a drawing-only line), each with
// "+name" appended when it places a drawing.
inline std::vector<std::string> FormSequence(const ts::PageFile& p) {
    std::vector<std::string> out;
    for (const auto& f : p.forms) out.push_back(f.form + (f.drawing.empty() ? "" : "+" + f.drawing));
    return out;
}

inline std::vector<const ts::PageForm*> FormsNamed(const ts::PageFile& p, const std::string& form) {
    std::vector<const ts::PageForm*> out;
    for (const auto& f : p.forms)
        if (f.form == form) out.push_back(&f);
    return out;
}

inline std::string Field(const ts::PageForm& f, int n) {
    const std::string* v = f.FieldValue(n);
    return v ? *v : "<missing>";
}

}  // namespace reporttest
