#include <gtest/gtest.h>

#include "dialogs/dialog1.hpp"
#include "dialogs/dialog10.hpp"
#include "dialogs/dialog4.hpp"
#include "dialogs/table_form.hpp"
#include "testing/tool_picks.hpp"
#include "tests/dialogs/dialog_test_util.hpp"

namespace kova {
namespace {

using test::FakeEditorHost;
using test::TypeCell;

void ThreeEmbankments(Model& m) {
    m.EmbankmentCount = 3;
    for (int i = 0; i < 3; ++i) {
        SoilBlock& b = m.Embankment[static_cast<std::size_t>(i)];
        b.Name = "盛土" + std::to_string(i + 1);
        b.UnitWeight = 18.0 + i;
        b.Stage = 1;
        b.nPt = 4;
        b.PX[1] = 7.5;
    }
    m.Embankment[1].UnitWeight = 19.12345;
    m.StageCount = 1;
}

TEST(EmbankmentTable, StagesNeverRaiseTheCountAboveFive) {
    const struct {
        const char* typed;
        i16 stored;
        i16 count;  // StageCount after the edit (it started at 1)
        bool okCloses;
    } cases[] = {
        {"3", 3, 3, true},   {"2.5", 2, 2, true},  {"3.5", 4, 4, true},  {"4.5", 4, 4, true},
        {"0.5", 0, 1, false}, {"5.5", 6, 1, false}, {"6", 6, 1, false},   {"0", 0, 1, false},
    };
    for (const auto& c : cases) {
        FakeEditorHost host;
        ThreeEmbankments(*host.model);
        Dialog1 d(host, nullptr);
        d.show();
        TypeCell(*d.Qflg_MB, 2, 3, c.typed);
        EXPECT_EQ(host.model->Embankment[1].Stage, c.stored) << c.typed;
        EXPECT_EQ(host.model->StageCount, c.count) << c.typed;
        d.OkClicked();
        EXPECT_EQ(d.isVisible(), !c.okCloses) << c.typed;
        if (!c.okCloses) {
            EXPECT_EQ(test::Texts(host.messages), std::vector<std::string>{kStageMessage});
        }
        EXPECT_LE(host.model->StageCount, kMaxStages);
    }
}

TEST(EmbankmentTable, EditsKeepOtherRowsExactAndCancelRestores) {
    FakeEditorHost host;
    ThreeEmbankments(*host.model);
    Dialog1 d(host, nullptr);
    d.show();
    TypeCell(*d.Qflg_MB, 1, 1, "一次盛土");
    TypeCell(*d.Qflg_MB, 3, 3, "3");
    EXPECT_EQ(host.model->Embankment[0].Name, "一次盛土");
    EXPECT_EQ(host.model->Embankment[1].UnitWeight, 19.12345);  // untouched, not rounded
    EXPECT_EQ(host.model->StageCount, 3);
    EXPECT_FALSE(test::CellEditable(*d.Qflg_MB, 4, 1));  // one row per embankment
    test::GridKey(*d.Qflg_MB, 1, 1, Qt::Key_Insert);
    EXPECT_EQ(d.Qflg_MB->RowsInUse(), 3);
    d.close();  // the close box
    EXPECT_EQ(host.model->Embankment[0].Name, "盛土1");
    EXPECT_EQ(host.model->Embankment[2].Stage, 1);
    EXPECT_EQ(host.model->Embankment[0].PX[1], 7.5);
    EXPECT_EQ(host.model->StageCount, 3);  // a raise stays
}

// The user who types the weight the table shows gets that weight, not the
// digits the cell held behind it.
TEST(EmbankmentTable, RetypedShownWeightIsStoredAsTyped) {
    FakeEditorHost host;
    Model& m = *host.model;
    m.EmbankmentCount = 2;
    m.Embankment[0].UnitWeight = 17.98765;
    m.Embankment[1].UnitWeight = 1.23456;
    Dialog1 d(host, nullptr);
    d.show();
    ASSERT_EQ(d.Qflg_MB->CellText(1, 2), "17.988");
    TypeCell(*d.Qflg_MB, 1, 2, "17.988");
    EXPECT_EQ(m.Embankment[0].UnitWeight, 17.988);
    EXPECT_EQ(m.Embankment[1].UnitWeight, 1.23456);  // untouched: exact
    d.OkClicked();
    EXPECT_EQ(m.Embankment[0].UnitWeight, 17.988);
}

TEST(EmbankmentTable, RefusedNamesAndStagesKeepTheOldText) {
    const struct {
        const char* typed;
        int col;
        const char* message;
    } cases[] = {
        {"a\tb", 1, "「盛土名称」の2行目に使用できない文字（タブ）が含まれています。"},
        {"a\rb", 1, "「盛土名称」の2行目に使用できない文字（改行）が含まれています。"},
        {"a\nb", 1, "「盛土名称」の2行目に使用できない文字（改行）が含まれています。"},
        {"\"盛土\"", 1, "「盛土名称」の2行目に使用できない文字（\"）が含まれています。"},
        {"𠮷盛土", 1, "「盛土名称」の2行目に使用できない文字（𠮷）が含まれています。"},
        {"40000", 3, kStageMessage},
    };
    for (const auto& c : cases) {
        FakeEditorHost host;
        ThreeEmbankments(*host.model);
        Dialog1 d(host, nullptr);
        d.show();
        // Texts with tabs and line breaks arrive by paste, not by keys.
        d.Qflg_MB->SetCurrentCell(2, c.col);
        d.Qflg_MB->Model().setData(d.Qflg_MB->Model().index(1, c.col), QString::fromUtf8(c.typed), Qt::EditRole);
        EXPECT_EQ(test::Texts(host.messages), std::vector<std::string>{c.message}) << c.typed;
        EXPECT_EQ(host.model->Embankment[1].Name, "盛土2");
        EXPECT_EQ(host.model->Embankment[1].Stage, 1);
        EXPECT_EQ(d.Qflg_MB->CellText(2, 1), "盛土2");
        EXPECT_EQ(d.Qflg_MB->CellText(2, 3), "1");
    }
}

void TwoLayers(Model& m) {
    m.SoilLayerCount = 2;
    m.SoilLayer[0].Name = "Ac1";
    m.SoilLayer[0].UnitWeight = 6.54321;
    m.SoilParam[0] = SoilParamRec{0, 7, 1, 1.23456, 0.5, 0.25, 3};  // method 7: not in the list
    m.SoilLayer[1].Name = "Ds";
    m.SoilParam[1] = SoilParamRec{1, 3, 0, 0, 0, 0, 30};
}

TEST(SoilLayerTable, UnknownMethodIsKeptUntilAnItemIsPicked) {
    FakeEditorHost host;
    TwoLayers(*host.model);
    Dialog4 d(host, nullptr);
    d.show();
    EXPECT_EQ(d.Qflg_DB->CellText(1, 3), "7");
    TypeCell(*d.Qflg_DB, 2, 6, "12.5");  // N of the other layer
    const SoilParamRec& p = host.model->SoilParam[0];
    EXPECT_EQ(p.SettleMethod, 7);
    EXPECT_EQ(p.C1, 1.23456);
    EXPECT_EQ(host.model->SoilLayer[0].UnitWeight, 6.54321);
    EXPECT_EQ(p.C2, 0.5);
    EXPECT_EQ(host.model->SoilParam[1].NValue, 12);
    TypeCell(*d.Qflg_DB, 2, 6, "13.5");
    EXPECT_EQ(host.model->SoilParam[1].NValue, 14);
    test::PickCell(*d.Qflg_DB, 1, 3, 1);
    EXPECT_EQ(host.model->SoilParam[0].SettleMethod, 1);
    test::PickCell(*d.Qflg_DB, 2, 2, 0);
    EXPECT_EQ(host.model->SoilParam[1].SoilType, 0);
    TypeCell(*d.Qflg_DB, 1, 6, "40000");  // refused: outside the N values
    EXPECT_EQ(host.messages.Count(), 1u);
    EXPECT_EQ(host.model->SoilParam[0].NValue, 3);
    d.CancelClicked();
    EXPECT_EQ(host.model->SoilParam[0].SettleMethod, 7);
    EXPECT_EQ(host.model->SoilParam[1].SoilType, 1);
    EXPECT_EQ(host.model->SoilParam[1].NValue, 30);
}

TEST(CutTable, ReformatsWithoutAnEditAndStoresOnOkOnly) {
    FakeEditorHost host;
    Model& m = *host.model;
    m.CutCount = 2;
    m.CutBlock[0].Name = "切土A";
    m.CutBlock[0].UnitWeight = 17.98765;
    m.CutBlock[1].Name = "切土B";
    host.state->cmd_mode = 12;
    test::PickWithEveryTool(*host.state, test::kSomePicks);
    {
        Dialog10 d(host, nullptr);
        d.show();
        QSignalSpy edits(d.Qflg_KB, &grid::QEX_FLG::CellEdited);
        TypeCell(*d.Qflg_KB, 2, 2, "18");
        EXPECT_EQ(d.Qflg_KB->CellText(2, 2), "18.000");
        TypeCell(*d.Qflg_KB, 2, 2, "abc");  // no number: refused, the cell kept
        EXPECT_EQ(d.Qflg_KB->CellText(2, 2), "18.000");
        ASSERT_EQ(host.messages.Count(), 1u);
        EXPECT_EQ(host.messages.Last().text, "「有効重量(kN/m3)」の2行目には数値を入力してください。");
        TypeCell(*d.Qflg_KB, 2, 2, "1.23456");
        EXPECT_EQ(d.Qflg_KB->CellText(2, 2), "1.235");
        EXPECT_EQ(edits.count(), 2);  // the reformats are no edits
        TypeCell(*d.Qflg_KB, 1, 1, "切土\"A\"");
        EXPECT_EQ(d.Qflg_KB->CellText(1, 1), "切土A");
        EXPECT_EQ(m.CutBlock[1].UnitWeight, 0);  // nothing before OK
        d.OkClicked();
    }
    EXPECT_EQ(m.CutBlock[1].UnitWeight, 1.235);  // as shown
    EXPECT_EQ(m.CutBlock[0].UnitWeight, 17.98765);  // untouched: exact
    EXPECT_EQ(host.state->cmd_mode, 0);
    EXPECT_EQ(test::ToolsHolding(*host.state), std::vector<int>{});
    {
        Dialog10 d(host, nullptr);
        d.show();
        TypeCell(*d.Qflg_KB, 1, 1, "新しい名前");
        d.close();
    }
    EXPECT_EQ(m.CutBlock[0].Name, "切土A");
}

// An edit ended by a click on another weight reformats its own cell only.
TEST(CutTable, EditEndedByAClickReformatsItsOwnCell) {
    FakeEditorHost host;
    Model& m = *host.model;
    m.CutCount = 2;
    m.CutBlock[0].UnitWeight = 17.98765;
    m.CutBlock[1].UnitWeight = 16;
    Dialog10 d(host, nullptr);
    d.show();
    test::TypeCellThenClick(*d.Qflg_KB, 2, 2, "18.12345", 1, 2);
    EXPECT_EQ(d.Qflg_KB->CellText(2, 2), "18.123");
    EXPECT_EQ(d.Qflg_KB->CellText(1, 2), "17.988");
    d.OkClicked();
    EXPECT_EQ(m.CutBlock[0].UnitWeight, 17.98765);  // untouched: exact
    EXPECT_EQ(m.CutBlock[1].UnitWeight, 18.123);    // as shown
}

}  // namespace
}  // namespace kova
