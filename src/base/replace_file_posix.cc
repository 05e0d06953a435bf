// The replace-file rule with POSIX calls: a temporary file beside the target,
// fsync where it replaces a file, then rename(2).
#include "base/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

#include "base/placed_block_check.h"
#include "base/replaced_so_far.h"
#include "base/run_time_failure.h"
#include "base/temporary_files.h"

namespace scenario {
namespace {

constexpr int kNameAttempts = 100;

[[noreturn]] void fail(const char* action, const std::string& path, int error,
                       const std::string& after = "") {
  throw RunTimeFailure(std::string("cannot ") + action + " '" + path +
                       "': " + std::strerror(error) + after);
}

void write_all(int fd, std::string_view bytes, const std::string& path) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      fail("write", path, errno);
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

void write_all_at(int fd, uint64_t offset, std::string_view bytes, const std::string& path) {
  while (!bytes.empty()) {
    const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (n < 0) {
      if (errno == EINTR) continue;
      fail("write", path, errno);
    }
    bytes.remove_prefix(static_cast<size_t>(n));
    offset += static_cast<uint64_t>(n);
  }
}

}  // namespace

// One file's new content under a temporary name in the folder; removed when
// destroyed unless it has taken its name.
class StagedFile {
 public:
  // The name is registered before the file exists, so that a signal that
  // comes as it is created still removes it.
  StagedFile(int folder_fd, std::string name, std::string path)
      : folder_fd_(folder_fd), name_(std::move(name)), path_(std::move(path)) {
    for (int attempt = 0;; ++attempt) {
      temporary_ = next_temporary_name();
      registered_ = std::make_unique<RegisteredTemporary>(folder_fd_, temporary_);
      fd_ = ::openat(folder_fd_, temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ >= 0) break;
      const int error = errno;
      registered_.reset();
      if (error != EEXIST || attempt == kNameAttempts) fail("create", path_, error);
    }
    // Known before the content comes, so that its writeback can start early.
    struct stat old;
    replaces_ = ::fstatat(folder_fd_, name_.c_str(), &old, 0) == 0 && S_ISREG(old.st_mode);
  }
  ~StagedFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!renamed_) ::unlinkat(folder_fd_, temporary_.c_str(), 0);
  }
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  void write(const ContentWriter& content) {
    uint64_t offset = 0;
    content([&](std::string_view block) {
      write_all(fd_, block, path_);
      start_writeback(offset, block.size());
      offset += block.size();
    });
  }

  void write(const PlacedContent& content) {
    PlacedBlockCheck check(content.size, path_);
    content.write([&](uint64_t offset, std::string_view block) {
      check.take(offset, block.size());
      write_all_at(fd_, offset, block, path_);
      start_writeback(offset, block.size());
    });
    check.finish();
  }

  // Where a file already stands, the new one takes its permissions, and its
  // content reaches the disk before the rename (flush), so that a crash never
  // leaves an empty or partial file where a complete one stood. A new name has
  // nothing to lose, and a build into a fresh folder does not wait for the disk.
  void finish() {
    struct stat old;
    replaces_ = ::fstatat(folder_fd_, name_.c_str(), &old, 0) == 0 && S_ISREG(old.st_mode);
    if (!replaces_) {
      close_file();
      return;
    }
    if (::fchmod(fd_, old.st_mode & 07777) != 0) fail("write", path_, errno);
  }

  // Flushes the content of a file that replaces another, once every file of
  // the set is written: the files then reach the disk together.
  void flush() {
    if (!replaces_ || fd_ < 0) return;
    if (::fsync(fd_) != 0) fail("write", path_, errno);
    close_file();
  }

  // 0, or the reason the name cannot be given to a file.
  int check_name() const {
    struct stat there;
    if (::fstatat(folder_fd_, name_.c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0) {
      return S_ISDIR(there.st_mode) ? EISDIR : 0;
    }
    return errno == ENOENT ? 0 : errno;
  }

  // 0, or the reason of the failure.
  int rename() {
    if (::renameat(folder_fd_, temporary_.c_str(), folder_fd_, name_.c_str()) != 0) return errno;
    renamed_ = true;
    registered_->release();
    return 0;
  }

  const std::string& path() const { return path_; }
  // Whether the content reached the disk: the file replaces another.
  bool flushed() const { return replaces_; }

 private:
  // Content bound for the disk starts on its way as soon as it is written,
  // while the rest is computed; flush() then waits for less. Only a head start.
  void start_writeback(uint64_t offset, std::size_t size) {
    if (replaces_ && size != 0) {
      ::sync_file_range(fd_, static_cast<off_t>(offset), static_cast<off_t>(size),
                        SYNC_FILE_RANGE_WRITE);
    }
  }

  void close_file() {
    const int result = ::close(fd_);
    fd_ = -1;
    if (result != 0) fail("write", path_, errno);
  }

  int folder_fd_;
  std::string name_;
  std::string path_;  // the final name with its folder, for messages
  std::string temporary_;
  int fd_ = -1;
  bool renamed_ = false;
  bool replaces_ = false;
  std::unique_ptr<RegisteredTemporary> registered_;
};

FileSet::FileSet(std::filesystem::path folder) : folder_(std::move(folder)) {}

FileSet::~FileSet() {
  staged_.clear();
  if (folder_fd_ >= 0) ::close(folder_fd_);
}

std::string FileSet::path_of(const std::string& name) const {
  return folder_.empty() ? name : (folder_ / name).string();
}

// A folder that may be searched but not read still takes files; only its
// flush then has to be left out.
void FileSet::open_folder() {
  if (folder_fd_ >= 0) return;
  const std::filesystem::path where = folder_.empty() ? std::filesystem::path(".") : folder_;
  folder_fd_ = ::open(where.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder_fd_ < 0 && errno == EACCES) {
    folder_fd_ = ::open(where.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  }
}

void FileSet::stage(const std::string& name, const ContentWriter& content) {
  stage_with(name, [&](StagedFile& file) { file.write(content); });
}

void FileSet::stage(const std::string& name, const PlacedContent& content) {
  stage_with(name, [&](StagedFile& file) { file.write(content); });
}

void FileSet::stage_with(const std::string& name, const std::function<void(StagedFile&)>& write) {
  open_folder();
  if (folder_fd_ < 0) fail("create", path_of(name), errno);
  auto file = std::make_unique<StagedFile>(folder_fd_, name, path_of(name));
  write(*file);
  file->finish();
  staged_.push_back(std::move(file));
}

void FileSet::commit() { rename_all(true); }

void FileSet::rename_all(bool flush_folder) {
  const std::size_t total = staged_.size();
  for (const auto& file : staged_) {
    if (const int error = file->check_name()) {
      fail("replace", file->path(), error, replaced_so_far({}, total));
    }
  }
  for (const auto& file : staged_) file->flush();
  std::vector<std::string> replaced;
  bool contents_flushed = false;
  for (const auto& file : staged_) {
    if (const int error = file->rename()) {
      fail("replace", file->path(), error, replaced_so_far(replaced, total));
    }
    replaced.push_back(file->path());
    contents_flushed = contents_flushed || file->flushed();
  }
  staged_.clear();
  // The new names reach the disk too, where the contents they name already
  // have: a set that replaced a file. Names of files whose content never went
  // to the disk would only risk naming empty files after a crash.
  if (!flush_folder || !contents_flushed) return;
  // fsync needs a folder opened for reading; one that cannot be read is left unflushed.
  const int flags = ::fcntl(folder_fd_, F_GETFL);
  if (flags < 0 || (flags & O_PATH) != 0) return;
  if (::fsync(folder_fd_) != 0) {
    fail("flush the folder", folder_.empty() ? "." : folder_.string(), errno,
         "; the files were replaced");
  }
}

void replace_file(const std::filesystem::path& path, std::string_view bytes) {
  replace_file(path, [bytes](const BlockSink& put) { put(bytes); });
}

void replace_file(const std::filesystem::path& path, const ContentWriter& content) {
  FileSet set(path.parent_path());
  set.stage(path.filename().string(), content);
  set.rename_all(false);
}

void delete_file(const std::filesystem::path& path) {
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) fail("delete", path.string(), errno);
}

bool file_exists(const std::filesystem::path& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace scenario
