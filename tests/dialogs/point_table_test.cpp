#include <gtest/gtest.h>

#include "dialogs/dialog0.hpp"
#include "tests/dialogs/dialog_test_util.hpp"

namespace kova {
namespace {

using test::FakeEditorHost;
using test::TypeCell;

struct PointTable : ::testing::Test {
    void SetUp() override {
        Model& m = *host.model;
        m.BndPtCount = 8;
        for (int i = 0; i < 8; ++i) m.BndPt[static_cast<std::size_t>(i)] = BoundaryPoint{10.0 * i, -1.0 * i, {}, 0};
        m.BndPt[0].X = 1.23456;  // more digits than the table shows
        m.BndLineCount = 3;
        m.BndLine[0] = {0, 2};
        m.BndLine[1] = {3, 4};
        m.BndLine[2] = {5, 6};
        m.CutLineCount = 2;
        m.CutLine[0] = {2, 7};
        m.CutLine[1] = {5, 6};
        before = std::make_unique<Model>(m);
        d = std::make_unique<Dialog0>(host, nullptr);
        d->show();
    }
    FakeEditorHost host;
    std::unique_ptr<Model> before;
    std::unique_ptr<Dialog0> d;
};

TEST_F(PointTable, InsertRenumbersBothLineSets) {
    test::GridKey(*d->Qflg_NB, 6, 1, Qt::Key_Insert);  // the row of point 5
    const Model& m = *host.model;
    EXPECT_EQ(m.BndPtCount, 9);
    EXPECT_EQ(m.BndLine[2].pt1, 6);
    EXPECT_EQ(m.BndLine[2].pt2, 7);
    EXPECT_EQ(m.CutLine[1].pt1, 6);
    EXPECT_EQ(m.CutLine[0].pt2, 8);
    EXPECT_EQ(m.BndLine[1].pt2, 4);  // below the insert: untouched
    EXPECT_EQ(m.BndPt[5].X, 0);
    EXPECT_EQ(m.BndPt[6].X, 50);
    EXPECT_EQ(m.BndPt[0].X, 1.23456);  // untouched cell, exact
    EXPECT_EQ(d->Qflg_NB->CellText(9, 0), "9");
    EXPECT_EQ(host.refreshes, 1);
}

TEST_F(PointTable, DeleteRemovesLinesOfThePointAndClosesUp) {
    test::GridKey(*d->Qflg_NB, 3, 1, Qt::Key_Delete, Qt::ControlModifier);  // point 2
    const Model& m = *host.model;
    EXPECT_EQ(m.BndPtCount, 7);
    ASSERT_EQ(m.BndLineCount, 2);
    EXPECT_EQ(m.BndLine[0].pt1, 2);  // 3-4 became 2-3
    EXPECT_EQ(m.BndLine[0].pt2, 3);
    ASSERT_EQ(m.CutLineCount, 1);  // 2-7 went with the point
    EXPECT_EQ(m.CutLine[0].pt1, 4);
    EXPECT_EQ(m.BndPt[2].X, 30);
}

TEST_F(PointTable, CancelAfterInsertAndDeleteRestoresEverything) {
    test::GridKey(*d->Qflg_NB, 2, 1, Qt::Key_Insert);
    test::GridKey(*d->Qflg_NB, 5, 1, Qt::Key_Delete, Qt::ControlModifier);
    TypeCell(*d->Qflg_NB, 1, 2, "99");
    d->CancelClicked();
    const Model& m = *host.model;
    EXPECT_EQ(m.BndPtCount, before->BndPtCount);
    for (int i = 0; i <= kMaxBndPts; ++i) {
        EXPECT_EQ(m.BndPt[static_cast<std::size_t>(i)].X, before->BndPt[static_cast<std::size_t>(i)].X) << i;
        EXPECT_EQ(m.BndPt[static_cast<std::size_t>(i)].Y, before->BndPt[static_cast<std::size_t>(i)].Y) << i;
    }
    EXPECT_EQ(m.BndLineCount, 3);
    EXPECT_EQ(m.CutLineCount, 2);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(m.BndLine[static_cast<std::size_t>(i)].pt1, before->BndLine[static_cast<std::size_t>(i)].pt1);
    EXPECT_EQ(m.CutLine[0].pt2, 7);
    EXPECT_GE(host.refreshes, 1);  // the restored points are drawn
}

TEST_F(PointTable, DuplicateEditNamesBothRowsAndKeepsIt) {
    const int repaints = host.refreshes;
    TypeCell(*d->Qflg_NB, 4, 1, "10");
    TypeCell(*d->Qflg_NB, 4, 2, "-1");  // row 4 now equals row 2
    ASSERT_EQ(host.messages.Count(), 1u);
    EXPECT_EQ(host.messages.Last().text, "同一座標の境界点が存在します。\r\r           2=4");
    EXPECT_EQ(host.messages.Last().icon, MsgIcon::Exclamation);
    EXPECT_EQ(host.model->BndPt[3].Y, -1);  // kept
    EXPECT_EQ(host.refreshes, repaints + 1);  // only the first edit repainted
    d->OkClicked();  // the duplicate also blocks OK
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(host.messages.Last().text, "同一座標の境界点が存在します。\r\r           2=4");
}

TEST_F(PointTable, EditsKeepUntouchedDigitsAndAppendPoints) {
    TypeCell(*d->Qflg_NB, 4, 2, "-7.5");
    EXPECT_EQ(host.model->BndPt[0].X, 1.23456);
    EXPECT_EQ(host.model->BndPt[3].Y, -7.5);
    TypeCell(*d->Qflg_NB, 9, 1, "１２．５");  // the first empty row
    TypeCell(*d->Qflg_NB, 9, 2, "－３");
    EXPECT_EQ(host.model->BndPtCount, 9);
    EXPECT_EQ(host.model->BndPt[8].X, 12.5);
    EXPECT_EQ(host.model->BndPt[8].Y, -3);
    EXPECT_EQ(host.model->BndLine[2].pt1, 5);  // appending renumbers nothing
    EXPECT_FALSE(test::CellEditable(*d->Qflg_NB, 11, 1));  // no gaps
}

// An edit ended by a click on another row belongs to the row edited.
TEST_F(PointTable, EditEndedByAClickActsOnTheEditedRow) {
    test::TypeCellThenClick(*d->Qflg_NB, 9, 1, "12.5", 2, 1);  // appends point 8
    const Model& m = *host.model;
    EXPECT_EQ(m.BndPtCount, 9);
    EXPECT_EQ(m.BndPt[8].X, 12.5);
    EXPECT_EQ(m.BndPt[1].X, 10);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(m.BndLine[static_cast<std::size_t>(i)].pt1, before->BndLine[static_cast<std::size_t>(i)].pt1) << i;
        EXPECT_EQ(m.BndLine[static_cast<std::size_t>(i)].pt2, before->BndLine[static_cast<std::size_t>(i)].pt2) << i;
    }
    EXPECT_EQ(m.CutLine[0].pt2, 7);
    test::TypeCellThenClick(*d->Qflg_NB, 4, 1, "10", 4, 2);
    test::TypeCellThenClick(*d->Qflg_NB, 4, 2, "-1", 1, 1);  // row 4 now equals row 2
    EXPECT_EQ(m.BndPt[3].X, 10);
    EXPECT_EQ(m.BndPt[3].Y, -1);
    ASSERT_EQ(host.messages.Count(), 1u);
    EXPECT_EQ(host.messages.Last().text, "同一座標の境界点が存在します。\r\r           2=4");
}

TEST_F(PointTable, RefusedValueKeepsTheOldText) {
    TypeCell(*d->Qflg_NB, 2, 1, "1E999");
    ASSERT_EQ(host.messages.Count(), 1u);
    EXPECT_EQ(d->Qflg_NB->CellText(2, 1), "10.000");
    EXPECT_EQ(host.model->BndPt[1].X, 10);
    d->OkClicked();
    EXPECT_FALSE(d->isVisible());
}

TEST(PointTableFull, InsertIsRefusedWithFiveHundredPoints) {
    FakeEditorHost host;
    host.model->BndPtCount = kMaxBndPts;
    for (int i = 0; i < kMaxBndPts; ++i) host.model->BndPt[static_cast<std::size_t>(i)].X = i;
    host.model->BndLineCount = 1;
    host.model->BndLine[0] = {498, 499};
    Dialog0 d(host, nullptr);
    d.show();
    test::GridKey(*d.Qflg_NB, 2, 1, Qt::Key_Insert);
    EXPECT_EQ(host.model->BndPtCount, kMaxBndPts);
    EXPECT_EQ(host.model->BndLine[0].pt2, 499);
    EXPECT_EQ(d.Qflg_NB->CellText(kMaxBndPts, 1), "499.000");
}

}  // namespace
}  // namespace kova
