#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <iterator>
#include <map>
#include <tuple>
#include <cmath>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "model/boundary.hpp"
#include "engine/data.hpp"
#include "engine/run.hpp"
#include "model/calcinput.hpp"
#include "model/dxf.hpp"
#include "model/projectfile.hpp"
#include "testing/fakes.hpp"
#include "model/trace.hpp"
#include "tests/model/rich_model.hpp"
#include "tests/support/tempdir.hpp"
#include "textio/cformat.hpp"
#include "textio/textfile.hpp"

namespace kova {
namespace {

namespace fs = std::filesystem;
using PT = std::pair<double, double>;
using LN = std::pair<int, int>;

// A DXF text built pair by pair, as CAD programs write it: the group code
// right-aligned in three columns, then the value.
struct Dxf {
    std::string text, eol = "\n";
    Dxf& P(int code, const std::string& value) {
        text += CFormat("%3d", code) + eol + value + eol;
        return *this;
    }
    Dxf& P(int code, double v) { return P(code, CFormat("%.17g", v)); }
    // The header, tables and blocks sections real drawings carry before the
    // entities; the header's $EXTMIN has 10/20/30 codes of its own.
    Dxf& Preamble() {
        P(0, "SECTION").P(2, "HEADER").P(9, "$ACADVER").P(1, "AC1009").P(9, "$EXTMIN").P(10, -999.0).P(20, -999.0);
        P(30, 0.0).P(0, "ENDSEC").P(0, "SECTION").P(2, "TABLES").P(0, "TABLE").P(2, "LAYER").P(70, "1").P(0, "LAYER");
        P(2, "0").P(70, "0").P(62, "7").P(0, "ENDTAB").P(0, "ENDSEC").P(0, "SECTION").P(2, "BLOCKS").P(0, "ENDSEC");
        return P(0, "SECTION").P(2, "ENTITIES");
    }
    Dxf& End() { return P(0, "ENDSEC").P(0, "EOF"); }
    Dxf& Line(double x1, double y1, double x2, double y2) {
        return P(0, "LINE").P(8, "0").P(10, x1).P(20, y1).P(30, 0.0).P(11, x2).P(21, y2).P(31, 0.0);
    }
    Dxf& Polyline(const std::vector<PT>& v, int flags = 0, bool z = true) {
        P(0, "POLYLINE").P(8, "0").P(66, "1").P(10, 0.0).P(20, 0.0).P(30, 0.0).P(70, std::to_string(flags));
        for (auto [x, y] : v) {
            P(0, "VERTEX").P(8, "0").P(10, x).P(20, y);
            if (z) P(30, 0.0);
        }
        return P(0, "SEQEND");
    }
    Dxf& LwPolyline(const std::vector<PT>& v, bool closed) {
        P(0, "LWPOLYLINE").P(100, "AcDbPolyline").P(90, std::to_string(v.size())).P(70, closed ? "1" : "0");
        for (auto [x, y] : v) P(10, x).P(20, y);
        return *this;
    }
};

// A drawing as CAD programs save it, in either generation of the format:
// R12 (POLYLINE and VERTEX, no subclass markers) or R2000 (LWPOLYLINE,
// handles, subclass markers). Entities go to the model, or into the block
// opened last.
struct Cad {
    bool r12 = false;
    std::string eol = "\n";
    int units = -1;  // $INSUNITS, not written when -1
    bool entitiesFirst = false;  // the entities section before the header, tables and blocks
    std::string layers, blocks, model, *to = &model;
    int handle = 0x100;

    Cad& P(int code, const std::string& v) {
        *to += CFormat("%3d", code) + eol + v + eol;
        return *this;
    }
    Cad& P(int code, double v) { return P(code, CFormat("%.17g", v)); }
    Cad& Head(const char* kind, const std::string& layer, bool paper, const char* subclass) {
        P(0, kind);
        if (!r12) P(5, CFormat("%X", handle++)).P(100, "AcDbEntity");
        if (paper) P(67, "1");
        P(8, layer);
        return r12 ? *this : P(100, subclass);
    }
    Cad& Extrusion(double z) { return z == 1 ? *this : P(210, 0.0).P(220, 0.0).P(230, z); }
    Cad& Layer(const std::string& name, int colour, int flags = 0) {
        to = &layers;
        Head("LAYER", "0", false, "AcDbLayerTableRecord").P(2, name).P(70, std::to_string(flags));
        P(62, std::to_string(colour)).to = &model;
        return *this;
    }
    Cad& Block(const std::string& name, double bx = 0, double by = 0) {
        to = &blocks;
        return Head("BLOCK", "0", false, "AcDbBlockBegin").P(2, name).P(70, "0").P(10, bx).P(20, by).P(30, 0.0);
    }
    Cad& EndBlock() {
        Head("ENDBLK", "0", false, "AcDbBlockEnd").to = &model;
        return *this;
    }
    Cad& Line(double x1, double y1, double x2, double y2, const std::string& layer = "0", bool paper = false) {
        return Head("LINE", layer, paper, "AcDbLine").P(10, x1).P(20, y1).P(30, 0.0).P(11, x2).P(21, y2).P(31, 0.0);
    }
    // Bulges by vertex (missing ones are 0).
    Cad& Poly(const std::vector<PT>& v, std::vector<double> bulge = {}, bool closed = false,
              const std::string& layer = "0", double extrusion = 1) {
        bulge.resize(v.size());
        if (r12) Head("POLYLINE", layer, false, "").P(66, "1").P(10, 0.0).P(20, 0.0).P(30, 0.0);
        else Head("LWPOLYLINE", layer, false, "AcDbPolyline").P(90, std::to_string(v.size()));
        P(70, closed ? "1" : "0").Extrusion(extrusion);
        for (std::size_t i = 0; i < v.size(); ++i) {
            if (r12) Head("VERTEX", layer, false, "");
            P(10, v[i].first).P(20, v[i].second);
            if (bulge[i] != 0) P(42, bulge[i]);
        }
        return r12 ? Head("SEQEND", layer, false, "") : *this;
    }
    // An arc from a0 to a1 degrees; a circle when both are missing.
    Cad& Arc(double cx, double cy, double r, double a0 = 0, double a1 = 0, double extrusion = 1) {
        const bool circle = a0 == a1;
        Head(circle ? "CIRCLE" : "ARC", "0", false, "AcDbCircle").P(10, cx).P(20, cy).P(30, 0.0).P(40, r);
        if (!circle) (r12 ? *this : P(100, "AcDbArc")).P(50, a0).P(51, a1);
        return Extrusion(extrusion);
    }
    Cad& Insert(const std::string& name, double x, double y, double scale = 1, double degrees = 0,
                const std::string& layer = "0", bool paper = false, int cols = 1, double colStep = 0,
                double extrusion = 1) {
        Head("INSERT", layer, paper, "AcDbBlockReference").P(2, name).P(10, x).P(20, y).P(30, 0.0);
        if (scale != 1) P(41, scale).P(42, scale).P(43, scale);
        if (degrees != 0) P(50, degrees);
        if (cols != 1) P(70, std::to_string(cols)).P(44, colStep);
        return Extrusion(extrusion);
    }
    // A dimension from (x1, 0) to (x2, 0) drawn at y, its rendered graphics
    // (dimension and extension lines, arrow heads) in *D1.
    Cad& Dimension(double x1, double x2, double y) {
        Block("*D1").Line(x1, y, x2, y).Line(x1, 0, x1, y + 1).Line(x2, 0, x2, y + 1);
        Line(x1, y, x1 + 2, y + 0.5).Line(x2, y, x2 - 2, y + 0.5).EndBlock();
        Head("DIMENSION", "DIM", false, "AcDbDimension").P(2, "*D1").P(10, x2).P(20, y).P(30, 0.0).P(70, "32");
        return P(13, x1).P(23, 0.0).P(14, x2).P(24, 0.0);
    }
    std::string Text() const {
        Cad out = *this;
        out.model.clear();
        out.to = &out.model;
        auto entities = [&] { out.P(0, "SECTION").P(2, "ENTITIES").model += model, out.P(0, "ENDSEC"); };
        if (entitiesFirst) entities();
        out.P(0, "SECTION").P(2, "HEADER").P(9, "$ACADVER").P(1, r12 ? "AC1009" : "AC1015");
        if (units >= 0) out.P(9, "$INSUNITS").P(70, std::to_string(units));
        out.P(0, "ENDSEC").P(0, "SECTION").P(2, "TABLES").P(0, "TABLE").P(2, "LAYER");
        out.model += layers;
        out.P(0, "ENDTAB").P(0, "ENDSEC").P(0, "SECTION").P(2, "BLOCKS").model += blocks;
        out.P(0, "ENDSEC");
        if (!entitiesFirst) entities();
        return out.P(0, "EOF").model;
    }
};

struct DxfTest : ::testing::Test {
    test::TempDir dir;
    std::unique_ptr<Model> m = std::make_unique<Model>();
    RecordingMessages ui;
    std::vector<std::string> status;

    void SetUp() override {
        // Data the import must replace.
        m->BndPtCount = 3;
        m->SoilLayerCount = 2;
        m->Cond.ProjectTitle = "old";
    }
    // The tests about geometry leave aside the sentences on the unit
    // converted or assumed and the extent landed; the table of summaries
    // keeps them.
    bool keepUnitNotes = false;
    DxfImport Import(const fs::path& p) {
        status.clear();
        const std::size_t before = ui.Count();
        const DxfImport r = ImportDxf(*m, KOVA_BIN_DIR, p, ui, [this](const std::string& s) { status.push_back(s); });
        auto dropFirst = [](std::string& t, const std::string& head, const char* tail) {
            if (t.rfind(head, 0) != 0) return;
            const std::size_t end = t.find(tail);
            if (end == std::string::npos) return;
            t.erase(0, end + std::strlen(tail));
            if (t.rfind("\r", 0) == 0) t.erase(0, 1);
        };
        for (std::size_t i = before; i < ui.shown.size() && !keepUnitNotes; ++i) {
            std::string& t = ui.shown[i].text;
            dropFirst(t, "図面に単位の指定がないため", "。");
            dropFirst(t, "図面の単位の", "をメートルに換算して取り込みました。");
            dropFirst(t, "取り込んだ範囲は幅", "。");
            if (t.empty()) ui.shown.erase(ui.shown.begin() + static_cast<std::ptrdiff_t>(i--));
        }
        return r;
    }
    DxfImport Import(const std::string& text) {
        test::WriteBytes(dir / "in.dxf", text);
        return Import(dir / "in.dxf");
    }
    // The drawing written as R12 (unless r2000Only) and as R2000, each with
    // LF and with CR LF line ends, imported; then check.
    void EachFlavour(const std::function<void(Cad&)>& draw, bool r2000Only, const std::function<void()>& check);
    PT Pt(int i) const { return {m->BndPt[i].X, m->BndPt[i].Y}; }
    LN Ln(int i) const { return {m->BndLine[i].pt1, m->BndLine[i].pt2}; }
    void ExpectUntouched() const {
        EXPECT_EQ(m->BndPtCount, 3);
        EXPECT_EQ(m->SoilLayerCount, 2);
        EXPECT_EQ(m->Cond.ProjectTitle, "old");
    }
};

TEST_F(DxfTest, EntitiesAsRealDrawingsHoldThem) {
    Dxf block;  // a line in a block definition comes in where its INSERT places it
    block.P(0, "SECTION").P(2, "BLOCKS").P(0, "BLOCK").P(2, "SYM").P(70, "0").P(10, 0.0).P(20, 0.0);
    block.Line(0, 0, 1, 0).P(0, "ENDBLK").P(0, "ENDSEC");
    block.P(0, "SECTION").P(2, "ENTITIES").P(0, "INSERT").P(2, "SYM").P(10, 50.0).P(20, 50.0).End();
    Dxf run;  // a vertex run without SEQEND ends at the next entity; a mesh is no lines
    run.Preamble().P(0, "POLYLINE").P(66, "1").P(70, "0").P(0, "VERTEX").P(10, 0.0).P(20, 0.0);
    run.P(0, "VERTEX").P(10, 1.0).P(20, 0.0).Line(7, 7, 8, 8).Polyline({{30, 30}, {31, 30}, {31, 31}}, 16).End();
    Dxf bad;  // a LINE without 21 never takes the next entity's; lower case is no LINE
    bad.Preamble().P(0, "LINE").P(10, 100.0).P(20, 100.0).P(11, 200.0).P(0, "POINT").P(10, 50.0).P(20, 50.0);
    bad.P(21, 60.0).Line(0, 0, 1, 1).P(0, "line").P(10, 5.0).P(20, 5.0).P(11, 6.0).P(21, 6.0).End();
    Dxf crlf;  // with other entities between the lines
    crlf.eol = "\r\n";
    crlf.Preamble().Line(0, 0, 10, 0).Line(10, 0, 10, -5).P(0, "POINT").P(10, 1.0).P(20, 2.0).P(30, 1.0);
    crlf.Line(10, -5, 0, 0).End();
    struct Case {
        const char* what;
        std::string text;
        int points, lines;
        std::vector<std::pair<int, PT>> pts;
        std::vector<std::pair<int, LN>> lns;
    } cases[] = {
        {"CR LF", crlf.text, 3, 3, {{1, {10, 0}}, {2, {10, -5}}}, {{0, {0, 1}}, {2, {2, 0}}}},  // start point first
        // (1, 0) and (1.00005, 0.00005) are 0.0000707 apart: one point;
        // (2, 0) and (2.0002, 0) are 0.0002 apart: two.
        {"merge", Dxf().Preamble().Line(0, 0, 1, 0).Line(1.00005, 0.00005, 2, 0).Line(2.0002, 0, 3, 0).End().text, 5, 3,
         {{3, {2.0002, 0}}}, {{1, {1, 2}}, {2, {3, 4}}}},
        {"polylines",
         Dxf().Preamble().Polyline({{0, 0}, {1, 0}, {1, 1}}).Polyline({{5, 0}, {6, 0}, {6, 1}}, 1, false)  // closed, no 30
             .LwPolyline({{10, 0}, {11, 0}, {11, 1}, {10, 1}}, true).LwPolyline({{20, 0}, {21, 0}}, false).End().text,
         12, 10, {{5, {6, 1}}}, {{4, {5, 3}}, {8, {9, 6}}}},  // closing segments
        {"vertex run", run.text, 4, 2, {{1, {1, 0}}, {2, {7, 7}}}, {}},
        {"malformed LINE", bad.text, 2, 1, {{1, {1, 1}}}, {}},
        {"zero length and repeats", Dxf().Preamble().Line(0, 0, 5, 0).Line(3, 3, 3, 3).Line(5, 0, 0, 0)
             .Line(0, 0, 5, 0.00001).Line(5, 0, 5, 5).End().text, 3, 2, {}, {{1, {1, 2}}}},
        {"block", block.text, 2, 1, {{0, {50, 50}}, {1, {51, 50}}}, {}},
        {"blanks around codes, LF",
         "0\nSECTION\n  2\nENTITIES\n0 \nLINE\n\t10\n 1.5\n 20\n-2.25 \n11\n3\n21\n4\n  0\nEOF\n\n", 2, 1,
         {{0, {1.5, -2.25}}, {1, {3, 4}}}, {}},
        {"an application's groups inside a LINE",
         Dxf().Preamble().P(0, "LINE").P(10, 1.0).P(20, 2.0).P(102, "{MYAPP").P(10, 99.0).P(20, 99.0).P(102, "}")
             .P(11, 3.0).P(21, 4.0).P(102, "{ACAD_REACTORS").P(330, "1F").P(21, 99.0).P(102, "}").End().text,
         2, 1, {{0, {1, 2}}, {1, {3, 4}}}, {}},
        {"old end-of-file character after EOF", Dxf().Preamble().Line(0, 0, 5, 0).End().text + "\x1a", 2, 1, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        ASSERT_EQ(Import(c.text), DxfImport::Imported);
        EXPECT_EQ(m->BndPtCount, c.points);
        EXPECT_EQ(m->BndLineCount, c.lines);
        EXPECT_EQ(m->CutLineCount, 0);
        EXPECT_EQ(m->SoilLayerCount, 0);  // the rest of the model is reset
        EXPECT_EQ(m->Cond.ProjectTitle, "");
        EXPECT_EQ(status.front(), "DXF読込み:1");  // counted as read
        for (auto [i, p] : c.pts) EXPECT_EQ(Pt(i), p) << i;
        for (auto [i, l] : c.lns) EXPECT_EQ(Ln(i), l) << i;
    }
    // The mesh and the kind nobody knows are told.
    ASSERT_EQ(ui.Count(), 2u);
    EXPECT_EQ(ui.shown[0].text, "次の図形は取り込んでいません（ポリゴンメッシュ1個）。");
    EXPECT_EQ(ui.shown[1].text, "次の図形は取り込んでいません（line1個）。");
}

constexpr double kPi = 3.14159265358979323846;

double Distance(PT p, PT a, PT b) {
    const double dx = b.first - a.first, dy = b.second - a.second;
    const double t = std::clamp(((p.first - a.first) * dx + (p.second - a.second) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(a.first + t * dx - p.first, a.second + t * dy - p.second);
}

// The segments of the model's boundary lines, each from its lower end.
using Seg = std::array<double, 4>;
std::vector<Seg> Segments(const Model& m) {
    std::vector<Seg> out;
    for (int i = 0; i < m.BndLineCount; ++i) {
        const BoundaryPoint& a = m.BndPt[m.BndLine[i].pt1];
        const BoundaryPoint& b = m.BndPt[m.BndLine[i].pt2];
        out.push_back(std::tie(a.X, a.Y) < std::tie(b.X, b.Y) ? Seg{a.X, a.Y, b.X, b.Y} : Seg{b.X, b.Y, a.X, a.Y});
    }
    std::sort(out.begin(), out.end());
    return out;
}

void DxfTest::EachFlavour(const std::function<void(Cad&)>& draw, bool r2000Only, const std::function<void()>& check) {
    for (bool r12 : {true, false})
        for (auto [eol, ends] : {std::pair{"\n", "LF"}, {"\r\n", "CR LF"}, {"\r", "CR"}})
            for (bool entitiesFirst : {false, true}) {
                if (r12 && r2000Only) continue;
                SCOPED_TRACE(std::string(r12 ? "R12, " : "R2000, ") + ends + (entitiesFirst ? ", entities first" : ""));
                Cad cad;
                cad.r12 = r12;
                cad.eol = eol;
                cad.entitiesFirst = entitiesFirst;
                draw(cad);
                ui.Clear();
                ASSERT_EQ(Import(cad.Text()), DxfImport::Imported);
                check();
            }
}

// Every case, in every flavour, gives these lines and no message.
TEST_F(DxfTest, WhatTheDrawingShowsInModelSpaceInMetres) {
    auto ground = [](Cad& c) { c.Line(-50, 0, 50, 0, "GROUND"); };
    // An embankment in block coordinates, its base point the left toe.
    auto embankment = [](Cad& c) { c.Block("EMB", 2, 0).Poly({{2, 0}, {6, 3}, {10, 3}, {14, 0}}).EndBlock(); };
    struct Case {
        const char* what;
        std::function<void(Cad&)> draw;
        std::vector<Seg> lines;
        bool r2000Only = false;
    } cases[] = {
        {"lines and polylines", [](Cad& c) { c.Line(0, 0, 10, 0).Poly({{10, 0}, {10, -5}, {0, -5}, {0, 0}}, {}, true); },
         {{0, -5, 0, 0}, {0, -5, 10, -5}, {0, 0, 10, 0}, {10, -5, 10, 0}}},
        {"a block inserted twice, once turned and scaled",
         [&](Cad& c) {
             embankment(c);
             c.Insert("EMB", 20, 0).Insert("EMB", -20, 0, 2, 90);
         },
         {{-26, 8, -20, 0}, {-26, 8, -26, 16}, {-26, 16, -20, 24}, {20, 0, 24, 3}, {24, 3, 28, 3}, {28, 3, 32, 0}},
         },
        {"nested blocks and a grid of references",
         [](Cad& c) {
             c.Block("PILE").Line(0, 0, 0, -10).EndBlock();
             c.Block("PAIR").Insert("PILE", 0, 0).Insert("PILE", 3, 0).EndBlock();
             c.Insert("PAIR", 50, 0, 1, 180).Insert("PILE", 60, 0, 1, 0, "0", false, 3, 5);
         },
         {{47, 0, 47, 10}, {50, 0, 50, 10}, {60, -10, 60, 0}, {65, -10, 65, 0}, {70, -10, 70, 0}}},
        {"dimension graphics", [&](Cad& c) {
             ground(c);
             c.Dimension(-50, 50, 8);
         }, {{-50, 0, 50, 0}}},
        {"paper space",
         [&](Cad& c) {
             ground(c);
             c.Block("TITLE").Line(0, 0, 180, 0).Line(0, 0, 0, 50).EndBlock();
             c.Block("*Paper_Space0").Line(0, 0, 100, 100).EndBlock();
             c.Line(0, 0, 420, 0, "FRAME", true).Line(420, 0, 420, 297, "FRAME", true);
             c.Insert("TITLE", 240, 0, 1, 0, "FRAME", true);
         },
         {{-50, 0, 50, 0}}},
        {"layers off and frozen",
         [&](Cad& c) {
             c.Layer("GROUND", 3).Layer("MEMO", -1).Layer("OLD", 5, 1).Layer("OldOff", -2, 1);
             ground(c);
             c.Line(0, 1, 5, 1, "MEMO").Line(0, 2, 5, 2, "old").Line(0, 3, 5, 3, "OLDOFF");
             // A reference on a layer that is off hides its layer-0 lines,
             // not those on a layer that is on; one on a frozen layer hides all.
             c.Block("MIX").Line(0, -1, 5, -1).Line(0, -2, 5, -2, "GROUND").EndBlock();
             c.Insert("MIX", 0, 0, 1, 0, "MEMO").Insert("MIX", 0, -10, 1, 0, "OLD");
         },
         {{-50, 0, 50, 0}, {0, -2, 5, -2}}},
        {"millimetres", [](Cad& c) {
             c.units = 4;
             c.Line(-20500, 0, 20500, -1250).Poly({{0, 0}, {0, -3500}});
         },
         {{-20.5, 0, 20.5, -1.25}, {0, -3.5, 0, 0}}, true},
        {"mirrored by the extrusion direction",
         [&](Cad& c) {
             embankment(c);
             c.Poly({{10, 0}, {20, 0}, {20, -5}}, {}, false, "0", -1).Line(30, 1, 40, 1).Extrusion(-1);  // a LINE is in world coordinates
             c.Insert("EMB", 50, 0, 1, 0, "0", false, 1, 0, -1);
         },
         {{-20, -5, -20, 0}, {-20, 0, -10, 0}, {-62, 0, -58, 3}, {-58, 3, -54, 3}, {-54, 3, -50, 0}, {30, 1, 40, 1}},
         },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EachFlavour(c.draw, c.r2000Only, [&] {
            std::vector<Seg> got = Segments(*m), want = c.lines;
            std::sort(want.begin(), want.end());
            ASSERT_EQ(got.size(), want.size());
            for (std::size_t i = 0; i < want.size(); ++i)
                for (int k = 0; k < 4; ++k) EXPECT_NEAR(got[i][k], want[i][k], 1e-9) << i;
            EXPECT_EQ(ui.Count(), 0u);
        });
    }
    // Millimetres become the very numbers typed in metres.
    Cad mm;
    mm.units = 4;
    mm.Line(-20500, 0, 12345, -1250);
    ASSERT_EQ(Import(mm.Text()), DxfImport::Imported);
    EXPECT_EQ(Pt(0), PT(-20.5, 0));
    EXPECT_EQ(Pt(1), PT(12.345, -1.25));
}

// Arcs, circles and arc segments of polylines become chords: their points on
// the curve, its ends kept, every chord within 0.01 m of the curve and no
// more chords than that needs; the user is told what was approximated.
TEST_F(DxfTest, CurvesBecomeChordsWithinACentimetre) {
    const double kTol = 0.01;
    struct Case {
        const char* what;
        std::function<void(Cad&)> draw;
        double cx, cy, r, sweep;  // the curve, in metres
        PT from, to, through;
        const char* notes;
        bool r2000Only = false;
    } cases[] = {
        {"bulge of a half circle, below its chord", [](Cad& c) { c.Poly({{0, 0}, {10, 0}}, {1}); }, 5, 0, 5, kPi,
         {0, 0}, {10, 0}, {5, -5}, "曲線を線分で近似して取り込みました（ポリラインの円弧1個）。"},
        {"bulge of a quarter turn the other way", [](Cad& c) { c.Poly({{0, 0}, {5, 5}, {20, 5}}, {-std::tan(kPi / 8)}); },
         5, 0, 5, kPi / 2, {0, 0}, {5, 5}, {5 - 5 * std::sqrt(0.5), 5 * std::sqrt(0.5)}, "曲線を線分で近似して取り込みました（ポリラインの円弧1個）。"},
        {"arc", [](Cad& c) { c.Arc(0, 0, 10, 0, 90); }, 0, 0, 10, kPi / 2, {10, 0}, {0, 10}, {10 * std::sqrt(0.5), 10 * std::sqrt(0.5)},
         "曲線を線分で近似して取り込みました（円弧1個）。"},
        {"arc of 500 m through 20 degrees", [](Cad& c) { c.Arc(0, 0, 500, 80, 100); }, 0, 0, 500, kPi / 9,
         {500 * std::cos(kPi * 4 / 9), 500 * std::sin(kPi * 4 / 9)}, {-500 * std::cos(kPi * 4 / 9), 500 * std::sin(kPi * 4 / 9)},
         {0, 500}, "曲線を線分で近似して取り込みました（円弧1個）。"},
        {"arc across 0 degrees", [](Cad& c) { c.Arc(0, 0, 30, 270, 45); }, 0, 0, 30, kPi * 3 / 4, {0, -30},
         {30 * std::sqrt(0.5), 30 * std::sqrt(0.5)}, {30, 0}, "曲線を線分で近似して取り込みました（円弧1個）。"},
        {"circle", [](Cad& c) { c.Arc(0, -30, 2); }, 0, -30, 2, 2 * kPi, {2, -30}, {2, -30}, {-2, -30},
         "曲線を線分で近似して取り込みました（円1個）。"},
        {"mirrored arc", [](Cad& c) { c.Arc(10, 0, 5, 0, 90, -1); }, -10, 0, 5, kPi / 2, {-15, 0}, {-10, 5},
         {-10 - 5 * std::sqrt(0.5), 5 * std::sqrt(0.5)},
         "曲線を線分で近似して取り込みました（円弧1個）。"},
        {"bulge in millimetres in a block",
         [](Cad& c) {
             c.units = 4;
             c.Block("B").Poly({{0, 0}, {10000, 0}}, {1}).EndBlock().Insert("B", 0, 0, 0.5);
         },
         2.5, 0, 2.5, kPi, {0, 0}, {5, 0}, {2.5, -2.5}, "曲線を線分で近似して取り込みました（ポリラインの円弧1個）。", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto onCurve = [&](PT p) { return std::fabs(std::hypot(p.first - c.cx, p.second - c.cy) - c.r) < 1e-9 * c.r; };
        auto at = [&](PT p, PT q) { return std::hypot(p.first - q.first, p.second - q.second) < 1e-9; };
        EachFlavour(c.draw, c.r2000Only, [&] {
            ASSERT_EQ(ui.Count(), 1u);
            EXPECT_EQ(ui.Last().text, c.notes);
            int onArc = 0, chords = 0, ends = 0;
            for (int i = 0; i < m->BndPtCount; ++i) {
                onArc += onCurve(Pt(i));
                ends += at(Pt(i), c.from) + (c.to != c.from && at(Pt(i), c.to));
            }
            EXPECT_EQ(ends, c.to == c.from ? 1 : 2);
            double nearest = 1e300;
            for (int i = 0; i < m->BndLineCount; ++i) {
                const PT a = Pt(Ln(i).first), b = Pt(Ln(i).second);
                if (!onCurve(a) || !onCurve(b)) continue;
                ++chords;
                EXPECT_LE(c.r - std::hypot((a.first + b.first) / 2 - c.cx, (a.second + b.second) / 2 - c.cy), kTol);
                nearest = std::min(nearest, Distance(c.through, a, b));
            }
            EXPECT_EQ(onArc, c.sweep > 6 ? chords : chords + 1);
            // One chord fewer would leave the tolerance; the arc runs the
            // way it was drawn, through its middle.
            ASSERT_GT(chords, 1);
            EXPECT_GT(c.r * (1 - std::cos(c.sweep / (chords - 1) / 2)), kTol);
            EXPECT_LE(nearest, kTol);
        });
    }
    // A circle of 1 km would need 703 chords: it gets the most a curve
    // gets, and the user is told.
    Cad big;
    big.Arc(0, 0, 1000);
    ui.Clear();
    ASSERT_EQ(Import(big.Text()), DxfImport::Imported);
    EXPECT_EQ(m->BndLineCount, kMaxDxfChords);
    EXPECT_EQ(ui.Last().text, "曲線を線分で近似して取り込みました（円1個）。\r線分の数が上限の360本に達したため、"
                              "0.01mを超えて離れた線分がある曲線があります（1個）。");
}

// One message counts, by kind, what was approximated and what left out, and
// names the points where more lines meet than the line tools allow.
TEST_F(DxfTest, OneMessageSaysWhatDiffersFromTheDrawing) {
    auto star = [](Cad& c, double x, int n) {
        for (int k = 0; k < n; ++k) c.Line(x, 0, x + std::cos(k * 0.3), std::sin(k * 0.3));
    };
    Cad all;
    all.Arc(0, 0, 10, 0, 90).Arc(0, 0, 20, 0, 90).Arc(50, -50, 1).Poly({{0, -5}, {10, -5}, {20, -5}}, {0.2, -0.3});
    all.Head("ELLIPSE", "0", false, "AcDbEllipse").P(10, 100.0).P(20, 0.0).P(30, 0.0).P(11, 4.0).P(21, 0.0);
    all.P(31, 0.0).P(40, 0.5).P(41, 0.0).P(42, 2 * kPi);
    all.Head("SPLINE", "0", false, "AcDbSpline").P(70, "8").P(71, "3").P(72, "8").P(73, "4");
    for (double k : {0, 0, 0, 0, 1, 1, 1, 1}) all.P(40, k);
    for (auto [x, y] : std::vector<PT>{{0, 30}, {5, 35}, {10, 30}, {15, 35}}) all.P(10, x).P(20, y).P(30, 0.0);
    star(all, 200, 10);
    star(all, 300, 12);
    star(all, 400, 9);
    ASSERT_EQ(Import(all.Text()), DxfImport::Imported);
    ASSERT_EQ(ui.Count(), 1u);
    const int centre1 = FindBndPt(*m, 200, 0, 0) + 1, centre2 = FindBndPt(*m, 300, 0, 0) + 1;
    EXPECT_EQ(ui.Last().text, "曲線を線分で近似して取り込みました（円弧2個、円1個、楕円1個、ポリラインの円弧2個）。\r"
                              "次の図形は取り込んでいません（スプライン1個）。\r"
                              "10本以上の線が接続する境界点があります（境界点" +
                                  std::to_string(centre1) + "、" + std::to_string(centre2) +
                                  "）。1つの境界点に接続できる線は9本までです。");
    EXPECT_EQ(ui.Last().icon, MsgIcon::Exclamation);
    // The ellipse's points lie on it, x²/16 + y²/4 = 1 about (100, 0).
    int onEllipse = 0;
    for (int i = 0; i < m->BndPtCount; ++i) {
        const double u = (Pt(i).first - 100) / 4, v = Pt(i).second / 2;
        if (std::fabs(u * u + v * v - 1) < 1e-9) ++onEllipse;
    }
    EXPECT_GE(onEllipse, 8);
    // Nothing comes of the spline.
    for (int i = 0; i < m->BndPtCount; ++i) EXPECT_FALSE(Pt(i).second > 29) << i;

}

TEST_F(DxfTest, FiveHundredPointsAndLines) {
    // A closed 500-gon fits without a message.
    std::vector<PT> v;
    for (int k = 0; k < 500; ++k) v.emplace_back(100 * std::cos(k * 0.01256), 100 * std::sin(k * 0.01256));
    EXPECT_EQ(Import(Dxf().Preamble().LwPolyline(v, true).End().text), DxfImport::Imported);
    EXPECT_EQ(ui.Count(), 0u);
    EXPECT_EQ(m->BndPtCount, 500);
    EXPECT_EQ(m->BndLineCount, 500);
    // The 501st point, and the 501st line (every pair of 33 points joined).
    v.clear();
    for (int k = 0; k < 501; ++k) v.emplace_back(k, k % 2);
    Dxf pairs;
    pairs.Preamble();
    for (int a = 0; a < 33; ++a)
        for (int b = a + 1; b < 33; ++b) pairs.Line(a, a * a, b, b * b);
    for (auto [text, points, lines] : {std::tuple{Dxf().Preamble().LwPolyline(v, false).End().text, 500, 499},
                                       std::tuple{pairs.End().text, 33, 500}}) {
        ui.Clear();
        EXPECT_EQ(Import(text), DxfImport::LimitReached);
        // Every pair of 33 points joined also puts 32 lines at each point.
        ASSERT_EQ(ui.Count(), points == 33 ? 2u : 1u);
        EXPECT_EQ(ui.shown.front().text, "要素数が500を超えました。");
        EXPECT_EQ(ui.shown.front().icon, MsgIcon::Exclamation);
        if (points == 33) {
            EXPECT_EQ(ui.Last().text.rfind("10本以上の線が接続する境界点があります（境界点1、2、3、4、5 ほか", 0), 0u);
        }
        EXPECT_EQ(m->BndPtCount, points);
        EXPECT_EQ(m->BndLineCount, lines);
    }
    std::set<LN> seen;
    for (int i = 0; i < 500; ++i) EXPECT_TRUE(seen.insert(Ln(i)).second);
}

// Block references nested ten deep, ten copies each: the expansion ends
// soon, and the drawing, which did not come in whole, is refused whole.
TEST_F(DxfTest, ReferencesNestedBeyondAnySectionEndSoon) {
    for (auto [lines, cap] : {std::pair{true, "線分100000本"}, {false, "図形1000000個"}}) {
        SCOPED_TRACE(lines ? "lines" : "texts");
        Cad c;
        c.Block("B0");
        if (lines) c.Line(0, 0, 0.5, 0.25);
        else c.Head("TEXT", "0", false, "AcDbText").P(10, 0.0).P(20, 0.0).P(40, 1.0).P(1, "x");
        c.EndBlock();
        for (int k = 1; k <= 10; ++k)
            c.Block("B" + std::to_string(k)).Insert("B" + std::to_string(k - 1), 0, 0, 1, 0, "0", false, 10, std::pow(10, k - 1)).EndBlock();
        c.Line(-1, -1, -2, -2).Insert("B10", 0, 0).Line(5, 5, 6, 6);
        ui.Clear();
        EXPECT_EQ(Import(c.Text()), DxfImport::ReadError);
        ASSERT_EQ(ui.Count(), 1u);
        EXPECT_EQ(ui.Last().text, std::string("ブロック参照の展開が上限（") + cap + "）を超えたため、図面を取り込みませんでした。");
        EXPECT_EQ(status.back(), "");  // no count of what did not land
        ExpectUntouched();
    }
}

TEST_F(DxfTest, UnreadableOrEmptyFilesLeaveTheModelAsItWas) {
    const char* kReadError = "ファイル読み込みエラーが発生しました。";
    const char* kNothing = "DXFファイルに取り込める線分がありません。";
    struct Case {
        const char* what;
        std::string text;
        DxfImport result;
        const char* msg;
    } cases[] = {
        {"plain text", "This is a letter,\nnot a drawing.\n", DxfImport::ReadError, kReadError},
        {"coordinate not a number", Dxf().Preamble().Line(0, 0, 1, 1).P(0, "LINE").P(10, "abc").P(20, "0").End().text,
         DxfImport::ReadError, kReadError},
        {"code without value", "  0\nSECTION\n  2\n", DxfImport::ReadError, kReadError},
        {"binary DXF", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22), DxfImport::ReadError,
         "バイナリ形式のDXFファイルは読み込めません。ASCII形式のDXFファイルとして保存し直してください。"},
        // Cut inside the last coordinate (21 of 40 read as 4), or junk after the end.
        {"cut", [] {
             std::string t = Dxf().Preamble().P(0, "LINE").P(10, 0.0).P(20, 0.0).P(11, 10.0).P(21, 40.0).text;
             return t.substr(0, t.size() - 2);
         }(),
         DxfImport::ReadError, kReadError},
        {"junk after EOF", Dxf().Preamble().Line(0, 0, 10, 40).End().text + "  0\nLINE\n", DxfImport::ReadError,
         kReadError},
        // A point the project file could not hold: saved, it would not open again.
        {"abscissa of 1e154", Dxf().Preamble().Line(0, 0, 1e154, 1).End().text, DxfImport::ReadError,
         "X座標(m)が-10000000～10000000の範囲にありません。"},
        {"elevation of -2e6", Dxf().Preamble().Line(0, -2e6, 10, 1).End().text, DxfImport::ReadError,
         "Y座標(m)が-1000000～1000000の範囲にありません。"},
        {"empty", "", DxfImport::NothingImported, kNothing},
        {"no lines", Dxf().Preamble().P(0, "POINT").P(10, 0.0).P(20, 0.0).P(30, 1.0).End().text,
         DxfImport::NothingImported, kNothing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ui.Clear();
        EXPECT_EQ(Import(c.text), c.result);
        ASSERT_EQ(ui.Count(), 1u);
        EXPECT_EQ(ui.Last().text, c.msg);
        EXPECT_EQ(ui.Last().icon, MsgIcon::Exclamation);
        ExpectUntouched();
    }
    ui.Clear();
    EXPECT_EQ(Import(dir / "missing.dxf"), DxfImport::ReadError);
    EXPECT_EQ(ui.Last().text, kReadError);  // a missing file: the message alone
    EXPECT_EQ(Import(dir.path()), DxfImport::ReadError);
    EXPECT_EQ(ui.Last().text, std::string(kReadError) + "\r" + dir.path().filename().string() +
                                  "が通常のファイルではありません（フォルダーや特殊なファイルです）。");
    EXPECT_EQ(ui.Count(), 2u);
    ExpectUntouched();
}

// Drawings of other writers (tests/data/dxf/make_writer_files.sh) land
// where their headers put them, within 0.01 m: inches for the GIS
// converter's header, metres taken for the unit-less PostScript one, whose
// numbers are millimetres.
TEST_F(DxfTest, DrawingsOfOtherWritersLandWhereTheirHeaderSays) {
    const double in = 0.0254, pt = 25.4 / 72;
    struct Case {
        const char* file;
        int points, lines;
        std::vector<PT> drawn;  // metres, as the header makes them
    } cases[] = {
        {"gdal_section.dxf", 8, 6,
         {{-30 * in, 0}, {-10 * in, 0}, {-4 * in, 3 * in}, {4 * in, 3 * in}, {10 * in, 0}, {30 * in, 0},
          {-30 * in, -6 * in}, {30 * in, -6 * in}}},
        {"pstoedit_mm.dxf", 8, 6,
         {{100 * pt, 300 * pt}, {250 * pt, 300 * pt}, {300 * pt, 413.39 * pt}, {350 * pt, 413.39 * pt},
          {400 * pt, 300 * pt}, {650 * pt, 300 * pt}, {100 * pt, 200 * pt}, {650 * pt, 200 * pt}}},
        {"dxflib_mm.dxf", 8, 6,
         {{-20, 0}, {-7.5, 0}, {-2.5, 2.5}, {2.5, 2.5}, {7.5, 0}, {20, 0}, {-20, -5.25}, {20, -5.25}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_EQ(Import(fs::path(KOVA_TEST_DATA) / "dxf" / c.file), DxfImport::Imported);
        EXPECT_EQ(m->BndPtCount, c.points);
        EXPECT_EQ(m->BndLineCount, c.lines);
        for (auto [x, y] : c.drawn) EXPECT_GE(FindBndPt(*m, x, y, 0.01), 0) << x << ", " << y;
    }
}

// What the user is told of each drawing, whole: the unit converted (every
// length $INSUNITS names, with its factor) or assumed, and the extent that
// landed; the kinds left out, also when nothing landed; the reason of
// every refusal. A drawing stated in metres that lands whole is not told.
TEST_F(DxfTest, EveryImportSaysWhatItDid) {
    keepUnitNotes = true;
    const fs::path lib = fs::path(KOVA_TEST_DATA) / "dxf";
    auto drawn = [](int units) {  // 400 x 100 drawing units
        Cad c;
        c.units = units;
        return c.Line(0, 0, 400, -100).Text();
    };
    auto converted = [](const std::string& unit, const std::string& w, const std::string& h) {
        return "図面の単位の" + unit + "をメートルに換算して取り込みました。\r取り込んだ範囲は幅" + w + "m×高さ" + h +
               "mです。";
    };
    const std::string kAssumed = "図面に単位の指定がないため、メートルとして取り込みました。\r";
    const std::string kNothing = "DXFファイルに取り込める線分がありません。";
    const std::string kOutX = "X座標(m)が-10000000～10000000の範囲にありません。";
    const std::string kOutY = "Y座標(m)が-1000000～1000000の範囲にありません。";
    Cad bomb;  // twelve levels of ten references each
    bomb.Block("B0").Line(0, 0, 1, 0).EndBlock();
    for (int k = 1; k <= 12; ++k)
        bomb.Block("B" + std::to_string(k)).Insert("B" + std::to_string(k - 1), 0, 0, 1, 0, "0", false, 10, 2).EndBlock();
    bomb.Line(-1, -1, -2, -2).Insert("B12", 0, 0).Line(5, 5, 6, 6);
    Dxf sphere;
    sphere.Preamble();
    for (int i = 0; i < 32; ++i)
        sphere.P(0, "3DFACE").P(8, "0").P(10, 0.0).P(20, 0.0).P(30, 1.0).P(11, 1.0).P(21, 0.0).P(31, 0.0).P(12, 0.0)
            .P(22, 1.0).P(32, 0.0).P(13, 0.0).P(23, 1.0).P(33, 0.0);
    Cad hatched;
    hatched.units = 4;
    hatched.Line(0, 0, 2000, 0).Head("HATCH", "0", false, "AcDbHatch").P(2, "SOLID");
    Cad survey;  // a grid in metres: northings of millions
    survey.units = 6;
    survey.Line(500000, 3700010, 500060, 3700010);
    struct Case {
        std::string what, text;
        DxfImport result;
        std::string said;  // every message, CR between them; empty: none
    } cases[] = {
        {"GDAL section, inches declared", test::ReadBytes(lib / "gdal_section.dxf"), DxfImport::Imported,
         converted("インチ（0.0254m）", "1.524", "0.229")},
        {"GDAL polygons only", test::ReadBytes(lib / "gdal_polygons.dxf"), DxfImport::NothingImported,
         kNothing + "\r次の図形は取り込んでいません（ハッチング3個）。"},
        {"pstoedit -mm, no units", test::ReadBytes(lib / "pstoedit_mm.dxf"), DxfImport::Imported,
         kAssumed + "取り込んだ範囲は幅194.028m×高さ75.279mです。"},
        {"dxflib, millimetres", test::ReadBytes(lib / "dxflib_mm.dxf"), DxfImport::Imported,
         converted("ミリメートル（0.001m）", "40", "7.75")},
        {"binary", test::ReadBytes(lib / "ezdxf_binary.dxf"), DxfImport::ReadError,
         "バイナリ形式のDXFファイルは読み込めません。ASCII形式のDXFファイルとして保存し直してください。"},
        {"no $INSUNITS", drawn(-1), DxfImport::Imported, kAssumed + "取り込んだ範囲は幅400m×高さ100mです。"},
        {"unitless", drawn(0), DxfImport::Imported, kAssumed + "取り込んだ範囲は幅400m×高さ100mです。"},
        {"metres", drawn(6), DxfImport::Imported, ""},
        {"no length", drawn(99), DxfImport::Imported,
         "図面の単位（$INSUNITS=99）が長さの単位ではないため、メートルとして取り込みました。\r"
         "取り込んだ範囲は幅400m×高さ100mです。"},
        {"inches", drawn(1), DxfImport::Imported, converted("インチ（0.0254m）", "10.16", "2.54")},
        {"feet", drawn(2), DxfImport::Imported, converted("フィート（0.3048m）", "121.92", "30.48")},
        {"miles", drawn(3), DxfImport::Imported, converted("マイル（1609.344m）", "643737.6", "160934.4")},
        {"millimetres", drawn(4), DxfImport::Imported, converted("ミリメートル（0.001m）", "0.4", "0.1")},
        {"centimetres", drawn(5), DxfImport::Imported, converted("センチメートル（0.01m）", "4", "1")},
        {"kilometres", drawn(7), DxfImport::Imported, converted("キロメートル（1000m）", "400000", "100000")},
        // Shorter than the merge distance once in metres: nothing lands.
        {"microinches", drawn(8), DxfImport::NothingImported, kNothing},
        {"mils", drawn(9), DxfImport::Imported, converted("ミル（0.0000254m）", "0.0102", "0.00254")},
        {"yards", drawn(10), DxfImport::Imported, converted("ヤード（0.9144m）", "365.76", "91.44")},
        {"angstroms", drawn(11), DxfImport::NothingImported, kNothing},
        {"nanometres", drawn(12), DxfImport::NothingImported, kNothing},
        {"micrometres", drawn(13), DxfImport::Imported, converted("マイクロメートル（0.000001m）", "0.0004", "0.0001")},
        {"decimetres", drawn(14), DxfImport::Imported, converted("デシメートル（0.1m）", "40", "10")},
        {"decametres", drawn(15), DxfImport::Imported, converted("デカメートル（10m）", "4000", "1000")},
        {"hectometres", drawn(16), DxfImport::Imported, converted("ヘクトメートル（100m）", "40000", "10000")},
        {"gigametres", drawn(17), DxfImport::ReadError, kOutX},
        {"astronomical units", drawn(18), DxfImport::ReadError, kOutX},
        {"light years", drawn(19), DxfImport::ReadError, kOutX},
        {"parsecs", drawn(20), DxfImport::ReadError, kOutX},
        {"US survey feet", drawn(21), DxfImport::Imported, converted("米国測量フィート（0.3048006096m）", "121.92", "30.48")},
        {"US survey inches", drawn(22), DxfImport::Imported, converted("米国測量インチ（0.0254000508m）", "10.16", "2.54")},
        {"US survey yards", drawn(23), DxfImport::Imported,
         converted("米国測量ヤード（0.9144018288m）", "365.761", "91.44")},
        {"US survey miles", drawn(24), DxfImport::Imported,
         converted("米国測量マイル（1609.347219m）", "643738.887", "160934.722")},
        {"a kind left out, millimetres", hatched.Text(), DxfImport::Imported,
         converted("ミリメートル（0.001m）", "2", "0") + "\r次の図形は取り込んでいません（ハッチング1個）。"},
        {"faces only", sphere.End().text, DxfImport::NothingImported,
         kNothing + "\r次の図形は取り込んでいません（3D面32個）。"},
        {"survey grid in metres", survey.Text(), DxfImport::ReadError, kOutY},
        {"references past the cap", bomb.Text(), DxfImport::ReadError,
         "ブロック参照の展開が上限（線分100000本）を超えたため、図面を取り込みませんでした。"},
        {"not a drawing", "this is no drawing\n", DxfImport::ReadError, "ファイル読み込みエラーが発生しました。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui.Clear();
        EXPECT_EQ(Import(c.text), c.result);
        std::string said;
        for (const Message& msg : ui.shown) said += (said.empty() ? "" : "\r") + msg.text;
        EXPECT_EQ(said, c.said);
    }
}

// Drawings written by python3-ezdxf (tests/data/dxf/make_ezdxf_sections.py).
TEST_F(DxfTest, DrawingsWrittenByEzdxf) {
    struct Case {
        const char* file;
        int segments, points, lines;
        int first;  // the first point of the ground surface
        const char* notes;
    } cases[] = {
        // Surface 7, embankment 3, notch top 1, sides 2, layer line 1,
        // closed lower layer 4 (its top repeats the layer line), the circle
        // in 32 chords, the arc in 10, and the block's line where its
        // INSERT places it.
        {"section_r2000.dxf", 61, 59, 60, 0, "曲線を線分で近似して取り込みました（円弧1個、円1個）。"},
        // The same without arc and block, the layer line drawn once as a LINE.
        {"section_r12.dxf", 50, 46, 49, 0, "曲線を線分で近似して取り込みました（円1個）。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        ui.Clear();
        EXPECT_EQ(Import(fs::path(KOVA_TEST_DATA) / "dxf" / c.file), DxfImport::Imported);
        ASSERT_EQ(ui.Count(), 1u);
        EXPECT_EQ(ui.Last().text, c.notes);
        EXPECT_EQ(status.back(), "DXF読込み:" + std::to_string(c.segments));
        EXPECT_EQ(m->BndPtCount, c.points);
        EXPECT_EQ(m->BndLineCount, c.lines);
        EXPECT_EQ(Pt(c.first), PT(-50.5, 0));
        EXPECT_EQ(Pt(c.first + 8), PT(-4.9, 5.3333333333333));
    }
}

// The drawings of make_ezdxf_units.py, each with the library's full default
// header: every point lands where the drawing puts it, in metres (R12 has no
// $INSUNITS: its numbers are metres), the arc's chords within 0.01 m of it
// after the unit is applied, and one chord fewer would not be.
TEST_F(DxfTest, EveryVersionAndUnitOfACadLibraryLandsInMetres) {
    const std::vector<PT> drawn = {{-40.25, 0},   {-12.5, 0}, {-4.125, 3.5},   {4.125, 3.5},
                                   {12.5, 0},     {40.25, 0}, {-40.25, -8.75}, {40.25, -8.75}};
    const PT centre{0, -40};
    const double radius = 30, sweep = kPi / 9;
    for (const char* version : {"r12", "r2000", "r2010", "r2018"})
        for (auto [unit, perMetre] : {std::pair{"mm", 1000.0}, {"cm", 100.0}, {"ft", 1 / 0.3048}, {"m", 1.0}}) {
            const std::string file = std::string("units_") + version + "_" + unit + ".dxf";
            SCOPED_TRACE(file);
            ui.Clear();
            ASSERT_EQ(Import(fs::path(KOVA_TEST_DATA) / "dxf" / file), DxfImport::Imported);
            const double k = std::string(version) == "r12" ? perMetre : 1;  // metres landed per metre drawn
            for (auto [x, y] : drawn) EXPECT_GE(FindBndPt(*m, x * k, y * k, 1e-9 * k), 0) << x << ", " << y;
            int onArc = 0;
            for (int i = 0; i < m->BndPtCount; ++i)
                onArc += std::fabs(std::hypot(Pt(i).first - centre.first * k, Pt(i).second - centre.second * k) -
                                   radius * k) < 1e-9 * k;
            EXPECT_EQ(onArc + static_cast<int>(drawn.size()), m->BndPtCount);
            const int chords = onArc - 1;
            ASSERT_GT(chords, 1);
            EXPECT_LE(radius * k * (1 - std::cos(sweep / chords / 2)), 0.01);
            EXPECT_GT(radius * k * (1 - std::cos(sweep / (chords - 1) / 2)), 0.01);
            EXPECT_EQ(m->BndLineCount, 5 + 1 + chords);  // no dimension line
            ASSERT_EQ(ui.Count(), 1u);
            EXPECT_EQ(ui.Last().text, "曲線を線分で近似して取り込みました（円弧1個）。");
        }
}

// Every kind of entity a CAD library writes that the import does not take
// is named once, counted; annotation is not; a multiline comes in as its
// element lines (ezdxf's own rendering: (0, 20)-(10, 20)-(10, 25) and
// (0, 19)-(11, 19)-(11, 25)).
TEST_F(DxfTest, EveryKindLeftOutIsNamed) {
    ASSERT_EQ(Import(fs::path(KOVA_TEST_DATA) / "dxf" / "left_out.dxf"), DxfImport::Imported);
    ASSERT_EQ(ui.Count(), 1u);
    EXPECT_EQ(ui.Last().text, "次の図形は取り込んでいません（3D面1個、引出線1個、構築線1個、放射線1個、"
                              "ポリフェースメッシュ1個、ポリゴンメッシュ1個、2D塗り潰し1個、太線2個、ハッチング1個、"
                              "スプライン1個、ワイプアウト1個）。");
    std::vector<Seg> got = Segments(*m);
    for (Seg& g : got)
        for (double& v : g) v = std::round(v * 1e9) / 1e9;  // the miter's cosine of 90 degrees is 6e-17
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (std::vector<Seg>{{0, 0, 10, 0}, {0, 19, 11, 19}, {0, 20, 10, 20}, {10, 20, 10, 25}, {11, 19, 11, 25}}));
    // A unit the format does not list is told, and the drawing taken as metres.
    Cad odd;
    odd.units = 99;
    odd.Line(0, 0, 3, 4);
    ui.Clear();
    ASSERT_EQ(Import(odd.Text()), DxfImport::Imported);
    EXPECT_EQ(Pt(1), PT(3, 4));
    keepUnitNotes = true;
    ASSERT_EQ(Import(odd.Text()), DxfImport::Imported);
    keepUnitNotes = false;
    EXPECT_EQ(ui.Last().text, "図面の単位（$INSUNITS=99）が長さの単位ではないため、メートルとして取り込みました。\r"
                              "取り込んだ範囲は幅3m×高さ4mです。");
}

// A drawing, its blocks traced, saved, opened again and written as the
// calculation input: vertices and points go through the same 15-digit form,
// so every vertex still finds its point exactly.
struct EndToEnd : DxfTest {
    ProgramState ps;

    void SetUp() override {
        DxfTest::SetUp();
        ps.AppPath = dir.path();
        fs::copy_file(fs::path(KOVA_BIN_DIR) / "BKHough1.CSV", dir / "BKHough1.CSV");
    }
    // The block tools' tracing: a soil layer (mode 6) or an embankment.
    void Click(int mode, double x, double y) {
        const Region r = OutlineAround(*m, m->BndLine, m->BndLineCount, x, y);
        ASSERT_EQ(r.end, RegionEnd::Closed);
        ASSERT_TRUE(mode == 6 ? AddBlock(*m, kKindSoilLayer, x, y, r.outline) : AddBlock(*m, kKindEmbankment, x, y, r.outline));
    }
    // Saves, opens into a fresh model and writes CAL_TNK.DAT; the point
    // numbers on its lines with the label.
    std::multiset<int> SaveOpenAndWrite(const std::string& label) {
        EXPECT_EQ(WriteCondFile(*m, ps, (dir / "section").string(), 0, ui), 0);
        auto reopened = std::make_unique<Model>();
        EXPECT_TRUE(ReadCondFile(*reopened, ps, dir / "section.kov", ui));
        EXPECT_TRUE(WriteCalcInput(*reopened, dir.path(), ui));
        EXPECT_EQ(ui.Count(), 0u);
        std::multiset<int> out;
        for (const std::string& l : ReadCp932Lines(dir / "CAL_TNK.DAT"))
            if (l.find("\"" + label + "\"") != std::string::npos) out.insert(std::stoi(l.substr(l.find(',') + 1)));
        return out;
    }
};

TEST_F(EndToEnd, SeventeenDigitCoordinates) {
    // An embankment G-E-F-H on the surface A-B of a layer A-B-C-D.
    const double xa = -10.000000000000002, xb = 10.123456789012345, y0 = 0.30000000000000004;
    const double yb = -7.777777777777777, xg = -6.6666666666666667, xh = 6.666666666666667;
    const double xe = -3.3333333333333335, xf = 3.3333333333333335, yt = 4.1;
    Dxf d;
    d.Preamble().Line(xa, y0, xg, y0).Line(xg, y0, xh, y0).Line(xh, y0, xb, y0);  // A G H B
    d.Line(xg, y0, xe, yt).Line(xe, yt, xf, yt).Line(xf, yt, xh, y0);              // E F
    d.Line(xb, y0, xb, yb).Line(xb, yb, xa, yb).Line(xa, yb, xa, y0).End();        // C D
    ASSERT_EQ(Import(d.text), DxfImport::Imported);
    ASSERT_EQ(m->BndPtCount, 8);
    Click(6, 0, -3);
    Click(5, 0, 2);
    ASSERT_EQ(m->SoilLayerCount, 1);
    ASSERT_EQ(m->EmbankmentCount, 1);
    // Points by first appearance: A 1, G 2, H 3, B 4, E 5, F 6, C 7, D 8.
    EXPECT_EQ(SaveOpenAndWrite("土層構成点番号"), (std::multiset<int>{1, 2, 3, 4, 7, 8}));
    EXPECT_EQ(SaveOpenAndWrite("盛土構成点番号"), (std::multiset<int>{2, 3, 5, 6}));
}

TEST_F(EndToEnd, EzdxfSection) {
    ASSERT_EQ(Import(fs::path(KOVA_TEST_DATA) / "dxf" / "section_r12.dxf"), DxfImport::Imported);
    ui.Clear();  // told that the circle came in as chords
    Click(6, 0, -5);   // upper layer, under embankment and notch
    Click(6, 0, -15);  // lower layer
    Click(5, 0, 2);    // embankment
    ASSERT_EQ(m->SoilLayerCount, 2);
    ASSERT_EQ(m->EmbankmentCount, 1);
    // The upper layer runs over the 8 surface points and the 2 ends of the
    // layer line (points 11 and 12); the lower layer over those 2 and the 2
    // base points; the embankment over 2 surface and 2 crown points.
    EXPECT_EQ(SaveOpenAndWrite("土層構成点番号"), (std::multiset<int>{1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 11, 12, 13, 14}));
    EXPECT_EQ(SaveOpenAndWrite("盛土構成点番号"), (std::multiset<int>{2, 3, 9, 10}));
}

namespace e2e {

// A road section as drawn in CAD, in millimetres: ground, layer lines and
// sides on their layers, one embankment block inserted twice, a dimension,
// a construction line on a frozen layer, a note on a layer that is off and
// a title block with the sheet border in paper space.
std::string CadSection() {
    Cad c;
    c.units = 4;
    c.Layer("GROUND", 3).Layer("SOIL", 2).Layer("DIM", 1).Layer("CONSTR", 8, 1).Layer("MEMO", -4).Layer("SHEET", 7);
    c.Block("EMB").Poly({{0, 0}, {4000, 3000}, {10000, 3000}, {14000, 0}}).EndBlock();
    c.Block("TITLE").Line(0, 0, 180, 0).Line(180, 0, 180, 40).Line(0, 40, 180, 40).EndBlock();
    c.Poly({{-50000, 0}, {-30000, 0}, {-16000, 0}, {10000, 0}, {24000, 0}, {50000, 0}}, {}, false, "GROUND");
    c.Line(-50000, -6000, 50000, -6000, "SOIL").Poly({{-50000, 0}, {-50000, -6000}, {-50000, -15000}}, {}, false, "SOIL");
    c.Poly({{50000, 0}, {50000, -6000}, {50000, -15000}}, {}, false, "SOIL").Line(-50000, -15000, 50000, -15000, "SOIL");
    c.Dimension(-30000, -16000, 6000);
    c.Line(-60000, -3000, 60000, 4000, "CONSTR").Line(0, 8000, 20000, 8000, "MEMO");
    c.Insert("EMB", -30000, 0, 1, 0, "GROUND").Insert("EMB", 10000, 0, 1, 0, "GROUND");
    c.Line(0, 0, 420, 0, "SHEET", true).Line(420, 0, 420, 297, "SHEET", true).Insert("TITLE", 240, 0, 1, 0, "SHEET", true);
    return c.Text();
}

// The same section typed in by hand in metres, line by line.
std::string HandSection() {
    Cad c;
    c.Poly({{-50, 0}, {-30, 0}, {-16, 0}, {10, 0}, {24, 0}, {50, 0}});
    c.Line(-50, -6, 50, -6).Line(-50, 0, -50, -6).Line(-50, -6, -50, -15).Line(50, 0, 50, -6).Line(50, -6, 50, -15);
    c.Line(-50, -15, 50, -15);
    c.Poly({{-30, 0}, {-26, 3}, {-20, 3}, {-16, 0}}).Poly({{10, 0}, {14, 3}, {20, 3}, {24, 0}});
    return c.Text();
}

}  // namespace e2e

// Imported, traced and calculated, the CAD drawing gives the section, the
// calculation input and the results of the section typed in by hand.
TEST_F(EndToEnd, CadDrawingCalculatesAsTheSectionTypedInByHand) {
    // The drawings of make_ezdxf_units.py carry the library's full header.
    const fs::path lib = fs::path(KOVA_TEST_DATA) / "dxf";
    const std::pair<const char*, std::string> drawings[] = {
        {"CAD", e2e::CadSection()},
        {"by hand", e2e::HandSection()},
        {"CAD library, mm", test::ReadBytes(lib / "cad_section_mm.dxf")},
        {"CAD library, m", test::ReadBytes(lib / "cad_section_m.dxf")},
    };
    std::map<std::string, std::string> out[std::size(drawings)];
    int points = 0;
    for (std::size_t k = 0; k < std::size(drawings); ++k) {
        SCOPED_TRACE(drawings[k].first);
        ui.Clear();
        ASSERT_EQ(Import(drawings[k].second), DxfImport::Imported);
        EXPECT_EQ(ui.Count(), 0u);
        ASSERT_EQ(m->BndLineCount, 17);
        if (k == 0) points = m->BndPtCount;
        ASSERT_EQ(m->BndPtCount, points);
        Click(6, 0, -3);
        Click(6, 0, -10);
        Click(5, -23, 1);
        Click(5, 17, 1);
        ASSERT_EQ(m->SoilLayerCount, 2);
        ASSERT_EQ(m->EmbankmentCount, 2);
        for (int i = 0; i < 2; ++i) {
            const auto s = static_cast<std::size_t>(i);
            m->SoilParam[s] = SoilParamRec{};
            m->SoilLayer[s].UnitWeight = 15 + i;
            test::SetCurve(m->ELogPCurve[s], {{1, 2.4}, {4, 2.15}, {16, 1.7}, {64, 1.3}});
            test::SetCurve(m->CvCurve[s], {{1, 100}});
            m->Embankment[s].UnitWeight = 19;
            m->Embankment[s].Stage = static_cast<i16>(i + 1);
        }
        m->StageDays[0] = 30;
        m->StageDays[1] = 60;
        m->CalcPosCount = 3;
        m->Cond.CalcPosName = {"No.1", "No.2", "No.3"};
        m->Cond.CalcPosX = {-23, 0, 17};
        const fs::path run = dir / ("run" + std::to_string(k));
        fs::create_directories(run);
        ASSERT_TRUE(WriteCalcInput(*m, run, ui));
        auto st = std::make_unique<engine::EngineState>();
        engine::RunOptions o;
        o.clock = [] { return engine::RunStamp{26, 12, 8, 9, 5, 7}; };
        ASSERT_EQ(engine::run_calculation(run, *st, ui, o), 0);
        EXPECT_EQ(ui.Count(), 0u) << ui.Last().text;
        for (const auto& f : fs::directory_iterator(run)) out[k][f.path().filename().string()] = test::ReadBytes(f.path());
    }
    // Every file, from the calculation input to the last drawing, alike.
    for (std::size_t k = 1; k < std::size(drawings); ++k) {
        EXPECT_EQ(out[0].size(), out[k].size());
        for (const auto& [name, bytes] : out[0])
            EXPECT_TRUE(out[k][name] == bytes) << name << " differs from " << drawings[k].first;
    }
    // And something settled: under the first embankment's crown.
    const std::string rows = out[0]["tnk1.csv"];
    ASSERT_EQ(rows.rfind("-23.000000,3.000000,", 0), 0u) << rows;
    EXPECT_GT(std::stod(rows.substr(20)), 0.05) << rows;
}

}  // namespace
}  // namespace kova
