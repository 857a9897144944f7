#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "model/calcinput.hpp"
#include "model/dxf.hpp"
#include "model/projectfile.hpp"
#include "testing/fakes.hpp"
#include "testing/recording_canvas.hpp"
#include "model/trace.hpp"
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
    DxfImport Import(const fs::path& p) {
        status.clear();
        return ImportDxf(*m, KOVA_BIN_DIR, p, ui, [this](const std::string& s) { status.push_back(s); });
    }
    DxfImport Import(const std::string& text) {
        test::WriteBytes(dir / "in.dxf", text);
        return Import(dir / "in.dxf");
    }
    PT Pt(int i) const { return {m->BndPt[i].X, m->BndPt[i].Y}; }
    LN Ln(int i) const { return {m->BndLine[i].pt1, m->BndLine[i].pt2}; }
    void ExpectUntouched() const {
        EXPECT_EQ(m->BndPtCount, 3);
        EXPECT_EQ(m->SoilLayerCount, 2);
        EXPECT_EQ(m->Cond.ProjectTitle, "old");
    }
};

TEST_F(DxfTest, EntitiesAsRealDrawingsHoldThem) {
    Dxf block;  // a line in a block definition counts, its INSERT does not
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
    crlf.Preamble().Line(0, 0, 10, 0).Line(10, 0, 10, -5).P(0, "CIRCLE").P(10, 1.0).P(20, 2.0).P(40, 1.0);
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
        {"block", block.text, 2, 1, {{1, {1, 0}}}, {}},
        {"blanks around codes, LF",
         "0\nSECTION\n  2\nENTITIES\n0 \nLINE\n\t10\n 1.5\n 20\n-2.25 \n11\n3\n21\n4\n  0\nEOF\n\n", 2, 1,
         {{0, {1.5, -2.25}}, {1, {3, 4}}}, {}},
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
    EXPECT_EQ(ui.Count(), 0u);
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
        ASSERT_EQ(ui.Count(), 1u);
        EXPECT_EQ(ui.Last().text, "要素数が500を超えました。");
        EXPECT_EQ(ui.Last().icon, MsgIcon::Exclamation);
        EXPECT_EQ(m->BndPtCount, points);
        EXPECT_EQ(m->BndLineCount, lines);
    }
    std::set<LN> seen;
    for (int i = 0; i < 500; ++i) EXPECT_TRUE(seen.insert(Ln(i)).second);
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
        {"binary DXF", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22), DxfImport::ReadError, kReadError},
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
         "ファイル読み込みエラーが発生しました。\rX座標(m)が-10000000～10000000の範囲にありません。"},
        {"elevation of -2e6", Dxf().Preamble().Line(0, -2e6, 10, 1).End().text, DxfImport::ReadError,
         "ファイル読み込みエラーが発生しました。\rY座標(m)が-1000000～1000000の範囲にありません。"},
        {"empty", "", DxfImport::NothingImported, kNothing},
        {"no lines", Dxf().Preamble().P(0, "CIRCLE").P(10, 0.0).P(20, 0.0).P(40, 1.0).End().text,
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
    EXPECT_EQ(Import(dir.path()), DxfImport::ReadError);
    EXPECT_EQ(ui.Count(), 2u);
    ExpectUntouched();
}

// Drawings written by python3-ezdxf (tests/data/dxf/make_ezdxf_sections.py).
TEST_F(DxfTest, DrawingsWrittenByEzdxf) {
    struct Case {
        const char* file;
        int segments, points, lines;
        int first;  // the first point of the ground surface
    } cases[] = {
        // The block's line first (the blocks section comes before the
        // entities), then surface 7, embankment 3, notch top 1, sides 2,
        // layer line 1, closed lower layer 4 (its top repeats the layer line).
        {"section_r2000.dxf", 19, 16, 18, 2},
        // The same without the block, the layer line drawn once as a LINE.
        {"section_r12.dxf", 18, 14, 17, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(Import(fs::path(KOVA_TEST_DATA) / "dxf" / c.file), DxfImport::Imported);
        EXPECT_EQ(ui.Count(), 0u);
        EXPECT_EQ(status.back(), "DXF読込み:" + std::to_string(c.segments));
        EXPECT_EQ(m->BndPtCount, c.points);
        EXPECT_EQ(m->BndLineCount, c.lines);
        EXPECT_EQ(Pt(c.first), PT(-50.5, 0));
        EXPECT_EQ(Pt(c.first + 8), PT(-4.9, 5.3333333333333));
    }
}

// A drawing, its blocks traced, saved, opened again and written as the
// calculation input: vertices and points go through the same 15-digit form,
// so every vertex still finds its point exactly.
struct EndToEnd : DxfTest {
    EditorState ed;
    RecordingCanvas canvas;
    ProgramState ps;

    void SetUp() override {
        DxfTest::SetUp();
        ps.AppPath = dir.path();
        fs::copy_file(fs::path(KOVA_BIN_DIR) / "BKHough1.CSV", dir / "BKHough1.CSV");
        ed.ViewScale = 100;
        ed.ViewLeftX = -100;
        ed.ViewTopY = 100;
    }
    void Click(int mode, double x, double y) {
        ed.cmd_mode = mode;
        RegisterBlock(*m, ed, canvas, ui, 1, static_cast<float>((x + 100) * 100), static_cast<float>((100 - y) * 100));
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

}  // namespace
}  // namespace kova
