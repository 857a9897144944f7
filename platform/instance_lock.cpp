#include "platform/instance_lock.hpp"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kova {

InstanceLock::InstanceLock(fs::path lockFile) : file_(std::move(lockFile)) {}

InstanceLock::~InstanceLock() { Release(); }

LockResult InstanceLock::Acquire() {
    if (fd_ >= 0) return LockResult::Acquired;
    std::error_code ec;
    fs::create_directories(file_.parent_path(), ec);
    int fd = ::open(file_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return LockResult::Unavailable;
    // flock belongs to the open file description: a second open of the same
    // file, even in this process, is refused, and the lock dies with the
    // process. The file itself is never removed, so nobody can lock a file
    // that another process has just unlinked.
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        int err = errno;
        ::close(fd);
        return err == EWOULDBLOCK ? LockResult::HeldElsewhere : LockResult::Unavailable;
    }
    // The holder's process id, for a person looking at the file.
    std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] ssize_t w = ::pwrite(fd, pid.data(), pid.size(), 0);
    }
    fd_ = fd;
    return LockResult::Acquired;
}

void InstanceLock::Release() {
    if (fd_ < 0) return;
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

fs::path InstanceLock::DefaultFile(const std::string& program) {
    const char* run = std::getenv("XDG_RUNTIME_DIR");
    fs::path dir = (run && *run) ? fs::path(run) / "kovadex"
                                 : fs::path("/tmp") / ("kovadex-" + std::to_string(::getuid()));
    return dir / (program + ".lock");
}

}  // namespace kova
