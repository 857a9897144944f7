#pragma once
// The state of one KOVACALC session and what its commands need of the
// window around them. The commands are plain classes over these, so that
// they read like the steps of the commands and tests can drive them.
#include <filesystem>
#include <memory>
#include <string>

#include "editing/editor_host.hpp"
#include "editing/names.hpp"
#include "editing/editor_state.hpp"
#include "platform/filedialog.hpp"
#include "platform/help.hpp"
#include "platform/message.hpp"
#include "platform/process.hpp"

namespace kova {

struct Session {
    // The model is large; it lives on the heap, once, as long as the window.
    std::unique_ptr<Model> model = std::make_unique<Model>();
    ProgramState ps;
    std::unique_ptr<EditorState> es = std::make_unique<EditorState>();
    // The name the file dialogs hold: "無題" or the project's path. Every
    // save decision compares it with "無題".
    std::string currentFileName = kUntitled;
    // A run since the last start-up, new or open ended with 0 and its
    // results were read whole; removing the result files forgets it.
    bool resultsReady = false;
    // The engine's program (started with the program folder as its current
    // folder).
    std::filesystem::path engineProgram;
    // The folder VIEWQEX2 is started from; empty: the program folder.
    std::filesystem::path programDir;

    Model& m() { return *model; }
    EditorState& view() { return *es; }
};

// The outside services a session talks to.
struct Services {
    MessageSink& msg;
    FileDialogs& files;
    ProcessRunner& processes;
    HelpViewer& help;
};

// What the commands ask of the main window, besides what the dialogs ask
// (the model, the tool state, tool options, repaints and the status bar).
class CommandHost : public EditorHost {
public:
    virtual void SetCaption(const std::string& caption) = 0;
    // Both scroll bars to 0 without panning.
    virtual void ResetScrollBars() = 0;
    virtual void ShowWholeView() = 0;
    // A project file just opened or saved goes to the top of the recent list.
    virtual void AddRecentFile(const std::string& path) = 0;
    // While busy the window is disabled and refuses to close.
    virtual void SetBusy(bool busy) = 0;
    // The wait cursor over the application while a command works without
    // a window of its own.
    virtual void SetWaitCursor(bool on) = 0;
    // The calculation-conditions dialog, modal; false when cancelled.
    virtual bool ShowConditionsDialog() = 0;
    // What shows a long engine run and lets the user stop it; none by
    // default.
    virtual RunningNotice* EngineNotice() { return nullptr; }
};

}  // namespace kova
