#pragma once
// The program folder: every file the programs exchange lives there.
#include <filesystem>

namespace kova {

// Folder of the running executable.
std::filesystem::path ExecutableDir();

// The folder of the running executable when it is writable; otherwise a
// per-user folder ($XDG_DATA_HOME/kovadex, by default ~/.local/share/kovadex),
// created on first use and seeded with the data files installed beside the
// executable (files already there are kept).
std::filesystem::path ResolveAppPath();

// The same choice for a given installation folder.
std::filesystem::path ResolveAppPathFor(const std::filesystem::path& installDir);

// The per-user folder, created and seeded from installDir.
std::filesystem::path SeedUserAppPath(const std::filesystem::path& installDir);

}  // namespace kova
