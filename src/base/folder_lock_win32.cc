// The folder lock on Windows: a named mutex that stands for the folder, named
// from the folder's final path as the system resolves it, so that every
// spelling of one folder takes the same lock. The system releases a mutex
// whose owner has ended, and no file is left in the folder.
#include <windows.h>

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

// The folder's path as the system resolves it (links, short names, case).
std::wstring final_path(const std::filesystem::path& folder) {
  const HANDLE handle =
      ::CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) fail(folder, ::GetLastError());
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), 0);
    if (length == 0) {
      const DWORD error = ::GetLastError();
      ::CloseHandle(handle);
      fail(folder, error);
    }
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(length + 1);
  }
  ::CloseHandle(handle);
  ::CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
  return path;
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
  const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, mutex_name(final_path(where)).c_str());
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
