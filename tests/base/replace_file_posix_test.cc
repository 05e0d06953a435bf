// The replace-file rule on Linux: a folder that may not be written and a write
// cut short by the file size limit leave the old file as it was.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "base/replace_file.h"
#include "test_support.h"

namespace scenario {
namespace {

using testing::failure_message;
using testing::list_folder;
using testing::read_file;
using testing::TempDir;
using testing::write_file;

TEST(ReplaceFileTest, FolderWithoutWritePermissionKeepsTheOldFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "running as root, which writes whatever the permissions";
  TempDir dir;
  write_file(dir / "Velmora_Dorsel_904_note.txt", "vecchio\r\n");
  std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  const std::string message =
      failure_message([&] { replace_file(dir / "Velmora_Dorsel_904_note.txt", "nuovo\r\n"); });
  std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
  EXPECT_NE(message.find("Velmora_Dorsel_904_note.txt"), std::string::npos) << message;
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
