// The form layouts as pages: every field of every known form shows under a
// caption, no form name or field number shows, totals stand under the
// columns they sum and stay with their table, time tables read by degree,
// marks are raised; drawings take their extent in their slot.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "tests/support/recording_picture.hpp"
#include "textio/cp932.hpp"
#include "viewer/reader/draw.hpp"
#include "viewer/reader/forms.hpp"
#include "viewer/reader/layout.hpp"

using namespace kova::viewer;

namespace {

Report Page(const std::string& body, const std::string& title = "沈下算出点-No.01") {
    Report r;
    r.page =
        ReadPage(kova::Utf8ToCp932(title + "\r\n   5  12  19  14   3   7               \r\n" + body), "TK_DT_01.PDT");
    return r;
}

std::string Line(int field, const std::string& value) {
    return (field < 10 ? "0" : "") + std::to_string(field) + "  " + value + "\r\n";
}

std::string Form(const std::string& form, bool newPage = false) {
    return std::string(newPage ? "$1" : "$0") + "  " + form + "\r\n";
}

const PageText* Find(const std::vector<LaidPage>& pages, const std::string& text, int* page = nullptr) {
    for (std::size_t p = 0; p < pages.size(); ++p)
        for (const PageText& t : pages[p].texts)
            if (t.text == text) {
                if (page) *page = static_cast<int>(p);
                return &t;
            }
    return nullptr;
}

double Right(const PageText& t) { return t.x + Columns(t.text) * t.cell / 2; }

}  // namespace

// Every form of the table, with a value in each field its layout names (and
// one it does not): each value shows, and nothing shows a form name or a
// bare field number.
TEST(FormLayouts, EveryFieldOfEveryFormShowsWithoutFormNamesOrFieldNumbers) {
    for (const FormLayout& l : AllForms()) {
        if (l.role == FormRole::End) continue;
        std::vector<int> numbers;
        for (const FormColumn& c : l.columns) numbers.push_back(c.field);
        if (l.role == FormRole::TimeRow)
            for (int n = 0; n <= kTimeFinalField; ++n) numbers.push_back(n);
        if (l.role == FormRole::Heading || l.role == FormRole::Note || l.role == FormRole::Statement) numbers = {0};
        if (l.role == FormRole::Row) numbers.push_back(19);  // a field it has no caption for
        std::string body = Form(std::string(l.form), true);
        for (int row = 0; row < (l.role == FormRole::Row ? 2 : 1); ++row) {
            if (row) body += Form(std::string(l.form));
            for (int n : numbers) body += Line(n, "v" + std::to_string(row) + "_" + std::to_string(n));
        }
        const auto pages = LayOut(Page(body));
        for (int row = 0; row < (l.role == FormRole::Row ? 2 : 1); ++row)
            for (int n : numbers) {
                const std::string v = "v" + std::to_string(row) + "_" + std::to_string(n);
                bool shown = false;
                for (const LaidPage& p : pages)
                    for (const PageText& t : p.texts) shown = shown || t.text.find(v) != std::string::npos;
                EXPECT_TRUE(shown) << l.form << " " << v;
            }
        for (const LaidPage& p : pages)
            for (const PageText& t : p.texts) {
                EXPECT_EQ(t.text.find(".PFM"), std::string::npos) << l.form;
                const bool number = t.text.size() == 2 && std::isdigit(static_cast<unsigned char>(t.text[0])) &&
                                    std::isdigit(static_cast<unsigned char>(t.text[1]));
                EXPECT_FALSE(number) << l.form << " shows " << t.text;
            }
        // A row's columns have captions; a total names a column to stand under.
        for (const FormColumn& c : l.columns) {
            if (l.role == FormRole::Row || l.role == FormRole::Title) {
                EXPECT_FALSE(c.caption.empty()) << l.form;
            }
            if (l.role == FormRole::Total) {
                EXPECT_GE(c.under, 0) << l.form;
            }
        }
    }
}

// A total stands under the column it sums: its right edge is the values'.
TEST(FormLayouts, TotalsStandUnderTheColumnsTheySum) {
    struct Case {
        const char* row;
        const char* total;
    } cases[] = {{"TNK_0011.PFM", "TNK_0012.PFM"}, {"TNK_0021.PFM", "TNK_0022.PFM"}};
    for (const Case& c : cases) {
        const FormLayout* total = FindForm(c.total);
        ASSERT_TRUE(total && FindForm(c.row));
        std::string body = Form("TNK_0020.PFM", true);
        for (int r = 0; r < 3; ++r) {
            body += Form(c.row);
            for (int n = 0; n <= 8; ++n) body += Line(n, "r" + std::to_string(r) + "f" + std::to_string(n));
        }
        body += Form(c.total);
        for (const FormColumn& col : total->columns) body += Line(col.field, "t" + std::to_string(col.field));
        const auto pages = LayOut(Page(body));
        for (const FormColumn& col : total->columns) {
            const PageText* t = Find(pages, "t" + std::to_string(col.field));
            const PageText* v = Find(pages, "r2f" + std::to_string(col.under));
            ASSERT_TRUE(t && v) << c.total << " " << col.field;
            EXPECT_NEAR(Right(*t), Right(*v), 1e-6) << c.total << " " << col.field;
            EXPECT_GT(t->y, v->y);
        }
        ASSERT_TRUE(Find(pages, "合計"));
    }
}

// Whatever the number of rows, the last row, the total and the note share a
// page, and a page never holds a total without a row of its table.
TEST(FormLayouts, ATotalAndItsNoteStayOnTheirTablesPage) {
    for (int rows = 1; rows <= 90; ++rows) {
        std::string body = Form("TNK_0000.PFM", true) + Line(0, "1 段") + Form("TNK_0010.PFM");
        for (int r = 0; r < rows; ++r) body += Form("TNK_0011.PFM") + Line(0, "row" + std::to_string(r));
        body += Form("TNK_0012.PFM") + Line(0, "total") + Form("TNK_0013.PFM") + Line(0, "note");
        const auto pages = LayOut(Page(body));
        int last = -1, total = -2, note = -3;
        ASSERT_TRUE(Find(pages, "row" + std::to_string(rows - 1), &last));
        ASSERT_TRUE(Find(pages, "total", &total));
        ASSERT_TRUE(Find(pages, "mv：note", &note));
        EXPECT_EQ(last, total) << rows;
        EXPECT_EQ(total, note) << rows;
    }
}

// A time table per unit: the reference layer first, the days above the
// settlements by degree, the ※ marks kept, the final settlement apart, and
// digits of 8 pt at least.
TEST(FormLayouts, TimeTablesReadByDegreeOfConsolidation) {
    std::string body = Form("TIJ_0000.PFM", true);
    for (int u = 0; u < 20; ++u) {
        body += Form("TIJ_0001.PFM") + Line(kTimeLayerField, "L" + std::to_string(u));
        for (int k = 0; k < kTimeDegrees; ++k) {
            body += Line(k, (k == 0 ? "※" : "d") + std::to_string(u) + "_" + std::to_string(k));
            body += Line(kTimeSettlementBase + k, "s" + std::to_string(u) + "_" + std::to_string(k));
        }
        body += Line(kTimeFinalField, "F" + std::to_string(u));
    }
    const auto pages = LayOut(Page(body));
    for (int u = 0; u < 20; ++u) {
        const std::string n = std::to_string(u);
        const PageText* layer = Find(pages, "L" + n);
        const PageText* final = Find(pages, "F" + n);
        ASSERT_TRUE(layer && final) << u;
        for (int k = 0; k < kTimeDegrees; ++k) {
            const PageText* day = Find(pages, (k == 0 ? "※" : "d") + n + "_" + std::to_string(k));
            const PageText* s = Find(pages, "s" + n + "_" + std::to_string(k));
            ASSERT_TRUE(day && s) << u << " " << k;
            EXPECT_LT(layer->x, day->x);
            EXPECT_NEAR(Right(*day), Right(*s), 1e-6);  // one column per degree
            EXPECT_LT(day->y, s->y);                    // days above settlements
            EXPECT_GT(final->x, Right(*s));             // the final settlement apart
            EXPECT_GE(s->cell, kMinTableCell);
        }
    }
    for (int k = 1; k <= 9; ++k) EXPECT_TRUE(Find(pages, std::to_string(10 * k) + "%")) << k;
    EXPECT_TRUE(Find(pages, "※ 載荷の途中に達する日数"));
}

// Every page carries the project, the report and the position; the footer
// counts the report's pages and the printed set's.
TEST(FormLayouts, HeaderAndFooterOnEveryPage) {
    std::string body = Form("SOU_0000.PFM", true) + Line(0, "側方10m") + Line(1, "  10.000");
    for (int s = 0; s < 4; ++s) body += Form("TNK_0000.PFM", true) + Line(0, std::to_string(s + 1) + " 段");
    const auto pages = LayOut(Page(body), "○○地区");
    ASSERT_EQ(pages.size(), 5u);
    for (const LaidPage& p : pages) {
        std::vector<std::string> t;
        for (const PageText& x : p.texts) t.push_back(x.text);
        for (const char* want : {"○○地区", "沈下算出点-No.01", "側方10m　X = 10.000 m"})
            EXPECT_NE(std::find(t.begin(), t.end(), want), t.end()) << want;
        EXPECT_EQ(p.count, 5);
    }
    const auto foot = FooterOf(pages[1], {7, 12});
    std::vector<std::string> f;
    for (const PageText& x : foot) f.push_back(x.text);
    EXPECT_EQ(f, (std::vector<std::string>{"作成 2005年12月19日 14:03", "2 / 5 頁", "通し 7 / 12"}));
    EXPECT_EQ(FooterOf(pages[1], {}).size(), 2u);  // shown alone: no set count
}

TEST(FormLayouts, RaisedMarksAndWidths) {
    struct Case {
        const char* in;
        const char* shown;
        int columns;
    } cases[] = {
        {"m$U2$Z/日", "m²/日", 5},   {"kN/m$U3$Z", "kN/m³", 5}, {"$U-1$Z", "⁻¹", 2},
        {"a$Ux$Zb", "a$Ux$Zb", 7},   {"$U2", "$U2", 3},         {"", "", 0},
        {"√(P'･P')", "√(P'･P')", 9}, {"ｱｲ ─", "ｱｲ ─", 5},       {"$U1$Z$U0$Z", "¹⁰", 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShownText(c.in), c.shown) << c.in;
        EXPECT_EQ(Columns(ShownText(c.in)), c.columns) << c.in;
    }
}

// A drawing that draws in part of its frame takes that part in its slot, at
// one scale, centred; its full frame keeps the same scale.
TEST(DrawingSlots, ADrawingTakesItsExtentToScaleAndCentred) {
    for (int right : {1000, 2100, 4200}) {
        Report r = Page(Form("TOLMCURV.PFM", true) + "$0                  K.PZK\r\n");
        r.drawings["K.PZK"] = ReadDrawing(
            kova::Utf8ToCp932("K.PZK\r\n45,28\r\n# 枠＆軸\r\nQ 0 0 " + std::to_string(right) + " 2700 0 2\r\n"),
            "K.PZK");
        const auto pages = LayOut(r);
        ASSERT_EQ(pages[0].drawings.size(), 1u);
        const PagePlacement& pl = pages[0].drawings[0];
        const double scale = pl.frame.width / 4200;
        EXPECT_NEAR(pl.frame.height / 2700, scale, 1e-9);
        const Extent e = ExtentOf(*pl.drawing);
        EXPECT_NEAR(pl.clip.width, (e.x2 - e.x1) * scale, 1e-6) << right;
        EXPECT_NEAR(pl.clip.height, (e.y2 - e.y1) * scale, 1e-6) << right;
        EXPECT_NEAR(pl.clip.x - kMargin, kPageWidth - kMargin - (pl.clip.x + pl.clip.width), 1e-6) << right;
        EXPECT_NEAR(pl.frame.x + e.x1 * scale, pl.clip.x, 1e-6);
    }
}

// Tiny boxes of a dot pattern print as dots; markers keep a printed size
// and are drawn after the lines through them.
TEST(DrawingSlots, DotsAndMarkersStayVisible) {
    DrawingFile d = ReadDrawing(kova::Utf8ToCp932("D.PZK\r\n45,28\r\n# 枠＆軸\r\nQ 100 100 104 104 0 2\r\n"
                                                  "P 498 498 500 500 502 502 1\r\nL 0 500 1000 500 0 1\r\n"
                                                  "Q 1000 1000 2000 2000 0 1\r\n"),
                                "D.PZK");
    kova::test::RecordingPicture p;
    DrawDrawing(d, p, Frame{0, 0, 1050, 675});  // a quarter scale
    const auto circles = p.Circles();
    ASSERT_EQ(circles.size(), 2u);
    EXPECT_TRUE(circles[0].filled);  // the dot
    EXPECT_GE(circles[1].radius, kMinMarker);
    EXPECT_EQ(p.Lines().size(), 1u + 4u);                      // the line and the big box: the dot has no sides
    EXPECT_EQ(p.ops.back().kind, kova::test::DrawOp::Circle);  // the marker last
}

// Straightening keeps a polyline's ends and turns and drops only points on
// the line between their neighbours.
TEST(DrawingSlots, StraightenedPolylinesKeepTheirShape) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(0, 1000);
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<std::pair<double, double>> pts;
        double x = u(rng), y = u(rng);
        for (int i = 0; i < 30; ++i) {
            pts.push_back({x, y});
            // Runs along one direction with occasional turns.
            x += (i / 7) % 2 ? 5 : 0;
            y += (i / 7) % 2 ? 0 : 5;
        }
        const auto s = Straightened(pts, 0.05);
        ASSERT_GE(s.size(), 2u);
        EXPECT_EQ(s.front(), pts.front());
        EXPECT_EQ(s.back(), pts.back());
        EXPECT_LE(s.size(), 7u);
        // Every dropped point lies on the kept polyline.
        for (const auto& [px, py] : pts) {
            double best = 1e300;
            for (std::size_t i = 0; i + 1 < s.size(); ++i) {
                const auto [ax, ay] = s[i];
                const auto [bx, by] = s[i + 1];
                const double l2 = (bx - ax) * (bx - ax) + (by - ay) * (by - ay);
                const double t =
                    l2 > 0 ? std::clamp(((px - ax) * (bx - ax) + (py - ay) * (by - ay)) / l2, 0.0, 1.0) : 0;
                best = std::min(best, std::hypot(px - (ax + t * (bx - ax)), py - (ay + t * (by - ay))));
            }
            EXPECT_LE(best, 0.05);
        }
    }
}

// A project title of any length heads every page without running into the
// report's name: cut with "…" when too long, whole when it fits.
TEST(PageHeader, ALongProjectTitleIsShortenedNeverOverprinted) {
    for (const std::string unit : {"業", "a", "業a"}) {
        for (int n : {5, 20, 43, 120}) {
            std::string title;
            for (int k = 0; k < n; ++k) title += unit;
            const auto pages = LayOut(Page(Form("SOU_0000.PFM", true) + Line(0, "No.01") + Line(1, "12.000")), title);
            ASSERT_FALSE(pages.empty());
            const PageText* project = Find(pages, title);
            if (!project) {
                for (const PageText& t : pages[0].texts)
                    if (t.text.size() > 3 && t.text.rfind("…") == t.text.size() - 3) project = &t;
            }
            ASSERT_NE(project, nullptr) << unit << n;
            const PageText* report = Find(pages, "沈下算出点-No.01");
            ASSERT_NE(report, nullptr);
            EXPECT_LT(Right(*project), report->x) << unit << n;
            if (project->text != title) {
                const std::string kept = project->text.substr(0, project->text.size() - 3);
                EXPECT_EQ(title.rfind(kept, 0), 0u) << unit << n;
                EXPECT_GT(Right(*project), report->x - 200) << unit << n;  // the room is used
            }
        }
    }
}

// A title of any length in the body's title block: its value stays right of
// the captions and inside the page, wrapped onto lines of its own, every
// character kept in order.
TEST(TitleBlock, ALongTitleWrapsWithinThePage) {
    for (const std::string unit : {"業", "a", "業a"}) {
        for (int n : {5, 45, 90, 200}) {
            std::string title;
            for (int k = 0; k < n; ++k) title += unit;
            const auto pages = LayOut(Page(Form("SJK_0000.PFM", true) + Line(0, title)), "短い題");
            ASSERT_FALSE(pages.empty());
            const PageText* caption = Find(pages, "業務名");
            ASSERT_NE(caption, nullptr);
            std::string joined;
            double y = caption->y - 1;
            for (const PageText& t : pages[0].texts) {
                if (t.y <= caption->y - 1 || t.x <= Right(*caption)) continue;
                EXPECT_LE(Right(t), kPageWidth - kMargin + 0.01) << unit << n;
                EXPECT_GT(t.y, y) << unit << n;  // one line under the other
                y = t.y;
                joined += t.text;
            }
            EXPECT_EQ(joined, title) << unit << n;
        }
    }
}

// A table whose cells would run past the page at its smallest cell: its
// widest column is narrowed, its long cells shortened with "…", and every
// text stays inside the page; a short cell stays whole.
TEST(TableWidth, ATableTooWideForThePageShortensItsLongCells) {
    for (int n : {40, 120, 400}) {
        const std::string name(static_cast<std::size_t>(n), 'x');
        std::string body = Form("SJK_0001.PFM", true);
        for (int r = 0; r < 3; ++r)
            body += Form("SJK_0002.PFM") + Line(0, std::to_string(r + 1)) + Line(1, r == 1 ? name : "粘性土") +
                    Line(2, "圧縮指数法") + Line(3, " 両面 ") + Line(4, "18.000") + Line(5, "3") + Line(6, "0.500");
        const auto pages = LayOut(Page(body + Form("SJK_0003.PFM")));
        for (const LaidPage& p : pages)
            for (const PageText& t : p.texts) EXPECT_LE(Right(t), kPageWidth - kMargin + 0.01) << n << t.text;
        EXPECT_NE(Find(pages, "粘性土"), nullptr);
        EXPECT_NE(Find(pages, "18.000"), nullptr);
    }
}

// A table of any length after any amount of text: every part keeps at least
// a quarter of its rows (no lone row, no total with one row above it), and
// nothing runs past the bottom of the page.
TEST(TableSplit, EveryPartKeepsAFairShareAndStaysOnItsPage) {
    for (int before : {0, 5, 17, 30, 40}) {
        for (int rows : {1, 2, 3, 4, 5, 8, 20, 41, 90}) {
            std::string body = Form("SJK_0001.PFM", true);
            for (int k = 0; k < before; ++k) body += Form("SJK_0002.PFM") + Line(0, std::to_string(k));
            body += Form("SJK_0003.PFM") + Form("TNK_0010.PFM");
            for (int k = 0; k < rows; ++k) body += Form("TNK_0011.PFM") + Line(0, std::to_string(k)) + Line(6, "0.1");
            body += Form("TNK_0012.PFM") + Line(0, "2.0") + Form("TNK_0013.PFM") + Line(0, "note");
            const auto pages = LayOut(Page(body));
            int shown = 0;
            for (const LaidPage& p : pages) {
                for (const PageText& t : p.texts) EXPECT_LE(t.y, kPageHeight - kMargin - 40) << before << "/" << rows;
                for (const TablePart& part : p.tables) {
                    shown += part.rows;
                    EXPECT_GE(part.rows, std::max(1, (part.of + 3) / 4)) << before << "/" << rows;
                }
            }
            EXPECT_EQ(shown, before + rows) << before << "/" << rows;
        }
    }
}
