#include <array>

#include "dialogs/dialog12.hpp"
#include "dialogs/dialog13.hpp"
#include "dialogs/dialog15.hpp"
#include "dialogs/dialog6.hpp"
#include "dialogs/dialog7.hpp"
#include "editing/editor_host.hpp"
#include "dialogs/tool_palettes.hpp"

namespace kova {

namespace {

// The form each tool option opens, by option number; nullptr opens nothing.
using ToolFormOpener = QWidget* (*)(EditorHost&);

// A data dialog shown modally with the main window as owner.
template <class D>
QWidget* ShowModal(EditorHost& host) {
    D dialog(host, host.OwnerWidget());
    dialog.exec();
    return nullptr;
}

const std::array<ToolFormOpener, 9> kToolForms{
    &ShowModal<Dialog7>,   // 0 calculation positions
    OpenPointPalette,      // 1 boundary-point palette
    OpenLinePalette,       // 2 boundary-line palette
    OpenBlockPalette,      // 3 block palette
    &ShowModal<Dialog12>,  // 4 surcharge loads
    OpenTerrainPalette,    // 5 terrain palette
    &ShowModal<Dialog6>,   // 6 loading stages
    nullptr,               // 7 no tool
    &ShowModal<Dialog15>,  // 8 sheet piles
};

}  // namespace

QWidget* OpenToolForm(EditorHost& host, int option) {
    if (option < 0 || option >= static_cast<int>(kToolForms.size())) return nullptr;
    const ToolFormOpener open = kToolForms[static_cast<std::size_t>(option)];
    return open ? open(host) : nullptr;
}

bool ShowCalcConditions(EditorHost& host) {
    Dialog13 dialog(host, host.OwnerWidget());
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace kova
