// Runs velmora_dorsel or scenarioc as a child process in a folder of its own,
// under resource limits when asked, and compares what a folder holds before
// and after. Every run is bounded in time.
#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace scenario::testing {

// AddressSanitizer reserves terabytes of address space at start: a program
// built with it cannot run under a memory limit at all.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kAddressSanitizer = true;
#else
inline constexpr bool kAddressSanitizer = false;
#endif
#else
inline constexpr bool kAddressSanitizer = false;
#endif

// Exit statuses of the child itself, before the program runs.
inline constexpr int kCannotDropPrivileges = 125;
inline constexpr int kCannotStart = 126;

struct ChildLimits {
  rlim_t max_file_size = RLIM_INFINITY;       // RLIMIT_FSIZE; SIGXFSZ as a shell leaves it
  rlim_t max_data = RLIM_INFINITY;            // RLIMIT_DATA: heap and private mappings
  bool unprivileged = false;                  // as root, run as the user nobody
  std::vector<std::string> environment = {};  // NAME=VALUE, added to the child's
};

struct ProgramRun {
  int status = -1;  // the exit status; -1 when a signal ended the program
  int signal = 0;   // the signal that ended it, or 0
  std::string output;
};

// A program started and not yet collected.
struct StartedProgram {
  pid_t pid = -1;
  int output_fd = -1;  // both of its streams
};

// Starts `command` (a program installed in `folder`, then its arguments) with
// `folder` as the current folder and no DISPLAY.
StartedProgram start_in(const std::filesystem::path& folder, std::vector<std::string> command,
                        const ChildLimits& limits = {});
// Collects what it printed and how it ended; a program still running after
// `seconds` is killed (and then ended by SIGKILL).
ProgramRun finish(const StartedProgram& started, int seconds = 120);

ProgramRun run_in(const std::filesystem::path& folder, std::vector<std::string> command,
                  const ChildLimits& limits = {});
// velmora_dorsel, installed in `folder`.
ProgramRun run_program(const std::filesystem::path& folder, const ChildLimits& limits = {});

// Why an unprivileged run did not take place, or "" when it did.
std::string unprivileged_run_missing(const ProgramRun& run, const std::filesystem::path& folder);

// Everything in a folder, name to content; a folder shows as "<folder>".
using Snapshot = std::map<std::string, std::string>;
Snapshot snapshot(const std::filesystem::path& folder);

// The names whose content differs between two snapshots or that only one holds;
// a failing check then names files instead of printing megabytes.
std::vector<std::string> changed_files(const Snapshot& before, const Snapshot& after);

// Splits the output at line feeds.
std::vector<std::string> lines_of(const std::string& output);

// The names in `folder` of the temporary form, left by any process.
std::vector<std::string> temporary_files_in(const std::filesystem::path& folder);

// The built-in sources in folder/a, and in folder/b the same with a longer
// route, so that each of the three compiled files differs between them.
void write_two_scenarios(const std::filesystem::path& folder);
// `scenarioc compile` of the built-in scenario in folder `scenario` into `out`.
std::vector<std::string> compile_command(const std::string& scenario, const std::string& out);

}  // namespace scenario::testing
