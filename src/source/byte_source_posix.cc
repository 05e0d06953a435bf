// A file's bytes with POSIX calls.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/run_time_failure.h"
#include "source/byte_source.h"

namespace scenario {

FileByteSource::FileByteSource(const std::filesystem::path& path) : path_(path) {
  handle_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (handle_ < 0) {
    throw RunTimeFailure("cannot open '" + path.string() + "': " + std::strerror(errno));
  }
}

FileByteSource::~FileByteSource() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

size_t FileByteSource::read(char* buffer, size_t capacity) {
  for (;;) {
    const ssize_t n = ::read(static_cast<int>(handle_), buffer, capacity);
    if (n >= 0) return static_cast<size_t>(n);
    if (errno == EINTR) continue;
    throw RunTimeFailure("cannot read '" + path_.string() + "': " + std::strerror(errno));
  }
}

}  // namespace scenario
