// The calls of staging a file with Windows' own calls: every file reached by
// its whole path in wide text; a move that replaces a file is written through
// to the disk.
#include <windows.h>

#include <algorithm>
#include <utility>

#include "base/file_calls.h"
#include "base/file_naming.h"
#include "base/wide_text.h"

namespace scenario {

const SystemError kNameTaken = ERROR_FILE_EXISTS;
// ERROR_DIRECTORY_NOT_SUPPORTED, which MinGW's headers lack.
const SystemError kIsFolder = 336;

std::string system_error_text(SystemError error) { return system_reason(error); }

std::string utf8_path(const std::filesystem::path& path) { return utf8_of(path.native()); }

namespace {

// WriteFile takes at most this many bytes a call.
constexpr size_t kLargestWrite = 1 << 30;

HANDLE handle_of(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

// 0, or why the file at `path` may not be deleted now, as a move over it
// deletes it: mostly another program, a simulator reading it, that holds it
// open without letting it be deleted.
SystemError deletion_refusal(const std::filesystem::path& path) {
  const HANDLE probe = ::CreateFileW(long_path_form(path).c_str(), DELETE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (probe == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? 0 : error;
  }
  ::CloseHandle(probe);
  return 0;
}

}  // namespace

StagingFolder::StagingFolder(std::filesystem::path path) : path_(std::move(path)) {}

StagingFolder::~StagingFolder() = default;

// Every call names its file by the whole path: there is nothing to open.
SystemError StagingFolder::open() { return 0; }

SystemError StagingFolder::create_new(const std::string& name, FileHandle& file) const {
  const HANDLE created = ::CreateFileW(long_path_form(file_in(path_, name)).c_str(), GENERIC_WRITE,
                                       0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (created == INVALID_HANDLE_VALUE) return ::GetLastError();
  file = reinterpret_cast<FileHandle>(created);
  return 0;
}

std::optional<FileMode> StagingFolder::regular_file_mode(const std::string& name) const {
  const DWORD attributes = ::GetFileAttributesW(long_path_form(file_in(path_, name)).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return std::nullopt;
  }
  return static_cast<FileMode>(attributes);
}

SystemError StagingFolder::refusal(const std::string& name) const {
  const std::filesystem::path path = file_in(path_, name);
  const DWORD attributes = ::GetFileAttributesW(long_path_form(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? 0 : error;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return kIsFolder;
  // A move may not replace a read-only file, as a delete may not remove one.
  if (attributes & FILE_ATTRIBUTE_READONLY) return ERROR_ACCESS_DENIED;
  return deletion_refusal(path);
}

SystemError StagingFolder::rename_over(const std::string& from, const std::string& to) const {
  if (!::MoveFileExW(long_path_form(file_in(path_, from)).c_str(),
                     long_path_form(file_in(path_, to)).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return ::GetLastError();
  }
  return 0;
}

void StagingFolder::remove(const std::string& name) const {
  ::DeleteFileW(long_path_form(file_in(path_, name)).c_str());
}

bool StagingFolder::holds_file(const std::string& name) const {
  const DWORD attributes = ::GetFileAttributesW(file_in(path_, name).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
}

SystemError StagingFolder::read_small_file(const std::string& name, std::size_t limit,
                                           std::string& bytes) const {
  const HANDLE file = ::CreateFileW(file_in(path_, name).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return ::GetLastError();
  SystemError error = 0;
  LARGE_INTEGER size;
  if (::GetFileType(file) != FILE_TYPE_DISK) {
    error = ERROR_INVALID_PARAMETER;
  } else if (!::GetFileSizeEx(file, &size)) {
    error = ::GetLastError();
  } else if (static_cast<uint64_t>(size.QuadPart) > limit) {
    error = ERROR_FILE_TOO_LARGE;
  }
  bytes.clear();
  char buffer[4096];
  while (error == 0) {
    DWORD read = 0;
    if (!::ReadFile(file, buffer, sizeof buffer, &read, nullptr)) error = ::GetLastError();
    if (error != 0 || read == 0) break;
    bytes.append(buffer, read);
    if (bytes.size() > limit) error = ERROR_FILE_TOO_LARGE;
  }
  ::CloseHandle(file);
  return error;
}

SystemError StagingFolder::flush() const { return 0; }

// A synchronous write at an offset: WriteFile with the offset in an OVERLAPPED.
SystemError write_at(FileHandle file, uint64_t offset, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD size = static_cast<DWORD>(std::min(bytes.size(), kLargestWrite));
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD written = 0;
    if (!::WriteFile(handle_of(file), bytes.data(), size, &written, &at)) return ::GetLastError();
    bytes.remove_prefix(written);
    offset += written;
  }
  return 0;
}

void start_writeback(FileHandle, uint64_t, uint64_t) {}

SystemError set_mode(FileHandle, FileMode) { return 0; }

SystemError flush_file(FileHandle file) {
  return ::FlushFileBuffers(handle_of(file)) ? 0 : ::GetLastError();
}

SystemError close_file(FileHandle file) {
  return ::CloseHandle(handle_of(file)) ? 0 : ::GetLastError();
}

bool regular_file_at(const std::filesystem::path& path) {
  const DWORD attributes = ::GetFileAttributesW(long_path_form(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

SystemError delete_path(const std::filesystem::path& path) {
  if (::DeleteFileW(long_path_form(path).c_str())) return 0;
  const DWORD error = ::GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0 : error;
}

}  // namespace scenario
