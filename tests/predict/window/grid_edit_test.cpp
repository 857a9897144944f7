#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <fstream>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include "platform/qt/qt_text.hpp"
#include "predict/window/obs_grid.hpp"
#include "predict/window/station_list_dialog.hpp"
#include "testing/fakes.hpp"
#include "tests/support/grid_typing.hpp"
#include "window_fixture.hpp"

namespace kova::predict {
namespace {

using test::Sample;

// The window on sample.tlm, shown, station 1 (four readings, Sa 1, Sa' 4).
struct GridFixture : test::WindowFixture {
    ObservationGrid* g = nullptr;

    GridFixture() {
        Open(Sample("sample.tlm"));
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        g = w->QEXFLG();
        msg.Clear();
    }
    const StationRecord& Station() const { return w->Data().Stations[w->CurStation()]; }

    // Opens the cell's editor and types; the editor stays open.
    QLineEdit* TypeOpen(int row, int col, const QString& text) {
        // Editors closed earlier go first, so that the one found is the new one.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        g->SetCurrentCell(row, col);
        g->edit(g->currentIndex());
        auto* ed = g->viewport()->findChild<QLineEdit*>();
        EXPECT_NE(ed, nullptr) << "no editor at " << row << "," << col;
        if (!ed) return nullptr;
        ed->selectAll();
        kova::test::KeyText(ed, text);
        return ed;
    }
    // Types into the cell and ends with Return.
    void Type(int row, int col, const QString& text) {
        if (QLineEdit* ed = TypeOpen(row, col, text)) QTest::keyClick(ed, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    std::string Cell(int row, int col) const { return g->Text(row, col); }
};

TEST(PredictGrid, TypingReadings) {
    GridFixture f;
    // A valid date in the row after the last observation adds it.
    f.Type(5, kColDate, "2003/8/1");
    EXPECT_EQ(f.msg.Count(), 0u);
    ASSERT_EQ(f.Station().Count, 5);
    EXPECT_EQ(GridDateText(f.Station().ObsDate[5]), "2003/08/01");
    EXPECT_EQ(f.Station().Settlement[5], 0.0);
    EXPECT_EQ(f.Station().Remark[5], "");
    EXPECT_EQ(f.Station().SW[5], 0);
    EXPECT_EQ(f.Cell(5, kColNo), "5");
    EXPECT_EQ(f.w->UpDown1()->maximum(), 5);

    // Settlement, SW and a remark with a comma.
    f.Type(5, kColSettlement, "0.95");
    f.Type(5, kColSW, "1.0");
    f.Type(5, kColRemark, "沈下板,再設置");
    EXPECT_EQ(f.Station().Settlement[5], 0.95);
    EXPECT_EQ(f.Station().SW[5], 1);
    EXPECT_EQ(f.Station().Remark[5], "沈下板,再設置");
    f.Type(5, kColSW, "2");
    EXPECT_EQ(f.Station().SW[5], 0);
    EXPECT_EQ(f.msg.Count(), 0u);

    // Refused where entered: the cell shows its old text, nothing stored.
    struct Refusal {
        int col;
        const char* text;
        const char* message;
        std::string kept;
    };
    for (const Refusal& r : {Refusal{kColRemark, "a\"b", "「備考」の5行目に使用できない文字（\"）が含まれています。", "沈下板,再設置"},
                             Refusal{kColSettlement, "1E999", "「沈下量(m)」の5行目は-1000～1000の範囲で指定してください。", "0.950"},
                             Refusal{kColDate, "2000/13/45", "有効な日付を入力してください。", "2003/08/01"}}) {
        f.msg.Clear();
        f.Type(5, r.col, r.text);
        ASSERT_EQ(f.msg.Count(), 1u) << r.text;
        EXPECT_EQ(f.msg.Last().text, r.message);
        EXPECT_EQ(f.Cell(5, r.col), r.kept) << r.text;
        EXPECT_EQ(f.Station().Remark[5], "沈下板,再設置");
        EXPECT_EQ(f.Station().Settlement[5], 0.95);
        EXPECT_EQ(GridDateText(f.Station().ObsDate[5]), "2003/08/01");
    }
    // A row inserted without its date: nothing is stored until it has one,
    // and a refused edit elsewhere goes back to what the record holds.
    f.g->setFocus();
    f.g->SetCurrentCell(2, kColDate);
    QTest::keyClick(f.g, Qt::Key_Insert);
    QCoreApplication::processEvents();
    f.msg.Clear();
    f.Type(3, kColSettlement, "0.55");
    EXPECT_EQ(f.msg.Count(), 1u);
    EXPECT_EQ(f.Station().Settlement[2], 0.5);
    EXPECT_EQ(f.Cell(3, kColSettlement), "0.500");
    f.Type(2, kColDate, "2003/04/20");
    EXPECT_EQ(f.Station().Count, 6);
    EXPECT_EQ(f.Station().Settlement[3], 0.5);
    EXPECT_EQ(GridDateText(f.Station().ObsDate[2]), "2003/04/20");
}

TEST(PredictGrid, SettlementBeforeItsDate) {
    GridFixture f;
    f.Type(5, kColSettlement, "0.95");
    ASSERT_EQ(f.msg.Count(), 1u);
    EXPECT_EQ(f.msg.Last().text, "有効な日付を入力してください。");
    EXPECT_EQ(f.msg.Last().icon, MsgIcon::None);
    EXPECT_EQ(f.msg.Last().caption, "");
    EXPECT_EQ(f.Cell(5, kColSettlement), "");
    EXPECT_EQ(f.Station().Count, 4);
    QCoreApplication::processEvents();
    EXPECT_EQ(f.g->CurrentRow(), 5);
    EXPECT_EQ(f.g->CurrentCol(), kColDate);
}

TEST(PredictGrid, InsertedRowNeverTakesANeighboursDate) {
    GridFixture f;
    f.g->SetCurrentCell(3, kColSettlement);
    QTest::keyClick(f.g, Qt::Key_Insert);
    QCoreApplication::processEvents();
    ASSERT_EQ(f.msg.Count(), 1u);
    EXPECT_EQ(f.msg.Last().text, "有効な日付を入力してください。");
    EXPECT_EQ(f.Station().Count, 4);
    EXPECT_EQ(GridDateText(f.Station().ObsDate[3]), "2003/05/15");
    // The run refuses too, before anything is written.
    f.msg.Clear();
    f.w->cal_tnk_Click();
    EXPECT_EQ(f.msg.Count(), 1u);
    EXPECT_FALSE(std::filesystem::exists(f.app / "TL_PRD1.PDT"));
    EXPECT_EQ(f.g->CurrentRow(), 3);

    f.msg.Clear();
    f.Type(3, kColDate, "2003/05/01");
    EXPECT_EQ(f.msg.Count(), 0u);
    ASSERT_EQ(f.Station().Count, 5);
    EXPECT_EQ(GridDateText(f.Station().ObsDate[3]), "2003/05/01");
    EXPECT_EQ(GridDateText(f.Station().ObsDate[4]), "2003/05/15");
    EXPECT_EQ(f.Station().SW[4], 1);
    EXPECT_EQ(f.Cell(4, kColNo), "4");

    // Deleting a row stores the rest in their new order, without a message.
    f.g->SetCurrentCell(1, kColDate);
    QTest::keyClick(f.g, Qt::Key_Delete, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(f.msg.Count(), 0u);
    EXPECT_EQ(f.Station().Count, 4);
    EXPECT_EQ(GridDateText(f.Station().ObsDate[1]), "2003/04/25");
}

TEST(PredictGrid, OpenEditReachesTheFileOnSave) {
    GridFixture f;
    f.files.Script(f.work / "typed.tlm");
    ASSERT_TRUE(f.w->add_save_Click());
    f.TypeOpen(2, kColSettlement, "0.625");
    ASSERT_TRUE(f.w->save_Click());
    EXPECT_EQ(ReadDataFile(f.work / "typed.tlm").Stations[1].Settlement[2], 0.625);
    // And before a station switch and the run.
    f.TypeOpen(3, kColRemark, "switch");
    f.w->Opt_p(2)->click();
    EXPECT_EQ(f.w->Data().Stations[1].Remark[3], "switch");
    f.TypeOpen(1, kColSettlement, "-0.02");
    f.w->cal_tnk_Click();
    EXPECT_EQ(f.w->Data().Stations[3].Settlement[1], -0.02);
}

TEST(PredictGrid, RangeAndGridBelongToTheShownStation) {
    GridFixture f;
    f.w->TS()->setText("2");
    f.w->Opt_p(2)->click();
    f.Type(1, kColSettlement, "0.1");
    f.w->TE()->setText("2");
    f.w->Opt_p(0)->click();
    EXPECT_EQ(U(f.w->TS()->text()), "2");
    EXPECT_EQ(f.w->Data().Stations[1].Sa, 2);
    EXPECT_EQ(f.w->Data().Stations[3].Settlement[1], 0.1);
    EXPECT_EQ(f.w->Data().Stations[3].SaPrime, 2);
    f.w->Opt_p(2)->click();
    EXPECT_EQ(f.Cell(1, kColSettlement), "0.100");
    EXPECT_EQ(U(f.w->TE()->text()), "2");
}

TEST(PredictGrid, SaveAndReopenKeepsTheReadings) {
    GridFixture f;
    f.Type(5, kColDate, "2003/09/12");
    f.Type(5, kColSettlement, "0.93");
    f.Type(2, kColRemark, "再測定");
    f.w->Opt_p(2)->click();
    f.Type(3, kColDate, "2004/03/31");
    f.Type(3, kColSettlement, "1.625");
    f.Type(3, kColSW, "1");
    f.files.Script(f.work / "two.tlm");
    ASSERT_TRUE(f.w->add_save_Click());
    const std::string bytes = kova::test::ReadBytes(f.work / "two.tlm");

    f.w->new_Click();
    f.Open(f.work / "two.tlm");
    EXPECT_EQ(f.msg.Count(), 0u);
    EXPECT_EQ(f.Cell(5, kColDate), "2003/09/12");
    EXPECT_EQ(f.Cell(5, kColSettlement), "0.930");
    EXPECT_EQ(f.Cell(2, kColRemark), "再測定");
    f.w->Opt_p(2)->click();
    EXPECT_EQ(f.g->RowsInUse(), 3);
    EXPECT_EQ(f.Cell(1, kColSettlement), "-0.013");  // shown rounded ...
    EXPECT_EQ(f.Cell(3, kColSW), "1");
    f.files.Script(f.work / "again.tlm");
    ASSERT_TRUE(f.w->add_save_Click());
    EXPECT_EQ(kova::test::ReadBytes(f.work / "again.tlm"), bytes);
    EXPECT_EQ(f.w->Data().Stations[3].Settlement[1], -0.0125);  // ... kept whole
}

TEST(PredictGrid, ClickOnTheCurrentCellThenTypingAtOnce) {
    GridFixture f;
    kova::test::ClickCurrentAndType(*f.g, 2, kColSettlement, "0.625");
    EXPECT_EQ(f.Station().Settlement[2], 0.625);
    EXPECT_EQ(f.Station().Settlement[3], 0.75);  // the next row untouched
    EXPECT_EQ(f.Cell(2, kColSettlement), "0.625");
    kova::test::ClickCurrentAndType(*f.g, 3, kColRemark, "Center");
    EXPECT_EQ(f.Station().Remark[3], "Center");
    kova::test::ClickCurrentAndType(*f.g, 5, kColDate, "2003/8/1");
    EXPECT_EQ(f.Station().Count, 5);
    EXPECT_EQ(f.msg.Count(), 0u);
}

TEST(PredictGrid, TheSameRefusalTwiceAndThreeTimesNeverReachesTheFile) {
    GridFixture f;
    struct Refusal {
        int col;
        const char* text;
        const char* message;
        const char* kept;
    };
    for (const Refusal& r : {Refusal{kColRemark, "a\"b", "「備考」の2行目に使用できない文字（\"）が含まれています。", "盛土開始"},
                             Refusal{kColSettlement, "1e999", "「沈下量(m)」の2行目は-1000～1000の範囲で指定してください。", "0.500"},
                             Refusal{kColSettlement, "abc", "「沈下量(m)」の2行目には数値を入力してください。", "0.500"},
                             Refusal{kColSW, "x", "「SW」の2行目には数値を入力してください。", ""},
                             Refusal{kColDate, "2003/02/30", "有効な日付を入力してください。", "2003/04/25"}}) {
        for (int n = 1; n <= 3; ++n) {
            f.msg.Clear();
            // While the message is up, the cell and any editor on it show the kept text.
            std::vector<std::string> onScreen;
            f.msg.onShow = [&](const Message&) {
                onScreen.push_back(f.Cell(2, r.col));
                if (auto* ed = qobject_cast<QLineEdit*>(f.g->indexWidget(f.g->Model().index(1, r.col))))
                    onScreen.push_back(ed->text().toStdString());
            };
            f.Type(2, r.col, r.text);
            f.msg.onShow = nullptr;
            for (const std::string& seen : onScreen) EXPECT_EQ(seen, r.kept) << r.text << " #" << n;
            ASSERT_EQ(f.msg.Count(), 1u) << r.text << " #" << n;
            EXPECT_EQ(f.msg.Last().text, r.message) << r.text << " #" << n;
            EXPECT_EQ(f.Cell(2, r.col), r.kept) << r.text << " #" << n;
            QCoreApplication::processEvents();
            EXPECT_EQ(f.g->CurrentRow(), 2) << r.text << " #" << n;
            EXPECT_TRUE(f.g->hasFocus()) << r.text << " #" << n;
        }
    }
    f.files.Script(f.work / "refused.tlm");
    ASSERT_TRUE(f.w->add_save_Click());
    const ObsDataSet back = ReadDataFile(f.work / "refused.tlm");
    EXPECT_EQ(back.Stations[1].Remark[2], "盛土開始");
    EXPECT_EQ(back.Stations[1].Settlement[2], 0.5);
    EXPECT_EQ(GridDateText(back.Stations[1].ObsDate[2]), "2003/04/25");
}

TEST(PredictGrid, AnEditWhileAnotherRowLacksItsDateShowsWhatIsSaved) {
    GridFixture f;
    f.g->setFocus();
    f.g->SetCurrentCell(3, kColSettlement);
    QTest::keyClick(f.g, Qt::Key_Insert);  // row 3 without a date
    QCoreApplication::processEvents();
    f.msg.Clear();
    f.Type(1, kColSettlement, "0.125");
    ASSERT_EQ(f.msg.Count(), 1u);
    EXPECT_EQ(f.msg.Last().text, "有効な日付を入力してください。");
    EXPECT_EQ(f.Cell(1, kColSettlement), "0.000");  // what the record holds
    QCoreApplication::processEvents();
    EXPECT_EQ(f.g->CurrentRow(), 3);  // on to the date that is missing
    EXPECT_EQ(f.g->CurrentCol(), kColDate);
    EXPECT_TRUE(f.g->hasFocus());
    f.files.Script(f.work / "undated.tlm");
    ASSERT_TRUE(f.w->add_save_Click());
    f.w->new_Click();
    f.Open(f.work / "undated.tlm");
    EXPECT_EQ(f.Cell(1, kColSettlement), "0.000");
    EXPECT_EQ(f.Station().Settlement[1], 0.0);
    EXPECT_EQ(f.g->RowsInUse(), 4);
}

TEST(PredictGrid, AZeroDateFromAFileCanBeEditedAndCalculated) {
    GridFixture f;
    std::string bytes = kova::test::ReadBytes(Sample("sample.tlm"));
    const std::string from = "#2003-04-15#";
    ASSERT_NE(bytes.find(from), std::string::npos);
    bytes.replace(bytes.find(from), from.size(), "#1899-12-30#");
    {
        std::ofstream out(f.work / "zero.tlm", std::ios::binary);
        out << bytes;
    }
    f.w->new_Click();
    f.Open(f.work / "zero.tlm");
    EXPECT_EQ(f.Cell(1, kColDate), "1899/12/30");
    f.msg.Clear();
    f.Type(2, kColSettlement, "0.55");
    EXPECT_EQ(f.msg.Count(), 0u);
    EXPECT_EQ(f.Station().Settlement[2], 0.55);
    f.Type(1, kColDate, "1899/12/30");  // the grid takes back what it shows
    EXPECT_EQ(f.msg.Count(), 0u);
    f.w->cal_tnk_Click();
    for (const Message& m : f.msg.shown) EXPECT_NE(m.text, "有効な日付を入力してください。");
}

TEST(PredictGrid, LimitsAreTold) {
    GridFixture f;
    // A station with all 500 readings takes no 501st.
    for (int r = 5; r <= kMaxObservations; ++r)
        f.g->SetText(r, kColDate, GridDateText(Date{f.Station().ObsDate[4].serial + r}));
    f.g->Model().SetRowsInUse(kMaxObservations);
    f.g->setFocus();
    f.g->SetCurrentCell(10, kColSettlement);
    f.msg.Clear();
    QTest::keyClick(f.g, Qt::Key_Insert);
    ASSERT_EQ(f.msg.Count(), 1u);
    EXPECT_EQ(f.msg.Last().text, kTooManyReadingsText);
    EXPECT_EQ(f.g->RowsInUse(), kMaxObservations);

    // The station list with 20 stations: Ins is told too.
    ObsDataSet data;
    data.StationCount = kMaxStations;
    for (int i = 1; i <= kMaxStations; ++i) data.Stations[i].Name = "S" + std::to_string(i);
    RecordingMessages listMsg;
    F1 list(data, listMsg, nullptr, {});
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    list.QEXFLG()->setFocus();
    list.QEXFLG()->SetCurrentCell(5, 1);
    QTest::keyClick(list.QEXFLG(), Qt::Key_Insert);
    ASSERT_EQ(listMsg.Count(), 1u);
    EXPECT_EQ(listMsg.Last().text, "観測所は20箇所までです。");
    EXPECT_EQ(data.StationCount, kMaxStations);
    // And typing straight after a click keeps every character there too.
    kova::test::ClickCurrentAndType(*list.QEXFLG(), 3, 1, "Center");
    EXPECT_EQ(list.QEXFLG()->CellText(3, 1), QStringLiteral("Center"));
    EXPECT_EQ(list.QEXFLG()->CellText(4, 1), QStringLiteral("S4"));
}


// Whatever the user types into a field, what a save writes opens again with
// the values the window showed and held: refused and odd values included.
TEST(PredictGrid, ASavedFileOpensAsTheScreenShowedIt) {
    enum Where { Cell, SaBox, SaPrimeBox };
    const struct {
        Where where;
        int row, col;
        const char* text;
    } edits[] = {
        {SaBox, 0, 0, "600"},   {SaBox, 0, 0, "-1"},    {SaBox, 0, 0, "1e999"}, {SaBox, 0, 0, "2.5"},
        {SaBox, 0, 0, "abc"},   {SaPrimeBox, 0, 0, "500.4"}, {SaPrimeBox, 0, 0, "-40000"},
        {Cell, 2, kColSW, "2"}, {Cell, 2, kColSW, "1.0"}, {Cell, 3, kColSW, "-1"},
        {Cell, 2, kColSettlement, "1e10"}, {Cell, 2, kColSettlement, "0.12345"},
        {Cell, 2, kColSettlement, "-1000"}, {Cell, 5, kColDate, "2003-8-1"},
        {Cell, 1, kColDate, "2003.4.1"}, {Cell, 2, kColRemark, "a,b"},
    };
    for (const auto& e : edits) {
        SCOPED_TRACE(std::string(e.text) + " at " + std::to_string(e.where) + "," + std::to_string(e.col));
        GridFixture f;
        if (e.where == Cell) {
            f.Type(e.row, e.col, QString::fromUtf8(e.text));
        } else {
            QLineEdit* box = e.where == SaBox ? f.w->TS() : f.w->TE();
            box->setFocus();
            box->selectAll();
            QTest::keyClicks(box, QString::fromUtf8(e.text));
            QTest::keyClick(box, Qt::Key_Tab);
        }
        const std::filesystem::path file = f.work.path() / "edited.tlm";
        f.files.Script(file);
        ASSERT_TRUE(f.w->add_save_Click());

        test::WindowFixture g;
        g.Open(file);
        ASSERT_EQ(g.w->CurStation(), 1) << "the saved file did not open";
        // Every input the data set holds (the file keeps every digit).
        EXPECT_EQ(DataFileText(g.w->Data()), DataFileText(f.w->Data()));
        // The screen of the saved window is the screen of the opened one.
        EXPECT_EQ(U(g.w->TS()->text()), U(f.w->TS()->text()));
        EXPECT_EQ(U(g.w->TE()->text()), U(f.w->TE()->text()));
        ASSERT_EQ(g.w->QEXFLG()->RowsInUse(), f.g->RowsInUse());
        for (int r = 1; r <= f.g->RowsInUse(); ++r)
            for (int c = 0; c < kGridColumns; ++c) EXPECT_EQ(g.w->QEXFLG()->Text(r, c), f.Cell(r, c)) << r << "," << c;
    }
}

// Typing with no station shown tells the user where a station comes from.
TEST(PredictGrid, TypingWithoutAStationIsTold) {
    test::WindowFixture f;
    f.w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.w.get()));
    f.w->QEXFLG()->setFocus();
    EXPECT_EQ(U(f.w->StatusPanel1()->text()), "観測データ入力＞先に「観測場所」で観測所を登録してください。");
    // Typed at once, and after a click on the current cell, which opens an
    // editor where there is a station.
    QTest::keyClicks(f.w->QEXFLG(), QStringLiteral("2"));
    kova::test::ClickCurrentAndType(*f.w->QEXFLG(), 1, kColDate, "3");
    ASSERT_GE(f.msg.Count(), 2u);
    for (const Message& m : f.msg.shown)
        EXPECT_EQ(m.text, "観測所が登録されていません。「観測場所」で観測所を登録してください。");
    EXPECT_EQ(f.w->QEXFLG()->RowsInUse(), 0);
    EXPECT_EQ(f.w->QEXFLG()->Text(1, kColDate), "");
}

// The station list numbers its rows 1..n after every kind of change.
TEST(PredictGrid, StationListRenumbers) {
    ObsDataSet data;
    data.StationCount = 3;
    for (int i = 1; i <= 3; ++i) data.Stations[i].Name = "S" + std::to_string(i);
    RecordingMessages listMsg;
    F1 list(data, listMsg, nullptr, {});
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    grid::QEX_FLG& g = *list.QEXFLG();
    auto numbers = [&] {
        std::string n;
        for (int i = 1; i <= kMaxStations; ++i) n += U(g.CellText(i, 0)) + ";";
        return n;
    };
    auto expected = [](int n) {
        std::string t;
        for (int i = 1; i <= kMaxStations; ++i) t += (i <= n ? std::to_string(i) : "") + ";";
        return t;
    };
    g.setFocus();
    g.SetCurrentCell(2, 1);
    QTest::keyClick(&g, Qt::Key_Insert);
    EXPECT_EQ(numbers(), expected(4));
    g.SetCurrentCell(1, 1);
    QTest::keyClick(&g, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(numbers(), expected(3));
    kova::test::ClickCurrentAndType(g, 4, 1, "New");
    QTest::keyClick(&g, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(numbers(), expected(4));
}

}  // namespace
}  // namespace kova::predict
