#pragma once
// A main window for dialog tests: holds a model and the tool state, records
// every request a dialog makes of it, and answers message boxes from a script.
#include <QWidget>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "editing/editor_host.hpp"
#include "dialogs/tool_palettes.hpp"
#include "editing/mouse_tools.hpp"
#include "testing/fakes.hpp"
#include "testing/recording_canvas.hpp"

namespace kova::test {

class FakeEditorHost : public EditorHost {
public:
    FakeEditorHost() : model(std::make_unique<Model>()), state(std::make_unique<EditorState>()) {}

    Model& SectionModel() override { return *model; }
    EditorState& State() override { return *state; }
    void Refresh() override { ++refreshes; }
    void SwitchTool(int mode) override { kova::SwitchTool(*state, canvas, mode, this); }
    void DropPicks(int mode) override { DropToolPicks(*state, canvas, mode); }
    void ResetTool(ToolReset why) override { kova::ResetTool(*state, canvas, why); }
    void SetStatusText(int panel, const std::string& text) override { status.emplace_back(panel, text); }
    void SelectToolOption(int index) override {
        toolOptions.push_back(index);
        // As the tool menu does: any open palette closes, then no tool.
        CloseToolPalettes();
        if (index == kNoToolOption) ResetTool(ToolReset::kCanvasTaken);
    }
    QWidget* OwnerWidget() override { return owner; }
    TwipsPoint WindowOrigin() override { return origin; }
    MessageSink& Messages() override { return messages; }
    std::filesystem::path AppPath() override { return appPath; }

    // The last text written into a status panel ("" when none was).
    std::string StatusText(int panel) const {
        for (auto it = status.rbegin(); it != status.rend(); ++it)
            if (it->first == panel) return it->second;
        return {};
    }

    std::unique_ptr<Model> model;  // large: on the heap
    std::unique_ptr<EditorState> state;
    RecordingMessages messages;
    // The cursor and buttons a tool switch sets; its repaints are the
    // window's, as the main window is its own canvas.
    struct HostCanvas : RecordingCanvas {
        explicit HostCanvas(FakeEditorHost& h) : host(h) {}
        void Refresh() override {
            RecordingCanvas::Refresh();
            host.Refresh();
        }
        FakeEditorHost& host;
    } canvas{*this};
    QWidget* owner = nullptr;
    TwipsPoint origin{1500, 1200};
    std::filesystem::path appPath = ".";

    int refreshes = 0;
    std::vector<std::pair<int, std::string>> status;
    std::vector<int> toolOptions;
};

}  // namespace kova::test
