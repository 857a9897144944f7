#include "platform/apppath.hpp"

#include <cstdlib>
#include <system_error>
#include <unistd.h>

#ifndef KOVA_INSTALLED_DATA_REL
#define KOVA_INSTALLED_DATA_REL "../share/kovadex"
#endif

namespace fs = std::filesystem;

namespace kova {

fs::path ExecutableDir() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return fs::current_path();
    return exe.parent_path();
}

fs::path InstalledDataDir(const fs::path& exeDir) {
    return (exeDir / KOVA_INSTALLED_DATA_REL).lexically_normal();
}

bool CanWrite(const fs::path& dir) { return ::access(dir.c_str(), W_OK) == 0; }

namespace {

fs::path UserDataDir() {
    // A relative path is no base directory (it would move with the current
    // folder, which the programs change): ignored.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && fs::path(xdg).is_absolute()) return fs::path(xdg) / "kovadex";
    const char* home = std::getenv("HOME");
    return fs::path(home && *home ? home : "/tmp") / ".local" / "share" / "kovadex";
}

// Data files shipped with the programs (upper-case stems as the programs
// name them).
bool IsDataFile(const fs::path& p) {
    static const char* kExt[] = {".CSV", ".DAT", ".HLP", ".PFM", ".PZK", ".html"};
    std::string ext = p.extension().string();
    for (const char* e : kExt)
        if (ext == e) return true;
    return false;
}

void SeedFrom(const fs::path& from, const fs::path& user) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(from, ec)) {
        std::error_code fileEc;
        if (!entry.is_regular_file(fileEc) || !IsDataFile(entry.path())) continue;
        fs::path dest = user / entry.path().filename();
        if (fs::exists(dest, fileEc)) continue;
        // The copy is the user's own (the sand-curve dialog rewrites
        // BKHough1.CSV), also when the installed file is read-only.
        if (fs::copy_file(entry.path(), dest, fileEc))
            fs::permissions(dest, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, fileEc);
    }
}

}  // namespace

fs::path ResolveAppPathFor(const fs::path& exeDir, const WritableCheck& writable) {
    // An installed program keeps its files per user even where it could
    // write beside itself (root, a prefix in the user's home): its own folder
    // holds no data files, and the next update would not know the files left
    // there.
    std::error_code ec;
    const bool installed = fs::is_directory(InstalledDataDir(exeDir), ec);
    if (!installed && writable(exeDir)) return exeDir;
    return SeedUserAppPath(exeDir);
}

fs::path SeedUserAppPath(const fs::path& exeDir) {
    fs::path user = UserDataDir();
    std::error_code ec;
    fs::create_directories(user, ec);
    // The executable folder first: in a build tree the data lie beside the
    // programs.
    SeedFrom(exeDir, user);
    SeedFrom(InstalledDataDir(exeDir), user);
    return user;
}

fs::path ResolveAppPath() { return ResolveAppPathFor(ExecutableDir()); }

}  // namespace kova
