#include "platform/apppath.hpp"

#include <cstdlib>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kova {

fs::path ExecutableDir() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return fs::current_path();
    return exe.parent_path();
}

namespace {

fs::path UserDataDir() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg) return fs::path(xdg) / "kovadex";
    const char* home = std::getenv("HOME");
    return fs::path(home && *home ? home : "/tmp") / ".local" / "share" / "kovadex";
}

// Data files shipped beside the executables (upper-case stems as the
// programs name them).
bool IsDataFile(const fs::path& p) {
    static const char* kExt[] = {".CSV", ".DAT", ".HLP", ".PFM", ".PZK", ".html"};
    std::string ext = p.extension().string();
    for (const char* e : kExt)
        if (ext == e) return true;
    return false;
}

}  // namespace

fs::path ResolveAppPathFor(const fs::path& installDir) {
    if (::access(installDir.c_str(), W_OK) == 0) return installDir;
    return SeedUserAppPath(installDir);
}

fs::path SeedUserAppPath(const fs::path& installDir) {
    fs::path user = UserDataDir();
    std::error_code ec;
    fs::create_directories(user, ec);
    for (const auto& entry : fs::directory_iterator(installDir, ec)) {
        if (!entry.is_regular_file() || !IsDataFile(entry.path())) continue;
        fs::path dest = user / entry.path().filename();
        if (!fs::exists(dest)) fs::copy_file(entry.path(), dest, ec);
    }
    return user;
}

fs::path ResolveAppPath() { return ResolveAppPathFor(ExecutableDir()); }

}  // namespace kova
