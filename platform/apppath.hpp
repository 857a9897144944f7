#pragma once
// The program folder: every file the programs exchange lives there.
#include <filesystem>
#include <functional>

namespace kova {

// Folder of the running executable. SETLCORE and VIEWQEX2 are started from
// here, whatever the program folder is.
std::filesystem::path ExecutableDir();

// Where an installation keeps the data files for an executable folder
// (<bin>/../share/kovadex).
std::filesystem::path InstalledDataDir(const std::filesystem::path& exeDir);

// Whether a folder can be written by this user.
using WritableCheck = std::function<bool(const std::filesystem::path&)>;
bool CanWrite(const std::filesystem::path& dir);

// The folder of the running executable when it is writable and not an
// installation (the build tree); otherwise a per-user folder
// ($XDG_DATA_HOME/kovadex, by default ~/.local/share/kovadex), created on
// first use and seeded with the data files of the executable folder and of
// the installed data folder (files already there are kept).
std::filesystem::path ResolveAppPath();

// The same choice for a given executable folder.
std::filesystem::path ResolveAppPathFor(const std::filesystem::path& exeDir,
                                        const WritableCheck& writable = CanWrite);

// The per-user folder, created and seeded from exeDir and
// InstalledDataDir(exeDir).
std::filesystem::path SeedUserAppPath(const std::filesystem::path& exeDir);

}  // namespace kova
