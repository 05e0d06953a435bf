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

}  // namespace

FileByteSource::FileByteSource(const std::filesystem::path& path) : path_(path) {
  // An author may keep the file open in an editor while it is read.
  const HANDLE file =
      ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) fail("open", path);
  handle_ = reinterpret_cast<std::intptr_t>(file);
}

FileByteSource::~FileByteSource() {
  if (handle_of(handle_) != INVALID_HANDLE_VALUE) ::CloseHandle(handle_of(handle_));
}

size_t FileByteSource::read(char* buffer, size_t capacity) {
  DWORD n = 0;
  const DWORD size = static_cast<DWORD>(std::min(capacity, kLargestRead));
  if (!::ReadFile(handle_of(handle_), buffer, size, &n, nullptr)) fail("read", path_);
  return n;
}

}  // namespace scenario
