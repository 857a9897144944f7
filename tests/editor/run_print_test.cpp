// The calculation run against engine scripts, and printing.
#include "editing/project_commands.hpp"
#include "editor/section_canvas.hpp"
#include "editing/run_commands.hpp"
#include "editor/run_notice.hpp"
#include "platform/qt/qt_text.hpp"
#include "tests/editor/editor_fixture.hpp"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace kova;
using namespace kova::test;
namespace fs = std::filesystem;

namespace {

class Run : public EditorFixture {
protected:
    void ThreePositions() {
        Model& m = form->SectionModel();
        m.SoilLayerCount = 1;  // a section with something to compute
        m.SoilLayer[0].Name = "Ac";
        m.CalcPosCount = 3;
        for (int i = 0; i < 3; ++i) {
            m.Cond.CalcPosName[static_cast<std::size_t>(i)] = "P" + std::to_string(i);
            m.Cond.CalcPosX[static_cast<std::size_t>(i)] = 10.0 * i;
        }
        files.Script(dir / "site.kov");
        form->SaveProjectAs();  // nothing to ask before the run
        msg.Clear();
    }
    // Leaves a result set of an earlier run, including files a run replaces.
    void OldResults() {
        for (const char* n : {"TK_DATA.PDT", "TK_DT_01.PDT", "TNK_Z_01.PZK", "tnk.csv", "tnk1.csv", "TNK_MAX.PZK"})
            WriteBytes(app / n, "old");
    }
    static std::string Writes(const std::string& profile, const std::string& positions) {
        return "printf '" + profile + "' > tnk.csv; printf '" + positions + "' > tnk1.csv; ";
    }
};

TEST_F(Run, EngineOutcomes) {
    // What the engine found of the earlier run: every result file is gone
    // before it starts.
    const std::string sawOld = "for f in tnk.csv tnk1.csv TNK_MAX.PZK TK_DT_01.PDT; do [ -e $f ] && echo stale $f >&2; done; "
                               "[ -e CAL_TNK.DAT ] || echo no input >&2; ";
    struct Case {
        const char* name;
        std::string body;
        bool results;
        std::vector<std::string> boxes;
    } cases[] = {
        {"exit 0", sawOld + Writes(Rows(1000), Rows(3)) + "exit 0", true, {}},
        {"exit 0 saying something", sawOld + Writes(Rows(1000), Rows(3)) + "echo '圧密沈下: 注意' >&2; exit 0", true,
         {"注意"}},
        {"exit 1 with its message", sawOld + "echo '圧密沈下: 入力ﾌｧｲﾙがありません' >&2; exit 1", false,
         {"入力ﾌｧｲﾙがありません"}},
        {"exit 1 silent", sawOld + Writes(Rows(1000), Rows(3)) + "exit 1", false, {kCalcErrorText}},
        {"exit 7", sawOld + "exit 7", false, {kCalcErrorText}},
        {"crash", sawOld + Writes(Rows(1000), Rows(3)) + "kill -SEGV $$", false, {kCalcErrorText}},
        {"999 rows", sawOld + Writes(Rows(999), Rows(3)) + "exit 0", false, {kCalcErrorText}},
        {"short positions", sawOld + Writes(Rows(1000), Rows(2)) + "exit 0", false, {kCalcErrorText}},
    };
    for (const Case& c : cases) {
        Start();
        ThreePositions();
        // A good earlier result in memory, which no failed run may leave.
        form->SectionModel().SettledSurface[5] = ResultRow{1, 2, 3};
        OldResults();
        EngineScript(c.body);
        form->Calculate();
        EXPECT_EQ(Texts(), c.boxes) << c.name;
        EXPECT_TRUE(form->isEnabled()) << c.name;
        EXPECT_FALSE(form->Busy()) << c.name;
        EXPECT_EQ(conditionsShown, 1) << c.name;
        const Model& m = form->SectionModel();
        if (c.results) {
            EXPECT_EQ(m.SettledSurface[5].x, 5) << c.name;
            EXPECT_EQ(m.SettledSurface[999].y, 1.5) << c.name;
            EXPECT_EQ(m.CalcPosResult[2].v, 0.25) << c.name;
            EXPECT_TRUE(form->ShowsSettlement()) << c.name;
        } else {
            EXPECT_EQ(m.SettledSurface[5].v, 0) << c.name;
            EXPECT_EQ(m.CalcPosResult[0].v, -1) << c.name;
            EXPECT_FALSE(form->ShowsSettlement()) << c.name;
        }
        for (int i = 3; i < 20; ++i) EXPECT_EQ(m.CalcPosResult[static_cast<std::size_t>(i)].v, -1) << c.name << i;
        // The canvas was drawn with exactly what the run left.
        EXPECT_EQ(form->Canvas()->Options().resultsRead, c.results) << c.name;
        EXPECT_TRUE(form->Canvas()->Options().showSettled) << c.name;
        EXPECT_TRUE(Exists("KOVA_JKN.CAL")) << c.name;
        form.reset();
        msg.Clear();
        conditionsShown = 0;
    }
}

// A position with no soil under it: the engine says so, and writes the
// no-ground marker with a settlement of 0, which is no result: nothing is
// drawn for it, while the other positions keep theirs.
TEST_F(Run, APositionWithoutSoilHasNoResult) {
    Start();
    ThreePositions();
    const std::string shown = "計算位置 2 (X=10.000): 土層がありません。この位置の沈下量は計算されません。";
    const std::string said = "圧密沈下: " + shown;
    EngineScript(Writes(Rows(1000), "0.000000,1.500000,0.250000\\n10.000000,-9999.990000,0.000000\\n"
                                    "20.000000,1.500000,0.250000\\n") +
                 "echo '" + said + "' >&2; exit 0");
    form->Calculate();
    EXPECT_EQ(Texts(), std::vector<std::string>{shown});
    const Model& m = form->SectionModel();
    EXPECT_TRUE(form->ShowsSettlement());
    EXPECT_EQ(m.CalcPosResult[0].v, 0.25);
    EXPECT_EQ(m.CalcPosResult[1].x, 10);
    EXPECT_EQ(m.CalcPosResult[1].v, -1);
    EXPECT_EQ(m.CalcPosResult[2].v, 0.25);
}

// A section without a soil layer or without a calculation position is told
// what it lacks, before any question, file or run.
TEST_F(Run, AnEmptySectionIsToldWhatIsMissing) {
    const struct {
        int layers, positions;
        std::vector<const char*> named, notNamed;
    } cases[] = {
        {0, 0, {"土層と沈下予測個所がありません。", "新規土層", "計算位置"}, {}},
        {0, 2, {"土層がありません。", "新規土層"}, {"計算位置"}},
        {1, 0, {"沈下予測個所がありません。", "計算位置"}, {"土層"}},
    };
    for (const auto& c : cases) {
        Start();
        Model& m = form->SectionModel();
        m.SoilLayerCount = static_cast<i16>(c.layers);
        m.CalcPosCount = static_cast<i16>(c.positions);
        EngineScript("echo ran > ran.txt; exit 0");
        form->Calculate();
        ASSERT_EQ(msg.Count(), 1u) << c.layers << c.positions;
        for (const char* w : c.named) EXPECT_NE(msg.Last().text.find(w), std::string::npos) << w;
        for (const char* w : c.notNamed) EXPECT_EQ(msg.Last().text.find(w), std::string::npos) << w;
        EXPECT_EQ(conditionsShown, 0);
        EXPECT_FALSE(Exists("CAL_TNK.DAT"));
        EXPECT_FALSE(Exists("ran.txt"));
        form.reset();
        msg.Clear();
    }
}

TEST_F(Run, AnEngineThatCannotStartLeavesNoResults) {
    Start();
    ThreePositions();
    fs::remove(engine);
    form->Calculate();
    EXPECT_EQ(Texts(), std::vector<std::string>{kCalcErrorText});
    EXPECT_TRUE(form->isEnabled());
    msg.Clear();
    form->PrintReports();
    EXPECT_EQ(msg.Last().text, kNothingToPrintText);
}

// An engine that does not end: after about two seconds a small modal box
// "計算中です。" offers "中止", which ends the engine; the run then failed.
TEST_F(Run, ALongRunOffersToStopTheEngineAndAStoppedRunFails) {
    Start();
    ThreePositions();
    form->SectionModel().SettledSurface[5] = ResultRow{1, 2, 3};
    // Results written, then it hangs: nothing of them may be taken.
    EngineScript(Writes(Rows(1000), Rows(3)) + "echo 'half a sente' >&2; exec sleep 60");
    QElapsedTimer t;
    t.start();
    qint64 shownAfter = -1;
    bool enabledBehind = true, boxEnabled = false;
    std::string text, button, caption;
    WhenModal<RunningBox>(
        [&](RunningBox* box) {
            shownAfter = t.elapsed();
            enabledBehind = form->isEnabled();
            boxEnabled = box->isEnabled() && box->StopButton()->isEnabled();
            caption = U(box->windowTitle());
            if (auto* l = box->findChild<QLabel*>()) text = U(l->text());
            button = U(box->StopButton()->text());
            // Neither Esc nor a close ends the box; the engine goes on.
            QTest::keyClick(box, Qt::Key_Escape);
            box->close();
            EXPECT_TRUE(box->isVisible());
            QTest::mouseClick(box->StopButton(), Qt::LeftButton);
        },
        1000);
    form->Calculate();
    EXPECT_LT(t.elapsed(), 20000);
    EXPECT_GE(shownAfter, 1500);
    EXPECT_FALSE(enabledBehind);
    EXPECT_TRUE(boxEnabled);
    EXPECT_EQ(text, "計算中です。");
    EXPECT_EQ(button, "中止");
    EXPECT_EQ(caption, "Kovadex");
    EXPECT_EQ(Texts(), std::vector<std::string>{kCalcErrorText});
    const Model& m = form->SectionModel();
    EXPECT_EQ(m.SettledSurface[5].v, 0);
    EXPECT_EQ(m.CalcPosResult[0].v, -1);
    EXPECT_FALSE(form->ShowsSettlement());
    EXPECT_TRUE(form->isEnabled());
    auto* box = form->findChild<RunningBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->isVisible());

    // A quick run never shows it, and succeeds.
    msg.Clear();
    EngineScript(Writes(Rows(1000), Rows(3)) + "exit 0");
    form->Calculate();
    EXPECT_TRUE(msg.shown.empty());
    EXPECT_FALSE(box->isVisible());
    EXPECT_TRUE(form->ShowsSettlement());
}

TEST_F(Run, CancelledConditionsWriteNothing) {
    Start();
    Computable();
    cancelConditions = true;
    EngineScript("touch started; exit 0");
    form->State().cmd_mode = 5;
    form->Calculate();
    EXPECT_EQ(form->State().cmd_mode, 0);
    EXPECT_FALSE(Exists("KOVA_JKN.CAL"));
    EXPECT_FALSE(Exists("CAL_TNK.DAT"));
    EXPECT_FALSE(Exists("started"));
    EXPECT_TRUE(msg.shown.empty());
}

TEST_F(Run, ChangedConditionsAskAndTheRunGoesOnAfterACancelledSaveAs) {
    Start();
    Computable();
    form->SectionModel().Cond.LeavePeriod = 500;
    EngineScript(Writes(Rows(1000), Rows(1)) + "exit 0");
    msg.Script(MsgAnswer::Yes);
    files.Script(std::nullopt);
    form->Calculate();
    ASSERT_EQ(msg.Count(), 1u);
    EXPECT_EQ(msg.Last().text, kCondQuestion);
    EXPECT_TRUE(form->ShowsSettlement());
    // Cancel in the question stops before anything is written.
    fs::remove(app / "KOVA_JKN.CAL");
    msg.Script(MsgAnswer::Cancel);
    form->Calculate();
    EXPECT_FALSE(Exists("KOVA_JKN.CAL"));
}

TEST_F(Run, AResultFileThatCannotBeRemovedStopsTheRun) {
    Start();
    Computable();
    msg.Script(MsgAnswer::No);  // the question of the unsaved section
    EngineScript("touch started; exit 0");
    WriteBytes(app / "tnk1.csv", "old");
    {
        Undeletable stays(app / "tnk1.csv");
        if (!stays.Works()) GTEST_SKIP() << "no way to keep a file from being removed here";
        form->Calculate();
    }
    EXPECT_FALSE(Exists("started"));
    EXPECT_FALSE(Exists("CAL_TNK.DAT"));
    ASSERT_EQ(msg.Count(), 2u);
    EXPECT_EQ(msg.Last().text, "結果ﾌｧｲﾙ(tnk1.csv)を削除出来ません。");
    EXPECT_TRUE(form->isEnabled());
}

using Print = Run;

TEST_F(Print, OnlyAfterAWholeRun) {
    fs::path viewer = dir / "viewer.sh";
    WriteBytes(viewer, "#!/bin/sh\necho \"$* $(pwd)\" > \"" + (dir / "viewer.log").string() + "\"\nexit 3\n");
    ::chmod(viewer.c_str(), 0755);
    ::setenv("KOVA_VIEWER", viewer.c_str(), 1);
    Start();
    ThreePositions();

    form->PrintReports();  // before a run
    EXPECT_EQ(Texts(), std::vector<std::string>{kNothingToPrintText});
    EXPECT_EQ(msg.Last().caption, kPrintCaption);
    EXPECT_EQ(msg.Last().icon, MsgIcon::Information);

    EngineScript(Writes(Rows(1000), Rows(3)) + "exit 1");
    form->Calculate();
    msg.Clear();
    form->PrintReports();  // after a run that failed, input file or not
    EXPECT_EQ(Texts(), std::vector<std::string>{kNothingToPrintText});
    EXPECT_FALSE(fs::exists(dir / "viewer.log"));

    EngineScript(Writes(Rows(1000), Rows(3)) + "exit 0");
    form->Calculate();
    msg.Clear();
    form->PrintReports();
    EXPECT_TRUE(msg.shown.empty());
    EXPECT_EQ(ReadBytes(dir / "viewer.log"), "/PDTOPEN TK " + app.string() + "\n");
    EXPECT_TRUE(form->isEnabled());

    AddPoint(1, 1);  // changed since the run: told, then printed
    fs::remove(dir / "viewer.log");
    form->PrintReports();
    ASSERT_EQ(msg.Count(), 1u);
    EXPECT_EQ(msg.Last().text, "前回の計算よりデータが更新されています。\r\n前回の計算結果の印刷を行います。");
    EXPECT_TRUE(fs::exists(dir / "viewer.log"));

    // No viewer: told, window enabled.
    ::setenv("KOVA_VIEWER", (dir / "missing").c_str(), 1);
    msg.Clear();
    form->PrintReports();
    ::unsetenv("KOVA_VIEWER");
    ASSERT_EQ(msg.Count(), 2u);
    EXPECT_EQ(msg.Last().text, ViewerStartFailedText(dir / "missing"));
    EXPECT_TRUE(form->isEnabled());

    // New forgets the results.
    msg.Script(MsgAnswer::No);
    form->NewProject();
    msg.Clear();
    form->PrintReports();
    EXPECT_EQ(Texts(), std::vector<std::string>{kNothingToPrintText});
}

}  // namespace

namespace {

using PrintReview = Run;

// The current state cannot be written (a title the file's code page cannot
// hold): the snapshot of the run is no proof that nothing changed.
TEST_F(PrintReview, AnUnwritableCurrentSnapshotStillTellsOfChanges) {
    fs::path viewer = dir / "viewer.sh";
    WriteBytes(viewer, "#!/bin/sh\nexit 0\n");
    ::chmod(viewer.c_str(), 0755);
    ::setenv("KOVA_VIEWER", viewer.c_str(), 1);
    Start();
    ThreePositions();
    EngineScript(Writes(Rows(1000), Rows(3)) + "exit 0");
    form->Calculate();
    form->PrintReports();  // a current snapshot equal to the run's
    AddPoint(2, 2);
    form->SectionModel().Cond.ProjectTitle = "현장";
    msg.Clear();
    form->PrintReports();
    ::unsetenv("KOVA_VIEWER");
    ASSERT_EQ(msg.Count(), 2u);  // the write failure, then the notice
    EXPECT_EQ(msg.Last().text, "前回の計算よりデータが更新されています。\r\n前回の計算結果の印刷を行います。");
}

}  // namespace

namespace {

using ResultsReview = Run;

// A drawing imported over a calculated project leaves no result on the
// canvas: the reset tables must not be drawn as a settled surface.
TEST_F(ResultsReview, ADxfImportDrawsNoResultsOfTheOldProject) {
    Start();
    ThreePositions();
    EngineScript(Writes(Rows(1000), Rows(3)) + "exit 0");
    form->Calculate();
    ASSERT_TRUE(form->Canvas()->Options().resultsRead);
    WriteBytes(dir / "two.dxf",
               "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n10\n21\n0\n"
               "0\nLINE\n8\n0\n10\n10\n20\n0\n11\n10\n21\n-5\n0\nENDSEC\n0\nEOF\n");
    files.Script(dir / "two.dxf");
    form->OpenDxf();
    ASSERT_EQ(form->SectionModel().BndLineCount, 2);
    EXPECT_FALSE(form->ShowsSettlement());
    EXPECT_FALSE(form->Canvas()->Options().resultsRead);
}

}  // namespace
