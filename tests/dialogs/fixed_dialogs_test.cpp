// Every data dialog and tool palette of KOVACALC keeps what the shared
// fixed dialog gives it: a fixed size, Enter and Esc that close nothing
// (but where the dialog gives Esc its own meaning), a fixed border, and its
// place (centred on its owner, or at the palette origin).
#include <gtest/gtest.h>

#include <QTest>
#include <functional>
#include <memory>
#include <string>

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
#include "dialogs/tool_palettes.hpp"
#include "testing/qt/fake_editor_host.hpp"
#include "tests/support/fixed_dialog_check.hpp"
#include "tests/support/qt_app.hpp"

namespace kova {
namespace {

enum class Place { CentredOnOwner, PaletteOrigin, Unplaced };

template <class D>
std::unique_ptr<FixedDialog> Make(EditorHost& host, QWidget* owner) {
    return std::make_unique<D>(host, owner);
}

TEST(FixedDialogs, EveryDialogAndPaletteIsFixedDeafToEnterAndEscAndPlaced) {
    const struct {
        const char* name;
        std::function<std::unique_ptr<FixedDialog>(EditorHost&, QWidget*)> open;
        Place place;
    } cases[] = {
        {"Dialog0", Make<Dialog0>, Place::CentredOnOwner},   {"Dialog1", Make<Dialog1>, Place::CentredOnOwner},
        {"Dialog4", Make<Dialog4>, Place::CentredOnOwner},   {"Dialog5", Make<Dialog5>, Place::CentredOnOwner},
        {"Dialog6", Make<Dialog6>, Place::CentredOnOwner},   {"Dialog7", Make<Dialog7>, Place::CentredOnOwner},
        {"Dialog8", Make<Dialog8>, Place::CentredOnOwner},   {"Dialog10", Make<Dialog10>, Place::CentredOnOwner},
        {"Dialog11", Make<Dialog11>, Place::CentredOnOwner}, {"Dialog12", Make<Dialog12>, Place::CentredOnOwner},
        {"Dialog13", Make<Dialog13>, Place::CentredOnOwner}, {"Dialog15", Make<Dialog15>, Place::Unplaced},
        {"Dialog2", Make<Dialog2>, Place::PaletteOrigin},    {"Dialog3", Make<Dialog3>, Place::PaletteOrigin},
        {"Dialog9", Make<Dialog9>, Place::PaletteOrigin},    {"Dialog14", Make<Dialog14>, Place::PaletteOrigin},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakeEditorHost host;
        host.model->SoilLayerCount = 2;
        QWidget owner;
        owner.setGeometry(100, 80, 900, 700);
        owner.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
        host.owner = &owner;
        std::unique_ptr<FixedDialog> d = c.open(host, &owner);
        const bool palette = c.place == Place::PaletteOrigin;
        EXPECT_EQ(d->windowFlags() & Qt::WindowType_Mask, palette ? Qt::Tool : Qt::Dialog);
        EXPECT_EQ(d->isModal(), !palette);
        if (c.place == Place::CentredOnOwner) {
            EXPECT_TRUE(test::CentredIn(d.get(), owner.frameGeometry()));
        }
        if (palette) {
            const TwipsPoint at = host.PaletteOrigin();
            EXPECT_EQ(d->pos(), QPoint(d->Px(at.left), d->Py(at.top)));
        }
        // The run conditions give Esc to their own cancelling of the run.
        if (std::string(c.name) == "Dialog13") {
            test::ExpectFixedAndDeafToEnterAndEsc(d.get(), {Qt::Key_Return, Qt::Key_Enter});
        } else {
            test::ExpectFixedAndDeafToEnterAndEsc(d.get());
        }
        d->hide();
    }
}

}  // namespace
}  // namespace kova
