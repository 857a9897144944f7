// What the tool options, the palettes, the zoom tools and the main window's
// close leave of the tool state, with the real palettes over the real window.
#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "dialogs/dialog_base.hpp"
#include "editing/editor_host.hpp"
#include "dialogs/tool_palettes.hpp"
#include "editing/mouse_tools.hpp"
#include "editing/project_commands.hpp"
#include "editor/section_canvas.hpp"
#include "editing/canvas_view.hpp"
#include "platform/qt/qt_text.hpp"
#include "testing/tool_picks.hpp"
#include "tests/editor/editor_fixture.hpp"

namespace kova::test {
namespace {

class ToolState : public EditorFixture {
protected:
    // The window with the real forms behind its tool options.
    Form1& StartWithForms() {
        realForms = true;
        return Start();
    }
    EditorDeps Deps() override {
        EditorDeps d = EditorFixture::Deps();
        if (realForms) d.openToolForm = [this](Form1& f, int i) {
            opened.push_back(i);
            OpenToolForm(f, i);
        };
        return d;
    }
    void ClickOption(int i) { QTest::mouseClick(form->ToolOptionButton(i), Qt::LeftButton); }
    // The open palette with this caption, or null.
    static ToolPalette* Palette(const char* caption) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* p = qobject_cast<ToolPalette*>(w); p && p->isVisible() && U(p->windowTitle()) == caption) return p;
        return nullptr;
    }
    bool realForms = false;
};

TEST_F(ToolState, ClickingTheSelectedOptionAgainKeepsItsPaletteAndTool) {
    StartWithForms();
    ClickOption(2);
    ToolPalette* lines = Palette("境界線編集");
    ASSERT_NE(lines, nullptr);
    QTest::mouseClick(lines->Option(0), Qt::LeftButton);
    EditorState& ed = form->State();
    ASSERT_EQ(ed.cmd_mode, 3);
    ed.Tool()->picks = {2, 2, 0, {-1, -1}};  // a chain in progress
    const std::string prompt = form->StatusText(1);

    ClickOption(2);
    EXPECT_EQ(opened, (std::vector<int>{2}));
    EXPECT_EQ(Palette("境界線編集"), lines);
    EXPECT_EQ(ed.cmd_mode, 3);
    EXPECT_EQ(ed.Tool()->picks.SelIndex2, 2);
    EXPECT_EQ(form->StatusText(1), prompt);
    EXPECT_TRUE(form->ToolOptionButton(2)->isChecked());

    // Another option still runs, and the first one again after it.
    ClickOption(3);
    EXPECT_EQ(Palette("境界線編集"), nullptr);
    ASSERT_NE(Palette("ブロック編集"), nullptr);
    ClickOption(2);
    EXPECT_EQ(opened, (std::vector<int>{2, 3, 2}));
    EXPECT_EQ(ed.cmd_mode, 0);
}

TEST_F(ToolState, ARefusedCloseLeavesThePaletteWorkingAndItsLaterCloseUnloads) {
    StartWithForms();
    AddPoint(0, 0);  // a change: closing asks
    AddPoint(10, 0);
    for (int option : {2, 1}) {
        ClickOption(option);
        ToolPalette* p = Palette(option == 2 ? "境界線編集" : "境界点編集");
        ASSERT_NE(p, nullptr) << option;
        QTest::mouseClick(p->Option(1), Qt::LeftButton);
        EditorState& ed = form->State();
        const int tool = ed.cmd_mode;
        ASSERT_EQ(tool, option == 2 ? 4 : 17);
        ed.SelFlags[0] = 1;
        ed.SelCount = 1;
        test::PickWithEveryTool(ed, test::kSomePicks);
        const std::string prompt = form->StatusText(1);

        msg.Script(MsgAnswer::Cancel);
        EXPECT_FALSE(form->close()) << option;
        EXPECT_TRUE(p->isVisible()) << option;
        EXPECT_EQ(ed.cmd_mode, tool) << option;
        EXPECT_EQ(form->StatusText(1), prompt) << option;
        EXPECT_EQ(test::ToolsHolding(ed).size(), static_cast<std::size_t>(ToolModeEnd() - 1)) << option;
        EXPECT_EQ(ed.SelCount, 1) << option;

        // Closed by its own close box later, it unloads then.
        p->close();
        EXPECT_EQ(ed.cmd_mode, 0) << option;
        EXPECT_EQ(form->StatusText(1), option == 2 ? "  " : " ") << option;
        if (option == 1) {
            EXPECT_EQ(test::ToolsHolding(ed), std::vector<int>{});
            EXPECT_EQ(ed.SelCount, 0);
        }
    }
    // A close that goes through unloads the palette with the window.
    ClickOption(2);
    ToolPalette* p = Palette("境界線編集");
    ASSERT_NE(p, nullptr);
    QTest::mouseClick(p->Option(0), Qt::LeftButton);
    msg.Script(MsgAnswer::No);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(form->State().cmd_mode, 0);
    EXPECT_EQ(Palette("境界線編集"), nullptr);
}

TEST_F(ToolState, APaletteToolChosenDuringAZoomEndsIt) {
    StartWithForms();
    for (bool zoomOut : {false, true}) {
        ClickOption(5);
        ToolPalette* p = Palette("施工前地形編集");
        ASSERT_NE(p, nullptr);
        QTest::mouseClick(p->Option(1), Qt::LeftButton);  // tool 9
        zoomOut ? form->ZoomOut() : form->ZoomIn();
        QAction* button = form->ToolbarButton(zoomOut ? kToolZoomOut : kToolZoomIn);
        ASSERT_TRUE(button->isChecked());
        ASSERT_EQ(form->State().old_mode, 9);
        QTest::mouseClick(p->Option(0), Qt::LeftButton);  // tool 8
        EXPECT_EQ(form->State().cmd_mode, 8) << zoomOut;
        EXPECT_EQ(form->State().old_mode, 0) << zoomOut;
        EXPECT_FALSE(button->isChecked()) << zoomOut;
        EXPECT_EQ(form->Canvas()->cursor().shape(), Qt::ArrowCursor) << zoomOut;
    }
    // A data dialog of a palette leaves the zoom as it was.
    form->ZoomIn();
    PaletteDialogs saved = PaletteDialogHooks();
    PaletteDialogHooks().dialog10 = {};
    QTest::mouseClick(Palette("施工前地形編集")->Option(4), Qt::LeftButton);
    PaletteDialogHooks() = saved;
    EXPECT_EQ(form->State().cmd_mode, 1);
    EXPECT_TRUE(form->ToolbarButton(kToolZoomIn)->isChecked());
}

TEST_F(ToolState, AMenuDialogThatChoseNoToolLeavesNoOptionDown) {
    // The fake forms: option 0's dialog selects the no-tool option as it closes.
    EditorDeps d = EditorFixture::Deps();
    d.openToolForm = [this](Form1& f, int i) {
        opened.push_back(i);
        if (i == 0) f.SelectToolOption(kNoToolOption);
    };
    form = std::make_unique<Form1>(d);
    ASSERT_TRUE(form->Load());
    form->show();
    ClickOption(2);
    form->MenuAction("inp_menu0")->trigger();
    EXPECT_FALSE(form->ToolOptionButton(2)->isChecked());
    EXPECT_TRUE(form->ToolOptionButton(kNoToolOption)->isChecked());
    // A dialog that chose nothing leaves the options as they showed.
    ClickOption(3);
    form->MenuAction("inp_menu4")->trigger();
    EXPECT_TRUE(form->ToolOptionButton(3)->isChecked());
    EXPECT_EQ(opened, (std::vector<int>{2, 0, 3, 4}));
}

// However a palette closes, its option is free again: choosing it opens the
// palette anew, and only the tool menu's own closing keeps another option.
TEST_F(ToolState, EveryWayOfClosingAPaletteFreesItsOption) {
    StartWithForms();
    const struct {
        int option;
        const char* caption;
    } palettes[] = {{1, "境界点編集"}, {2, "境界線編集"}, {3, "ブロック編集"}, {5, "施工前地形編集"}};
    const struct {
        const char* way;
        void (*close)(ToolPalette&);
    } ways[] = {
        {"close box", [](ToolPalette& p) { p.close(); }},
        {"Alt+F4", [](ToolPalette& p) { QCloseEvent e; QApplication::sendEvent(&p, &e); }},
        {"reject", [](ToolPalette& p) { p.reject(); }},
        {"閉じる", [](ToolPalette& p) { p.CloseClicked(); }},
    };
    for (const auto& p : palettes)
        for (const auto& w : ways) {
            ClickOption(p.option);
            ToolPalette* open = Palette(p.caption);
            ASSERT_NE(open, nullptr) << p.caption << ", " << w.way;
            w.close(*open);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            EXPECT_EQ(Palette(p.caption), nullptr) << p.caption << ", " << w.way;
            EXPECT_FALSE(form->ToolOptionButton(p.option)->isChecked()) << p.caption << ", " << w.way;
            EXPECT_EQ(form->State().cmd_mode, 0) << p.caption << ", " << w.way;
        }
    // Another option closes the palette and stays down itself.
    ClickOption(3);
    ClickOption(2);
    EXPECT_EQ(Palette("ブロック編集"), nullptr);
    EXPECT_NE(Palette("境界線編集"), nullptr);
    EXPECT_TRUE(form->ToolOptionButton(2)->isChecked());
}

TEST_F(ToolState, ADoubleClickIsOnePress) {
    Start();
    auto* canvas = qobject_cast<SectionCanvas*>(form->Canvas());
    ASSERT_NE(canvas, nullptr);
    QSignalSpy presses(canvas, &SectionCanvas::mouseDown);
    const QPoint at(40, 40);
    // What the platform delivers: press, release, double click, release.
    QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(canvas, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(presses.count(), 1);

    // Tool 4 toggles the line under it once: it stays selected.
    AddPoint(0, 0);
    AddPoint(20, 0);
    Model& m = form->SectionModel();
    m.BndLine[0] = BoundaryLine{0, 1};
    m.BndLineCount = 1;
    form->ShowWholeView();
    EditorState& ed = form->State();
    ed.cmd_mode = 4;
    const QPoint mid(static_cast<int>(std::lround((10 - ed.ViewLeftX) * ed.ViewScale / 15)),
                     static_cast<int>(std::lround(ed.ViewTopY * ed.ViewScale / 15)));
    QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, mid);
    QTest::mouseDClick(canvas, Qt::LeftButton, Qt::NoModifier, mid);
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, mid);
    EXPECT_EQ(ed.SelFlags[0], 1);
    EXPECT_EQ(ed.SelCount, 1);
}

TEST_F(ToolState, TheCursorReadoutIsNeverLeftFromAnotherViewOrProject) {
    Start();
    AddPoint(0, 0);
    AddPoint(40, -20);
    form->ShowWholeView();
    auto* canvas = qobject_cast<SectionCanvas*>(form->Canvas());
    const QPoint at(60, 50);
    QMouseEvent move(QEvent::MouseMove, QPointF(at), canvas->mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(canvas, &move);
    const std::string before = form->StatusText(2);
    ASSERT_FALSE(before.empty());

    // A zoom click: the same pixel now shows another place.
    form->ZoomIn();
    QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, at);
    const EditorState& ed = form->State();
    const double x = at.x() * 15.0 / ed.ViewScale + ed.ViewLeftX, y = ed.ViewTopY - at.y() * 15.0 / ed.ViewScale;
    EXPECT_NE(form->StatusText(2), before);
    EXPECT_EQ(form->StatusText(2), CursorReadout(x, y));
    EXPECT_NEAR(ed.CursorX, x, 1e-3);
    EXPECT_NEAR(ed.CursorY, y, 1e-3);

    // A new project has no position under the mouse until it moves.
    msg.Script(MsgAnswer::No);
    form->NewProject();
    EXPECT_EQ(form->StatusText(2), "");
}

}  // namespace
}  // namespace kova::test
