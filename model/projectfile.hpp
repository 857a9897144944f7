#pragma once
// The project file (*.kov) and the snapshot files KOVA_JKN.EDT/ORG/CAL in
// the program folder, which are the project in the same form. Unsaved
// changes and stale results are found by comparing two snapshots.
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "model/model.hpp"
#include "platform/message.hpp"

namespace kova {

// Version written on the first line ("000003").
inline constexpr int kCondFileVersion = 3;

// Snapshot kinds.
inline constexpr const char* kSnapOrg = "ORG";  // as opened, created or saved
inline constexpr const char* kSnapEdt = "EDT";  // as now
inline constexpr const char* kSnapCal = "CAL";  // as last calculated

// AppPath/KOVA_JKN.<kind>.
std::filesystem::path SnapshotPath(const std::filesystem::path& appPath, std::string_view kind);

// The project file for a name the user chose: ".kov" is appended only when
// the name has no extension; otherwise the name is used as it is.
std::filesystem::path ProjectFilePath(const std::filesystem::path& chosen);

// A model value that the project file's reader would refuse (outside the
// table of limits, rules/limits.hpp); what() says which, as the reader does.
class UnsavableValue : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// The whole project in project-file form (UTF-8, CR LF). Trims the title
// and the names of the blocks in use in the model itself (spaces at both
// ends), and removes line breaks from them and double quotes from the
// position names, which the file could not carry. Throws
// std::invalid_argument when the model could not be read back from the
// file: a count beyond the editors' limits, no loading stage, a line end
// that names no point, a number that is not finite; UnsavableValue for any
// other value the reader refuses.
std::string FormatCondFile(Model& m);

// Snapshot 0: writes the project file ProjectFilePath(ext). Otherwise
// writes the snapshot AppPath/KOVA_JKN.<ext>. Either file is replaced
// atomically. Returns 0 when written completely, -1 after a failure whose
// message has been shown (the file on disk is then unchanged); for an
// UnsavableValue the message adds, after a CR, what the reader would say.
i16 WriteCondFile(Model& m, const ProgramState& ps, const std::string& ext, i16 snapshot, MessageSink& ui);

// Reads the project file ProjectFilePath(path) (versions 1 to 3). The file
// is read into a freshly reset copy of the model and taken over only when
// it is complete and valid; then CondFileVersion holds its version and the
// result is true. Otherwise the message is shown, the model and the program
// state are left as they were and the result is false.
bool ReadCondFile(Model& m, ProgramState& ps, const std::filesystem::path& path, MessageSink& ui);

// Compares AppPath/KOVA_JKN.<a> with AppPath/KOVA_JKN.<b> line by line:
// -1 when they differ, 0 when equal. A snapshot that is missing, cannot be
// read or is cut short (empty, or its last line has no line end) differs.
i16 CondFilesDiffer(const ProgramState& ps, std::string_view a, std::string_view b);

}  // namespace kova
