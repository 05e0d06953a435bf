// An exclusive lock on a folder for the builds and compiles that write into
// it, so that two of them run one after the other instead of mixing their
// files. It leaves no file behind and ends with the process that holds it,
// however that process ends: on Linux flock(2) on the folder itself
// (folder_lock_posix.cc), on Windows a named mutex that stands for the folder
// (folder_lock_win32.cc).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>

namespace scenario {

class FolderLock {
 public:
  // Takes the lock, waiting while another process holds it; `on_wait` is
  // called once before such a wait. Throws RunTimeFailure naming the folder
  // when it cannot be opened or locked.
  FolderLock(const std::filesystem::path& folder, const std::function<void()>& on_wait);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  // The system's handle: the folder's descriptor, or the mutex's HANDLE.
  std::intptr_t handle_ = -1;
};

}  // namespace scenario
