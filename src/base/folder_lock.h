// An exclusive lock on a folder for the builds and compiles that write into
// it, so that two of them run one after the other instead of mixing their
// files. The lock is flock(2) on the folder itself: it leaves no file behind,
// and it ends with the process that holds it, however that process ends.
#pragma once

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
  int fd_ = -1;
};

}  // namespace scenario
