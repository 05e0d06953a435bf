// Watches the folders of some files for changes to those files: one written
// and closed, created, deleted, or renamed to or from its name. Watching the
// folder rather than the file sees an editor that saves by writing a new file
// and renaming it over the old one (folder_watch_posix.cc: inotify;
// folder_watch_win32.cc: ReadDirectoryChangesW). On Linux a file that is a
// symbolic link is watched where it leads as well, and a folder that is gone
// or replaced is said so and watched again once it is there.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/end_request.h"

namespace scenario {

class FolderWatch {
 public:
  // A line for the user, without the program's name: a folder gone, or back.
  using Tell = std::function<void(const std::string& line)>;
  // Throws RunTimeFailure when a folder cannot be watched.
  FolderWatch(const std::vector<std::filesystem::path>& files, const EndRequest& end, Tell tell);
  ~FolderWatch();
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  enum class Event { changed, ended, quiet };
  // Waits for a change to one of the files or a request to end; `quiet` when
  // `timeout` passed without either. Throws RunTimeFailure when the watch fails.
  Event wait(std::optional<std::chrono::milliseconds> timeout);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace scenario
