#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "model/calcinput.hpp"
#include "model/dxf.hpp"
#include "model/projectfile.hpp"
#include "model/recording_canvas.hpp"
#include "model/trace.hpp"
#include "textio/textfile.hpp"

namespace kova {
namespace {

namespace fs = std::filesystem;

// A DXF text built pair by pair, as CAD programs write it: the group code
// right-aligned in three columns, then the value.
class Dxf {
public:
    Dxf& P(int code, const std::string& value) {
        std::string c = std::to_string(code);
        text_ += std::string(c.size() < 3 ? 3 - c.size() : 0, ' ') + c + eol_ + value + eol_;
        return *this;
    }
    Dxf& P(int code, double v) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17g", v);
        return P(code, std::string(buf));
    }
    Dxf& Raw(const std::string& s) {
        text_ += s;
        return *this;
    }
    // The header, tables and blocks sections real drawings carry before the
    // entities; the header's $EXTMIN has 10/20/30 codes of its own.
    Dxf& Preamble() {
        P(0, "SECTION").P(2, "HEADER").P(9, "$ACADVER").P(1, "AC1009");
        P(9, "$EXTMIN").P(10, -999.0).P(20, -999.0).P(30, 0.0);
        P(9, "$EXTMAX").P(10, 999.0).P(20, 999.0).P(30, 0.0).P(0, "ENDSEC");
        P(0, "SECTION").P(2, "TABLES").P(0, "TABLE").P(2, "LAYER").P(70, "1");
        P(0, "LAYER").P(2, "0").P(70, "0").P(62, "7").P(6, "CONTINUOUS").P(0, "ENDTAB").P(0, "ENDSEC");
        P(0, "SECTION").P(2, "BLOCKS").P(0, "ENDSEC");
        return P(0, "SECTION").P(2, "ENTITIES");
    }
    Dxf& End() { return P(0, "ENDSEC").P(0, "EOF"); }
    Dxf& Line(double x1, double y1, double x2, double y2) {
        return P(0, "LINE").P(8, "0").P(10, x1).P(20, y1).P(30, 0.0).P(11, x2).P(21, y2).P(31, 0.0);
    }
    Dxf& Polyline(const std::vector<std::pair<double, double>>& v, int flags = 0, bool z = true) {
        P(0, "POLYLINE").P(8, "0").P(66, "1").P(10, 0.0).P(20, 0.0).P(30, 0.0).P(70, std::to_string(flags));
        for (auto [x, y] : v) {
            P(0, "VERTEX").P(8, "0").P(10, x).P(20, y);
            if (z) P(30, 0.0);
        }
        return P(0, "SEQEND").P(8, "0");
    }
    Dxf& LwPolyline(const std::vector<std::pair<double, double>>& v, bool closed) {
        P(0, "LWPOLYLINE").P(8, "0").P(100, "AcDbPolyline").P(90, std::to_string(v.size()));
        P(70, closed ? "1" : "0");
        for (auto [x, y] : v) P(10, x).P(20, y);
        return *this;
    }
    Dxf& CrLf() {
        eol_ = "\r\n";
        return *this;
    }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
    std::string eol_ = "\n";
};

struct DxfFixture : ::testing::Test {
    fs::path dir;
    std::unique_ptr<Model> m = std::make_unique<Model>();
    RecordingMessages ui;
    std::vector<std::string> status;

    void SetUp() override {
        auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
        dir = fs::temp_directory_path() / ("kova_dxf_" + std::to_string(tick));
        fs::create_directories(dir);
        // Data the import must replace.
        m->BndPtCount = 3;
        m->SoilLayerCount = 2;
        m->Cond.ProjectTitle = "old";
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path Write(const std::string& text, const char* name = "in.dxf") {
        fs::path p = dir / name;
        std::ofstream(p, std::ios::binary) << text;
        return p;
    }
    DxfImport Import(const fs::path& p) {
        return ImportDxf(*m, KOVA_BIN_DIR, p, ui, [this](const std::string& s) { status.push_back(s); });
    }
    DxfImport Import(const Dxf& d) { return Import(Write(d.Text())); }

    std::pair<double, double> Pt(int i) const { return {m->BndPt[i].X, m->BndPt[i].Y}; }
    std::pair<int, int> Ln(int i) const { return {m->BndLine[i].pt1, m->BndLine[i].pt2}; }
    void ExpectUntouched() const {
        EXPECT_EQ(m->BndPtCount, 3);
        EXPECT_EQ(m->SoilLayerCount, 2);
        EXPECT_EQ(m->Cond.ProjectTitle, "old");
    }
};

using PT = std::pair<double, double>;
using LN = std::pair<int, int>;

TEST_F(DxfFixture, LinesOfARealLookingDrawingWithCrLf) {
    Dxf d;
    d.CrLf().Preamble().Line(0, 0, 10, 0).Line(10, 0, 10, -5).P(0, "CIRCLE").P(10, 1.0).P(20, 2.0).P(40, 1.0);
    d.Line(10, -5, 0, 0).End();
    EXPECT_EQ(Import(d), DxfImport::Imported);
    EXPECT_EQ(ui.Count(), 0u);
    ASSERT_EQ(m->BndPtCount, 3);
    EXPECT_EQ(Pt(0), PT(0, 0));
    EXPECT_EQ(Pt(1), PT(10, 0));
    EXPECT_EQ(Pt(2), PT(10, -5));
    ASSERT_EQ(m->BndLineCount, 3);
    EXPECT_EQ(Ln(0), LN(0, 1));
    EXPECT_EQ(Ln(2), LN(2, 0));  // start point first
    EXPECT_EQ(m->CutLineCount, 0);
    // The rest of the model is reset.
    EXPECT_EQ(m->SoilLayerCount, 0);
    EXPECT_EQ(m->Cond.ProjectTitle, "");
    EXPECT_EQ(status, (std::vector<std::string>{"DXF読込み:1", "DXF読込み:2", "DXF読込み:3"}));
}

TEST_F(DxfFixture, EndPointsMergeWithinATenthOfAMillimetre) {
    Dxf d;
    d.Preamble().Line(0, 0, 1, 0).Line(1.00005, 0.00005, 2, 0).Line(2.0002, 0, 3, 0).End();
    EXPECT_EQ(Import(d), DxfImport::Imported);
    // (1, 0) and (1.00005, 0.00005) are 0.0000707 apart: one point. (2, 0)
    // and (2.0002, 0) are 0.0002 apart: two points.
    ASSERT_EQ(m->BndPtCount, 5);
    EXPECT_EQ(Ln(1), LN(1, 2));
    EXPECT_EQ(Ln(2), LN(3, 4));
    EXPECT_EQ(Pt(3), PT(2.0002, 0));
}

TEST_F(DxfFixture, PolylinesWithAndWithoutZAndClosed) {
    Dxf d;
    d.Preamble();
    d.Polyline({{0, 0}, {1, 0}, {1, 1}});                 // 2 segments
    d.Polyline({{5, 0}, {6, 0}, {6, 1}}, 1, false);      // closed, no 30 codes: 3
    d.LwPolyline({{10, 0}, {11, 0}, {11, 1}, {10, 1}}, true);  // 4
    d.LwPolyline({{20, 0}, {21, 0}}, false);                   // 1
    d.End();
    EXPECT_EQ(Import(d), DxfImport::Imported);
    EXPECT_EQ(m->BndPtCount, 3 + 3 + 4 + 2);
    ASSERT_EQ(m->BndLineCount, 2 + 3 + 4 + 1);
    EXPECT_EQ(Ln(4), LN(5, 3));   // closing segment of the closed polyline
    EXPECT_EQ(Ln(8), LN(9, 6));   // closing segment of the closed LWPOLYLINE
    EXPECT_EQ(Pt(5), PT(6, 1));
    EXPECT_EQ(status.back(), "DXF読込み:10");
}

TEST_F(DxfFixture, VertexRunEndsAtTheNextEntityAndMeshesAreSkipped) {
    Dxf d;
    d.Preamble();
    // A run without SEQEND: the LINE after it is no vertex.
    d.P(0, "POLYLINE").P(66, "1").P(70, "0");
    d.P(0, "VERTEX").P(10, 0.0).P(20, 0.0).P(0, "VERTEX").P(10, 1.0).P(20, 0.0);
    d.Line(7, 7, 8, 8);
    // A polygon mesh is a surface, not lines.
    d.Polyline({{30, 30}, {31, 30}, {31, 31}}, 16);
    d.End();
    EXPECT_EQ(Import(d), DxfImport::Imported);
    ASSERT_EQ(m->BndLineCount, 2);
    EXPECT_EQ(Pt(0), PT(0, 0));
    EXPECT_EQ(Pt(1), PT(1, 0));
    EXPECT_EQ(Pt(2), PT(7, 7));
}

TEST_F(DxfFixture, MalformedLineNeverTakesTheNextEntitysCoordinates) {
    Dxf d;
    d.Preamble();
    d.P(0, "LINE").P(10, 100.0).P(20, 100.0).P(11, 200.0);  // no 21
    d.P(0, "POINT").P(10, 50.0).P(20, 50.0).P(21, 60.0);
    d.Line(0, 0, 1, 1);
    d.P(0, "line").P(10, 5.0).P(20, 5.0).P(11, 6.0).P(21, 6.0);  // lower case: not a LINE
    d.End();
    EXPECT_EQ(Import(d), DxfImport::Imported);
    ASSERT_EQ(m->BndLineCount, 1);
    EXPECT_EQ(m->BndPtCount, 2);
    EXPECT_EQ(Pt(1), PT(1, 1));
}

TEST_F(DxfFixture, ZeroLengthAndRepeatedSegmentsAreSkipped) {
    Dxf d;
    d.Preamble().Line(0, 0, 5, 0).Line(3, 3, 3, 3).Line(5, 0, 0, 0).Line(0, 0, 5, 0.00001).Line(5, 0, 5, 5).End();
    EXPECT_EQ(Import(d), DxfImport::Imported);
    EXPECT_EQ(m->BndPtCount, 3);
    ASSERT_EQ(m->BndLineCount, 2);
    EXPECT_EQ(Ln(1), LN(1, 2));
}

TEST_F(DxfFixture, LinesInBlockDefinitionsCountInsertsDoNot) {
    Dxf d;
    d.P(0, "SECTION").P(2, "BLOCKS").P(0, "BLOCK").P(2, "SYM").P(70, "0").P(10, 0.0).P(20, 0.0);
    d.Line(0, 0, 1, 0).P(0, "ENDBLK").P(0, "ENDSEC");
    d.P(0, "SECTION").P(2, "ENTITIES").P(0, "INSERT").P(2, "SYM").P(10, 50.0).P(20, 50.0).End();
    EXPECT_EQ(Import(d), DxfImport::Imported);
    EXPECT_EQ(m->BndLineCount, 1);
    EXPECT_EQ(Pt(1), PT(1, 0));
}

TEST_F(DxfFixture, CodesWithBlanksAndPlainLfAreRead) {
    std::string text = "0\nSECTION\n  2\nENTITIES\n0 \nLINE\n\t10\n 1.5\n 20\n-2.25 \n11\n3\n21\n4\n  0\nEOF\n\n";
    EXPECT_EQ(Import(Write(text)), DxfImport::Imported);
    ASSERT_EQ(m->BndPtCount, 2);
    EXPECT_EQ(Pt(0), PT(1.5, -2.25));
    EXPECT_EQ(Pt(1), PT(3, 4));
}

TEST_F(DxfFixture, ExactlyFiveHundredPointsAndLines) {
    // A closed 500-gon: 500 points and 500 lines fit without a message.
    std::vector<std::pair<double, double>> v;
    for (int k = 0; k < 500; ++k) v.emplace_back(100 * std::cos(k * 0.01256), 100 * std::sin(k * 0.01256));
    Dxf d;
    d.Preamble().LwPolyline(v, true).End();
    EXPECT_EQ(Import(d), DxfImport::Imported);
    EXPECT_EQ(ui.Count(), 0u);
    EXPECT_EQ(m->BndPtCount, 500);
    EXPECT_EQ(m->BndLineCount, 500);
}

TEST_F(DxfFixture, FiveHundredAndFirstPointStops) {
    std::vector<std::pair<double, double>> v;
    for (int k = 0; k < 501; ++k) v.emplace_back(k, k % 2);
    Dxf d;
    d.Preamble().LwPolyline(v, false).End();
    EXPECT_EQ(Import(d), DxfImport::LimitReached);
    ASSERT_EQ(ui.Count(), 1u);
    EXPECT_EQ(ui.Last().text, "要素数が500を超えました。");
    EXPECT_EQ(ui.Last().icon, MsgIcon::Exclamation);
    EXPECT_EQ(m->BndPtCount, 500);
    EXPECT_EQ(m->BndLineCount, 499);
}

TEST_F(DxfFixture, FiveHundredAndFirstLineStops) {
    // Every pair of 33 points joined: 528 lines over 33 points.
    Dxf d;
    d.Preamble();
    for (int a = 0; a < 33; ++a)
        for (int b = a + 1; b < 33; ++b) d.Line(a, a * a, b, b * b);
    d.End();
    EXPECT_EQ(Import(d), DxfImport::LimitReached);
    ASSERT_EQ(ui.Count(), 1u);
    EXPECT_EQ(ui.Last().text, "要素数が500を超えました。");
    EXPECT_EQ(m->BndPtCount, 33);
    EXPECT_EQ(m->BndLineCount, 500);
    std::set<std::pair<int, int>> seen;
    for (int i = 0; i < 500; ++i) EXPECT_TRUE(seen.insert(Ln(i)).second);
}

TEST_F(DxfFixture, UnreadableFilesLeaveTheModelAsItWas) {
    struct Case {
        const char* what;
        std::string text;
    } cases[] = {
        {"plain text", "This is a letter,\nnot a drawing.\n"},
        {"coordinate not a number", Dxf().Preamble().Line(0, 0, 1, 1).P(0, "LINE").P(10, "abc").P(20, "0").End().Text()},
        {"code without value", "  0\nSECTION\n  2\n"},
        {"binary DXF", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ui.Clear();
        EXPECT_EQ(Import(Write(c.text)), DxfImport::ReadError);
        ASSERT_EQ(ui.Count(), 1u);
        EXPECT_EQ(ui.Last().text, "ファイル読み込みエラーが発生しました。");
        EXPECT_EQ(ui.Last().icon, MsgIcon::Exclamation);
        ExpectUntouched();
    }
    ui.Clear();
    EXPECT_EQ(Import(dir / "missing.dxf"), DxfImport::ReadError);
    EXPECT_EQ(Import(dir), DxfImport::ReadError);
    EXPECT_EQ(ui.Count(), 2u);
    ExpectUntouched();
}

TEST_F(DxfFixture, NoLinesIsToldAndChangesNothing) {
    for (const std::string& text :
         {std::string(), Dxf().Preamble().P(0, "CIRCLE").P(10, 0.0).P(20, 0.0).P(40, 1.0).End().Text()}) {
        ui.Clear();
        EXPECT_EQ(Import(Write(text)), DxfImport::NothingImported);
        ASSERT_EQ(ui.Count(), 1u);
        EXPECT_EQ(ui.Last().text, "DXFファイルに取り込める線分がありません。");
        ExpectUntouched();
    }
}

// Drawings written by python3-ezdxf (tests/data/dxf/make_ezdxf_sections.py).
TEST_F(DxfFixture, DrawingsWrittenByEzdxf) {
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
        status.clear();
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
struct EndToEnd : DxfFixture {
    EditorState ed;
    RecordingCanvas canvas;
    ProgramState ps;

    void SetUp() override {
        DxfFixture::SetUp();
        ps.AppPath = dir;
        fs::copy_file(fs::path(KOVA_BIN_DIR) / "BKHough1.CSV", dir / "BKHough1.CSV");
        ed.ViewScale = 100;
        ed.ViewLeftX = -100;
        ed.ViewTopY = 100;
    }
    void Click(int mode, double x, double y) {
        ed.cmd_mode = mode;
        RegisterBlock(*m, ed, canvas, ui, 1, static_cast<float>((x + 100) * 100),
                      static_cast<float>((100 - y) * 100));
    }
    // Save, open into a fresh model, write CAL_TNK.DAT; its lines.
    std::vector<std::string> SaveOpenAndWrite() {
        EXPECT_EQ(WriteCondFile(*m, ps, (dir / "section").string(), 0, ui), 0);
        auto reopened = std::make_unique<Model>();
        EXPECT_TRUE(ReadCondFile(*reopened, ps, dir / "section.kov", ui));
        EXPECT_TRUE(WriteCalcInput(*reopened, dir, ui));
        EXPECT_EQ(ui.Count(), 0u);
        return ReadCp932Lines(dir / "CAL_TNK.DAT");
    }
    // The point numbers on the lines with the label, as a set.
    static std::multiset<int> Numbers(const std::vector<std::string>& lines, const std::string& label) {
        std::multiset<int> out;
        for (const std::string& l : lines) {
            if (l.find("\"" + label + "\"") == std::string::npos) continue;
            std::size_t c1 = l.find(',');
            out.insert(std::stoi(l.substr(c1 + 1)));
        }
        return out;
    }
};

TEST_F(EndToEnd, SeventeenDigitCoordinates) {
    // A embankment G-E-F-H on the surface A-B of a layer A-B-C-D.
    const double xa = -10.000000000000002, xb = 10.123456789012345, y0 = 0.30000000000000004;
    const double yb = -7.777777777777777, xg = -6.6666666666666667, xh = 6.666666666666667;
    const double xe = -3.3333333333333335, xf = 3.3333333333333335, yt = 4.1;
    Dxf d;
    d.Preamble().Line(xa, y0, xg, y0).Line(xg, y0, xh, y0).Line(xh, y0, xb, y0);  // A G H B
    d.Line(xg, y0, xe, yt).Line(xe, yt, xf, yt).Line(xf, yt, xh, y0);              // E F
    d.Line(xb, y0, xb, yb).Line(xb, yb, xa, yb).Line(xa, yb, xa, y0).End();        // C D
    ASSERT_EQ(Import(d), DxfImport::Imported);
    ASSERT_EQ(m->BndPtCount, 8);
    Click(6, 0, -3);
    Click(5, 0, 2);
    ASSERT_EQ(m->SoilLayerCount, 1);
    ASSERT_EQ(m->EmbankmentCount, 1);
    std::vector<std::string> lines = SaveOpenAndWrite();
    // Points by first appearance: A 1, G 2, H 3, B 4, E 5, F 6, C 7, D 8.
    EXPECT_EQ(Numbers(lines, "土層構成点番号"), (std::multiset<int>{1, 2, 3, 4, 7, 8}));
    EXPECT_EQ(Numbers(lines, "盛土構成点番号"), (std::multiset<int>{2, 3, 5, 6}));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "1,6,\"土層構成点数\""), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "1,4,\"盛土構成点数\""), lines.end());
}

TEST_F(EndToEnd, EzdxfSection) {
    ASSERT_EQ(Import(fs::path(KOVA_TEST_DATA) / "dxf" / "section_r12.dxf"), DxfImport::Imported);
    Click(6, 0, -5);    // upper layer, under embankment and notch
    Click(6, 0, -15);   // lower layer
    Click(5, 0, 2);     // embankment
    ASSERT_EQ(m->SoilLayerCount, 2);
    ASSERT_EQ(m->EmbankmentCount, 1);
    EXPECT_EQ(m->SoilLayer[0].nPt, 10);
    EXPECT_EQ(m->SoilLayer[1].nPt, 4);
    std::vector<std::string> lines = SaveOpenAndWrite();
    // The upper layer runs over the 8 surface points and the 2 ends of the
    // layer line (points 11 and 12 of the file); the lower layer over those
    // 2 and the 2 base points; the embankment over 2 surface and 2 crown points.
    EXPECT_EQ(Numbers(lines, "土層構成点番号"),
              (std::multiset<int>{1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 11, 12, 13, 14}));
    EXPECT_EQ(Numbers(lines, "盛土構成点番号"), (std::multiset<int>{2, 3, 9, 10}));
}

}  // namespace
}  // namespace kova
