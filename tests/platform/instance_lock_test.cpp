#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>

#include <sys/wait.h>
#include <unistd.h>

#include "platform/instance_lock.hpp"
#include "tests/support/tempdir.hpp"

using namespace kova;

namespace {

TEST(InstanceLock, ASecondHolderIsRefusedUntilTheFirstLetsGo) {
    test::TempDir dir;
    auto file = dir / "run" / "KOVACALC.lock";  // the folder is made on demand
    InstanceLock first(file);
    InstanceLock second(file);
    ASSERT_EQ(first.Acquire(), LockResult::Acquired);
    EXPECT_TRUE(first.Held());
    EXPECT_EQ(second.Acquire(), LockResult::HeldElsewhere);
    EXPECT_FALSE(second.Held());
    first.Release();
    EXPECT_EQ(second.Acquire(), LockResult::Acquired);
}

TEST(InstanceLock, DifferentProgramsDoNotBlockEachOther) {
    test::TempDir dir;
    InstanceLock kova(dir / "KOVACALC.lock");
    InstanceLock tolm(dir / "TOLMPRED.lock");
    EXPECT_EQ(kova.Acquire(), LockResult::Acquired);
    EXPECT_EQ(tolm.Acquire(), LockResult::Acquired);
}

TEST(InstanceLock, TheLockEndsWithItsOwner) {
    test::TempDir dir;
    auto file = dir / "KOVACALC.lock";
    {
        InstanceLock a(file);
        ASSERT_EQ(a.Acquire(), LockResult::Acquired);
    }
    InstanceLock b(file);
    EXPECT_EQ(b.Acquire(), LockResult::Acquired);
}

TEST(InstanceLock, AStaleLockFileFromACrashDoesNotBlock) {
    test::TempDir dir;
    auto file = dir / "KOVACALC.lock";
    std::ofstream(file) << "999999\n";  // left behind by a process that is gone
    InstanceLock lock(file);
    EXPECT_EQ(lock.Acquire(), LockResult::Acquired);
}

TEST(InstanceLock, AHolderKilledWithoutCleanUpReleasesTheLock) {
    test::TempDir dir;
    auto file = dir / "KOVACALC.lock";
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        InstanceLock held(file);
        char c = held.Acquire() == LockResult::Acquired ? 'y' : 'n';
        [[maybe_unused]] ssize_t w = ::write(ready[1], &c, 1);
        ::pause();
        ::_exit(0);
    }
    ::close(ready[1]);
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ::close(ready[0]);
    ASSERT_EQ(c, 'y');

    InstanceLock mine(file);
    EXPECT_EQ(mine.Acquire(), LockResult::HeldElsewhere);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(mine.Acquire(), LockResult::Acquired);
}

TEST(InstanceLock, ALockFileThatCannotBeMadeIsUnavailable) {
    test::TempDir dir;
    std::ofstream(dir / "plain") << "x";
    InstanceLock lock(dir / "plain" / "KOVACALC.lock");
    EXPECT_EQ(lock.Acquire(), LockResult::Unavailable);
    EXPECT_FALSE(lock.Held());
}

TEST(InstanceLock, DefaultFileIsPerProgramUnderTheRuntimeFolder) {
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    std::string saved = old ? old : "";
    setenv("XDG_RUNTIME_DIR", "/run/user/1000", 1);
    EXPECT_EQ(InstanceLock::DefaultFile("TOLMPRED"), std::filesystem::path("/run/user/1000/kovadex/TOLMPRED.lock"));
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(InstanceLock::DefaultFile("KOVACALC"),
              std::filesystem::path("/tmp/kovadex-" + std::to_string(::getuid()) + "/KOVACALC.lock"));
    if (old) setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
}

}  // namespace
