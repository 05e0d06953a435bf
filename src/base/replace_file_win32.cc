// The replace-file rule with Windows' own calls: the content goes to a new
// temporary file beside the target, reaches the disk (FlushFileBuffers) where
// it replaces a file, and takes the target's name in one MoveFileExW. Every
// path is wide text.
#include <windows.h>

#include <algorithm>
#include <string>

#include "base/replace_file.h"
#include "base/run_time_failure.h"
#include "base/wide_text.h"

namespace scenario {
namespace {

// WriteFile takes at most this many bytes a call.
constexpr size_t kLargestWrite = 1 << 30;

[[noreturn]] void fail(const char* action, const std::filesystem::path& path, DWORD error) {
  throw RunTimeFailure(std::string("cannot ") + action + " '" + utf8_of(path.native()) +
                       "': " + system_reason(error));
}

// Opens a new temporary file beside `path`; the name is unique to this process.
HANDLE create_temporary(const std::filesystem::path& path, std::filesystem::path* temporary) {
  const std::wstring stem =
      L"." + path.filename().native() + L"." + std::to_wstring(::GetCurrentProcessId());
  for (int attempt = 0;; ++attempt) {
    *temporary = path.parent_path() / (stem + L"-" + std::to_wstring(attempt) + L".tmp");
    const HANDLE file = ::CreateFileW(temporary->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS || attempt == 100) fail("create", path, error);
  }
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

// Removes the temporary file unless it has taken its final name.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::filesystem::path& path)
      : file_(create_temporary(path, &name_)) {}
  ~TemporaryFile() {
    if (file_ != INVALID_HANDLE_VALUE) ::CloseHandle(file_);
    if (!renamed_) ::DeleteFileW(name_.c_str());
  }
  HANDLE handle() const { return file_; }
  bool flush() { return ::FlushFileBuffers(file_); }
  bool close() {
    const bool closed = ::CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    return closed;
  }
  bool rename_to(const std::filesystem::path& path) {
    renamed_ = ::MoveFileExW(name_.c_str(), path.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    return renamed_;
  }

 private:
  std::filesystem::path name_;
  HANDLE file_;
  bool renamed_ = false;
};

}  // namespace

void replace_file(const std::filesystem::path& path, std::string_view bytes) {
  replace_file(path, [bytes](const BlockSink& put) { put(bytes); });
}

void replace_file(const std::filesystem::path& path, const ContentWriter& content) {
  // As on Linux: where a file already stands, its content reaches the disk
  // before the move, so that a crash never leaves an empty or partial file
  // where a complete one stood; a new name has nothing to lose.
  const bool replaces_a_file = file_exists(path);
  TemporaryFile temporary(path);
  content([&](std::string_view block) { write_all(temporary.handle(), block, path); });
  if (replaces_a_file && !temporary.flush()) fail("write", path, ::GetLastError());
  if (!temporary.close()) fail("write", path, ::GetLastError());
  if (!temporary.rename_to(path)) fail("replace", path, ::GetLastError());
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
