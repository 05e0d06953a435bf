// Temporary files beside the files they will replace: their short names, which
// carry the writing process's id; their removal when SIGTERM, SIGINT or SIGHUP
// ends the process; and the removal of those a dead process left behind
// (temporary_files.cc, temporary_files_posix.cc, temporary_files_win32.cc).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace scenario {

using ProcessId = uint32_t;
ProcessId current_process();

// ".~PID-N.tmp": short, so that a final name of up to 255 bytes can still have
// a temporary beside it; unique to this process by N.
std::string next_temporary_name();

// The process id a temporary name carries; none when `name` is not exactly of
// the form next_temporary_name() gives.
std::optional<ProcessId> temporary_name_owner(std::string_view name);

// Once at the start of a program: a file-size limit makes a write fail (and
// the failure names the file) instead of ending the process with SIGXFSZ,
// and SIGTERM, SIGINT and SIGHUP remove this process's temporary files before
// ending it as the signal would. Windows has none of these signals: there it
// does nothing, and the next run removes what an ended process left.
void install_signal_handling();

// What the handler of those signals does, for a handler of the program's own
// that ends the process after all: removes the registered temporary files,
// then ends the process as `signal_number` does. Async-signal-safe; Linux only.
void end_by_signal(int signal_number);

// A temporary file that a signal handler removes while it is registered: the
// folder, open for the *at calls, and the name in it (nothing on Windows). At most kMaxRegistered
// at once; further ones go unregistered (a process of this system has at most
// a handful). A name is registered before its file is created and released
// only once the file has taken its final name or been removed.
class RegisteredTemporary {
 public:
  static constexpr int kMaxRegistered = 16;
  RegisteredTemporary(int folder_fd, const std::string& name);
  ~RegisteredTemporary() { release(); }
  RegisteredTemporary(const RegisteredTemporary&) = delete;
  RegisteredTemporary& operator=(const RegisteredTemporary&) = delete;
  // The handler no longer removes the file.
  void release();

 private:
  int slot_ = -1;
};

// Removes the temporary files in `folder` whose process no longer exists.
// Only names exactly of the temporary form, only regular files; failures are
// ignored (another run may remove the same file first).
void remove_stale_temporaries(const std::filesystem::path& folder);

}  // namespace scenario
