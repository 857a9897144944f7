#pragma once
// What the dialogs and palettes of KOVACALC need of the main window. The
// main window implements it; tests use a recording fake.
#include <filesystem>
#include <string>

#include "editing/editor_state.hpp"
#include "editing/mouse_tools.hpp"
#include "platform/message.hpp"

class QWidget;

namespace kova {

// A point in screen twips.
struct TwipsPoint {
    int left = 0;
    int top = 0;
    friend bool operator==(const TwipsPoint&, const TwipsPoint&) = default;
};

class EditorHost : public StatusPanels {
public:
    virtual ~EditorHost() = default;

    virtual Model& SectionModel() = 0;
    // cmd_mode, old_mode and the picks of the canvas tools.
    virtual EditorState& State() = 0;
    // Draws the canvas again at once from the model as it is now.
    virtual void Refresh() = 0;
    // Makes `mode` the canvas tool through the tool table: the tool in force
    // is deactivated (a zoom gives back the arrow cursor and its button),
    // then the new one activated, which shows its prompt.
    virtual void SwitchTool(int mode) = 0;
    // The tool of `mode` drops its picks, repainting when there were any.
    virtual void DropPicks(int mode) = 0;
    // Puts the tool in force down for none (kova::ResetTool).
    virtual void ResetTool(ToolReset why) = 0;
    // Status-bar panel 1 (tool prompt) or 2 (cursor position, import count).
    void SetStatusText(int panel, const std::string& text) override = 0;
    // Runs the handler of tool option i (7: no tool).
    virtual void SelectToolOption(int index) = 0;
    // The main window: owner of the forms the tool options open.
    virtual QWidget* OwnerWidget() = 0;
    // The main window's left and top edge in screen twips.
    virtual TwipsPoint WindowOrigin() = 0;
    virtual MessageSink& Messages() = 0;
    // The program folder.
    virtual std::filesystem::path AppPath() = 0;

    // Where a palette opens: 300 twips right of and 2000 twips below the
    // main window's corner.
    TwipsPoint PaletteOrigin() { return {WindowOrigin().left + 300, WindowOrigin().top + 2000}; }
};

// Opens the form of a tool option: 0, 4, 6 and 8 show their data dialog
// modally with the main window as owner and return when it has closed
// (nullptr); 1, 2, 3 and 5 show their palette modeless and return it. Other
// options (7 included) open nothing. The caller has already closed any open
// palette and reset the tool state.
QWidget* OpenToolForm(EditorHost& host, int option);

// The calculation-conditions dialog, modal with the main window as owner.
// True when "計算" closed it; a cancel, Esc or the close box end the run.
bool ShowCalcConditions(EditorHost& host);

}  // namespace kova
