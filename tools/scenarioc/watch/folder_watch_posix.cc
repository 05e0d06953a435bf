// The folder watch on Linux: one inotify watch per folder, read together with
// the end request's pipe by poll(). The folders are worked out anew after
// every change: that of each file and, for a symbolic link, that of the file
// it leads to; a folder that is not there is looked for again every moment.
#include "scenarioc/watch/folder_watch.h"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <system_error>

#include "base/run_time_failure.h"

namespace scenario {

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kChanges = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE |
                              IN_DELETE_SELF | IN_MOVE_SELF;
// How often a folder that is gone is looked for.
constexpr std::chrono::milliseconds kLookAgain{200};

fs::path folder_of(const fs::path& file) {
  const fs::path folder = file.parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

// The folders to watch, each with the names looked for in it.
std::map<fs::path, std::set<std::string>> folders_of(const std::vector<fs::path>& files) {
  std::map<fs::path, std::set<std::string>> folders;
  for (const fs::path& file : files) {
    folders[folder_of(file)].insert(file.filename().string());
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(file, error))) continue;
    fs::path target = fs::canonical(file, error);
    // A link whose file is gone still names the folder to look for.
    if (error)
      target = fs::weakly_canonical(folder_of(file) / fs::read_symlink(file, error), error);
    if (!error) folders[target.parent_path()].insert(target.filename().string());
  }
  return folders;
}

}  // namespace

struct FolderWatch::State {
  int fd = -1;
  int end_fd = -1;
  std::vector<fs::path> files;
  Tell tell;
  std::map<int, std::set<std::string>> names;  // per watch: the file names it looks for
  std::map<fs::path, int> watched;             // per folder: its watch
  std::set<fs::path> gone;                     // folders looked for, not there

  // Reads every event waiting; whether one names a watched file. `moved` is
  // set when a watched folder itself was deleted or renamed.
  bool drain(bool& moved) {
    alignas(inotify_event) char buffer[65536];
    bool changed = false;
    while (true) {
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return changed;
      for (ssize_t at = 0; at < n;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        // A queue that overflowed lost events that may have been ours.
        if (event->mask & IN_Q_OVERFLOW) changed = true;
        if (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) moved = true;
        if (event->len == 0) continue;
        const auto found = names.find(event->wd);
        if (found != names.end() && found->second.count(event->name)) changed = true;
      }
    }
  }

  // Watches the folders the files now need, and no other; tells of a folder
  // gone or back. Whether a folder came back or was replaced: the files in it
  // may have changed unseen. Throws RunTimeFailure when a folder that is
  // there cannot be watched, or at the `start` when one is not there.
  bool update(bool start = false) {
    std::map<int, std::set<std::string>> now_names;
    std::map<fs::path, int> now_watched;
    std::set<fs::path> now_gone;
    bool back = false;
    for (const auto& [folder, looked_for] : folders_of(files)) {
      const int wd = ::inotify_add_watch(fd, folder.c_str(), kChanges | IN_ONLYDIR);
      if (wd < 0 && !start && (errno == ENOENT || errno == ENOTDIR)) {
        if (!gone.count(folder))
          tell("the folder '" + folder.string() + "' is gone; watching for it to come back");
        now_gone.insert(folder);
        continue;
      }
      if (wd < 0) {
        throw RunTimeFailure("cannot watch folder '" + folder.string() +
                             "': " + std::strerror(errno));
      }
      const auto before = watched.find(folder);
      if (gone.count(folder) || (before != watched.end() && before->second != wd)) {
        tell("watching the folder '" + folder.string() + "' again");
        back = true;
      }
      now_names[wd].insert(looked_for.begin(), looked_for.end());
      now_watched[folder] = wd;
    }
    for (const auto& [wd, unused] : names) {
      if (!now_names.count(wd)) ::inotify_rm_watch(fd, wd);
    }
    names = std::move(now_names);
    watched = std::move(now_watched);
    gone = std::move(now_gone);
    return back;
  }
};

FolderWatch::FolderWatch(const std::vector<fs::path>& files, const EndRequest& end, Tell tell)
    : state_(std::make_unique<State>()) {
  state_->fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (state_->fd < 0)
    throw RunTimeFailure(std::string("cannot watch files: ") + std::strerror(errno));
  state_->end_fd = static_cast<int>(end.wait_handle());
  state_->files = files;
  state_->tell = std::move(tell);
  state_->update(true);
}

FolderWatch::~FolderWatch() { ::close(state_->fd); }

FolderWatch::Event FolderWatch::wait(std::optional<std::chrono::milliseconds> timeout) {
  const auto deadline = timeout ? std::chrono::steady_clock::now() + *timeout
                                : std::chrono::steady_clock::time_point::max();
  while (true) {
    pollfd fds[2] = {{state_->end_fd, POLLIN, 0}, {state_->fd, POLLIN, 0}};
    int wait_ms = -1;
    if (timeout) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      wait_ms = static_cast<int>(std::max<int64_t>(left.count(), 0));
    }
    if (!state_->gone.empty()) {
      const int look = static_cast<int>(kLookAgain.count());
      wait_ms = wait_ms < 0 ? look : std::min(wait_ms, look);
    }
    const int ready = ::poll(fds, 2, wait_ms);
    if (ready < 0 && errno == EINTR) continue;  // a signal: its pipe tells which
    if (ready < 0) throw RunTimeFailure(std::string("cannot watch files: ") + std::strerror(errno));
    if (fds[0].revents != 0) return Event::ended;
    bool moved = false;
    const bool changed = fds[1].revents != 0 && state_->drain(moved);
    // A link may lead elsewhere now, a folder be gone or back.
    const bool back = (changed || moved || !state_->gone.empty()) && state_->update();
    if (changed || back) return Event::changed;
    if (timeout && std::chrono::steady_clock::now() >= deadline) return Event::quiet;
  }
}

}  // namespace scenario
