// The replace-file rule with Windows' own calls: the content goes to a new
// temporary file beside the target (".~PID-N.tmp"), reaches the disk
// (FlushFileBuffers) where it replaces a file, and takes the target's name in
// one MoveFileExW that is written through to the disk. Every path is wide text.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "base/file_naming.h"
#include "base/placed_block_check.h"
#include "base/replace_file.h"
#include "base/replaced_so_far.h"
#include "base/run_time_failure.h"
#include "base/temporary_files.h"
#include "base/wide_text.h"

namespace scenario {
namespace {

// WriteFile takes at most this many bytes a call.
constexpr size_t kLargestWrite = 1 << 30;
constexpr int kNameAttempts = 100;

[[noreturn]] void fail(const char* action, const std::filesystem::path& path,
                       const std::string& reason, const std::string& after = "") {
  throw RunTimeFailure(std::string("cannot ") + action + " '" + utf8_of(path.native()) +
                       "': " + reason + after);
}

[[noreturn]] void fail(const char* action, const std::filesystem::path& path, DWORD error) {
  fail(action, path, system_reason(error));
}

void write_all(HANDLE file, std::string_view bytes, const std::filesystem::path& path) {
  while (!bytes.empty()) {
    const DWORD size = static_cast<DWORD>(std::min(bytes.size(), kLargestWrite));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), size, &written, nullptr)) {
      fail("write", path, ::GetLastError());
    }
    bytes.remove_prefix(written);
  }
}

// A synchronous write at an offset: WriteFile with the offset in an OVERLAPPED.
void write_all_at(HANDLE file, uint64_t offset, std::string_view bytes,
                  const std::filesystem::path& path) {
  while (!bytes.empty()) {
    const DWORD size = static_cast<DWORD>(std::min(bytes.size(), kLargestWrite));
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), size, &written, &at)) {
      fail("write", path, ::GetLastError());
    }
    bytes.remove_prefix(written);
    offset += written;
  }
}

}  // namespace

// One file's new content under a temporary name in the folder; removed when
// destroyed unless it has taken its name.
class StagedFile {
 public:
  explicit StagedFile(std::filesystem::path path) : path_(std::move(path)) {
    for (int attempt = 0;; ++attempt) {
      temporary_ = path_.parent_path() / wide_of(next_temporary_name());
      file_ = ::CreateFileW(temporary_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
      if (file_ != INVALID_HANDLE_VALUE) break;
      const DWORD error = ::GetLastError();
      if (error != ERROR_FILE_EXISTS || attempt == kNameAttempts) fail("create", path_, error);
    }
  }
  ~StagedFile() {
    if (file_ != INVALID_HANDLE_VALUE) ::CloseHandle(file_);
    if (!renamed_) ::DeleteFileW(temporary_.c_str());
  }
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  void write(const ContentWriter& content) {
    content([&](std::string_view block) { write_all(file_, block, path_); });
  }

  void write(const PlacedContent& content) {
    PlacedBlockCheck check(content.size, utf8_of(path_.native()));
    content.write([&](uint64_t offset, std::string_view block) {
      check.take(offset, block.size());
      write_all_at(file_, offset, block, path_);
    });
    check.finish();
  }

  // As on Linux: where a file already stands, the content reaches the disk
  // before the move, so that a crash never leaves an empty or partial file
  // where a complete one stood; a new name has nothing to lose.
  void finish() {
    if (file_exists(path_) && !::FlushFileBuffers(file_)) fail("write", path_, ::GetLastError());
    const bool closed = ::CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    if (!closed) fail("write", path_, ::GetLastError());
  }

  // "", or why the name cannot be given to a file.
  std::string check_name() const {
    const DWORD attributes = ::GetFileAttributesW(path_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? "Is a directory" : "";
    }
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? "" : system_reason(error);
  }

  // 0, or the system's error code.
  DWORD rename() {
    if (!::MoveFileExW(temporary_.c_str(), path_.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return ::GetLastError();
    }
    renamed_ = true;
    return 0;
  }

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::filesystem::path temporary_;
  HANDLE file_ = INVALID_HANDLE_VALUE;
  bool renamed_ = false;
};

FileSet::FileSet(std::filesystem::path folder) : folder_(std::move(folder)) {}

FileSet::~FileSet() { staged_.clear(); }

void FileSet::stage(const std::string& name, const ContentWriter& content) {
  stage_with(name, [&](StagedFile& file) { file.write(content); });
}

void FileSet::stage(const std::string& name, const PlacedContent& content) {
  stage_with(name, [&](StagedFile& file) { file.write(content); });
}

void FileSet::stage_with(const std::string& name, const std::function<void(StagedFile&)>& write) {
  auto file = std::make_unique<StagedFile>(file_in(folder_, name));
  write(*file);
  file->finish();
  staged_.push_back(std::move(file));
}

void FileSet::commit() { rename_all(true); }

// Each move is written through to the disk: there is no folder to flush.
void FileSet::rename_all(bool) {
  const std::size_t total = staged_.size();
  for (const auto& file : staged_) {
    const std::string refused = file->check_name();
    if (!refused.empty()) fail("replace", file->path(), refused, replaced_so_far({}, total));
  }
  std::vector<std::string> replaced;
  for (const auto& file : staged_) {
    if (const DWORD error = file->rename()) {
      fail("replace", file->path(), system_reason(error), replaced_so_far(replaced, total));
    }
    replaced.push_back(utf8_of(file->path().native()));
  }
  staged_.clear();
}

void replace_file(const std::filesystem::path& path, std::string_view bytes) {
  replace_file(path, [bytes](const BlockSink& put) { put(bytes); });
}

void replace_file(const std::filesystem::path& path, const ContentWriter& content) {
  FileSet set(path.parent_path());
  auto file = std::make_unique<StagedFile>(path);
  file->write(content);
  file->finish();
  set.staged_.push_back(std::move(file));
  set.rename_all(false);
}

void delete_file(const std::filesystem::path& path) {
  if (::DeleteFileW(path.c_str())) return;
  const DWORD error = ::GetLastError();
  if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) fail("delete", path, error);
}

bool file_exists(const std::filesystem::path& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace scenario
