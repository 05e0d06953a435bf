// The folder lock on Linux: flock(2) on the folder, opened for reading.
#include "base/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "base/run_time_failure.h"

namespace scenario {
namespace {

[[noreturn]] void fail(const std::filesystem::path& folder, int error) {
  throw RunTimeFailure("cannot lock the folder '" + folder.string() + "': " + std::strerror(error));
}

int lock(int fd, int operation) {
  int result;
  do {
    result = ::flock(fd, operation);
  } while (result != 0 && errno == EINTR);
  return result;
}

}  // namespace

FolderLock::FolderLock(const std::filesystem::path& folder, const std::function<void()>& on_wait) {
  const std::filesystem::path where = folder.empty() ? std::filesystem::path(".") : folder;
  const int fd = ::open(where.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) fail(where, errno);
  handle_ = fd;
  if (lock(fd, LOCK_EX | LOCK_NB) == 0) return;
  const int error = errno;
  if (error == EWOULDBLOCK) {
    on_wait();
    if (lock(fd, LOCK_EX) == 0) return;
  }
  const int reason = error == EWOULDBLOCK ? errno : error;
  ::close(fd);
  fail(where, reason);
}

FolderLock::~FolderLock() { ::close(static_cast<int>(handle_)); }

}  // namespace scenario
