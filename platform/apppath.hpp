#pragma once
// The program folder: every file the programs exchange lives there.
#include <filesystem>
#include <functional>

namespace kova {

// Folder of the running executable.
std::filesystem::path ExecutableDir();

// Where an installation keeps the data files for an executable folder
// (<bin>/../share/kovadex).
std::filesystem::path InstalledDataDir(const std::filesystem::path& exeDir);

// The folder SETLCORE and VIEWQEX2 are started from, whatever the program
// folder is: beside the executable in a build tree; in an installation
// (InstalledDataDir exists) the folder of its helper programs
// (<bin>/../lib/kovadex), which is not on the PATH.
std::filesystem::path HelperDir(const std::filesystem::path& exeDir);
std::filesystem::path HelperDir();  // for the running executable

// Whether a folder can be written by this user.
using WritableCheck = std::function<bool(const std::filesystem::path&)>;
bool CanWrite(const std::filesystem::path& dir);

// The folder of the running executable when it is writable and not an
// installation (the build tree); otherwise a per-user folder
// ($XDG_DATA_HOME/kovadex, by default ~/.local/share/kovadex), created on
// first use and seeded with the data files of the installed data folder
// (of the executable folder in a build tree, which has none). The user's own files (the sand curves, which
// the programs rewrite) are copied only when missing; every other data file
// (the version, help) is refreshed whenever it differs from the one shipped,
// so that an upgrade shows through.
std::filesystem::path ResolveAppPath();

// The same choice for a given executable folder.
std::filesystem::path ResolveAppPathFor(const std::filesystem::path& exeDir,
                                        const WritableCheck& writable = CanWrite);

// The per-user folder, created and seeded from InstalledDataDir(exeDir) in
// an installation, from exeDir otherwise.
std::filesystem::path SeedUserAppPath(const std::filesystem::path& exeDir);

}  // namespace kova
