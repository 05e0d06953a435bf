#include "source/byte_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "base/run_time_failure.h"

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

size_t MemoryByteSource::read(char* buffer, size_t capacity) {
  const size_t n = std::min(capacity, text_.size());
  std::memcpy(buffer, text_.data(), n);
  text_.remove_prefix(n);
  return n;
}

FileByteSource::FileByteSource(const std::filesystem::path& path) : FileByteSource(path, nullptr) {}

std::unique_ptr<FileByteSource> FileByteSource::open_if_present(const std::filesystem::path& path) {
  Missing missing;
  std::unique_ptr<FileByteSource> source(new FileByteSource(path, &missing));
  if (source->fd_ < 0) return nullptr;
  return source;
}

// Opened without blocking, so that a FIFO is refused instead of waiting for a
// writer; only then is the file told to block as usual. With `missing` given,
// a name that does not exist leaves the source unopened instead of throwing.
FileByteSource::FileByteSource(const std::filesystem::path& path, Missing* missing) : path_(path) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) {
    if (missing != nullptr && errno == ENOENT) return;
    throw RunTimeFailure("cannot open '" + path.string() + "': " + std::strerror(errno));
  }
  struct stat info;
  if (::fstat(fd_, &info) != 0) {
    const int error = errno;
    ::close(fd_);
    throw RunTimeFailure("cannot open '" + path.string() + "': " + std::strerror(error));
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(fd_);
    throw RunTimeFailure("cannot read '" + path.string() + "': it is " + kind_of(info.st_mode) +
                         ", not a regular file");
  }
  ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
  size_ = static_cast<std::uintmax_t>(info.st_size);
}

FileByteSource::~FileByteSource() {
  if (fd_ >= 0) ::close(fd_);
}

size_t FileByteSource::read(char* buffer, size_t capacity) {
  for (;;) {
    const ssize_t n = ::read(fd_, buffer, capacity);
    if (n >= 0) return static_cast<size_t>(n);
    if (errno == EINTR) continue;
    throw RunTimeFailure("cannot read '" + path_.string() + "': " + std::strerror(errno));
  }
}

}  // namespace scenario
