#pragma once
// Test helpers over the picks each canvas tool of an editor holds.
#include <vector>

#include "editing/mouse_tools.hpp"

namespace kova::test {

// Every tool of the editor holds `p`.
inline void PickWithEveryTool(EditorState& ed, const ToolPicks& p) {
    for (int mode = CmdMode::kZoomIn; mode < ToolModeEnd(); ++mode) ed.tools.For(mode)->picks = p;
}

// The modes whose tools hold any pick.
inline std::vector<int> ToolsHolding(const EditorState& ed) {
    std::vector<int> modes;
    for (int mode = CmdMode::kZoomIn; mode < ToolModeEnd(); ++mode) {
        const ToolPicks& p = ed.tools.For(mode)->picks;
        if (p.Held() || p.SelIndex2 != -1) modes.push_back(mode);
    }
    return modes;
}

// A pick in every field, as a tool in the middle of its clicks holds.
inline constexpr ToolPicks kSomePicks{2, 2, 1, {1, 4}};

}  // namespace kova::test
