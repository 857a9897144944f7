#pragma once
// Result, report and drawing files of an earlier calculation run in the
// program folder, and their removal.
#include <filesystem>
#include <string>
#include <vector>

namespace kova {

// The name patterns of the files that hold results ("?" one character,
// "*" any run), in the order they are removed.
const std::vector<std::string>& StaleResultPatterns();

// What a run removes besides: the position results and the last profile
// drawing, so that nothing of the previous run survives a failed one.
const std::vector<std::string>& RunResultPatterns();

// Removes every regular file of `folder` whose name matches one of the
// patterns (the stale ones, and the run ones too when `beforeRun`). Names
// are matched as they are, letter case included. Returns the files that
// exist but could not be removed; a pattern that matches nothing is no
// failure.
std::vector<std::filesystem::path> DeleteStaleResults(const std::filesystem::path& folder, bool beforeRun = false);

// "結果ﾌｧｲﾙ(<name>)を削除出来ません。" for the first file that stayed.
std::string DeleteFailedText(const std::filesystem::path& file);

}  // namespace kova
