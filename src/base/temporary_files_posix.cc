// Temporary files on Linux: a signal handler that removes those registered,
// and the ids of processes checked with kill(pid, 0).
#include "base/temporary_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <limits>

namespace scenario {
namespace {

constexpr std::size_t kLongestName = 48;  // ".~", 10 digits, "-", 20 digits, ".tmp"

// What the signal handler reads: a slot is filled while `used` is 0 and only
// then marked used, so the handler never sees half a name.
struct Slot {
  volatile sig_atomic_t used = 0;
  int folder_fd = -1;
  char name[kLongestName] = {};
};
Slot slots[RegisteredTemporary::kMaxRegistered];

constexpr int kEndingSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Only async-signal-safe calls: unlinkat, signal, raise.
extern "C" void remove_temporaries_and_end(int signal_number) {
  for (const Slot& slot : slots) {
    if (slot.used) ::unlinkat(slot.folder_fd, slot.name, 0);
  }
  ::signal(signal_number, SIG_DFL);
  ::raise(signal_number);
}

bool process_is_gone(ProcessId pid) {
  return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

}  // namespace

void end_by_signal(int signal_number) { remove_temporaries_and_end(signal_number); }

ProcessId current_process() { return static_cast<ProcessId>(::getpid()); }

void install_signal_handling() {
  ::signal(SIGXFSZ, SIG_IGN);
  for (int signal_number : kEndingSignals) {
    struct sigaction current;
    // A signal ignored from the start (nohup, a background job) stays ignored.
    if (::sigaction(signal_number, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) {
      continue;
    }
    struct sigaction action = {};
    action.sa_handler = remove_temporaries_and_end;
    sigfillset(&action.sa_mask);
    ::sigaction(signal_number, &action, nullptr);
  }
}

RegisteredTemporary::RegisteredTemporary(int folder_fd, const std::string& name) {
  if (name.size() >= kLongestName) return;
  for (int i = 0; i < kMaxRegistered; ++i) {
    Slot& slot = slots[i];
    if (slot.used) continue;
    slot.folder_fd = folder_fd;
    std::memcpy(slot.name, name.c_str(), name.size() + 1);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    slot.used = 1;
    slot_ = i;
    return;
  }
}

void RegisteredTemporary::release() {
  if (slot_ < 0) return;
  slots[slot_].used = 0;
  std::atomic_signal_fence(std::memory_order_seq_cst);
  slot_ = -1;
}

void remove_stale_temporaries(const std::filesystem::path& folder) {
  DIR* listing = ::opendir(folder.c_str());
  if (listing == nullptr) return;
  const int folder_fd = ::dirfd(listing);
  const ProcessId self = current_process();
  while (const dirent* entry = ::readdir(listing)) {
    const std::optional<ProcessId> owner = temporary_name_owner(entry->d_name);
    if (!owner || *owner == self || !process_is_gone(*owner)) continue;
    struct stat info;
    if (::fstatat(folder_fd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(info.st_mode)) {
      ::unlinkat(folder_fd, entry->d_name, 0);
    }
  }
  ::closedir(listing);
}

}  // namespace scenario
