#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "textio/cell_text.hpp"
#include "dialogs/grid/qex_flg.hpp"
#include "testing/fakes.hpp"
#include "tests/support/grid_typing.hpp"
#include "tests/support/qt_app.hpp"

namespace kova::grid {
namespace {

// A point-style table: 6 rows (5 data rows), "No.", "X", "Y".
struct GridFixture : ::testing::Test {
    void SetUp() override {
        g = std::make_unique<QEX_FLG>();
        g->SetDrawing(false);
        g->SetRows(6);
        g->SetCols(3);
        g->SetColWidth(0, 500);
        g->SetColWidth(1, 1200);
        g->SetColWidth(2, 1200);
        g->SetCellText(0, 0, "No.");
        g->SetCellText(0, 1, "X");
        g->SetCellText(0, 2, "Y");
        g->SetFormat(1, "0.000");
        g->SetFormat(2, "0.000");
        g->Initialise(true, 0);
        g->Model().SetCellValue(1, 1, 1.23456, "0.000");
        g->Model().SetCellValue(1, 2, 2.0, "0.000");
        g->AddRow(2, "2\t3.000\t4.000");
        g->SetDrawing(true);
        g->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(g.get()));
        spy = std::make_unique<QSignalSpy>(g.get(), &QEX_FLG::CellEdited);
    }
    void TearDown() override {
        spy.reset();
        g.reset();
    }
    // Types into a cell through its editor and ends with `end`.
    void Type(int row, int col, const QString& text, Qt::Key end = Qt::Key_Return) {
        g->SetCurrentCell(row, col);
        g->edit(g->currentIndex());
        auto* ed = g->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(ed, nullptr) << "no editor at " << row << "," << col;
        ed->selectAll();
        test::KeyText(ed, text);
        QTest::keyClick(ed, end);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    std::unique_ptr<QEX_FLG> g;
    std::unique_ptr<QSignalSpy> spy;
};

TEST_F(GridFixture, FillingAndReformattingRaiseNoEdit) {
    g->SetCellText(1, 1, "9.000");
    g->Model().SetCellValue(2, 2, 7.5, "0.0");
    g->AddRow(3, "3\t1\t1");
    g->Clear();
    EXPECT_EQ(spy->count(), 0);
    EXPECT_EQ(g->RowsInUse(), 0);
    EXPECT_EQ(g->CellText(0, 1), "X");  // headers stay
}

TEST_F(GridFixture, TypingCommitsFormatsAndMoves) {
    ASSERT_EQ(g->RowsInUse(), 2);
    Type(3, 1, "１２．５");
    EXPECT_EQ(spy->count(), 1);
    EXPECT_EQ(g->CellText(3, 1), "12.500");
    EXPECT_EQ(g->RowsInUse(), 3);  // the first empty row was filled
    EXPECT_EQ(g->CurrentRow(), 4);  // Enter moves down
    Type(3, 2, "7", Qt::Key_Tab);
    EXPECT_EQ(spy->count(), 2);
    EXPECT_EQ(g->CurrentRow(), 4);  // Tab moves right, to the next row's first data cell
    EXPECT_EQ(g->CurrentCol(), 1);
    // A commit that changes nothing is no edit.
    Type(3, 2, "7.000");
    EXPECT_EQ(spy->count(), 2);
}

TEST_F(GridFixture, RowsBelowTheFirstEmptyOneCannotBeEdited) {
    const struct {
        int row;
        bool editable;
    } cases[] = {{1, true}, {2, true}, {3, true}, {4, false}, {5, false}};
    for (const auto& c : cases) EXPECT_EQ(g->Model().IsEditable(c.row, 1), c.editable) << c.row;
    EXPECT_FALSE(g->Model().IsEditable(1, 0));  // the header column
    EXPECT_FALSE(g->Model().setData(g->Model().index(4 - 1, 1), "5", Qt::EditRole));
    EXPECT_EQ(g->RowsInUse(), 2);
    EXPECT_EQ(spy->count(), 0);
}

TEST_F(GridFixture, InsertAndDeleteRules) {
    struct Case {
        const char* what;
        bool tied;
        int inUse;  // rows filled before the action
        int row;
        bool insert;
        bool done;
    } cases[] = {
        {"insert above row 1", false, 2, 1, true, true},   {"insert on the empty row", false, 2, 3, true, false},
        {"insert in a full table", false, 5, 2, true, false}, {"insert in a tied table", true, 2, 1, true, false},
        {"delete row 2", false, 2, 2, false, true},        {"delete an empty row", false, 2, 3, false, false},
        {"delete in a tied table", true, 2, 1, false, false},
    };
    for (const auto& c : cases) {
        g->Clear();
        for (int r = 1; r <= c.inUse; ++r) g->AddRow(r, QString("%1\t%1\t0").arg(r));
        g->SetTiedRows(c.tied);
        spy->clear();
        g->SetCurrentCell(c.row, 1);
        const bool done = c.insert ? g->InsertRow() : g->DeleteRow();
        EXPECT_EQ(done, c.done) << c.what;
        EXPECT_EQ(spy->count(), c.done ? 1 : 0) << c.what;
        EXPECT_EQ(g->RowsInUse(), c.inUse + (c.done ? (c.insert ? 1 : -1) : 0)) << c.what;
        EXPECT_EQ(g->CurrentRow(), c.row) << c.what;
    }
}

TEST_F(GridFixture, InsertAndDeleteKeys) {
    g->setFocus();
    g->SetCurrentCell(2, 1);
    QTest::keyClick(g.get(), Qt::Key_Insert);
    EXPECT_EQ(spy->count(), 1);
    EXPECT_EQ(g->RowsInUse(), 3);
    EXPECT_EQ(g->CellText(2, 1), "");
    EXPECT_EQ(g->CellText(3, 1), "3.000");
    QTest::keyClick(g.get(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(spy->count(), 2);
    EXPECT_EQ(g->CellText(2, 1), "3.000");
    QTest::keyClick(g.get(), Qt::Key_Delete);  // plain Delete deletes nothing
    EXPECT_EQ(g->RowsInUse(), 2);
}

TEST_F(GridFixture, AnUntouchedCellKeepsItsValue) {
    const GridModel& m = g->Model();
    EXPECT_EQ(g->CellText(1, 1), "1.235");
    EXPECT_EQ(m.Value(1, 1), 1.23456);
    Type(1, 2, "5");  // another cell of the same row
    EXPECT_EQ(m.Value(1, 1), 1.23456);
    g->SetCurrentCell(1, 1);
    ASSERT_TRUE(g->InsertRow());
    EXPECT_EQ(m.Value(2, 1), 1.23456);  // moved with its row
    g->SetCurrentCell(1, 1);
    ASSERT_TRUE(g->DeleteRow());
    EXPECT_EQ(m.Value(1, 1), 1.23456);
    Type(1, 1, "1.5");  // the user's own value is stored as shown
    EXPECT_EQ(m.Value(1, 1), 1.5);
    EXPECT_FALSE(m.HasKeptValue(1, 1));
    // A refused edit puts the old text and its kept value back.
    Type(2, 1, "8");
    g->Model().RevertLastEdit();
    EXPECT_EQ(g->CellText(2, 1), "3.000");
    EXPECT_EQ(m.Value(2, 1), 3.0);
}

// Typing the text a cell shows stores what was typed, even when the cell
// held more digits than it shows; opening the editor and leaving it
// untouched is no edit.
TEST_F(GridFixture, RetypingTheShownTextStoresIt) {
    const struct {
        const char* what;
        int col;
        double kept;
        const char* typed;  // nullptr: Enter without typing
        double stored;
        int edits;
    } cases[] = {
        {"retyped over more digits", 1, 1.23456, "1.235", 1.235, 1},
        {"retyped over the same value", 2, 2.0, "2.000", 2.0, 0},
        {"retyped with fewer decimals", 1, 1.23456, "1.235000", 1.235, 1},
        {"editor opened, nothing typed", 1, 1.23456, nullptr, 1.23456, 0},
    };
    for (const auto& c : cases) {
        g->Model().SetCellValue(1, c.col, c.kept, "0.000");
        spy->clear();
        if (c.typed) {
            Type(1, c.col, c.typed);
        } else {
            g->SetCurrentCell(1, c.col);
            g->edit(g->currentIndex());
            auto* ed = g->viewport()->findChild<QLineEdit*>();
            ASSERT_NE(ed, nullptr);
            QTest::keyClick(ed, Qt::Key_Return);
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
        }
        EXPECT_EQ(g->Model().Value(1, c.col), c.stored) << c.what;
        EXPECT_EQ(spy->count(), c.edits) << c.what;
    }
}

TEST_F(GridFixture, DropDownCellsAreChosenNotTyped) {
    g->SetDropDown(2, true);
    g->SetDropItems(2, "粘性土|砂質土");
    g->Model().SetCellCode(1, 2, 1);
    g->Model().SetCellCode(2, 2, 7);  // a code the list does not know
    EXPECT_EQ(g->CellText(1, 2), "砂質土");
    EXPECT_EQ(g->CellText(2, 2), "7");
    EXPECT_EQ(g->Model().Code(2, 2), 7);
    EXPECT_FALSE(g->Model().setData(g->Model().index(0, 2), "自由な文字", Qt::EditRole));
    g->SetCurrentCell(2, 2);
    g->edit(g->currentIndex());
    auto* box = g->viewport()->findChild<QComboBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->isEditable());
    EXPECT_EQ(box->count(), 2);
    box->setCurrentIndex(0);
    QTest::keyClick(box, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(g->CellText(2, 2), "粘性土");
    EXPECT_EQ(g->Model().Code(2, 2), 0);
    EXPECT_EQ(spy->count(), 1);
}

TEST_F(GridFixture, WidthsInTwipsWidenForTheirTexts) {
    EXPECT_EQ(g->ColWidthTwips(1), 1200);
    EXPECT_EQ(g->columnWidth(1), 80);  // 1200 twips at 15 twips a pixel
    g->SetCellText(0, 0, "計算位置の名称");
    g->SetDrawing(true);
    EXPECT_GT(g->columnWidth(0), 500 / 15);
    g->SetControlWidth(300);
    EXPECT_GE(g->width(), g->NeededWidth());
}

TEST_F(GridFixture, ClickOnTheCurrentCellThenTypingEditsThatCellOnce) {
    // No pause between the click and the keys: every key reaches the cell
    // clicked, and Enter ends that edit, not one on the next row.
    test::ClickCurrentAndType(*g, 2, 1, "27");
    EXPECT_EQ(g->CellText(2, 1), "27.000");
    EXPECT_EQ(g->CellText(3, 1), "");
    EXPECT_EQ(spy->count(), 1);
    EXPECT_EQ(g->CurrentRow(), 3);
    QTest::qWait(QApplication::doubleClickInterval() + 50);  // no late editor opens
    EXPECT_EQ(g->viewport()->findChild<QLineEdit*>(), nullptr);
    test::ClickCurrentAndType(*g, 3, 2, "-1.5");
    EXPECT_EQ(g->CellText(3, 2), "-1.500");
    EXPECT_EQ(g->RowsInUse(), 3);
}

TEST_F(GridFixture, NumberColumnsTakeNumbersOnly) {
    RecordingMessages msg;
    g->SetMessages(&msg);
    g->Model().SetNumeric(0, true);  // a header column stays out of reach anyway
    for (const char* bad : {"abc", "l5.0", "1.5e2m", "12,5", "--1", "1e", "&H"}) {
        msg.Clear();
        Type(2, 1, bad);
        EXPECT_EQ(g->CellText(2, 1), "3.000") << bad;
        EXPECT_EQ(g->Model().Value(2, 1), 3.0) << bad;
        ASSERT_EQ(msg.Count(), 1u) << bad;
        EXPECT_EQ(msg.Last().text, "「X」の2行目には数値を入力してください。");
        EXPECT_EQ(g->CurrentRow(), 2) << bad;  // the focus stays for retyping
        EXPECT_EQ(g->CurrentCol(), 1) << bad;
    }
    EXPECT_EQ(spy->count(), 0);
    // Full-width forms, blanks inside, exponents and "&H" are numbers.
    msg.Clear();
    Type(2, 1, "１２．５");
    EXPECT_EQ(g->CellText(2, 1), "12.500");
    Type(2, 2, "1 234");
    EXPECT_EQ(g->CellText(2, 2), "1234.000");
    Type(2, 2, "1.5D2");
    EXPECT_EQ(g->CellText(2, 2), "150.000");
    Type(2, 2, "&H10");
    EXPECT_EQ(g->CellText(2, 2), "16.000");
    // An emptied cell of a row in use shows the 0 it stores.
    Type(2, 2, "　");
    EXPECT_EQ(g->CellText(2, 2), "0.000");
    EXPECT_EQ(g->Model().Value(2, 2), 0.0);
    EXPECT_EQ(msg.Count(), 0u);
    // A free-text column takes anything.
    g->SetFormat(2, "");
    g->Model().SetNumeric(2, false);
    Type(2, 2, "abc");
    EXPECT_EQ(g->CellText(2, 2), "abc");
}

// Whatever is typed into a number column of any kind (a decimal pattern, a
// whole-number one, none), the cell shows what is stored: its text reads as
// the stored value, has no full-width forms, and stands right-aligned; an
// emptied cell of a row in use shows its 0, one below the rows in use stays
// empty.
TEST_F(GridFixture, ANumberCellShowsWhatIsStored) {
    const char* kinds[] = {"0.000", "#0", ""};
    const char* typed[] = {"１２", "１２．５", "－２", "　", "", " 3 ", "1e3", "&H10", "0.1", "1.50"};
    for (const char* pattern : kinds)
        for (const char* t : typed) {
            g->SetFormat(1, pattern);
            g->Model().SetNumeric(1, true);
            Type(2, 1, t);
            const QString shown = g->CellText(2, 1);
            const std::string where = std::string("'") + pattern + "' / '" + t + "' shows '" + shown.toStdString() + "'";
            ASSERT_FALSE(shown.isEmpty()) << where;
            EXPECT_EQ(NumericValue(shown.toStdString()), g->Model().Value(2, 1)) << where;
            EXPECT_EQ(FoldFullWidth(shown.toStdString()), shown.toStdString()) << where;
            EXPECT_FALSE(shown.contains(QLatin1Char(' '))) << where;
            const QVariant align = g->Model().data(g->Model().index(1, 1), Qt::TextAlignmentRole);
            EXPECT_TRUE(align.toInt() & Qt::AlignRight) << where;
            // Below the rows in use nothing is stored, and nothing shows.
            Type(3, 1, t);
            if (FoldFullWidth(t).find_first_not_of(" ") == std::string::npos) {
                EXPECT_EQ(g->CellText(3, 1), "") << where;
            }
            g->Model().SetCell(3, 1, "");
            g->Model().SetRowsInUse(2);
        }
    // A table whose owner stores empty number cells as 0 shows that 0 in a
    // new row's cells not typed yet; its text stays empty for the editor.
    g->SetFormat(1, "0.000");
    const auto shown = [this](int r, int c) { return g->Model().data(g->Model().index(r - 1, c), Qt::DisplayRole).toString(); };
    Type(3, 1, "7");
    EXPECT_EQ(shown(3, 2), "");  // not such a table: as before
    g->Model().SetBlankShowsZero(true);
    EXPECT_EQ(shown(3, 2), "0.000");
    EXPECT_EQ(g->Model().Value(3, 2), 0.0);
    EXPECT_EQ(g->CellText(3, 2), "");
    EXPECT_EQ(shown(4, 2), "");  // below the rows in use nothing is stored
}

TEST_F(GridFixture, ARefusalRestoresTheCellEveryTime) {
    // An owner that refuses every value above 100, as the dialogs do.
    QObject::connect(g.get(), &QEX_FLG::CellEdited, g.get(), [this] {
        if (g->Model().Value(g->Model().Last().row, g->Model().Last().col).value_or(0) > 100)
            g->Model().RevertLastEdit();
    });
    for (int n = 1; n <= 3; ++n) {
        Type(2, 1, "500");
        EXPECT_EQ(g->CellText(2, 1), "3.000") << "refusal " << n;
        EXPECT_EQ(g->CurrentRow(), 2) << "refusal " << n;
        EXPECT_EQ(g->CurrentCol(), 1) << "refusal " << n;
    }
    EXPECT_EQ(spy->count(), 3);
    Type(2, 1, "50", Qt::Key_Tab);
    EXPECT_EQ(g->CellText(2, 1), "50.000");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);  // the editor Tab opened
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Type(2, 1, "501", Qt::Key_Tab);  // Tab moves on only from an accepted edit
    EXPECT_EQ(g->CellText(2, 1), "50.000");
    EXPECT_EQ(g->CurrentCol(), 1);
}

TEST_F(GridFixture, InsertIntoAFullTableIsTold) {
    RecordingMessages msg;
    g->SetMessages(&msg);
    g->SetFullMessage("いっぱいです。");
    for (int r = 3; r <= 5; ++r) g->AddRow(r, QString("%1\t1\t1").arg(r));
    g->setFocus();
    g->SetCurrentCell(2, 1);
    EXPECT_FALSE(g->InsertRow());
    ASSERT_EQ(msg.Count(), 1u);
    EXPECT_EQ(msg.Last().text, "いっぱいです。");
    EXPECT_EQ(g->RowsInUse(), 5);
    g->SetTiedRows(true);  // a table tied to its blocks says nothing
    EXPECT_FALSE(g->InsertRow());
    EXPECT_EQ(msg.Count(), 1u);
}

}  // namespace
}  // namespace kova::grid
