#pragma once
// TOLMPRED's file commands: new, open, recent file, save, save as, printing
// through the outside viewer, and the unsaved-changes check that compares
// the snapshots "KOVA_TLM.EDT" and "KOVA_TLM.ORG". Plain code: what the
// window shows is reached through TlmCommandHost, so tests run it on fakes.
#include <filesystem>
#include <optional>
#include <string>

#include "predict/obsdata.hpp"

namespace kova {
class FileDialogs;
class MessageSink;
class ProcessRunner;
}  // namespace kova

namespace kova::predict {

inline constexpr const char* kUntitled = "無題";
inline constexpr const char* kDataFilter = "ﾃﾞｰﾀ ﾌｧｲﾙ (*.tlm)|*.tlm";
inline constexpr const char* kAskSaveText = "現在開いているデータが保存されていません。保存しますか？";
inline constexpr const char* kAskSaveOnCloseText = "検討条件が更新されています。保存しますか？";
inline constexpr const char* kNothingToPrintText = "未計算の為、印刷する帳票はありません。";

// "Tolmadex - " and the chosen file's name without folder, cut before its
// first period ("無題" for an untitled data set).
std::string WindowTitleFor(const std::string& fileName);

// The window's side of the file commands.
class TlmCommandHost {
public:
    virtual ~TlmCommandHost() = default;
    // An edit still open in a grid cell is finished and stored first.
    virtual void CommitGridEdit() = 0;
    virtual void SetCaption(const std::string& fileName) = 0;
    // No station shown and the controls as for a new data set; called by
    // the data reset before the data set is filled.
    virtual void ResetForNewData() = 0;
    // The new data set on screen, after New.
    virtual void ShowNewData() = 0;
    // The data set read from a file on screen: its first station, if any.
    virtual void ShowLoadedData() = 0;
    virtual void AddRecentFile(const std::string& path) = 0;
    // The file of recent-file item `index`, nothing when there is none.
    virtual std::optional<std::filesystem::path> RecentFile(int index) = 0;
    // The window is disabled while the viewer runs.
    virtual void SetWindowEnabled(bool enabled) = 0;
};

struct TlmCommandServices {
    MessageSink* messages = nullptr;
    FileDialogs* files = nullptr;
    ProcessRunner* processes = nullptr;
    std::filesystem::path appPath;  // the program folder: snapshots, reports
};

class TlmCommands {
public:
    TlmCommands(ObsDataSet& data, TlmCommandServices services, TlmCommandHost& host)
        : data_(data), sv_(std::move(services)), host_(host) {}

    // The data set of a fresh start: new, untitled, its "ORG" snapshot, old
    // report files deleted. Asks nothing.
    void Start();

    // The save commands return true when the file was written.
    void New();
    void Open();
    void OpenRecent(int index);
    bool Save();
    bool SaveAs();
    void Print();

    // Writes "EDT"; when it differs from "ORG" (or cannot be compared) asks
    // `question`. False when the command must stop: Cancel, or Yes followed
    // by a save that did not happen.
    bool CheckUnsavedChanges(const char* question);
    // The close check: true when the window may close. Never while the
    // viewer runs (the window is disabled then).
    bool QueryClose();

    const std::string& FileName() const { return fileName_; }
    // True when the last run left reports to print.
    bool Printable() const { return printable_; }
    void SetPrintable(bool printable) { printable_ = printable; }
    // The folder VIEWQEX2 is started from when it is not the program folder.
    void SetViewerDir(std::filesystem::path dir) { viewerDir_ = std::move(dir); }

private:
    // Writes the data file, then the "ORG" snapshot; names the file as the
    // window's file. False (after the message) when the file was not written.
    bool SaveTo(const std::filesystem::path& file);
    void Load(const std::filesystem::path& file);
    void WriteOrgSnapshot();
    void SetFileName(const std::string& name);

    ObsDataSet& data_;
    TlmCommandServices sv_;
    TlmCommandHost& host_;
    std::string fileName_ = kUntitled;
    std::filesystem::path viewerDir_;  // empty: the program folder
    bool printable_ = false;
    bool viewerRunning_ = false;
};

}  // namespace kova::predict
