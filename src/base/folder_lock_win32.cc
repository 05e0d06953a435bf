// The folder lock on Windows: a named mutex that stands for the folder, named
// from the folder's final path as the system resolves it, so that every
// spelling of one folder takes the same lock. The system releases a mutex
// whose owner has ended, and no file is left in the folder.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "base/folder_lock.h"
#include "base/run_time_failure.h"
#include "base/wide_text.h"

namespace scenario {
namespace {

[[noreturn]] void fail(const std::filesystem::path& folder, DWORD error) {
  throw RunTimeFailure("cannot lock the folder '" + utf8_of(folder.native()) +
                       "': " + system_reason(error));
}

// The final path of the folder open as `handle`, as the system resolves it
// (links, short names, case), into `path`; 0 or the error. Past MAX_PATH the
// call may answer 0 and ERROR_MORE_DATA rather than the length it needs: the
// buffer then grows up to the longest path there is.
DWORD final_path(HANDLE handle, std::wstring& path) {
  constexpr size_t kLongestPath = 32768;
  path.assign(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), 0);
    if (length != 0 && length < path.size()) {
      path.resize(length);
      return 0;
    }
    const DWORD error = length == 0 ? ::GetLastError() : ERROR_MORE_DATA;
    if (error != ERROR_MORE_DATA || path.size() >= kLongestPath) return error;
    path.resize(std::min(std::max<size_t>(length + 1, path.size() * 2), kLongestPath));
  }
}

// The volume and file index of the folder open as `handle`, as unique as its
// final path, into `name`; 0 or the error.
DWORD file_index(HANDLE handle, std::wstring& name) {
  BY_HANDLE_FILE_INFORMATION information;
  if (!::GetFileInformationByHandle(handle, &information)) return ::GetLastError();
  name = L"volume " + std::to_wstring(information.dwVolumeSerialNumber) + L" index " +
         std::to_wstring((uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow);
  return 0;
}

// What names the folder for the lock: its final path, upper-cased; or, where
// the system gives no buffer the final path (Wine answers ERROR_MORE_DATA to
// any past MAX_PATH), its file index.
std::wstring folder_name(const std::filesystem::path& folder) {
  const HANDLE handle = ::CreateFileW(long_path_form(folder).c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) fail(folder, ::GetLastError());
  std::wstring name;
  DWORD error = final_path(handle, name);
  if (error == ERROR_MORE_DATA) error = file_index(handle, name);
  ::CloseHandle(handle);
  if (error != 0) fail(folder, error);
  ::CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
  return name;
}

// A mutex name holds no backslash and is short: the path's 64-bit FNV-1a hash.
std::wstring mutex_name(const std::wstring& path) {
  uint64_t hash = 0xcbf29ce484222325;
  for (wchar_t c : path) {
    hash ^= static_cast<uint16_t>(c);
    hash *= 0x100000001b3;
  }
  wchar_t digits[17];
  for (int i = 15; i >= 0; --i, hash >>= 4) digits[i] = L"0123456789abcdef"[hash & 0xF];
  digits[16] = L'\0';
  return std::wstring(L"Local\\velmora-dorsel-folder-") + digits;
}

}  // namespace

FolderLock::FolderLock(const std::filesystem::path& folder, const std::function<void()>& on_wait) {
  const std::filesystem::path where = folder.empty() ? std::filesystem::path(".") : folder;
  const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, mutex_name(folder_name(where)).c_str());
  if (mutex == nullptr) fail(where, ::GetLastError());
  handle_ = reinterpret_cast<std::intptr_t>(mutex);
  DWORD waited = ::WaitForSingleObject(mutex, 0);
  if (waited == WAIT_TIMEOUT) {
    on_wait();
    waited = ::WaitForSingleObject(mutex, INFINITE);
  }
  // WAIT_ABANDONED: the holder ended without letting go, and the lock is ours.
  if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) return;
  const DWORD error = ::GetLastError();
  ::CloseHandle(mutex);
  fail(where, error);
}

FolderLock::~FolderLock() {
  const HANDLE mutex = reinterpret_cast<HANDLE>(handle_);
  ::ReleaseMutex(mutex);
  ::CloseHandle(mutex);
}

}  // namespace scenario
