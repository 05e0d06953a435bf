// The replace-file rule on Linux: a folder that may not be written and a write
// cut short by the file size limit leave the old file as it was.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/replace_file.h"
#include "test_support.h"
#include "test_support_posix.h"

namespace scenario {
namespace {

using testing::failure_message;
using testing::list_folder;
using testing::read_file;
using testing::TempDir;
using testing::write_file;

// The message of the failure of `attempt` in `folder` once the folder may no
// longer be written to. Root writes whatever the permissions, so under root
// the attempt runs in a child process that has become the user nobody, who
// then owns the folder.
std::string failure_without_write_permission(const std::filesystem::path& folder,
                                             const std::function<void()>& attempt) {
  namespace fs = std::filesystem;
  if (::geteuid() != 0) {
    fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
    const std::string message = failure_message(attempt);
    fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
    return message;
  }
  constexpr int kCannotBecomeNobody = 2;
  constexpr int kCannotReport = 3;
  EXPECT_EQ(::chown(folder.c_str(), testing::kNobody, testing::kNobody), 0);
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  int pipe_ends[2];
  EXPECT_EQ(::pipe(pipe_ends), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipe_ends[0]);
    if (!testing::become_nobody()) ::_exit(kCannotBecomeNobody);
    const std::string message = failure_message(attempt);
    const bool sent = ::write(pipe_ends[1], message.data(), message.size()) ==
                      static_cast<ssize_t>(message.size());
    ::_exit(sent ? 0 : kCannotReport);
  }
  ::close(pipe_ends[1]);
  std::string message;
  char buffer[512];
  for (ssize_t n; (n = ::read(pipe_ends[0], buffer, sizeof buffer)) > 0;)
    message.append(buffer, static_cast<size_t>(n));
  ::close(pipe_ends[0]);
  int status = 0;
  EXPECT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << (WIFEXITED(status) && WEXITSTATUS(status) == kCannotBecomeNobody
              ? "cannot become the user nobody"
              : "child status " + std::to_string(status));
  EXPECT_EQ(::chown(folder.c_str(), 0, 0), 0);
  fs::permissions(folder, fs::perms::owner_all);
  return message;
}

TEST(ReplaceFileTest, FolderWithoutWritePermissionKeepsTheOldFile) {
  TempDir dir;
  write_file(dir / "Velmora_Dorsel_904_note.txt", "vecchio\r\n");
  const std::string message = failure_without_write_permission(
      dir.path(), [&] { replace_file(dir / "Velmora_Dorsel_904_note.txt", "nuovo\r\n"); });
  EXPECT_NE(message.find("cannot create '" + (dir / "Velmora_Dorsel_904_note.txt").string() +
                         "': Permission denied"),
            std::string::npos)
      << message;
  EXPECT_EQ(read_file(dir / "Velmora_Dorsel_904_note.txt"), "vecchio\r\n");
  EXPECT_EQ(list_folder(dir.path()), std::vector<std::string>{"Velmora_Dorsel_904_note.txt"});
}

// Lowers the largest file this process may write, so that a write fails
// half-way whoever runs the test.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &lowered);
    saved_handler_ = std::signal(SIGXFSZ, SIG_IGN);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, saved_handler_);
  }

 private:
  rlimit saved_;
  void (*saved_handler_)(int);
};

TEST(ReplaceFileTest, FailedWriteKeepsTheOldFile) {
  TempDir dir;
  write_file(dir / "Velmora_Dorsel_904.dat", "vecchio");
  std::string message;
  {
    FileSizeLimit limit(16);
    message = failure_message(
        [&] { replace_file(dir / "Velmora_Dorsel_904.dat", std::string(4096, 'n')); });
  }
  EXPECT_NE(message.find("Velmora_Dorsel_904.dat"), std::string::npos) << message;
  EXPECT_EQ(read_file(dir / "Velmora_Dorsel_904.dat"), "vecchio");
  EXPECT_EQ(list_folder(dir.path()), std::vector<std::string>{"Velmora_Dorsel_904.dat"});
}

}  // namespace
}  // namespace scenario
