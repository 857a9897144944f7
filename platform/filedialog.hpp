#pragma once
// The common open and save dialogs. A filter is written as the programs
// write it: description and pattern pairs joined by "|", patterns within a
// pair separated by ";", e.g. "ﾃﾞｰﾀ ﾌｧｲﾙ (*.kov)|*.kov".
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kova {

struct FilterEntry {
    std::string description;
    std::vector<std::string> patterns;
};

// Splits a filter into its entries; a description without a pattern gets
// "*". Empty text gives no entries.
std::vector<FilterEntry> ParseFilter(const std::string& filter);

struct FileDialogRequest {
    std::string filter;
    // Pre-fills the dialog: a file name (the current file name of the
    // caller, possibly untitled) or a path.
    std::string initialName;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // Only existing files can be chosen. Nothing when cancelled.
    virtual std::optional<std::filesystem::path> OpenFile(const FileDialogRequest& req) = 0;
    // New names are accepted and an existing file is chosen without a
    // question. Nothing when cancelled.
    virtual std::optional<std::filesystem::path> SaveFile(const FileDialogRequest& req) = 0;
};

// Records the requests and answers from a script (then: cancelled).
class ScriptedFileDialogs : public FileDialogs {
public:
    struct Call {
        bool save;
        FileDialogRequest req;
    };
    std::optional<std::filesystem::path> OpenFile(const FileDialogRequest& req) override;
    std::optional<std::filesystem::path> SaveFile(const FileDialogRequest& req) override;
    void Script(std::optional<std::filesystem::path> answer) { answers_.push_back(std::move(answer)); }
    std::vector<Call> calls;

private:
    std::optional<std::filesystem::path> Next();
    std::deque<std::optional<std::filesystem::path>> answers_;
};

}  // namespace kova
