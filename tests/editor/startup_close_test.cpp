// Start-up and closing of the main window.
#include <QScrollBar>
#include <QToolButton>

#include "editing/project_commands.hpp"
#include "model/projectfile.hpp"
#include "tests/editor/editor_fixture.hpp"

using namespace kova;
using namespace kova::test;
namespace fs = std::filesystem;

namespace {

using Startup = EditorFixture;

TEST_F(Startup, SheetPileOptionOnlyWithTheSwitch) {
    struct Case {
        const char* line;
        bool shown;
    } cases[] = {{" /RVM ", true}, {"/rvm", true}, {"/rvm extra", false}, {"rvm", false}, {"", false}};
    for (const Case& c : cases) {
        cmdLine = c.line;
        Start();
        EXPECT_EQ(form->ToolOptionButton(8)->isVisible(), c.shown) << c.line;
        EXPECT_FALSE(form->ToolOptionButton(7)->isVisible());
        EXPECT_EQ(form->GetSession().ps.CmdLine, TrimCommandLine(c.line));
        form.reset();
    }
}

TEST_F(Startup, ASecondInstanceIsRefusedWithoutTouchingAnything) {
    fs::create_directories(lockFile.parent_path());
    InstanceLock other(lockFile);
    ASSERT_EQ(other.Acquire(), LockResult::Acquired);
    WriteBytes(app / "tnk.csv", "old");
    form = std::make_unique<Form1>(Deps());
    EXPECT_FALSE(form->Load());
    ASSERT_EQ(msg.Count(), 1u);
    EXPECT_EQ(msg.Last().text, "このアプリケーションは既に起動しています。");
    EXPECT_EQ(msg.Last().caption, "ロードエラー");
    EXPECT_EQ(msg.Last().icon, MsgIcon::Critical);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(msg.Count(), 1u);  // no save question
    EXPECT_FALSE(Exists("KOVA_JKN.ORG"));
    EXPECT_FALSE(Exists("KOVA_JKN.EDT"));
    EXPECT_TRUE(Exists("tnk.csv"));
}

TEST_F(Startup, RemovesTheResultsOfAnEarlierUseAndKeepsTheRest) {
    for (const char* n : {"TK_DATA.PDT", "TK_DT_01.PDT", "KT_ZUMEN.PZK", "TNJ_H_01.PZK", "TNK_Z_02.PZK",
                          "CAL_TNK.DAT", "tnk.csv", "TNK_MAX.PZK", "tnk1.csv"})
        WriteBytes(app / n, "old");
    Start();
    for (const char* n : {"TK_DATA.PDT", "TK_DT_01.PDT", "KT_ZUMEN.PZK", "TNJ_H_01.PZK", "TNK_Z_02.PZK",
                          "CAL_TNK.DAT", "tnk.csv"})
        EXPECT_FALSE(Exists(n)) << n;
    EXPECT_TRUE(Exists("TNK_MAX.PZK"));
    EXPECT_TRUE(Exists("tnk1.csv"));
    EXPECT_TRUE(Exists("KOVA_JKN.ORG"));
    EXPECT_EQ(Caption(), "Kovadex - 無題");
    EXPECT_EQ(form->CurrentFileName(), "無題");
    EXPECT_EQ(form->State().cmd_mode, 0);
    EXPECT_TRUE(msg.shown.empty());
}

TEST_F(Startup, VersionTextFromTheVersionFile) {
    struct Case {
        const char* bytes;  // nullptr: no file
        const char* version;
    } cases[] = {{"\"1.0.0\"\r\n", "1.0.0"}, {" 1.0.0 ,x\r\n", "1.0.0"}, {nullptr, ""}, {"", ""}};
    for (const Case& c : cases) {
        fs::remove(app / "SYSVER.DAT");
        if (c.bytes) WriteBytes(app / "SYSVER.DAT", c.bytes);
        Start();
        EXPECT_EQ(form->GetSession().ps.VersionText, c.version);
        form.reset();
    }
}

TEST_F(Startup, CanvasFillsTheWindowAt800By600) {
    Start();
    QApplication::processEvents();
    EXPECT_EQ(form->frameGeometry().size(), QSize(800, 600));
    QWidget* c = form->Canvas();
    const EditorState& v = form->State();
    EXPECT_EQ(v.CanvasWidth, c->width() * 15 - 60);
    EXPECT_EQ(v.CanvasHeight, c->height() * 15 - 60);
    EXPECT_GT(c->width(), 700);
    EXPECT_GT(c->height(), 350);
    // The bars hug the canvas edges; the canvas leaves room for the strip.
    EXPECT_EQ(form->VScroll()->geometry().left(), c->geometry().right());
    EXPECT_EQ(form->HScroll()->geometry().top(), c->geometry().bottom());
    EXPECT_EQ(form->HScroll()->minimum(), -100);
    EXPECT_EQ(form->VScroll()->maximum(), 100);

    form->resize(1000, 700);
    QApplication::processEvents();
    EXPECT_EQ(v.CanvasWidth, c->width() * 15 - 60);
    EXPECT_GT(c->width(), 900);
    // Too small a window keeps the layout it had.
    const int before = v.CanvasWidth;
    form->resize(1000, 150);
    QApplication::processEvents();
    EXPECT_EQ(v.CanvasWidth, before);
}

using Closing = EditorFixture;

TEST_F(Closing, AnUnchangedProjectClosesWithoutAQuestion) {
    Start();
    AddPoint(1, 1);
    form->SectionModel().BndPtCount = 0;  // undone exactly
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(msg.shown.empty());
}

TEST_F(Closing, CancelKeepsEverythingNoDiscardsYesSaves) {
    Start();
    AddPoint(3, 4);
    msg.Script(MsgAnswer::Cancel);
    EXPECT_FALSE(form->close());
    ASSERT_EQ(msg.Count(), 1u);
    EXPECT_EQ(msg.Last().text, kCondQuestion);
    EXPECT_EQ(msg.Last().caption, "保存確認");
    EXPECT_EQ(msg.Last().buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(msg.Last().defaultButton, 1);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->SectionModel().BndPtCount, 1);

    // Yes on an untitled project asks for a name; cancelling that keeps the window.
    msg.Script(MsgAnswer::Yes);
    files.Script(std::nullopt);
    EXPECT_FALSE(form->close());
    ASSERT_EQ(files.calls.size(), 1u);
    EXPECT_TRUE(files.calls[0].save);

    // Yes with a name saves and closes.
    msg.Script(MsgAnswer::Yes);
    files.Script(dir / "site.kov");
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(fs::exists(dir / "site.kov"));

    // No closes without saving.
    form.reset();
    Start();
    AddPoint(3, 4);
    msg.Script(MsgAnswer::No);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(files.calls.size(), 2u);
}

TEST_F(Closing, RefusedWhileTheEngineOrTheViewerRuns) {
    fs::path viewer = dir / "viewer.sh";
    WriteBytes(viewer, "#!/bin/sh\nsleep 0.3\n");
    ::chmod(viewer.c_str(), 0755);
    ::setenv("KOVA_VIEWER", viewer.c_str(), 1);
    Start();
    // Something to compute, saved so that the run asks nothing first.
    form->SectionModel().SoilLayerCount = 1;
    form->SectionModel().CalcPosCount = 1;
    files.Script(dir / "site.kov");
    form->SaveProjectAs();
    EngineScript("sleep 0.3; printf '" + Rows(1000) + "' > tnk.csv; printf '" + Rows(1) + "' > tnk1.csv; exit 0");
    for (bool print : {false, true}) {
        bool closedMeanwhile = true, enabledMeanwhile = true;
        QTimer::singleShot(100, [&] {
            enabledMeanwhile = form->isEnabled();
            closedMeanwhile = form->close();
        });
        print ? form->PrintReports() : form->Calculate();
        EXPECT_FALSE(closedMeanwhile) << print;
        EXPECT_FALSE(enabledMeanwhile) << print;
        EXPECT_TRUE(form->isVisible()) << print;
        EXPECT_TRUE(form->isEnabled()) << print;
        EXPECT_FALSE(form->Busy()) << print;
    }
    ::unsetenv("KOVA_VIEWER");
    EXPECT_TRUE(msg.shown.empty());
    EXPECT_TRUE(form->close());
}

}  // namespace
