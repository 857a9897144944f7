#include "editing/project_commands.hpp"

#include "editing/results.hpp"
#include "editing/stale_results.hpp"
#include "model/dxf.hpp"
#include "model/projectfile.hpp"
#include "model/reset.hpp"
#include "editing/view.hpp"

namespace kova {

namespace {

constexpr const char* kSaveCaption = "保存確認";

bool IsUntitled(const std::string& name) { return name == kUntitled; }

// The wait cursor while it lives, gone before any message comes up: a box
// under a wait cursor looks as if it could not be answered.
class WaitCursor : public MessageSink {
public:
    WaitCursor(CommandHost& host, MessageSink& to) : host_(host), to_(to) { host_.SetWaitCursor(true); }
    ~WaitCursor() override { host_.SetWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    MsgAnswer Show(const Message& m) override {
        host_.SetWaitCursor(false);
        return to_.Show(m);
    }

private:
    CommandHost& host_;
    MessageSink& to_;
};

}  // namespace

void ProjectCommands::WriteOrg() { WriteCondFile(s_.m(), s_.ps, kSnapOrg, 1, sv_.msg); }

bool ProjectCommands::DeleteStaleResults(bool beforeRun) {
    s_.resultsReady = false;
    ClearResults(s_.m());
    auto failed = kova::DeleteStaleResults(s_.ps.AppPath, beforeRun);
    if (failed.empty()) return true;
    if (beforeRun) sv_.msg.Notify(DeleteFailedText(failed.front()), MsgIcon::Exclamation);
    return false;
}

void ProjectCommands::ViewReset() {
    EditorState& v = s_.view();
    FitView(s_.m(), v);
    host_.ResetScrollBars();
    // Picks of the project before name nothing in this one: a count of marks
    // left behind would ask to delete lines that are not marked.
    host_.ResetTool(ToolReset::kProjectChanged);
    // A read-out of the project before, in the view before, is no position
    // of this one; the next move over the canvas writes it again.
    host_.SetStatusText(2, "");
    host_.ShowWholeView();
}

bool ProjectCommands::CheckUnsavedChanges(const std::string& question, OnFailedSave failed) {
    // A current state that could not be written is no proof of "no
    // changes": the snapshot left on disk is an older one.
    const bool current = WriteCondFile(s_.m(), s_.ps, kSnapEdt, 1, sv_.msg) == 0;
    if (current && CondFilesDiffer(s_.ps, kSnapEdt, kSnapOrg) == 0) return true;
    MsgAnswer a = sv_.msg.Show(Message{question, kSaveCaption, MsgIcon::Information, MsgButtons::YesNoCancel, 1});
    if (a == MsgAnswer::Cancel) return false;
    if (a == MsgAnswer::Yes) {
        bool saved = IsUntitled(s_.currentFileName) ? SaveAs() : Save();
        if (!saved && failed == OnFailedSave::Stop) return false;
    }
    return true;
}

void ProjectCommands::New() {
    if (!CheckUnsavedChanges(kFileQuestion, OnFailedSave::Stop)) return;
    ResetModel(s_.m(), s_.ps.AppPath, sv_.msg);
    s_.currentFileName = kUntitled;
    host_.SetCaption(CaptionFor(s_.currentFileName));
    host_.SelectToolOption(kNoToolOption);
    WriteOrg();
    DeleteStaleResults(false);
    ViewReset();
}

void ProjectCommands::Open() {
    if (!CheckUnsavedChanges(kFileQuestion, OnFailedSave::Stop)) return;
    auto chosen = sv_.files.OpenFile(FileDialogRequest{kProjectFilter, s_.currentFileName});
    if (!chosen) return;
    OpenPath(chosen->string());
}

void ProjectCommands::OpenRecent(std::string path) {
    if (!CheckUnsavedChanges(kFileQuestion, OnFailedSave::Stop)) return;
    OpenPath(path);
}

bool ProjectCommands::OpenPath(const std::string& chosen) {
    // The project is read whole before anything is bound to it: a file that
    // cannot be read leaves the old project as it was.
    if (!ReadCondFile(s_.m(), s_.ps, chosen, sv_.msg)) return false;
    const std::string path = ProjectFilePath(chosen).string();
    s_.ps.CurFileName = path;
    s_.ps.CurFileBase = path;
    s_.currentFileName = path;
    host_.SetCaption(CaptionFor(path));
    WriteOrg();
    DeleteStaleResults(false);
    host_.AddRecentFile(path);
    ViewReset();
    return true;
}

void ProjectCommands::DxfOpen() {
    if (!CheckUnsavedChanges(kFileQuestion, OnFailedSave::Stop)) return;
    s_.currentFileName = kUntitled;
    host_.SetCaption(CaptionFor(s_.currentFileName));
    auto chosen = sv_.files.OpenFile(FileDialogRequest{kDxfFilter, s_.currentFileName});
    if (!chosen) {
        host_.ShowWholeView();
        return;
    }
    std::string notes;
    DxfImport r;
    {
        // A drawing of millions of lines takes seconds.
        WaitCursor waiting(host_, sv_.msg);
        r = ImportDxf(s_.m(), s_.ps.AppPath, *chosen, waiting,
                      [this](const std::string& status) { host_.SetStatusText(2, status); }, &notes);
    }
    // A drawing that gave no line left the model as it was: it is neither
    // the new reference state nor a reason to drop results.
    if (r == DxfImport::Imported || r == DxfImport::LimitReached) {
        WriteOrg();
        DeleteStaleResults(false);
    }
    // Drawn once the old results are forgotten: the reset tables are none.
    host_.ShowWholeView();
    // Told over the imported section, so that the user sees what it is about.
    if (!notes.empty()) sv_.msg.Notify(notes, MsgIcon::Exclamation);
}

bool ProjectCommands::Save() {
    if (IsUntitled(s_.currentFileName)) return SaveAs();
    if (WriteCondFile(s_.m(), s_.ps, s_.ps.CurFileBase, 0, sv_.msg) != 0) return false;
    WriteOrg();
    return true;
}

bool ProjectCommands::SaveAs() {
    auto chosen = sv_.files.SaveFile(FileDialogRequest{kProjectFilter, s_.currentFileName});
    if (!chosen) return false;
    const std::string path = ProjectFilePath(*chosen).string();
    // Bound to the new name only once the file is there.
    if (WriteCondFile(s_.m(), s_.ps, path, 0, sv_.msg) != 0) return false;
    s_.ps.CurFileName = path;
    s_.ps.CurFileBase = path;
    s_.currentFileName = path;
    host_.SetCaption(CaptionFor(path));
    WriteOrg();
    host_.AddRecentFile(path);
    return true;
}

bool ProjectCommands::QueryClose() {
    return CheckUnsavedChanges(kCondQuestion, OnFailedSave::Stop);
}

}  // namespace kova
