// The replace-file rule on Linux: a folder that may not be written and a write
// cut short by the file size limit leave the old file as it was; a replaced
// file keeps its permissions; a name the system refuses changes nothing of a set.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/replace_file.h"
#include "process_support.h"
#include "test_support.h"

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

// A file that replaces another keeps its permissions, a read-only one too; a
// new name gets the usual ones.
TEST(ReplaceFileTest, ReplacedFileKeepsItsMode) {
  namespace fs = std::filesystem;
  TempDir dir;
  for (const fs::perms mode :
       {fs::perms::owner_read | fs::perms::owner_write,
        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read}) {
    SCOPED_TRACE(static_cast<int>(mode));
    write_file(dir / "Velmora_Dorsel_904.sim", "vecchio");
    fs::permissions(dir / "Velmora_Dorsel_904.sim", mode);
    replace_file(dir / "Velmora_Dorsel_904.sim", "nuovo");
    EXPECT_EQ(read_file(dir / "Velmora_Dorsel_904.sim"), "nuovo");
    EXPECT_EQ(fs::status(dir / "Velmora_Dorsel_904.sim").permissions(), mode);
    fs::remove(dir / "Velmora_Dorsel_904.sim");
  }
  const mode_t umask = ::umask(022);
  ::umask(umask);
  replace_file(dir / "Velmora_Dorsel_904.dat", "nuovo");
  EXPECT_EQ(static_cast<mode_t>(fs::status(dir / "Velmora_Dorsel_904.dat").permissions()),
            0666 & ~umask);
}

// A final name of 255 bytes, the longest the system allows, still has room
// for a temporary name beside it.
TEST(ReplaceFileTest, LongestNameIsReplaced) {
  TempDir dir;
  const std::string name = std::string(251, 'N') + ".dat";
  replace_file(dir / name, "vecchio");
  replace_file(dir / name, "nuovo");
  EXPECT_EQ(read_file(dir / name), "nuovo");
  EXPECT_EQ(list_folder(dir.path()), std::vector<std::string>{name});
}

const std::vector<std::string> kSet = {"Velmora_Dorsel_linea.dat", "Velmora_Dorsel_904.sim",
                                       "Velmora_Dorsel_904.dat"};

// A name the system refuses fails before the first rename: nothing changes,
// the message says so, and no temporary file stays.
TEST(FileSetTest, RefusedNameChangesNothing) {
  namespace fs = std::filesystem;
  const struct {
    const char* what;
    std::string name;
    const char* reason;
  } rows[] = {
      {"a folder at the last name", kSet[2], "Is a directory"},
      {"a name too long", std::string(256, 'N'), "File name too long"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    TempDir dir;
    for (const std::string& name : kSet) write_file(dir / name, "vecchio");
    fs::remove(dir / kSet[2]);
    fs::create_directory(dir / kSet[2]);
    const std::vector<std::string> before = list_folder(dir.path());
    const std::string message = failure_message([&] {
      FileSet set(dir.path());
      set.stage(kSet[0], [](const BlockSink& put) { put("nuovo"); });
      set.stage(row.name, [](const BlockSink& put) { put("nuovo"); });
      set.stage(kSet[1], [](const BlockSink& put) { put("nuovo"); });
      set.commit();
    });
    EXPECT_EQ(message, "cannot replace '" + (dir / row.name).string() + "': " + row.reason +
                           "; none of the 3 files was replaced");
    EXPECT_EQ(list_folder(dir.path()), before);
    EXPECT_EQ(read_file(dir / kSet[0]), "vecchio");
    EXPECT_EQ(read_file(dir / kSet[1]), "vecchio");
  }
}

}  // namespace
}  // namespace scenario
