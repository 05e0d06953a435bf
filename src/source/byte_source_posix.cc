// A file's bytes with POSIX calls.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/run_time_failure.h"
#include "source/byte_source.h"

namespace scenario {
namespace {

// What a file that is not a regular file is, in the words of `ls`.
const char* kind_of(mode_t mode) {
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a file";
}

}  // namespace

// Opened without blocking, so that a FIFO is refused instead of waiting for a
// writer; only then is the file told to block as usual.
FileByteSource::FileByteSource(const std::filesystem::path& path, bool missing_allowed)
    : path_(path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (missing_allowed && errno == ENOENT) return;
    throw RunTimeFailure("cannot open '" + path.string() + "': " + std::strerror(errno));
  }
  struct stat info;
  if (::fstat(fd, &info) != 0) {
    const int error = errno;
    ::close(fd);
    throw RunTimeFailure("cannot open '" + path.string() + "': " + std::strerror(error));
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(fd);
    throw RunTimeFailure("cannot read '" + path.string() + "': it is " + kind_of(info.st_mode) +
                         ", not a regular file");
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  handle_ = fd;
  size_ = static_cast<std::uintmax_t>(info.st_size);
}

FileByteSource::~FileByteSource() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

bool FileByteSource::is_open() const { return handle_ >= 0; }

size_t FileByteSource::read(char* buffer, size_t capacity) {
  for (;;) {
    const ssize_t n = ::read(static_cast<int>(handle_), buffer, capacity);
    if (n >= 0) return static_cast<size_t>(n);
    if (errno == EINTR) continue;
    throw RunTimeFailure("cannot read '" + path_.string() + "': " + std::strerror(errno));
  }
}

}  // namespace scenario
