// The replace-file rule with POSIX calls: a temporary file beside the target,
// fsync where it replaces a file, then rename(2).
#include "base/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "base/run_time_failure.h"

namespace scenario {
namespace {

[[noreturn]] void fail(const char* action, const std::filesystem::path& path, int error) {
  throw RunTimeFailure(std::string("cannot ") + action + " '" + path.string() +
                       "': " + std::strerror(error));
}

// Opens a new temporary file beside `path`; the name is unique to this process.
int create_temporary(const std::filesystem::path& path, std::filesystem::path* temporary) {
  const std::string stem = "." + path.filename().string() + "." + std::to_string(::getpid());
  for (int attempt = 0;; ++attempt) {
    *temporary = path.parent_path() / (stem + "-" + std::to_string(attempt) + ".tmp");
    const int fd = ::open(temporary->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return fd;
    if (errno != EEXIST || attempt == 100) fail("create", path, errno);
  }
}

void write_all(int fd, std::string_view bytes, const std::filesystem::path& path) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      fail("write", path, errno);
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

// Removes the temporary file unless it has taken its final name.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::filesystem::path& path) : fd_(create_temporary(path, &name_)) {}
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!renamed_) ::unlink(name_.c_str());
  }
  int fd() const { return fd_; }
  // Flushes the content to the disk before the file takes its final name.
  int flush() { return ::fsync(fd_); }
  int close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }
  int rename_to(const std::filesystem::path& path) {
    const int result = ::rename(name_.c_str(), path.c_str());
    renamed_ = result == 0;
    return result;
  }

 private:
  std::filesystem::path name_;
  int fd_;
  bool renamed_ = false;
};

}  // namespace

void replace_file(const std::filesystem::path& path, std::string_view bytes) {
  replace_file(path, [bytes](const BlockSink& put) { put(bytes); });
}

void replace_file(const std::filesystem::path& path, const ContentWriter& content) {
  // Where a file already stands, its content reaches the disk before the
  // rename, so that a crash never leaves an empty or partial file where a
  // complete one stood. A new name has nothing to lose, and a build into a
  // fresh folder does not wait for the disk.
  const bool replaces_a_file = file_exists(path);
  TemporaryFile temporary(path);
  content([&](std::string_view block) { write_all(temporary.fd(), block, path); });
  if (replaces_a_file && temporary.flush() != 0) fail("write", path, errno);
  if (temporary.close() != 0) fail("write", path, errno);
  if (temporary.rename_to(path) != 0) fail("replace", path, errno);
}

void delete_file(const std::filesystem::path& path) {
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) fail("delete", path, errno);
}

bool file_exists(const std::filesystem::path& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace scenario
