// The example section opened through the file menu and calculated by the
// real engine; the tables must be what the engine wrote.
#include <fstream>

#include <QPushButton>

#include "dialogs/dialog13.hpp"
#include "editing/run_commands.hpp"
#include "tests/editor/editor_fixture.hpp"
#include "textio/listline.hpp"

using namespace kova;
using namespace kova::test;
namespace fs = std::filesystem;

namespace {

std::vector<double> Numbers(const fs::path& file) {
    FieldReader r(ReadBytes(file));
    std::vector<double> out;
    double v;
    while (!r.AtEnd() && r.Real(v)) out.push_back(v);
    return out;
}

using EndToEnd = EditorFixture;

TEST_F(EndToEnd, TheExampleOpensCalculatesAndPrints) {
    engine = fs::path(KOVA_BIN_DIR) / "SETLCORE";
    fs::path viewer = dir / "viewer.sh";
    WriteBytes(viewer, "#!/bin/sh\nls > \"" + (dir / "printed.txt").string() + "\"\n");
    ::chmod(viewer.c_str(), 0755);
    ::setenv("KOVA_VIEWER", viewer.c_str(), 1);
    // The real calculation-conditions dialog, answered with "計算".
    EditorDeps deps = Deps();
    deps.showConditions = nullptr;
    form = std::make_unique<Form1>(deps);
    ASSERT_TRUE(form->Load());
    form->show();
    files.Script(fs::path(KOVA_EXAMPLES) / "road_embankment.kov");
    form->MenuAction("open")->trigger();
    ASSERT_TRUE(msg.shown.empty()) << msg.Last().text;
    const Model& m = form->SectionModel();
    EXPECT_EQ(Caption(), "Kovadex - road_embankment");
    EXPECT_EQ(m.EmbankmentCount, 2);
    EXPECT_EQ(m.CalcPosCount, 4);

    std::string conditions;
    WhenModal<Dialog13>([&](Dialog13* d) {
        conditions = d->windowTitle().toStdString();
        if (d->OKButton->text() == QStringLiteral("計算"))
            d->OKButton->click();
        else
            d->reject();
    });
    form->MenuAction("cal_tnk")->trigger();
    EXPECT_EQ(conditions, "沈下量・沈下時間の予測");
    ASSERT_TRUE(msg.shown.empty()) << msg.Last().text;
    EXPECT_TRUE(form->ShowsSettlement());
    std::vector<double> profile = Numbers(app / "tnk.csv");
    std::vector<double> points = Numbers(app / "tnk1.csv");
    ASSERT_EQ(profile.size(), 3000u);
    ASSERT_EQ(points.size(), 12u);
    for (int i = 0; i < 1000; ++i) {
        EXPECT_EQ(m.SettledSurface[i].x, profile[3 * i]);
        EXPECT_EQ(m.SettledSurface[i].y, profile[3 * i + 1]);
        EXPECT_EQ(m.SettledSurface[i].v, profile[3 * i + 2]);
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(m.CalcPosResult[i].x, m.Cond.CalcPosX[i]);
        EXPECT_EQ(m.CalcPosResult[i].v, points[3 * i + 2]);
    }
    // Under the embankment's middle the ground settles most.
    EXPECT_GT(m.CalcPosResult[3].v, m.CalcPosResult[0].v);
    EXPECT_GT(m.CalcPosResult[3].v, 0.1);
    EXPECT_EQ(m.CalcPosResult[4].v, -1);

    form->MenuAction("printout")->trigger();
    ::unsetenv("KOVA_VIEWER");
    EXPECT_TRUE(msg.shown.empty());
    std::string listed = ReadBytes(dir / "printed.txt");
    for (const char* f : {"TK_DATA.PDT", "TK_DT_04.PDT", "KT_ZUMEN.PZK", "TNK_MAX.PZK"})
        EXPECT_NE(listed.find(f), std::string::npos) << f;
    EXPECT_TRUE(form->close());  // opened, calculated, unchanged: no question
}

// The example with the e-logP curve of its e-logP layer emptied (as a new
// layer starts) used to be calculated to about a quarter of its settlement
// and drawn as if right. The engine refuses it, naming the layer and the
// curve; the one box shows its message and nothing is drawn.
TEST_F(EndToEnd, TheExampleWithAnEmptyCurveIsRefused) {
    engine = fs::path(KOVA_BIN_DIR) / "SETLCORE";
    form = std::make_unique<Form1>(Deps());
    ASSERT_TRUE(form->Load());
    form->show();
    files.Script(fs::path(KOVA_EXAMPLES) / "road_embankment.kov");
    form->MenuAction("open")->trigger();
    ASSERT_TRUE(msg.shown.empty()) << msg.Last().text;
    Model& m = form->SectionModel();
    int layer = -1;
    for (int i = 0; i < m.SoilLayerCount && layer < 0; ++i)
        if (m.SoilParam[i].SoilType == 0 && m.SoilParam[i].SettleMethod == 0 && m.ELogPCurve[i].n >= 2) layer = i;
    ASSERT_GE(layer, 0);
    m.ELogPCurve[layer].n = 0;
    files.Script(dir / "emptied.kov");
    form->SaveProjectAs();
    msg.Clear();
    form->Calculate();
    // The engine's text without its caption, the layer with its name.
    ASSERT_FALSE(m.SoilLayer[layer].Name.empty());
    const std::string want = "土層 " + std::to_string(layer + 1) + "「" + m.SoilLayer[layer].Name +
                             "」 のe-logP曲線に点がありません（e-logP法には2点以上必要です）。";
    ASSERT_EQ(msg.shown.size(), 1u);
    EXPECT_EQ(msg.Last().text, want);
    EXPECT_FALSE(form->ShowsSettlement());
    EXPECT_EQ(m.CalcPosResult[0].v, -1);
    EXPECT_FALSE(fs::exists(app / "tnk.csv"));
}

}  // namespace
