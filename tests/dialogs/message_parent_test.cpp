// A message belongs to the window the user is in: every box a data dialog
// of KOVACALC shows through the program's one message sink is parented to
// that dialog, also when the main window owns the sink.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <functional>
#include <memory>

#include "dialogs/dialog0.hpp"
#include "dialogs/dialog1.hpp"
#include "dialogs/dialog10.hpp"
#include "dialogs/dialog11.hpp"
#include "dialogs/dialog12.hpp"
#include "dialogs/dialog13.hpp"
#include "dialogs/dialog15.hpp"
#include "dialogs/dialog4.hpp"
#include "dialogs/dialog5.hpp"
#include "dialogs/dialog6.hpp"
#include "dialogs/dialog7.hpp"
#include "dialogs/dialog8.hpp"
#include "platform/qt/messages_qt.hpp"
#include "tests/support/box_parents.hpp"
#include "dialog_test_util.hpp"

namespace kova::test {
namespace {

// The main window with the program's own message boxes.
struct BoxHost : FakeEditorHost {
    QtMessages boxes{"Kovadex"};
    MessageSink& Messages() override { return boxes; }
};

// Makes the dialog speak as the user does: text that is no number typed
// into each cell of the first row of its first table, else into each of
// its boxes; a dialog that still says nothing is spoken through from the
// main window while it is open.
bool Provoke(QDialog& d, BoxWatch& watch, EditorHost& host) {
    if (auto* g = d.findChild<grid::QEX_FLG*>()) {
        for (int col = 0; col < g->Model().columnCount() && watch.Boxes().empty(); ++col)
            if (CellEditable(*g, 1, col)) TypeCell(*g, 1, col, QStringLiteral("abc"));
    }
    for (QLineEdit* box : d.findChildren<QLineEdit*>()) {
        if (!watch.Boxes().empty()) break;
        bool inTable = false;
        for (QWidget* w = box->parentWidget(); w; w = w->parentWidget()) inTable = inTable || qobject_cast<grid::QEX_FLG*>(w);
        if (!box->isEnabled() || box->isReadOnly() || inTable) continue;
        box->setText(QStringLiteral("abc"));
        emit box->editingFinished();
    }
    if (!watch.Boxes().empty()) return true;
    host.Messages().Notify("x");
    return false;
}

template <class D>
std::function<QDialog*(EditorHost&, QWidget*)> Make() {
    return [](EditorHost& h, QWidget* owner) { return new D(h, owner); };
}

TEST(MessageParent, EveryBoxOfADataDialogBelongsToTheDialog) {
    QWidget main;
    main.resize(800, 600);
    main.show();
    const struct {
        const char* name;
        std::function<QDialog*(EditorHost&, QWidget*)> make;
    } dialogs[] = {
        {"Dialog0", Make<Dialog0>()},   {"Dialog1", Make<Dialog1>()},   {"Dialog4", Make<Dialog4>()},
        {"Dialog5", Make<Dialog5>()},   {"Dialog6", Make<Dialog6>()},   {"Dialog7", Make<Dialog7>()},
        {"Dialog8", Make<Dialog8>()},   {"Dialog10", Make<Dialog10>()}, {"Dialog11", Make<Dialog11>()},
        {"Dialog12", Make<Dialog12>()}, {"Dialog13", Make<Dialog13>()}, {"Dialog15", Make<Dialog15>()},
    };
    int spokeOnTheirOwn = 0;
    for (const auto& entry : dialogs) {
        SCOPED_TRACE(entry.name);
        BoxHost host;
        host.owner = &main;
        host.boxes.SetOwner(&main);
        BoxWatch watch;
        std::unique_ptr<QDialog> d(entry.make(host, &main));
        QDialog* dialog = d.get();
        WhenModal<QDialog>([&](QDialog* shown) {
            EXPECT_EQ(shown, dialog);
            spokeOnTheirOwn += Provoke(*shown, watch, host) ? 1 : 0;
            shown->reject();
        });
        d->exec();
        ASSERT_FALSE(watch.Boxes().empty());
        for (const auto& box : watch.Boxes()) EXPECT_EQ(box.parent, dialog) << box.text;
    }
    // Most refuse typed letters themselves; the walk is not only the sink's.
    EXPECT_GE(spokeOnTheirOwn, 8);
}

}  // namespace
}  // namespace kova::test
