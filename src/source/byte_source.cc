#include "source/byte_source.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "base/run_time_failure.h"

namespace scenario {

size_t MemoryByteSource::read(char* buffer, size_t capacity) {
  const size_t n = std::min(capacity, text_.size());
  std::memcpy(buffer, text_.data(), n);
  text_.remove_prefix(n);
  return n;
}

FileByteSource::FileByteSource(const std::filesystem::path& path) : path_(path) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    throw RunTimeFailure("cannot open '" + path.string() + "': " + std::strerror(errno));
  }
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
