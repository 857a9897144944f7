#include "predict/commands/tlm_commands.hpp"

#include "platform/filedialog.hpp"
#include "platform/message.hpp"
#include "platform/process.hpp"
#include "predict/commands/calc_run.hpp"

namespace kova::predict {

std::string WindowTitleFor(const std::string& fileName) {
    std::string name = fileName;
    if (auto slash = name.find_last_of("/\\"); slash != std::string::npos) name = name.substr(slash + 1);
    if (auto dot = name.find('.'); dot != std::string::npos) name = name.substr(0, dot);
    return "Tolmadex - " + name;
}

void TlmCommands::SetFileName(const std::string& name) {
    fileName_ = name;
    host_.SetCaption(fileName_);
}

void TlmCommands::WriteOrgSnapshot() {
    try {
        WriteSnapshot(data_, sv_.appPath, "ORG");
    } catch (const ObsFileError&) {
        // No "ORG" to compare with: the next check asks, which is the safe side.
        std::error_code ec;
        std::filesystem::remove(SnapshotPath(sv_.appPath, "ORG"), ec);
    }
}

void TlmCommands::Start() {
    SetFileName(kUntitled);
    InitNewData(data_, [this] { host_.ResetForNewData(); });
    WriteOrgSnapshot();
    DeleteReportFiles(sv_.appPath);
    printable_ = false;
}

bool TlmCommands::CheckUnsavedChanges(const char* question) {
    bool changed = true;
    try {
        WriteSnapshot(data_, sv_.appPath, "EDT");
        changed = SnapshotsDiffer(sv_.appPath, "EDT", "ORG");
    } catch (const ObsFileError&) {
        changed = true;  // cannot tell: ask
    }
    if (!changed) return true;
    const MsgAnswer a =
        sv_.messages->Show(Message{question, "保存確認", MsgIcon::Information, MsgButtons::YesNoCancel, 1});
    if (a == MsgAnswer::Cancel) return false;
    if (a == MsgAnswer::Yes) return fileName_ == kUntitled ? SaveAs() : Save();
    return true;
}

void TlmCommands::New() {
    host_.CommitGridEdit();
    if (!CheckUnsavedChanges(kAskSaveText)) return;
    InitNewData(data_, [this] { host_.ResetForNewData(); });
    SetFileName(kUntitled);
    WriteOrgSnapshot();
    DeleteReportFiles(sv_.appPath);
    printable_ = false;
    host_.ShowNewData();
}

void TlmCommands::Open() {
    host_.CommitGridEdit();
    if (!CheckUnsavedChanges(kAskSaveText)) return;
    auto chosen = sv_.files->OpenFile(FileDialogRequest{kDataFilter, fileName_});
    if (!chosen) return;
    Load(*chosen);
}

void TlmCommands::OpenRecent(int index) {
    host_.CommitGridEdit();
    if (!CheckUnsavedChanges(kAskSaveText)) return;
    // Asked after the question: a save in it may have refilled the list.
    const auto file = host_.RecentFile(index);
    if (!file) return;
    Load(*file);
}

void TlmCommands::Load(const std::filesystem::path& file) {
    // The file is read whole before anything changes; a failure leaves the
    // window as it was.
    if (!LoadDataFile(data_, file, *sv_.messages, [this] { host_.ResetForNewData(); })) return;
    SetFileName(file.string());
    DeleteReportFiles(sv_.appPath);
    printable_ = false;
    WriteOrgSnapshot();
    host_.AddRecentFile(fileName_);
    host_.ShowLoadedData();
}

bool TlmCommands::SaveTo(const std::filesystem::path& file) {
    if (!SaveDataFile(data_, file, *sv_.messages)) return false;
    WriteOrgSnapshot();
    SetFileName(file.string());
    return true;
}

bool TlmCommands::Save() {
    host_.CommitGridEdit();
    if (fileName_ == kUntitled) return SaveAs();
    return SaveTo(fileName_);
}

bool TlmCommands::SaveAs() {
    host_.CommitGridEdit();
    auto chosen = sv_.files->SaveFile(FileDialogRequest{kDataFilter, fileName_});
    if (!chosen) return false;
    if (!SaveTo(DataFilePath(*chosen))) return false;
    host_.AddRecentFile(fileName_);
    return true;
}

void TlmCommands::Print() {
    host_.CommitGridEdit();
    if (!printable_) {
        sv_.messages->Notify(kNothingToPrintText, MsgIcon::Information, "帳票印刷");
        return;
    }
    try {
        WriteSnapshot(data_, sv_.appPath, "EDT");
    } catch (const ObsFileError&) {
        // The snapshot only serves the next check, which then asks.
    }
    viewerRunning_ = true;
    RunViewer(
        *sv_.processes, *sv_.messages, sv_.appPath, [this](bool enabled) { host_.SetWindowEnabled(enabled); },
        viewerDir_, "TL");
    viewerRunning_ = false;
}

bool TlmCommands::QueryClose() {
    if (viewerRunning_) return false;
    host_.CommitGridEdit();
    return CheckUnsavedChanges(kAskSaveOnCloseText);
}

}  // namespace kova::predict
