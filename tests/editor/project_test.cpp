// New, open, DXF open, save, save as and recent files through the window.
#include <QApplication>

#include "editing/project_commands.hpp"
#include "model/projectfile.hpp"
#include "shell/recent_menu.hpp"
#include "testing/tool_picks.hpp"
#include "tests/editor/editor_fixture.hpp"

using namespace kova;
using namespace kova::test;
namespace fs = std::filesystem;

namespace {

class Project : public EditorFixture {
protected:
    // A saved project with one point at (x, 0).
    fs::path SavedProject(const std::string& name, double x) {
        Start();
        AddPoint(x, 0);
        files.Script(dir / name);
        EXPECT_TRUE(form->SectionModel().BndPtCount == 1);
        form->SaveProjectAs();
        form.reset();
        files.calls.clear();
        return dir / name;
    }
};

TEST_F(Project, OpenBindsTheFileCaptionAndRecentList) {
    fs::create_directories(dir / "data");
    fs::path p = SavedProject("data/site.old.kov", 7);
    Start();
    files.Script(p);
    form->OpenProject();
    EXPECT_EQ(Caption(), "Kovadex - site");
    EXPECT_EQ(form->GetSession().ps.CurFileName, p.string());
    EXPECT_EQ(form->CurrentFileName(), p.string());
    EXPECT_EQ(form->SectionModel().BndPtCount, 1);
    EXPECT_EQ(form->SectionModel().BndPt[0].X, 7);
    EXPECT_EQ(form->Recent()->Path(1), p.string());
    EXPECT_EQ(files.calls.at(0).req.filter, kProjectFilter);
    EXPECT_TRUE(msg.shown.empty());  // nothing changed, nothing asked

    // Save writes the same file, whole name kept.
    AddPoint(9, 0);
    form->SaveProject();
    EXPECT_EQ(files.calls.size(), 1u);  // no dialog
    EXPECT_TRUE(fs::exists(p));
    EXPECT_FALSE(fs::exists(dir / "data" / "site.old"));
    EXPECT_FALSE(fs::exists(dir / "data" / "site.kov"));
    EXPECT_TRUE(form->close());  // saved: no question
    EXPECT_TRUE(msg.shown.empty());
}

TEST_F(Project, SaveAsAddsTheExtensionOnlyWhenMissing) {
    Start();
    AddPoint(1, 2);
    files.Script(dir / "plain");
    form->SaveProjectAs();
    EXPECT_TRUE(fs::exists(dir / "plain.kov"));
    EXPECT_EQ(form->CurrentFileName(), (dir / "plain.kov").string());
    EXPECT_EQ(Caption(), "Kovadex - plain");
    files.Script(dir / "two.dots.kov");
    form->SaveProjectAs();
    EXPECT_TRUE(fs::exists(dir / "two.dots.kov"));
    EXPECT_EQ(form->Recent()->Path(1), (dir / "two.dots.kov").string());
    EXPECT_EQ(form->Recent()->Path(2), (dir / "plain.kov").string());
}

TEST_F(Project, AFailedOpenKeepsTheOldProject) {
    fs::path good = SavedProject("good.kov", 5);
    WriteBytes(dir / "bad.kov", "000003\r\ntitle\r\nnot a number\r\n");
    Start();
    files.Script(good);
    form->OpenProject();
    WriteBytes(app / "tnk.csv", "kept");  // stands for results of this project
    const std::string org = ReadBytes(app / "KOVA_JKN.ORG");
    for (fs::path p : {dir / "bad.kov", dir / "vanished.kov"}) {
        msg.Clear();
        files.Script(p);
        form->OpenProject();
        ASSERT_EQ(msg.Count(), 1u) << p;
        EXPECT_EQ(form->SectionModel().BndPt[0].X, 5) << p;
        EXPECT_EQ(form->CurrentFileName(), good.string()) << p;
        EXPECT_EQ(Caption(), "Kovadex - good") << p;
        EXPECT_EQ(ReadBytes(app / "KOVA_JKN.ORG"), org) << p;
        EXPECT_TRUE(Exists("tnk.csv")) << p;
        EXPECT_EQ(form->Recent()->Path(1), good.string()) << p;
        EXPECT_FALSE(form->Recent()->Items().visible[2]) << p;
    }
    // A recent entry whose file is gone fails the same way.
    fs::remove(good);
    msg.Clear();
    form->OpenRecentFile(1);
    EXPECT_EQ(msg.Count(), 1u);
    EXPECT_EQ(form->SectionModel().BndPt[0].X, 5);
}

TEST_F(Project, AnUnwritableFileLeavesTheQuestionOpen) {
    Start();
    AddPoint(1, 1);
    files.Script(dir / "site.kov");
    form->SaveProjectAs();
    // A folder now stands where the file was: no save can replace it.
    fs::remove(dir / "site.kov");
    fs::create_directories(dir / "site.kov" / "x");
    AddPoint(2, 2);
    msg.Clear();
    msg.Script(MsgAnswer::Yes);
    EXPECT_FALSE(form->close());
    ASSERT_EQ(msg.Count(), 2u);  // the question, then the write failure
    EXPECT_TRUE(form->isVisible());
    // The same Yes before new keeps the project too.
    msg.Script(MsgAnswer::Yes);
    form->NewProject();
    EXPECT_EQ(form->SectionModel().BndPtCount, 2);
    // Save as to a folder fails and binds nothing.
    fs::create_directories(dir / "other.kov");
    files.Script(dir / "other.kov");
    form->SaveProjectAs();
    EXPECT_EQ(form->CurrentFileName(), (dir / "site.kov").string());
    EXPECT_EQ(form->Recent()->Path(1), (dir / "site.kov").string());
    msg.Clear();
    msg.Script(MsgAnswer::No);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(msg.Count(), 1u);
}

TEST_F(Project, QuestionAnswersBeforeNew) {
    Start();
    AddPoint(1, 1);
    msg.Script(MsgAnswer::Cancel);
    form->NewProject();
    EXPECT_EQ(form->SectionModel().BndPtCount, 1);
    EXPECT_EQ(msg.Last().text, kFileQuestion);

    // Yes on an untitled project, save as cancelled: new does not go on.
    msg.Script(MsgAnswer::Yes);
    files.Script(std::nullopt);
    form->NewProject();
    EXPECT_EQ(form->SectionModel().BndPtCount, 1);

    msg.Script(MsgAnswer::No);
    form->NewProject();
    EXPECT_EQ(form->SectionModel().BndPtCount, 0);
    EXPECT_EQ(Caption(), "Kovadex - 無題");
    msg.Clear();
    form->NewProject();  // unchanged: no question
    EXPECT_TRUE(msg.shown.empty());
}

TEST_F(Project, DxfOpen) {
    Start();
    AddPoint(1, 1);
    files.Script(dir / "site.kov");
    form->SaveProjectAs();
    // Cancel: the data stays, the project becomes untitled.
    files.Script(std::nullopt);
    form->OpenDxf();
    EXPECT_EQ(Caption(), "Kovadex - 無題");
    EXPECT_EQ(form->SectionModel().BndPtCount, 1);
    EXPECT_EQ(files.calls.back().req.filter, kDxfFilter);
    AddPoint(2, 2);
    msg.Script(MsgAnswer::No);
    files.Script(std::nullopt);
    form->OpenDxf();  // the question came: the project changed
    files.Script(dir / "again.kov");
    form->SaveProject();  // untitled now: asks for a name
    EXPECT_TRUE(files.calls.back().save);

    // A drawing without lines: no "ORG", no results dropped.
    WriteBytes(dir / "empty.dxf", "0\nSECTION\n2\nENTITIES\n0\nENDSEC\n0\nEOF\n");
    WriteBytes(app / "tnk.csv", "kept");
    const std::string org = ReadBytes(app / "KOVA_JKN.ORG");
    files.Script(dir / "empty.dxf");
    msg.Clear();
    // The import's wait cursor is gone before its message comes up, and after.
    std::vector<bool> waitingAtBox;
    msg.onShow = [&](const Message&) { waitingAtBox.push_back(QApplication::overrideCursor() != nullptr); };
    form->OpenDxf();
    msg.onShow = nullptr;
    EXPECT_EQ(waitingAtBox, std::vector<bool>{false});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(ReadBytes(app / "KOVA_JKN.ORG"), org);
    EXPECT_TRUE(Exists("tnk.csv"));
    EXPECT_EQ(form->SectionModel().BndPtCount, 2);

    // Two lines in metres: imported, counted in panel 2, the new reference
    // state, and nothing said.
    WriteBytes(dir / "two.dxf",
               "0\nSECTION\n2\nHEADER\n9\n$INSUNITS\n70\n6\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n10\n21\n0\n"
               "0\nLINE\n8\n0\n10\n10\n20\n0\n11\n10\n21\n-5\n0\nENDSEC\n0\nEOF\n");
    files.Script(dir / "two.dxf");
    msg.Clear();
    form->OpenDxf();
    EXPECT_EQ(form->SectionModel().BndLineCount, 2);
    EXPECT_EQ(form->StatusText(2), "DXF読込み:2");
    EXPECT_FALSE(Exists("tnk.csv"));
    EXPECT_TRUE(msg.shown.empty());
    // An arc without units: imported as chords, and the user told so, with
    // the unit assumed and the extent that landed (chords: not quite 5 m
    // high), in one message once it is shown.
    WriteBytes(dir / "arc.dxf",
               "0\nSECTION\n2\nENTITIES\n0\nARC\n8\n0\n10\n0\n20\n0\n40\n5\n50\n0\n51\n180\n"
               "0\nENDSEC\n0\nEOF\n");
    files.Script(dir / "arc.dxf");
    form->OpenDxf();
    EXPECT_GT(form->SectionModel().BndLineCount, 10);
    ASSERT_EQ(msg.Count(), 1u);
    EXPECT_EQ(msg.Last().text, "図面に単位の指定がないため、メートルとして取り込みました。\r"
                               "取り込んだ範囲は幅10m×高さ4.99mです。\r曲線を線分で近似して取り込みました（円弧1個）。");
    msg.Clear();
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(msg.shown.empty());
}

TEST_F(Project, APaletteOutlivesOpenButNotNew) {
    fs::path p = SavedProject("site.kov", 3);
    Start();
    QWidget palette(form.get(), Qt::Tool);
    palette.setWindowTitle(QStringLiteral("境界線編集"));
    palette.show();
    form->State().cmd_mode = 3;
    // Marks of the project before name nothing in the one opened.
    form->State().SelFlags[2] = 1;
    form->State().SelCount = 1;
    test::PickWithEveryTool(form->State(), test::kSomePicks);
    files.Script(p);
    form->OpenProject();
    EXPECT_TRUE(palette.isVisible());
    EXPECT_EQ(form->State().cmd_mode, 0);
    EXPECT_EQ(form->State().SelFlags[2], -1);
    EXPECT_EQ(form->State().SelCount, 0);
    EXPECT_EQ(test::ToolsHolding(form->State()), std::vector<int>{});
    form->NewProject();
    EXPECT_FALSE(palette.isVisible());
}

}  // namespace

namespace {

class ProjectReview : public EditorFixture {};

// The current state cannot be written (a title the file's code page cannot
// hold stands for any write failure): an earlier snapshot equal to "ORG"
// must not pass for it, or the changes go without a question.
TEST_F(ProjectReview, AnUnwritableCurrentSnapshotStillAsks) {
    struct Case {
        const char* name;
        std::function<void(Form1&)> command;
        const char* question;
    } cases[] = {
        {"close", [](Form1& f) { f.close(); }, kCondQuestion},
        {"new", [](Form1& f) { f.NewProject(); }, kFileQuestion},
        {"open", [](Form1& f) { f.OpenProject(); }, kFileQuestion},
    };
    for (const Case& c : cases) {
        Start();
        form->PrintReports();  // leaves a current snapshot equal to "ORG"
        ASSERT_EQ(ReadBytes(app / "KOVA_JKN.EDT"), ReadBytes(app / "KOVA_JKN.ORG"));
        AddPoint(4, 4);
        form->SectionModel().Cond.ProjectTitle = "현장";
        msg.Clear();
        msg.Script(MsgAnswer::Yes);  // the write failure box
        msg.Script(MsgAnswer::Cancel);
        c.command(*form);
        EXPECT_EQ(Texts().back(), c.question) << c.name;
        EXPECT_TRUE(form->isVisible()) << c.name;
        EXPECT_EQ(form->SectionModel().BndPtCount, 1) << c.name;
        form.reset();
    }
}

// Yes, then a save under a new name, moves the recent list down: the file
// opened is still the one the user chose.
TEST_F(ProjectReview, ARecentFileOpensWhatWasChosenAfterASaveAs) {
    Start();
    AddPoint(7, 0);
    files.Script(dir / "x.kov");
    form->SaveProjectAs();
    form->NewProject();  // saved: nothing to ask
    AddPoint(1, 1);
    msg.Clear();
    msg.Script(MsgAnswer::Yes);
    files.Script(dir / "y.kov");
    form->OpenRecentFile(1);
    EXPECT_TRUE(fs::exists(dir / "y.kov"));
    EXPECT_EQ(form->CurrentFileName(), (dir / "x.kov").string());
    EXPECT_EQ(Caption(), "Kovadex - x");
    ASSERT_EQ(form->SectionModel().BndPtCount, 1);
    EXPECT_EQ(form->SectionModel().BndPt[0].X, 7);
    EXPECT_EQ(form->Recent()->Path(1), (dir / "x.kov").string());
    EXPECT_EQ(form->Recent()->Path(2), (dir / "y.kov").string());
}

}  // namespace
