#include "platform/apppath.hpp"

#include <algorithm>
#include <cstdlib>
#include <system_error>
#include <unistd.h>

#include "textio/textfile.hpp"

#ifndef KOVA_INSTALLED_DATA_REL
#define KOVA_INSTALLED_DATA_REL "../share/kovadex"
#endif
#ifndef KOVA_INSTALLED_HELPER_REL
#define KOVA_INSTALLED_HELPER_REL "../lib/kovadex"
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

namespace {
bool IsInstallation(const fs::path& exeDir) {
    std::error_code ec;
    return fs::is_directory(InstalledDataDir(exeDir), ec);
}
}  // namespace

fs::path HelperDir(const fs::path& exeDir) {
    if (!IsInstallation(exeDir)) return exeDir;
    return (exeDir / KOVA_INSTALLED_HELPER_REL).lexically_normal();
}

fs::path HelperDir() { return HelperDir(ExecutableDir()); }

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

// The files the programs rewrite for their user: once seeded they are his.
bool IsUsersOwn(const fs::path& p) { return p.filename() == "BKHough1.CSV"; }

bool SameBytes(const fs::path& a, const fs::path& b) {
    std::string x, y;
    return ReadWholeFile(a, x) == ReadFault::None && ReadWholeFile(b, y) == ReadFault::None && x == y;
}

void SeedFrom(const fs::path& from, const fs::path& user) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(from, ec)) {
        std::error_code fileEc;
        if (!entry.is_regular_file(fileEc) || !IsDataFile(entry.path())) continue;
        const fs::path dest = user / entry.path().filename();
        if (fs::exists(dest, fileEc) && (IsUsersOwn(dest) || SameBytes(entry.path(), dest))) continue;
        // Copied beside and renamed over: a reader never sees half a file,
        // and a copy the user made read-only is replaced all the same.
        fs::path part = dest;
        part += ".part";
        fs::remove(part, fileEc);
        if (!fs::copy_file(entry.path(), part, fileEc)) continue;
        // The copy is the user's (the sand-curve dialog rewrites
        // BKHough1.CSV), also when the installed file is read-only.
        fs::permissions(part, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, fileEc);
        fs::rename(part, dest, fileEc);
        if (fileEc) fs::remove(part, fileEc);
    }
}

}  // namespace

fs::path ResolveAppPathFor(const fs::path& exeDir, const WritableCheck& writable) {
    // An installed program keeps its files per user even where it could
    // write beside itself (root, a prefix in the user's home): its own folder
    // holds no data files, and the next update would not know the files left
    // there.
    if (!IsInstallation(exeDir) && writable(exeDir)) return exeDir;
    return SeedUserAppPath(exeDir);
}

fs::path SeedUserAppPath(const fs::path& exeDir) {
    fs::path user = UserDataDir();
    std::error_code ec;
    fs::create_directories(user, ec);
    // An installation ships its data in its own folder only: the executable
    // folder is shared with other packages (/usr/bin), whose files are none
    // of ours. In a build tree the data lie beside the programs.
    SeedFrom(IsInstallation(exeDir) ? InstalledDataDir(exeDir) : exeDir, user);
    return user;
}

fs::path ResolveAppPath() { return ResolveAppPathFor(ExecutableDir()); }

}  // namespace kova
