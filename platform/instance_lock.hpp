#pragma once
// One running instance per program and user: an advisory lock on a lock
// file. The kernel drops the lock when its holder ends, however it ends, so
// a lock file left behind by a crash never blocks the next start.
#include <filesystem>
#include <string>

namespace kova {

enum class LockResult {
    Acquired,      // this is the one running instance
    HeldElsewhere, // another instance holds the lock
    Unavailable,   // the lock file cannot be made: nobody can tell
};

class InstanceLock {
public:
    explicit InstanceLock(std::filesystem::path lockFile);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    LockResult Acquire();
    bool Held() const { return fd_ >= 0; }
    void Release();
    const std::filesystem::path& File() const { return file_; }

    // $XDG_RUNTIME_DIR/kovadex/<program>.lock, else /tmp/kovadex-<uid>/<program>.lock
    static std::filesystem::path DefaultFile(const std::string& program);

private:
    std::filesystem::path file_;
    int fd_ = -1;
};

}  // namespace kova
