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

// The folder an open or save dialog starts in: the folder of the initial
// name when it is a path to an existing folder, else the folder the user
// last chose a file in, else the documents folder (the home folder when
// there is none). Never the program folder the programs run in.
std::filesystem::path StartFolder(const std::string& initialName, const std::filesystem::path& lastUsed,
                                  const std::filesystem::path& documents, const std::filesystem::path& home);

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // Only existing files can be chosen. Nothing when cancelled.
    virtual std::optional<std::filesystem::path> OpenFile(const FileDialogRequest& req) = 0;
    // New names are accepted and an existing file is chosen without a
    // question. Nothing when cancelled.
    virtual std::optional<std::filesystem::path> SaveFile(const FileDialogRequest& req) = 0;
};

}  // namespace kova
