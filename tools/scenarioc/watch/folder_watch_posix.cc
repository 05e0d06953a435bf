// The folder watch on Linux: one inotify watch per folder, read together with
// the end request's pipe by poll().
#include "scenarioc/watch/folder_watch.h"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <set>
#include <string>

#include "base/run_time_failure.h"

namespace scenario {

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kChanges = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE;

fs::path folder_of(const fs::path& file) {
  const fs::path folder = file.parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

}  // namespace

struct FolderWatch::State {
  int fd = -1;
  int end_fd = -1;
  std::map<int, std::set<std::string>> names;  // per watch: the file names it looks for

  // Reads every event waiting; whether one names a watched file.
  bool drain() {
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
        if (event->len == 0) continue;
        const auto found = names.find(event->wd);
        if (found != names.end() && found->second.count(event->name)) changed = true;
      }
    }
  }
};

FolderWatch::FolderWatch(const std::vector<fs::path>& files, const EndRequest& end)
    : state_(std::make_unique<State>()) {
  state_->fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (state_->fd < 0)
    throw RunTimeFailure(std::string("cannot watch files: ") + std::strerror(errno));
  state_->end_fd = static_cast<int>(end.wait_handle());
  for (const fs::path& file : files) {
    const fs::path folder = folder_of(file);
    const int wd = ::inotify_add_watch(state_->fd, folder.c_str(), kChanges | IN_ONLYDIR);
    if (wd < 0) {
      throw RunTimeFailure("cannot watch folder '" + folder.string() +
                           "': " + std::strerror(errno));
    }
    state_->names[wd].insert(file.filename().string());
  }
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
    const int ready = ::poll(fds, 2, wait_ms);
    if (ready < 0 && errno == EINTR) continue;  // a signal: its pipe tells which
    if (ready < 0) throw RunTimeFailure(std::string("cannot watch files: ") + std::strerror(errno));
    if (fds[0].revents != 0) return Event::ended;
    if (fds[1].revents != 0 && state_->drain()) return Event::changed;
    if (ready == 0) return Event::quiet;
  }
}

}  // namespace scenario
