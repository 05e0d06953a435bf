// The folder lock: a second holder waits, is told so once, and goes on as
// soon as the first lets go; the lock ends with the process that held it.
#include "base/folder_lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <string>
#include <thread>

#include "base/run_time_failure.h"
#include "test_support.h"

namespace scenario {
namespace {

using testing::TempDir;

constexpr auto kPatience = std::chrono::seconds(20);

// The next byte from `fd`, or 0 when none comes within `patience`.
char next_byte(int fd, std::chrono::milliseconds patience) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  char byte = 0;
  while (std::chrono::steady_clock::now() < deadline) {
    if (::read(fd, &byte, 1) == 1) return byte;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return 0;
}

// A child that takes the lock on `folder` once told to on `go`, and reports
// on `report`: 'w' before it waits, 'L' once it holds the lock. It is forked
// before the test takes any lock, so that it holds no copy of the test's.
class LockingChild {
 public:
  explicit LockingChild(const std::filesystem::path& folder) {
    if (::pipe(go_) != 0 || ::pipe2(report_, O_NONBLOCK) != 0) return;
    pid_ = ::fork();
    if (pid_ != 0) return;
    char byte;
    if (::read(go_[0], &byte, 1) != 1) ::_exit(2);
    FolderLock lock(folder, [this] {
      if (::write(report_[1], "w", 1) != 1) ::_exit(3);
    });
    ::_exit(::write(report_[1], "L", 1) == 1 ? 0 : 4);
  }
  ~LockingChild() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    for (int fd : {go_[0], go_[1], report_[0], report_[1]}) ::close(fd);
  }
  void go() { ASSERT_EQ(::write(go_[1], "g", 1), 1); }
  char report(std::chrono::milliseconds patience) { return next_byte(report_[0], patience); }

 private:
  pid_t pid_ = -1;
  int go_[2] = {-1, -1};
  int report_[2] = {-1, -1};
};

TEST(FolderLockTest, SecondHolderWaitsForTheFirst) {
  TempDir dir;
  LockingChild child(dir.path());
  {
    int waits = 0;
    FolderLock first(dir.path(), [&] { ++waits; });
    EXPECT_EQ(waits, 0);
    child.go();
    EXPECT_EQ(child.report(kPatience), 'w');
    // Still waiting while the first holds the lock.
    EXPECT_EQ(child.report(std::chrono::milliseconds(300)), 0);
  }
  EXPECT_EQ(child.report(kPatience), 'L');
}

// The lock ends with the process that held it, however it ends.
TEST(FolderLockTest, LockEndsWithItsProcess) {
  TempDir dir;
  int locked[2];
  ASSERT_EQ(::pipe2(locked, O_NONBLOCK), 0);
  const pid_t holder = ::fork();
  if (holder == 0) {
    FolderLock lock(dir.path(), [] {});
    if (::write(locked[1], "L", 1) != 1) ::_exit(2);
    ::pause();
    ::_exit(0);
  }
  EXPECT_EQ(next_byte(locked[0], kPatience), 'L');
  ::kill(holder, SIGKILL);
  ::waitpid(holder, nullptr, 0);
  ::close(locked[0]);
  ::close(locked[1]);
  int waits = 0;
  FolderLock after(dir.path(), [&] { ++waits; });
  EXPECT_EQ(waits, 0);
}

TEST(FolderLockTest, MissingFolderFailsNamingIt) {
  TempDir dir;
  try {
    FolderLock lock(dir / "assente", [] {});
    FAIL() << "no failure";
  } catch (const RunTimeFailure& failure) {
    EXPECT_EQ(std::string(failure.what()), "cannot lock the folder '" + (dir / "assente").string() +
                                               "': No such file or directory");
  }
}

}  // namespace
}  // namespace scenario
