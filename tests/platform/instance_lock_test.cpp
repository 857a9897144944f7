#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

#include <sys/wait.h>
#include <unistd.h>

#include "platform/instance_lock.hpp"
#include "tests/support/tempdir.hpp"

using namespace kova;

namespace {

TEST(InstanceLock, ASecondHolderIsRefusedUntilTheFirstLetsGo) {
    test::TempDir dir;
    auto file = dir / "run" / "KOVACALC.lock";  // the folder is made on demand
    InstanceLock second(file), other(dir / "run" / "TOLMPRED.lock");
    {
        InstanceLock first(file);
        ASSERT_EQ(first.Acquire(), LockResult::Acquired);
        EXPECT_EQ(second.Acquire(), LockResult::HeldElsewhere);
        EXPECT_FALSE(second.Held());
        EXPECT_EQ(other.Acquire(), LockResult::Acquired);  // another program
        first.Release();
        EXPECT_EQ(second.Acquire(), LockResult::Acquired);
        second.Release();
        ASSERT_EQ(first.Acquire(), LockResult::Acquired);
    }
    EXPECT_EQ(second.Acquire(), LockResult::Acquired);  // the lock ends with its owner
}

TEST(InstanceLock, StaleLocksDoNotBlock) {
    test::TempDir dir;
    auto file = dir / "KOVACALC.lock";
    test::WriteBytes(file, "999999\n");  // left behind by a process that is gone
    {
        InstanceLock lock(file);
        EXPECT_EQ(lock.Acquire(), LockResult::Acquired);
    }
    // A holder killed without clean-up.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        InstanceLock held(file);
        char c = held.Acquire() == LockResult::Acquired ? 'y' : 'n';
        [[maybe_unused]] ssize_t w = ::write(ready[1], &c, 1);
        if (c == 'y') ::pause();
        ::_exit(0);
    }
    ::close(ready[1]);
    char c = 0;
    [[maybe_unused]] ssize_t r = ::read(ready[0], &c, 1);
    ::close(ready[0]);
    InstanceLock mine(file);
    const LockResult whileHeld = mine.Acquire();
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ASSERT_EQ(c, 'y');
    EXPECT_EQ(whileHeld, LockResult::HeldElsewhere);
    EXPECT_EQ(mine.Acquire(), LockResult::Acquired);
}

TEST(InstanceLock, FilePlaceAndAFileThatCannotBeMade) {
    test::TempDir dir;
    test::WriteBytes(dir / "plain", "x");
    InstanceLock lock(dir / "plain" / "KOVACALC.lock");
    EXPECT_EQ(lock.Acquire(), LockResult::Unavailable);
    EXPECT_FALSE(lock.Held());

    const char* old = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved = old ? old : "";
    setenv("XDG_RUNTIME_DIR", "/run/user/1000", 1);
    EXPECT_EQ(InstanceLock::DefaultFile("TOLMPRED"), std::filesystem::path("/run/user/1000/kovadex/TOLMPRED.lock"));
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(InstanceLock::DefaultFile("KOVACALC"),
              std::filesystem::path("/tmp/kovadex-" + std::to_string(::getuid()) + "/KOVACALC.lock"));
    if (old) setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
}

}  // namespace
