// The calls of staging a file with POSIX calls: the folder opened once and
// every file reached through it with the *at calls.
#include "base/file_calls.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace scenario {

const SystemError kNameTaken = EEXIST;
const SystemError kIsFolder = EISDIR;

std::string system_error_text(SystemError error) { return std::strerror(static_cast<int>(error)); }

std::string utf8_path(const std::filesystem::path& path) { return path.string(); }

namespace {

SystemError last_error() { return static_cast<SystemError>(errno); }

int descriptor_of(FileHandle file) { return static_cast<int>(file); }

}  // namespace

StagingFolder::StagingFolder(std::filesystem::path path) : path_(std::move(path)) {}

StagingFolder::~StagingFolder() {
  if (descriptor_ >= 0) ::close(descriptor_);
}

// A folder that may be searched but not read still takes files; only its
// flush then has to be left out.
SystemError StagingFolder::open() {
  if (descriptor_ >= 0) return 0;
  const std::filesystem::path where = path_.empty() ? std::filesystem::path(".") : path_;
  descriptor_ = ::open(where.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor_ < 0 && errno == EACCES) {
    descriptor_ = ::open(where.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  }
  return descriptor_ < 0 ? last_error() : 0;
}

SystemError StagingFolder::create_new(const std::string& name, FileHandle& file) const {
  const int fd = ::openat(descriptor_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return last_error();
  file = fd;
  return 0;
}

std::optional<FileMode> StagingFolder::regular_file_mode(const std::string& name) const {
  struct stat there;
  if (::fstatat(descriptor_, name.c_str(), &there, 0) != 0 || !S_ISREG(there.st_mode)) {
    return std::nullopt;
  }
  return static_cast<FileMode>(there.st_mode & 07777);
}

SystemError StagingFolder::refusal(const std::string& name) const {
  struct stat there;
  if (::fstatat(descriptor_, name.c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0) {
    return S_ISDIR(there.st_mode) ? kIsFolder : 0;
  }
  return errno == ENOENT ? 0 : last_error();
}

SystemError StagingFolder::rename_over(const std::string& from, const std::string& to) const {
  return ::renameat(descriptor_, from.c_str(), descriptor_, to.c_str()) == 0 ? 0 : last_error();
}

void StagingFolder::remove(const std::string& name) const {
  ::unlinkat(descriptor_, name.c_str(), 0);
}

bool StagingFolder::holds_file(const std::string& name) const {
  struct stat there;
  return ::fstatat(descriptor_, name.c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0 &&
         S_ISREG(there.st_mode);
}

// O_NONBLOCK, so that a FIFO at the name cannot hold the open; it is then refused.
SystemError StagingFolder::read_small_file(const std::string& name, std::size_t limit,
                                           std::string& bytes) const {
  const int fd =
      ::openat(descriptor_, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return last_error();
  struct stat info;
  SystemError error = 0;
  if (::fstat(fd, &info) != 0) {
    error = last_error();
  } else if (!S_ISREG(info.st_mode)) {
    error = EINVAL;
  } else if (static_cast<uint64_t>(info.st_size) > limit) {
    error = EFBIG;
  }
  bytes.clear();
  char buffer[4096];
  while (error == 0) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = last_error();
    if (n <= 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
    if (bytes.size() > limit) error = EFBIG;
  }
  ::close(fd);
  return error;
}

// fsync needs a folder opened for reading; one that cannot be read is left unflushed.
SystemError StagingFolder::flush() const {
  const int flags = ::fcntl(descriptor_, F_GETFL);
  if (flags < 0 || (flags & O_PATH) != 0) return 0;
  return ::fsync(descriptor_) == 0 ? 0 : last_error();
}

SystemError write_at(FileHandle file, uint64_t offset, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n =
        ::pwrite(descriptor_of(file), bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (n < 0) {
      if (errno == EINTR) continue;
      return last_error();
    }
    bytes.remove_prefix(static_cast<size_t>(n));
    offset += static_cast<uint64_t>(n);
  }
  return 0;
}

void start_writeback(FileHandle file, uint64_t offset, uint64_t size) {
  ::sync_file_range(descriptor_of(file), static_cast<off_t>(offset), static_cast<off_t>(size),
                    SYNC_FILE_RANGE_WRITE);
}

SystemError set_mode(FileHandle file, FileMode mode) {
  return ::fchmod(descriptor_of(file), static_cast<mode_t>(mode)) == 0 ? 0 : last_error();
}

SystemError flush_file(FileHandle file) {
  return ::fsync(descriptor_of(file)) == 0 ? 0 : last_error();
}

SystemError close_file(FileHandle file) {
  return ::close(descriptor_of(file)) == 0 ? 0 : last_error();
}

bool regular_file_at(const std::filesystem::path& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

SystemError delete_path(const std::filesystem::path& path) {
  return ::unlink(path.c_str()) == 0 || errno == ENOENT ? 0 : last_error();
}

}  // namespace scenario
