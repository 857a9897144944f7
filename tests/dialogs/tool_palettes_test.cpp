#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>
#include <set>

#include "dialogs/dialog1.hpp"
#include "dialogs/tool_palettes.hpp"
#include "editing/mouse_tools.hpp"
#include "platform/qt/qt_text.hpp"
#include "testing/qt/fake_editor_host.hpp"
#include "testing/tool_picks.hpp"
#include "tests/support/qt_app.hpp"

namespace kova {
namespace {

using test::FakeEditorHost;
using test::kSomePicks;
using test::PickWithEveryTool;
using test::ToolsHolding;

// Stand-in data dialogs: each opening is counted and the dialog closes itself.
struct DialogCounter {
    int opened = 0;
    PaletteDialogFactory Factory() {
        return [this](EditorHost&, QWidget* owner) {
            ++opened;
            auto d = std::make_unique<QDialog>(owner);
            QTimer::singleShot(0, d.get(), &QDialog::reject);
            return d;
        };
    }
};

struct HookScope {
    HookScope() : saved(PaletteDialogHooks()) {}
    ~HookScope() { PaletteDialogHooks() = saved; }
    PaletteDialogs saved;
};

std::unique_ptr<EditPalette> Make(int which, FakeEditorHost& host) {
    switch (which) {
    case 2: return std::make_unique<Dialog2>(host, nullptr);
    case 3: return std::make_unique<Dialog3>(host, nullptr);
    case 9: return std::make_unique<Dialog9>(host, nullptr);
    default: return std::make_unique<Dialog14>(host, nullptr);
    }
}

bool AnyDown(const EditPalette& p) {
    for (int i = 0; i < p.OptionCount(); ++i)
        if (p.Option(i)->isChecked()) return true;
    return false;
}

// Only the tools a palette chooses prompt, each chosen once; those another
// tool hands on to (the zooms, the re-shapes) do not.
TEST(ToolPalettes, EveryToolOptionHasAToolWithAPrompt) {
    std::set<int> chosen;
    for (int palette : {2, 3, 9, 14}) {
        FakeEditorHost host;
        auto p = Make(palette, host);
        for (int i = 0; i < p->OptionCount(); ++i) {
            if (p->Mode(i) == 0) continue;  // it opens a dialog
            const CanvasTool* t = host.state->tools.For(p->Mode(i));
            ASSERT_NE(t, nullptr) << palette << "/" << i;
            EXPECT_TRUE(chosen.insert(p->Mode(i)).second) << palette << "/" << i;
        }
    }
    const EditorState ed;
    for (int mode = CmdMode::kZoomIn; mode < ToolModeEnd(); ++mode)
        EXPECT_EQ(*ed.tools.For(mode)->Prompt() != '\0', chosen.count(mode) == 1) << mode;
}

// A tool chosen on a palette while a zoom is on replaces the zoom through
// the tool table: arrow cursor, both zoom buttons up, nothing to return to.
TEST(ToolPalettes, EveryToolOptionEndsAZoomItReplaces) {
    for (int palette : {2, 3, 9, 14})
        for (int zoom : {CmdMode::kZoomIn, CmdMode::kZoomOut}) {
            FakeEditorHost host;
            auto p = Make(palette, host);
            p->show();
            for (int i = 0; i < p->OptionCount(); ++i) {
                if (p->Mode(i) == 0) continue;
                host.SwitchTool(CmdMode::kBoundaryLines);
                host.SwitchTool(zoom);
                ASSERT_EQ(host.state->old_mode, CmdMode::kBoundaryLines);
                ASSERT_EQ(host.canvas.cursor, CanvasCursor::Zoom);
                QTest::mouseClick(p->Option(i), Qt::LeftButton);
                const std::string where =
                    std::to_string(palette) + "/" + std::to_string(i) + " after " + std::to_string(zoom);
                EXPECT_EQ(host.state->cmd_mode, p->Mode(i)) << where;
                EXPECT_EQ(host.state->old_mode, CmdMode::kNone) << where;
                EXPECT_EQ(host.canvas.cursor, CanvasCursor::Arrow) << where;
                EXPECT_FALSE(host.canvas.toolbar[kToolZoomIn]) << where;
                EXPECT_FALSE(host.canvas.toolbar[kToolZoomOut]) << where;
                p->Option(i)->setChecked(false);
            }
        }
}

TEST(ToolPalettes, OptionsSetToolAndPromptOrOpenTheirDialog) {
    struct Case {
        int palette, index, mode;
        const char* prompt;
    } cases[] = {
        {2, 0, 3, "境界線追加＞始点～終点を指定してください "},
        {2, 1, 4, "境界線削除＞削除する境界線を指定してください "},
        {3, 0, 5, "新規盛土登録＞盛土ブロックとなる領域の内側を指定してください "},
        {3, 1, 6, "新規土層登録＞土層ブロックとなる領域の内側を指定してください "},
        {3, 2, 7, "ブロック再認識＞ブロック中心点を指定し任意の領域へ移動してください "},
        {3, 3, 11, "ブロック削除＞削除するブロック中心点を指定してください "},
        {3, 4, -2, "  "},
        {3, 5, -2, "  "},
        {3, 6, -2, "  "},
        {3, 7, -2, "  "},
        {9, 0, 8, "施工前地形線追加＞線分の始点～終点を指定してください "},
        {9, 1, 9, "施工前地形線削除＞削除する線分を指定してください "},
        {9, 2, 10, "切り土ブロック登録＞切り土ブロックとなる領域の内部を指定してください "},
        {9, 3, 12, "切り土ブロック削除＞削除する切り土ブロック中心点を指定してください "},
        {9, 4, -2, "  "},
        {9, 5, 13, "切り土ブロック再認識＞切り土ブロック中心点を指定し任意の領域へ移動してください "},
        {14, 0, -2, " "},
        {14, 1, 17, "交点計算＞線分１を指定してください"},
        {14, 2, 18, "交点計算＞基準点を指定してください"},
        {14, 3, 19, "交点計算＞基準点を指定してください"},
        {14, 4, 20, "交点計算＞基準点を指定してください"},
    };
    HookScope scope;
    DialogCounter counter;
    PaletteDialogHooks() = {counter.Factory(), counter.Factory(), counter.Factory(),
                            counter.Factory(), counter.Factory(), counter.Factory()};
    for (const Case& c : cases) {
        FakeEditorHost host;
        auto p = Make(c.palette, host);
        p->show();
        const int before = counter.opened;
        if (c.mode == -2) host.state->cmd_mode = 5;  // a tool that was down stays
        QTest::mouseClick(p->Option(c.index), Qt::LeftButton);
        EXPECT_EQ(host.state->cmd_mode, c.mode == -2 ? 5 : c.mode) << c.palette << "/" << c.index;
        EXPECT_EQ(host.StatusText(1), c.prompt) << c.palette << "/" << c.index;
        EXPECT_EQ(counter.opened - before, c.mode == -2 ? 1 : 0) << c.palette << "/" << c.index;
        if (c.mode == -2) EXPECT_FALSE(AnyDown(*p)) << c.palette << "/" << c.index;
        else EXPECT_TRUE(p->Option(c.index)->isChecked());
    }
}

TEST(ToolPalettes, OpeningClearsThePicksAndPlacesThePalette) {
    for (int which : {2, 3, 9, 14}) {
        FakeEditorHost host;
        EditorState& st = *host.state;
        st.cmd_mode = 9;
        PickWithEveryTool(st, kSomePicks);
        st.SelFlags[7] = 1;
        st.SelCount = 1;
        auto p = Make(which, host);
        EXPECT_EQ(st.cmd_mode, 0);
        EXPECT_EQ(ToolsHolding(st), std::vector<int>{}) << which;
        // The block palette leaves the line selection to the canvas.
        EXPECT_EQ(st.SelFlags[7], which == 3 ? 1 : -1) << which;
        EXPECT_EQ(st.SelCount, which == 3 ? 1 : 0) << which;
        EXPECT_FALSE(AnyDown(*p));
        EXPECT_EQ(p->pos(), QPoint((1500 + 300) / 15, (1200 + 2000) / 15));
        EXPECT_TRUE(host.status.empty());  // no prompt on opening
    }
}

TEST(ToolPalettes, CloseSelectsNoToolAndBlanksThePanelOnce) {
    // Line marks stay where they number boundary lines (2, 3), and go with
    // the terrain palette, whose marks number terrain lines.
    const struct {
        int which;
        const char* blank;
        bool marksKept;
    } cases[] = {{2, "  ", true}, {3, "  ", true}, {9, "  ", false}, {14, " ", false}};
    for (const auto& c : cases) {
        FakeEditorHost host;
        QWidget* p = nullptr;
        switch (c.which) {
        case 2: p = OpenLinePalette(host); break;
        case 3: p = OpenBlockPalette(host); break;
        case 9: p = OpenTerrainPalette(host); break;
        default: p = OpenPointPalette(host); break;
        }
        QPointer<QWidget> alive(p);
        auto* palette = static_cast<EditPalette*>(p);
        QTest::mouseClick(palette->Option(1), Qt::LeftButton);
        ASSERT_NE(host.state->cmd_mode, 0);
        PickWithEveryTool(*host.state, kSomePicks);
        host.state->SelFlags[0] = 1;
        host.state->SelCount = 1;
        host.status.clear();
        const int repaints = host.refreshes;
        palette->CloseClicked();  // the tool menu closes it first; then it closes itself again
        EXPECT_EQ(host.toolOptions, std::vector<int>{kNoToolOption});
        EXPECT_EQ(host.state->cmd_mode, 0);
        EXPECT_EQ(ToolsHolding(*host.state), std::vector<int>{}) << c.which;
        ASSERT_EQ(host.status.size(), 1u) << c.which;  // unloaded once
        EXPECT_EQ(host.StatusText(1), c.blank);
        EXPECT_EQ(host.state->SelFlags[0], c.marksKept ? 1 : -1) << c.which;
        EXPECT_EQ(host.refreshes - repaints, c.marksKept ? 0 : 1) << c.which;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(alive.isNull());
    }
}

TEST(ToolPalettes, OneAtATimeByCaption) {
    FakeEditorHost host;
    QPointer<QWidget> first(OpenLinePalette(host));
    CloseToolPalettes();
    host.SelectToolOption(kNoToolOption);
    QPointer<QWidget> second(OpenTerrainPalette(host));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    ASSERT_FALSE(second.isNull());
    EXPECT_EQ(second->windowTitle(), QStringLiteral("施工前地形編集"));
    CloseToolPalettes();
    CloseToolPalettes();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(second.isNull());
}

TEST(ToolPalettes, ToolOptionsOpenTheirPalette) {
    const struct {
        int option;
        const char* caption;
    } cases[] = {{1, "境界点編集"}, {2, "境界線編集"}, {3, "ブロック編集"}, {5, "施工前地形編集"}};
    for (const auto& c : cases) {
        FakeEditorHost host;
        QPointer<QWidget> p(OpenToolForm(host, c.option));
        ASSERT_FALSE(p.isNull());
        EXPECT_TRUE(p->isVisible());
        EXPECT_FALSE(p->isModal());
        EXPECT_EQ(U(p->windowTitle()), c.caption);
        host.SelectToolOption(kNoToolOption);  // the tool menu closes it by its caption
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(p.isNull());
    }
}

// With the real embankment table: it opens over a tool that was down,
// which stays; the panel is blanked and no option stays down.
TEST(ToolPalettes, EmbankmentTableOverANewEmbankmentTool) {
    FakeEditorHost host;
    Dialog3 p(host, nullptr);
    p.show();
    QTest::mouseClick(p.Option(0), Qt::LeftButton);
    ASSERT_EQ(host.state->cmd_mode, 5);
    bool opened = false;
    test::WhenModal<Dialog1>([&](Dialog1* d) {
        opened = d->parentWidget() == &p;
        d->CancelButton->click();
    });
    QTest::mouseClick(p.Option(4), Qt::LeftButton);
    EXPECT_TRUE(opened);
    EXPECT_EQ(host.state->cmd_mode, 5);
    EXPECT_EQ(host.StatusText(1), "  ");
    EXPECT_FALSE(AnyDown(p));
}

TEST(ToolPalettes, ListOptionOpensItsDialogEveryTime) {
    HookScope scope;
    DialogCounter counter;
    PaletteDialogHooks().dialog0 = counter.Factory();
    FakeEditorHost host;
    Dialog14 p(host, nullptr);
    p.show();
    QTest::mouseClick(p.Option(0), Qt::LeftButton);
    QTest::mouseClick(p.Option(0), Qt::LeftButton);
    EXPECT_EQ(counter.opened, 2);
}

// Points 0..10 and ten lines from point 0 to each other point.
void Star(Model& m, bool cut) {
    m.BndPtCount = 11;
    for (int i = 0; i < 11; ++i) m.BndPt[i].X = i;
    auto& lines = cut ? m.CutLine : m.BndLine;
    for (int j = 0; j < 10; ++j) lines[j] = BoundaryLine{0, static_cast<i16>(j + 1)};
    (cut ? m.CutLineCount : m.BndLineCount) = 10;
}

TEST(ToolPalettes, TenLinesAtAPointLinkNineAndTellOnce) {
    {
        FakeEditorHost host;
        Star(*host.model, false);
        Dialog3 p(host, nullptr);
        EXPECT_EQ(host.model->BndPt[0].nLink, 9);
        EXPECT_EQ(host.model->BndPt[0].Link[8], 8);
        EXPECT_EQ(host.model->BndPt[10].nLink, 1);
        ASSERT_EQ(host.messages.Count(), 1u);
        EXPECT_EQ(host.messages.Last().text, "1つの境界点に接続できる線は9本までです。");
    }
    {
        FakeEditorHost host;
        Star(*host.model, true);
        Dialog9 p(host, nullptr);
        EXPECT_EQ(host.messages.Count(), 0u);  // linked at the first option only
        QTest::mouseClick(p.Option(0), Qt::LeftButton);
        QTest::mouseClick(p.Option(2), Qt::LeftButton);
        EXPECT_EQ(host.model->BndPt[0].nLink, 9);
        EXPECT_EQ(host.messages.Count(), 1u);
    }
}

TEST(ToolPalettes, TerrainLineAddedBeforeNewCutIsLinked) {
    FakeEditorHost host;
    Model& m = *host.model;
    m.BndPtCount = 3;
    m.CutLine[0] = {0, 1};
    m.CutLineCount = 1;
    m.BndLine[0] = {1, 2};
    m.BndLineCount = 1;
    Dialog9 p(host, nullptr);
    QTest::mouseClick(p.Option(0), Qt::LeftButton);
    // The add tool draws a terrain line from point 1 to point 2.
    m.CutLine[1] = {1, 2};
    m.CutLineCount = 2;
    QTest::mouseClick(p.Option(2), Qt::LeftButton);
    EXPECT_EQ(host.state->cmd_mode, 10);
    ASSERT_EQ(m.BndPt[2].nLink, 1);
    EXPECT_EQ(m.BndPt[2].Link[0], 1);  // the terrain line, not the boundary line
    EXPECT_EQ(m.BndPt[1].nLink, 2);
}

// The tool an option leaves drops the picks it holds, and the canvas shows
// them no more (one repaint); the other tools' picks stay, as does a canvas
// that showed none. A dialog option keeps the tool, not its picks.
TEST(ToolPalettes, OptionsDropPicksAndRepaint) {
    namespace M = CmdMode;
    const struct Case {
        int palette, tool;
        bool zoomed;  // a zoom interrupted the tool
        int option;
        bool linesStay, repaint;
    } cases[] = {
        {2, M::kDeleteBoundaryLines, false, 1, false, true},
        {2, M::kDeleteBoundaryLines, true, 0, false, true},
        {2, M::kNone, false, 1, true, false},              // no tool: nothing of its own
        {3, M::kReshapeEmbankment, false, 2, true, true},  // the line pick stays
        {3, M::kReshapeSoilLayer, true, 4, true, true},
        {9, M::kDeleteTerrainLines, false, 4, false, true},
        {9, M::kTerrainLines, false, 0, true, true},  // the chain's point goes
        {14, M::kTwoLinesCrossing, false, 0, false, true},
        {14, M::kFootOfPerpendicular, true, 2, false, true},
    };
    HookScope scope;
    DialogCounter counter;
    PaletteDialogHooks() = {counter.Factory(), counter.Factory(), counter.Factory(),
                            counter.Factory(), counter.Factory(), counter.Factory()};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.palette) + "/" + std::to_string(c.tool) + "/" + std::to_string(c.option));
        FakeEditorHost host;
        EditorState& st = *host.state;
        auto p = Make(c.palette, host);
        p->show();
        host.SwitchTool(c.tool);
        PickWithEveryTool(st, kSomePicks);
        st.SelFlags[3] = 1;
        st.SelCount = 1;
        if (c.zoomed) host.SwitchTool(M::kZoomIn);
        const int before = host.refreshes;
        QTest::mouseClick(p->Option(c.option), Qt::LeftButton);
        EXPECT_EQ(st.SelFlags[3], c.linesStay ? 1 : -1);
        std::vector<int> others;
        for (int mode = M::kZoomIn; mode < ToolModeEnd(); ++mode)
            if (mode != c.tool) others.push_back(mode);
        EXPECT_EQ(ToolsHolding(st), others);
        EXPECT_EQ(host.refreshes - before, c.repaint ? 1 : 0);
        if (!c.repaint) continue;
        EXPECT_EQ(st.cmd_mode, p->Mode(c.option) == M::kNone ? (c.zoomed ? M::kZoomIn : c.tool) : p->Mode(c.option));
    }
}

}  // namespace
}  // namespace kova

namespace kova {
namespace {

// Each palette is wide enough for its caption in a title bar (a bold face
// with an icon and buttons beside it) and keeps its column in the middle;
// none asks for minimise or maximise buttons.
TEST(ToolPalettes, WideEnoughForTheirCaptionsWithFixedFlags) {
    FakeEditorHost host;
    for (int which : {2, 3, 9, 14}) {
        std::unique_ptr<EditPalette> p = Make(which, host);
        // A title bar that cut "ブロック編集" (a bold face a third larger,
        // an icon and three buttons of 24 pixels) shows it whole.
        QFont bold = QApplication::font();
        bold.setBold(true);
        bold.setPointSizeF(bold.pointSizeF() * 4 / 3);
        EXPECT_GE(p->width(), QFontMetrics(bold).horizontalAdvance(p->windowTitle()) + 4 * 24 + 16) << which;
        const QRect b = p->Option(0)->geometry();
        EXPECT_LE(std::abs(b.left() - (p->width() - b.right() - 1)), 2) << which;
        EXPECT_EQ(p->minimumSize(), p->maximumSize()) << which;
        const Qt::WindowFlags f = p->windowFlags();
        EXPECT_TRUE(f & Qt::CustomizeWindowHint) << which;
        EXPECT_FALSE(f & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)) << which;
    }
}

}  // namespace
}  // namespace kova
