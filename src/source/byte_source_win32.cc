// A file's bytes with Windows' own calls; the path is wide text.
#include <windows.h>

#include <algorithm>
#include <string>

#include "base/run_time_failure.h"
#include "base/wide_text.h"
#include "source/byte_source.h"

namespace scenario {
namespace {

// ReadFile takes at most this many bytes a call.
constexpr size_t kLargestRead = 1 << 30;

HANDLE handle_of(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

[[noreturn]] void fail(const char* action, const std::filesystem::path& path) {
  const DWORD error = ::GetLastError();
  throw RunTimeFailure(std::string("cannot ") + action + " '" + utf8_of(path.native()) +
                       "': " + system_reason(error));
}

[[noreturn]] void refuse(const std::filesystem::path& path, const char* kind) {
  throw RunTimeFailure("cannot read '" + utf8_of(path.native()) + "': it is " + kind +
                       ", not a regular file");
}

}  // namespace

// Only a file on a disk is read: a folder, a pipe or a device such as NUL or
// CON is refused with what it is.
FileByteSource::FileByteSource(const std::filesystem::path& path, bool missing_allowed)
    : path_(path) {
  // An author may keep the file open in an editor while it is read.
  const HANDLE file =
      ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    if (missing_allowed && (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)) return;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      refuse(path, "a directory");
    }
    ::SetLastError(error);
    fail("open", path);
  }
  const DWORD type = ::GetFileType(file);
  LARGE_INTEGER size = {};
  if (type != FILE_TYPE_DISK || !::GetFileSizeEx(file, &size)) {
    ::CloseHandle(file);
    refuse(path, type == FILE_TYPE_PIPE ? "a pipe" : "a character device");
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  size_ = static_cast<std::uintmax_t>(size.QuadPart);
}

FileByteSource::~FileByteSource() {
  if (is_open()) ::CloseHandle(handle_of(handle_));
}

bool FileByteSource::is_open() const { return handle_of(handle_) != INVALID_HANDLE_VALUE; }

size_t FileByteSource::read(char* buffer, size_t capacity) {
  DWORD n = 0;
  const DWORD size = static_cast<DWORD>(std::min(capacity, kLargestRead));
  if (!::ReadFile(handle_of(handle_), buffer, size, &n, nullptr)) fail("read", path_);
  return n;
}

}  // namespace scenario
