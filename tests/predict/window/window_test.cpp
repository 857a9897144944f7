#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "platform/qt/qt_text.hpp"
#include "platform/qt/screen_qt.hpp"
#include "predict/commands/calc_run.hpp"
#include "predict/window/obs_grid.hpp"
#include "shell/about.hpp"
#include "shell/recent_menu.hpp"
#include "testing/fakes.hpp"
#include "tests/support/viewer_grammar.hpp"
#include "window_fixture.hpp"

namespace kova::predict {
namespace {

using kova::test::ReadBytes;
using test::Sample;
using test::WindowFixture;

std::string Title(const f2& w) { return U(w.windowTitle()); }

TEST(PredictWindow, StartNewAndCloseAskNothing) {
    WindowFixture f;
    EXPECT_EQ(Title(*f.w), "Tolmadex - 無題");
    EXPECT_EQ(f.w->CurStation(), 0);
    EXPECT_TRUE(std::filesystem::exists(f.app / "KOVA_TLM.ORG"));
    EXPECT_TRUE(f.w->QEXFLG()->ReadOnly());
    f.w->new_Click();
    EXPECT_EQ(Title(*f.w), "Tolmadex - 無題");
    EXPECT_TRUE(f.Close());
    EXPECT_EQ(f.msg.Count(), 0u);
}

TEST(PredictWindow, StartDeletesOldReports) {
    kova::test::TempDir app;
    for (const char* name : {"TL_PRD1.PDT", "YOSOKU12.PZK", "KAIKI_3.PZK", "KAIKI.PFM", "TL_PRD1.TXT"})
        kova::test::WriteBytes(app / name, "x");
    RecordingMessages msg;
    ScriptedFileDialogs files;
    ScriptedProcesses processes;
    RecordingHelpViewer help;
    MemorySettings settings;
    f2 w(PredictServices{&msg, &files, &processes, &help, &settings, app.path(), ""});
    w.Form_Load();
    EXPECT_FALSE(std::filesystem::exists(app / "TL_PRD1.PDT"));
    EXPECT_FALSE(std::filesystem::exists(app / "YOSOKU12.PZK"));
    EXPECT_FALSE(std::filesystem::exists(app / "KAIKI_3.PZK"));
    EXPECT_TRUE(std::filesystem::exists(app / "KAIKI.PFM"));
    EXPECT_TRUE(std::filesystem::exists(app / "TL_PRD1.TXT"));
}

TEST(PredictWindow, UnsavedQuestionAndItsAnswers) {
    // Cancel changes nothing; No goes on; Yes on an untitled data set asks
    // for a name, and a cancelled or failed save stops the command.
    WindowFixture f;
    f.Open(Sample("sample.tlm"));
    ASSERT_EQ(f.w->CurStation(), 1);
    f.w->Data().JobTitle = "変更";
    f.msg.Script(MsgAnswer::Cancel);
    f.w->open_Click();
    ASSERT_EQ(f.msg.Count(), 1u);
    const Message& q = f.msg.Last();
    EXPECT_EQ(q.text, "現在開いているデータが保存されていません。保存しますか？");
    EXPECT_EQ(q.caption, "保存確認");
    EXPECT_EQ(q.buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(q.icon, MsgIcon::Information);
    EXPECT_EQ(DefaultAnswer(q), MsgAnswer::No);
    EXPECT_EQ(f.files.calls.size(), 1u);  // only the first Open
    EXPECT_EQ(f.w->Data().JobTitle, "変更");

    f.msg.Script(MsgAnswer::No);
    f.w->new_Click();
    EXPECT_EQ(f.w->Data().JobTitle, "無題");
    EXPECT_EQ(Title(*f.w), "Tolmadex - 無題");

    f.w->Data().JobTitle = "未保存";
    f.msg.Clear();
    f.msg.Script(MsgAnswer::Yes);
    f.files.Script(std::nullopt);  // Save As cancelled
    EXPECT_FALSE(f.Close());
    EXPECT_EQ(f.msg.Last().text, "検討条件が更新されています。保存しますか？");
    EXPECT_TRUE(f.files.calls.back().save);

    f.msg.Script(MsgAnswer::Yes);
    f.files.Script(f.work / "missing" / "x.tlm");  // cannot be written
    EXPECT_FALSE(f.Close());
    EXPECT_EQ(f.msg.Last().text, WriteFailureText(f.work / "missing" / "x.tlm", ""));
    EXPECT_EQ(Title(*f.w), "Tolmadex - 無題");
    EXPECT_EQ(f.w->RecentMenu()->Path(1), Sample("sample.tlm").string());

    f.msg.Script(MsgAnswer::Yes);
    f.files.Script(f.work / "x.tlm");
    EXPECT_TRUE(f.Close());
    EXPECT_EQ(ReadDataFile(f.work / "x.tlm").JobTitle, "未保存");
}

TEST(PredictWindow, FileNamesAsChosen) {
    WindowFixture f;
    kova::test::WriteBytes(f.work / "site.A.tlm", ReadBytes(Sample("sample.tlm")));
    f.Open(f.work / "site.A.tlm");
    EXPECT_EQ(Title(*f.w), "Tolmadex - site");
    EXPECT_EQ(f.w->RecentMenu()->Path(1), (f.work / "site.A.tlm").string());
    f.w->Data().JobTitle = "上書き";
    EXPECT_TRUE(f.w->save_Click());
    EXPECT_EQ(ReadDataFile(f.work / "site.A.tlm").JobTitle, "上書き");

    f.files.Script(f.work / "X.TLM");
    EXPECT_TRUE(f.w->add_save_Click());
    EXPECT_TRUE(std::filesystem::exists(f.work / "X.TLM"));
    EXPECT_EQ(f.w->CurFileName(), (f.work / "X.TLM").string());
    EXPECT_EQ(Title(*f.w), "Tolmadex - X");
    f.files.Script(f.work / "plain");
    EXPECT_TRUE(f.w->add_save_Click());
    EXPECT_TRUE(std::filesystem::exists(f.work / "plain.tlm"));
    // Saved as it is: nothing to ask.
    EXPECT_TRUE(f.Close());
    EXPECT_EQ(f.msg.Count(), 0u);
}

TEST(PredictWindow, UnreadableFilesChangeNothing) {
    WindowFixture f;
    f.Open(Sample("sample.tlm"));
    const std::string before = DataFileText(f.w->Data());
    kova::test::WriteBytes(f.work / "bad.tlm", "\"FileVer\",1\r\n\"業務名称\"\r\n");
    for (const auto& file : {f.work / "bad.tlm", f.work / "gone.tlm"}) {
        f.Open(file);
        EXPECT_EQ(f.msg.Last().text.rfind(ReadFailureText(file, ""), 0), 0u) << file;
        EXPECT_EQ(DataFileText(f.w->Data()), before);
        EXPECT_EQ(Title(*f.w), "Tolmadex - sample");
        EXPECT_EQ(f.w->CurStation(), 1);
        EXPECT_EQ(f.w->QEXFLG()->Text(1, kColDate), "2003/04/15");
    }
    // A recent entry whose file vanished.
    f.w->RecentMenu()->Update((f.work / "gone.tlm").string());
    f.msg.Clear();
    f.w->mnuRecentFile_Click(1);
    EXPECT_EQ(f.msg.Count(), 1u);
    EXPECT_EQ(DataFileText(f.w->Data()), before);
}

TEST(PredictWindow, FileWithoutStationsShowsTheEmptyGrid) {
    WindowFixture f;
    f.Open(Sample("sample.tlm"));
    ASSERT_TRUE(f.w->Opt_p(0)->isChecked());
    f.Open(Sample("empty.tlm"));
    EXPECT_EQ(f.w->CurStation(), 0);
    EXPECT_TRUE(f.w->QEXFLG()->ReadOnly());
    EXPECT_EQ(f.w->QEXFLG()->RowsInUse(), 0);
    for (int i = 0; i < 20; ++i) {
        EXPECT_FALSE(f.w->Opt_p(i)->isChecked()) << i;
        EXPECT_FALSE(f.w->Opt_p(i)->isEnabled()) << i;
    }
    // The boxes store nothing without a station.
    f.w->TS()->setText("3");
    EXPECT_EQ(f.w->Data().Stations[0].Sa, 0);
    EXPECT_EQ(f.w->Data().Stations[1].Sa, 0);
}

TEST(PredictWindow, StationSwitchShowsTheRecord) {
    WindowFixture f;
    f.Open(Sample("sample.tlm"));
    EXPECT_EQ(U(f.w->Label1()->text()), "No.1 ～ 測点");
    EXPECT_EQ(U(f.w->Label2()->text()), "第2工区,盛土－北");
    EXPECT_EQ(U(f.w->TE()->text()), "4");
    EXPECT_EQ(f.w->SelectedObservation(), 1);
    f.w->Opt_p(2)->click();
    EXPECT_EQ(f.w->CurStation(), 3);
    EXPECT_TRUE(f.w->Opt_p(2)->isChecked());
    EXPECT_FALSE(f.w->Opt_p(0)->isChecked());
    EXPECT_EQ(f.w->QEXFLG()->RowsInUse(), 2);
    EXPECT_EQ(f.w->QEXFLG()->Text(2, kColSettlement), "1.500");
    EXPECT_EQ(f.w->QEXFLG()->Text(2, kColRemark), "a,b");
    EXPECT_EQ(f.w->QEXFLG()->Text(2, kColSW), "");
    EXPECT_EQ(U(f.w->Lbl(4)->text()), "       0.000 ");
    // A station without observations selects none; the disabled spinner
    // still holds 1, which the arrow buttons hand on.
    f.w->Opt_p(1)->click();
    EXPECT_EQ(f.w->SelectedObservation(), 0);
    EXPECT_FALSE(f.w->UpDown1()->isEnabled());
    f.w->Command1()->click();
    EXPECT_EQ(U(f.w->TS()->text()), "1");
    EXPECT_EQ(f.w->Data().Stations[2].Sa, 1);
}

TEST(PredictWindow, ArrowButtonsTakeTheDisabledSpinnersValue) {
    WindowFixture f;
    EXPECT_EQ(f.w->UpDown1()->value(), 1);  // at start-up as after New
    f.Open(Sample("sample.tlm"));
    f.w->Opt_p(1)->click();  // no observations: maximum 0, minimum 1, value 1
    f.w->Command2()->click();
    EXPECT_EQ(U(f.w->TE()->text()), "1");
    EXPECT_EQ(f.w->Data().Stations[2].SaPrime, 1);

    // After New (maximum 2, minimum 1, value 1) the boxes take 1 and, with
    // no station shown, nothing stores it.
    f.w->Opt_p(0)->click();
    f.w->UpDown1()->setValue(3);
    f.w->new_Click();
    EXPECT_FALSE(f.w->UpDown1()->isEnabled());
    EXPECT_EQ(f.w->UpDown1()->value(), 1);
    f.w->TS()->setText("7");
    f.w->Command1()->click();
    EXPECT_EQ(U(f.w->TS()->text()), "1");
    EXPECT_EQ(f.w->Data().Stations[0].Sa, 0);
}

TEST(PredictWindow, UnloadReadsTheRecentFilesAgain) {
    WindowFixture f;
    // Another run of the program has put a file into the list meanwhile.
    RecentFileList(f.settings, "Tolm_xxx").WriteRecentFiles("/data/other.tlm", 4);
    EXPECT_FALSE(f.w->RecentMenu()->Items().visible[1]);
    EXPECT_TRUE(f.Close());
    EXPECT_TRUE(f.w->RecentMenu()->Items().visible[1]);
    EXPECT_EQ(f.w->RecentMenu()->Path(1), "/data/other.tlm");

    // A refused close reads nothing.
    WindowFixture g;
    g.Open(Sample("sample.tlm"));
    g.w->TS()->setText("33");
    RecentFileList(g.settings, "Tolm_xxx").WriteRecentFiles("/data/other.tlm", 4);
    g.msg.Script(MsgAnswer::Cancel);
    EXPECT_FALSE(g.Close());
    EXPECT_NE(g.w->RecentMenu()->Path(1), "/data/other.tlm");
}

TEST(PredictWindow, RangeBoxes) {
    WindowFixture f;
    f.Open(Sample("sample.tlm"));
    const StationRecord& s = f.w->Data().Stations[1];
    struct Case {
        const char* text;
        int sa;
    };
    for (const Case& c : {Case{"12.5", 12}, Case{"13.5", 14}, Case{"600", 14}, Case{"-40000", 14},
                          Case{"abc", 14}, Case{"", 0}, Case{"3", 3}}) {
        f.w->TS()->setText(c.text);
        EXPECT_EQ(s.Sa, c.sa) << c.text;
    }
    // Text that is no number is refused when the box is left.
    f.msg.Clear();
    f.w->TS()->setText("l2");
    EXPECT_EQ(s.Sa, 3);
    f.w->TS_LostFocus();
    ASSERT_EQ(f.msg.Count(), 1u);
    EXPECT_EQ(f.msg.Last().text, "「Sa」には数値を入力してください。");
    EXPECT_EQ(U(f.w->TS()->text()), "3");
    EXPECT_EQ(s.Sa, 3);
    // Leaving the box shows its "0" format: halves away from zero.
    for (const auto& [typed, shown] : {std::pair{"2.5", "3"}, std::pair{"3.5", "4"}, std::pair{"0.5", "1"}}) {
        f.w->TE()->setText(typed);
        f.w->TE_LostFocus();
        EXPECT_EQ(U(f.w->TE()->text()), shown) << typed;
        EXPECT_EQ(std::to_string(s.SaPrime), shown) << typed;
    }
    // A row number outside the file's range, also one the format would
    // round to it, is refused like a letter: the box shows what is stored.
    for (const char* typed : {"-0.5", "-1", "501", "1e999"}) {
        f.msg.Clear();
        f.w->TE()->setText(typed);
        f.w->TE_LostFocus();
        ASSERT_EQ(f.msg.Count(), 1u) << typed;
        EXPECT_EQ(f.msg.Last().text, "「Sa'」は0～500の範囲で指定してください。");
        EXPECT_EQ(U(f.w->TE()->text()), std::to_string(s.SaPrime)) << typed;
        EXPECT_GE(s.SaPrime, 0) << typed;
    }
    f.w->TE()->setText("12.7");
    f.w->TE_LostFocus();
    EXPECT_EQ(U(f.w->TE()->text()), "13");
    EXPECT_EQ(s.SaPrime, 13);
    f.w->UpDown1()->setValue(2);
    f.w->Command2()->click();
    EXPECT_EQ(s.SaPrime, 2);
}

// The boxes of the window as the user types them: a letter is refused with
// the box's name every time, the box gets back what the graph or the station
// holds and keeps the focus; a number leaves in the box's format.
TEST(PredictWindow, TypedBoxesRefuseLettersEveryTime) {
    WindowFixture f;
    f.Open(Sample("sample.tlm"));
    f.w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.w.get()));
    QApplication::setActiveWindow(f.w.get());
    const StationRecord& s = f.w->Data().Stations[1];
    auto typeAndLeave = [&](QLineEdit* box, const char* text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, QString::fromUtf8(text));
        QTest::keyClick(box, Qt::Key_Tab);
    };
    typeAndLeave(f.w->TS(), "2.5");
    EXPECT_EQ(U(f.w->TS()->text()), "3");
    EXPECT_EQ(s.Sa, 3);
    const struct {
        QLineEdit* box;
        const char* message;
        const char* kept;
    } boxes[] = {
        {f.w->txt_n(), "「時間軸最大値」には数値を入力してください。", "500"},
        {f.w->txt_t(), "「沈下量軸最大値」には数値を入力してください。", "1.2"},
        {f.w->TS(), "「Sa」には数値を入力してください。", "3"},
        {f.w->TE(), "「Sa'」には数値を入力してください。", "4"},
    };
    for (const auto& b : boxes)
        for (const char* bad : {"l000", "x", "l000"}) {
            SCOPED_TRACE(std::string(b.message) + " " + bad);
            f.msg.Clear();
            typeAndLeave(b.box, bad);
            ASSERT_EQ(f.msg.Count(), 1u);
            EXPECT_EQ(f.msg.Last().text, b.message);
            EXPECT_EQ(U(b.box->text()), b.kept);
            EXPECT_TRUE(b.box->hasFocus());
        }
    EXPECT_EQ(s.Sa, 3);
    EXPECT_EQ(s.SaPrime, 4);
    // Typed key by key, an out-of-range number passes values that fit (6,
    // 60 of 600): leaving puts back the value the box had when entered.
    for (const char* bad : {"600", "-1", "1e999"}) {
        SCOPED_TRACE(bad);
        f.msg.Clear();
        typeAndLeave(f.w->TS(), bad);
        ASSERT_EQ(f.msg.Count(), 1u);
        EXPECT_EQ(f.msg.Last().text, "「Sa」は0～500の範囲で指定してください。");
        EXPECT_EQ(U(f.w->TS()->text()), "3");
        EXPECT_EQ(s.Sa, 3);
    }
}

TEST(PredictWindow, RunThenPrint) {
    WindowFixture f;
    f.w->printout_Click();  // before any run
    ASSERT_EQ(f.msg.Count(), 1u);
    EXPECT_EQ(f.msg.Last().text, "未計算の為、印刷する帳票はありません。");
    EXPECT_EQ(f.msg.Last().caption, "帳票印刷");
    EXPECT_EQ(f.msg.Last().icon, MsgIcon::Information);
    EXPECT_TRUE(f.processes.started.empty());

    f.Open(Sample("sample.tlm"));
    f.msg.Clear();
    f.w->cal_tnk_Click();
    // Station 2 has no range, station 3 only two rows: their own messages.
    EXPECT_EQ(f.msg.Count(), 2u);
    EXPECT_TRUE(std::filesystem::exists(f.app / "TL_PRD1.PDT"));
    EXPECT_FALSE(std::filesystem::exists(f.app / "TL_PRD2.PDT"));
    EXPECT_EQ(testsupport::JoinErrors(
                  testsupport::CheckViewerFolder(f.app.path(), testsupport::DateStyle::Prediction, true)),
              "");
    EXPECT_EQ(U(f.w->Lbl(2)->text()), "       1.0000");
    EXPECT_EQ(U(f.w->Lbl(3)->text()), "      10.0000");
    EXPECT_EQ(U(f.w->Lbl(4)->text()), "       1.000 ");
    EXPECT_EQ(U(f.w->Lbl(7)->text()), "       1.0000");
    EXPECT_EQ(f.w->CurStation(), 1);

    f.msg.Clear();
    f.w->printout_Click();
    ASSERT_EQ(f.processes.started.size(), 1u);
    EXPECT_EQ(f.processes.started[0].args, (std::vector<std::string>{"/PDTOPEN", "TL"}));
    EXPECT_EQ(f.processes.started[0].workDir, f.app.path());
    EXPECT_TRUE(f.w->isEnabled());
    EXPECT_EQ(f.msg.Count(), 0u);

    // A viewer that cannot start: told, and the window works again.
    f.processes.Script(ProcessStatus{ProcessState::FailedToStart, 0, "missing"});
    f.w->printout_Click();
    EXPECT_EQ(f.msg.Last().text, ViewerStartFailedText(ViewerProgram(f.app.path())));
    EXPECT_TRUE(f.w->isEnabled());

    // New forgets the run.
    f.w->new_Click();
    f.processes.started.clear();
    f.w->printout_Click();
    EXPECT_TRUE(f.processes.started.empty());
    EXPECT_FALSE(std::filesystem::exists(f.app / "TL_PRD1.PDT"));
}

// A viewer that is still running when the user tries to close the window.
class CloseWhileRunning : public ProcessRunner {
public:
    explicit CloseWhileRunning(f2*& w) : w_(w) {}
    ProcessStatus RunAndWait(const ProcessRequest&) override {
        enabledWhileRunning = w_->isEnabled();
        closed = w_->close();
        return ProcessStatus{ProcessState::Exited, 0, ""};
    }
    bool enabledWhileRunning = true;
    bool closed = true;

private:
    f2*& w_;
};

TEST(PredictWindow, CloseIgnoredWhileTheViewerRuns) {
    kova::test::TempDir app;
    RecordingMessages msg;
    ScriptedFileDialogs files;
    RecordingHelpViewer help;
    MemorySettings settings;
    f2* window = nullptr;
    CloseWhileRunning viewer(window);
    f2 w(PredictServices{&msg, &files, &viewer, &help, &settings, app.path(), ""});
    window = &w;
    w.Form_Load();
    files.Script(Sample("sample.tlm"));
    w.open_Click();
    w.cal_tnk_Click();
    msg.Clear();
    w.printout_Click();
    EXPECT_FALSE(viewer.enabledWhileRunning);
    EXPECT_FALSE(viewer.closed);
    EXPECT_EQ(msg.Count(), 0u);
    EXPECT_TRUE(w.isEnabled());
}

TEST(PredictWindow, UnwritableReportRefusesPrint) {
    WindowFixture f;
    f.Open(Sample("sample.tlm"));
    std::filesystem::create_directory(f.app / "YOSOKU1.PZK");
    f.msg.Clear();
    f.w->cal_tnk_Click();
    EXPECT_EQ(f.msg.shown.at(0).text, ReportWriteFailureText("YOSOKU1.PZK"));
    EXPECT_FALSE(std::filesystem::exists(f.app / "TL_PRD1.PDT"));
    EXPECT_FALSE(f.w->Printable());
    f.w->printout_Click();
    EXPECT_TRUE(f.processes.started.empty());
}

TEST(PredictWindow, NoStationsNoRun) {
    WindowFixture f;
    kova::test::WriteBytes(f.app / "TL_PRD4.PDT", "old");
    f.w->cal_tnk_Click();
    EXPECT_TRUE(std::filesystem::exists(f.app / "TL_PRD4.PDT"));
    EXPECT_EQ(f.msg.Count(), 0u);
}

TEST(PredictWindow, HelpAndAbout) {
    WindowFixture f;
    f.w->help_Click();
    EXPECT_EQ(f.msg.Count(), 1u);  // no help file in the folder
    kova::test::WriteBytes(f.app / "KOVA_TLM.HLP", "x");
    f.w->Toolbar1_ButtonClick(12);
    ASSERT_EQ(f.help.opened.size(), 1u);
    EXPECT_EQ(f.help.opened[0], f.app / "KOVA_TLM.HLP");

    std::string caption;
    kova::test::WhenModal<AboutBox>([&](AboutBox* box) {
        caption = U(box->windowTitle());
        box->accept();
    });
    f.w->ver_Click();
    EXPECT_EQ(caption, "Tolmadexのﾊﾞｰｼﾞｮﾝ情報");
}

TEST(PredictWindow, StatusHelpTexts) {
    WindowFixture f;
    auto enter = [&](QWidget* w) {
        QEvent e(QEvent::Enter);
        QApplication::sendEvent(w, &e);
        return U(f.w->StatusPanel1()->text());
    };
    EXPECT_EQ(enter(f.w->cmd_op()), "グラフ表示オプション＞沈下予測に対する条件指定");
    EXPECT_EQ(enter(f.w->Command1()), "Sa代入ボタン＞現在の観測データをSaとする");
    EXPECT_EQ(enter(f.w->Command2()), "Sa'代入ボタン＞現在の観測データをSa'とする");
    EXPECT_EQ(enter(f.w->Opt_p(7)), "観測所切り換えボタン＞観測データ入力/グラフ確認を行う観測所を選択");
    EXPECT_EQ(enter(f.w->UpDown1()), "観測データ確認＞左右ボタンで切り換え。（→ボタンでSa-Sa'を代入）");
    EXPECT_EQ(enter(f.w->Fra1()), " ");
    f.w->txt_n()->setText("800");
    EXPECT_EQ(U(f.w->StatusPanel1()->text()),
              "時間軸最大値＞観測初日からの経過日数で指定してください。（年月表記の場合も経過日数で指定）");
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(f.w->QEXFLG(), &out);
    EXPECT_EQ(U(f.w->StatusPanel1()->text()), "  ");
}

TEST(PredictWindow, LayoutFollowsTheWindowSize) {
    WindowFixture f;
    f.w->show();
    const TwipsScale s = ScreenTwips(f.w.get());
    auto tw = [&](int px) { return static_cast<int>(s.ToTwipsX(px)); };
    f.w->resize(800, 600);
    QApplication::processEvents();
    // The window's own size, without the window manager's frame.
    const int H = tw(f.w->height()), W = tw(f.w->width());
    EXPECT_NEAR(tw(f.w->P1()->width()), W - 4845, 15);
    EXPECT_NEAR(tw(f.w->P1()->height()), (H - 2430) / 2, 15);
    EXPECT_EQ(f.w->P2()->width(), f.w->P2()->height());
    EXPECT_NEAR(tw(f.w->QEXFLG()->height()), H - 2385, 15);
    EXPECT_EQ(f.w->P2()->y(), f.w->P1()->y() + f.w->P1()->height() + 1);
    EXPECT_EQ(f.w->Fra1()->x(), f.w->P2()->x() + f.w->P2()->width() + 5);
    // Every control of the panel lies inside the window.
    EXPECT_LE(f.w->Fra1()->x() + f.w->Fra1()->width(), f.w->Client()->width());
    EXPECT_LE(f.w->Fra1()->y() + f.w->Fra1()->height(), f.w->Client()->height());

    const QSize before = f.w->P1()->size();
    f.w->resize(320, 600);  // below 5000 twips wide: the layout stays
    QApplication::processEvents();
    EXPECT_EQ(f.w->P1()->size(), before);
}

// Where every part the layout moves lies, in the window's coordinates.
struct Placement {
    QRect grid, p1, p2, fra1, label2;
    bool operator==(const Placement&) const = default;
};
Placement PlacementOf(const f2& w) {
    return {w.QEXFLG()->geometry(), w.P1()->geometry(), w.P2()->geometry(), w.Fra1()->geometry(),
            w.Label2()->geometry()};
}

TEST(PredictWindow, LayoutStaysAfterNewAndAfterMaximiseAndRestore) {
    // The layout at start-up, taken before the window had a frame, is the
    // one it keeps when the window shows and after New.
    WindowFixture f;
    const Placement atStart = PlacementOf(*f.w);
    f.w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.w.get()));
    ASSERT_NE(f.w->frameGeometry().size(), f.w->size()) << "the platform draws no frame";
    EXPECT_EQ(PlacementOf(*f.w), atStart);
    f.w->new_Click();
    EXPECT_EQ(PlacementOf(*f.w), atStart);

    f.w->showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.w->isMaximized() && f.w->size() != QSize(800, 600); }));
    EXPECT_GT(f.w->P1()->height(), atStart.p1.height());
    f.w->showNormal();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.w->isMaximized() && f.w->size() == QSize(800, 600); }));
    EXPECT_EQ(PlacementOf(*f.w), atStart);

    // Nothing is cut off: the panel with everything in it lies inside the
    // client area, which also holds the grid and both graphs.
    const QRect client = f.w->Client()->rect();
    for (const QRect& r : {atStart.grid, atStart.p1, atStart.p2, atStart.fra1})
        EXPECT_TRUE(client.contains(r)) << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
    for (const QWidget* child : f.w->Fra1()->findChildren<QWidget*>()) {
        if (!child->isVisibleTo(f.w->Fra1())) continue;
        EXPECT_TRUE(f.w->Fra1()->rect().contains(child->geometry())) << U(child->objectName());
    }
}

TEST(PredictWindow, ResultValueBoxesAndTheirUnits) {
    WindowFixture f;
    f.Open(Sample("sample.tlm"));
    f.w->cal_tnk_Click();
    const TwipsScale s = ScreenTwips(f.w.get());
    struct Row {
        int label;
        const char* unitName;
        const char* unit;
    };
    for (const Row& r : {Row{4, "Label13", "m"}, Row{3, "Label15", "日/m"}, Row{2, "Label14", "1/m"},
                         Row{7, nullptr, nullptr}}) {
        const QLabel* value = f.w->Lbl(r.label);
        const QRect designed = TwipsRect(s, 1260, 0, 2295, 315);
        EXPECT_EQ(value->x(), designed.x()) << r.label;
        EXPECT_EQ(value->size(), designed.size()) << r.label;
        if (!r.unitName) continue;
        const auto* unit = f.w->Fra1()->findChild<QLabel*>(QLatin1String(r.unitName));
        ASSERT_NE(unit, nullptr) << r.unitName;
        EXPECT_EQ(U(unit->text()), r.unit);
        // Inside the value box, after the 13 characters of the value.
        EXPECT_TRUE(value->geometry().contains(unit->geometry())) << r.unitName;
        const int textEnd = value->x() + value->contentsRect().x() +
                            value->fontMetrics().horizontalAdvance(value->text());
        EXPECT_GT(unit->x(), textEnd) << r.unitName;
        EXPECT_GE(unit->width(), unit->fontMetrics().horizontalAdvance(unit->text())) << r.unitName;
    }
}

}  // namespace
}  // namespace kova::predict

namespace kova::predict {
namespace {

TEST(PredictWindow, ExampleOpensCalculatesAndPrints) {
    WindowFixture f;
    f.Open(std::filesystem::path(KOVA_TEST_DATA) / ".." / ".." / "examples" / "observation.tlm");
    ASSERT_EQ(f.w->Data().StationCount, 3);
    f.w->cal_tnk_Click();
    EXPECT_EQ(f.msg.Count(), 0u);
    for (int k = 1; k <= 3; ++k) {
        const StationRecord& s = f.w->Data().Stations[k];
        EXPECT_GT(s.R2, 0.9) << k;
        EXPECT_GT(s.TargetDay, 0) << k;
        EXPECT_TRUE(std::filesystem::exists(f.app / StationReportName(k))) << k;
    }
    EXPECT_EQ(testsupport::JoinErrors(
                  testsupport::CheckViewerFolder(f.app.path(), testsupport::DateStyle::Prediction, true)),
              "");
    f.w->printout_Click();
    EXPECT_EQ(f.processes.started.size(), 1u);
}

}  // namespace
}  // namespace kova::predict
