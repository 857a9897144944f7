#include <array>

#include "dialogs/editor_host.hpp"
#include "dialogs/tool_palettes.hpp"

namespace kova {

namespace {

// The form each tool option opens, by option number; nullptr opens nothing.
using ToolFormOpener = QWidget* (*)(EditorHost&);

const std::array<ToolFormOpener, 9> kToolForms{
    nullptr,  // 0 calculation positions
    OpenPointPalette,    // 1 boundary-point palette
    OpenLinePalette,     // 2 boundary-line palette
    OpenBlockPalette,    // 3 block palette
    nullptr,  // 4 surcharge loads
    OpenTerrainPalette,  // 5 terrain palette
    nullptr,  // 6 loading stages
    nullptr,  // 7 no tool
    nullptr,  // 8 sheet piles
};

}  // namespace

QWidget* OpenToolForm(EditorHost& host, int option) {
    if (option < 0 || option >= static_cast<int>(kToolForms.size())) return nullptr;
    const ToolFormOpener open = kToolForms[static_cast<std::size_t>(option)];
    return open ? open(host) : nullptr;
}

void ShowCalcConditions(EditorHost&) {}

}  // namespace kova
