#include "driver/program_runs.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>

#include "base/file_naming.h"
#include "base/temporary_files.h"
#include "process_support.h"
#include "source/builtin_line.h"
#include "source/builtin_train.h"
#include "test_support.h"

extern char** environ;

namespace scenario::testing {
namespace {

namespace fs = std::filesystem;

// The environment without DISPLAY, so that no window opens.
std::vector<char*> environment_without_display() {
  std::vector<char*> env;
  for (char** e = environ; *e != nullptr; ++e) {
    if (std::strncmp(*e, "DISPLAY=", 8) != 0) env.push_back(*e);
  }
  env.push_back(nullptr);
  return env;
}

bool set_limit(int resource, rlim_t value) {
  if (value == RLIM_INFINITY) return true;
  const rlimit limit = {value, value};
  return ::setrlimit(resource, &limit) == 0;
}

// Only async-signal-safe calls between fork and exec. The signals a program
// handles start as a shell leaves them, whatever the test runner ignores.
[[noreturn]] void exec_child(const char* folder, char** argv, char** env, const ChildLimits& limits,
                             int output) {
  ::dup2(output, STDOUT_FILENO);
  ::dup2(output, STDERR_FILENO);
  for (int signal_number : {SIGXFSZ, SIGTERM, SIGINT, SIGHUP}) ::signal(signal_number, SIG_DFL);
  if (!set_limit(RLIMIT_FSIZE, limits.max_file_size) || !set_limit(RLIMIT_DATA, limits.max_data)) {
    ::_exit(kCannotStart);
  }
  if (limits.unprivileged && ::geteuid() == 0) {
    if (!become_nobody()) ::_exit(kCannotDropPrivileges);
  }
  if (::chdir(folder) != 0) ::_exit(kCannotStart);
  ::execve(argv[0], argv, env);
  ::_exit(kCannotStart);
}

}  // namespace

StartedProgram start_in(const fs::path& folder, std::vector<std::string> command,
                        const ChildLimits& limits) {
  const std::string where = folder.string();
  std::vector<char*> argv;
  for (std::string& word : command) argv.push_back(word.data());
  argv.push_back(nullptr);
  std::vector<char*> env = environment_without_display();
  std::vector<std::string> added = limits.environment;
  for (std::string& setting : added) env.insert(env.end() - 1, setting.data());
  StartedProgram started;
  int pipe_ends[2];
  if (::pipe2(pipe_ends, O_CLOEXEC) != 0) return started;
  started.pid = ::fork();
  if (started.pid == 0) exec_child(where.c_str(), argv.data(), env.data(), limits, pipe_ends[1]);
  ::close(pipe_ends[1]);
  started.output_fd = pipe_ends[0];
  return started;
}

ProgramRun finish(const StartedProgram& started, int seconds) {
  ProgramRun run;
  if (started.pid <= 0) return run;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  char buffer[4096];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd ready = {started.output_fd, POLLIN, 0};
    const int polled = ::poll(&ready, 1, static_cast<int>(std::max<int64_t>(left.count(), 0)));
    if (polled == 0) {
      ::kill(started.pid, SIGKILL);
      break;
    }
    if (polled < 0 && errno == EINTR) continue;
    const ssize_t n = ::read(started.output_fd, buffer, sizeof buffer);
    if (n > 0) run.output.append(buffer, static_cast<size_t>(n));
    if (n == 0 || (n < 0 && errno != EINTR)) break;
  }
  ::close(started.output_fd);
  int status = 0;
  if (::waitpid(started.pid, &status, 0) == started.pid) {
    if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
  }
  return run;
}

ProgramRun run_in(const fs::path& folder, std::vector<std::string> command,
                  const ChildLimits& limits) {
  return finish(start_in(folder, std::move(command), limits));
}

ProgramRun run_program(const fs::path& folder, const ChildLimits& limits) {
  return run_in(folder, {"./velmora_dorsel"}, limits);
}

std::string unprivileged_run_missing(const ProgramRun& run, const fs::path& folder) {
  if (run.status == kCannotDropPrivileges) {
    return "running as root and the test cannot switch to the user nobody";
  }
  if (run.status == kCannotStart) return "the user nobody cannot reach " + folder.string();
  return "";
}

Snapshot snapshot(const fs::path& folder) {
  Snapshot files;
  for (const std::string& name : list_folder(folder)) {
    files[name] = fs::is_directory(folder / name) ? "<folder>" : read_file(folder / name);
  }
  return files;
}

std::vector<std::string> changed_files(const Snapshot& before, const Snapshot& after) {
  std::vector<std::string> names;
  for (const auto& [name, content] : before) {
    const auto found = after.find(name);
    if (found == after.end() || found->second != content) names.push_back(name);
  }
  for (const auto& [name, content] : after) {
    if (before.count(name) == 0) names.push_back(name);
  }
  return names;
}

std::vector<std::string> lines_of(const std::string& output) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = output.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(output.substr(start, end - start));
  }
  if (start < output.size()) lines.push_back(output.substr(start));
  return lines;
}

std::vector<std::string> temporary_files_in(const fs::path& folder) {
  std::vector<std::string> names;
  for (const std::string& name : list_folder(folder)) {
    if (temporary_name_owner(name)) names.push_back(name);
  }
  return names;
}

// The built-in sources in folder/a, and in folder/b the same with a longer
// route, so that each of the three compiled files differs between them.
void write_two_scenarios(const std::filesystem::path& folder) {
  const std::string nome(kBuiltinNome);
  for (const char* name : {"a", "b"}) {
    BuildIdentity ctx = builtin_identity(folder / name);
    std::filesystem::create_directory(ctx.cartella);
    dati_linea(ctx);
    dati_treno(ctx);
  }
  const std::filesystem::path longer = folder / "b" / line_source_name(nome);
  std::string text = read_file(longer);
  text.replace(text.find("243000"), 6, "243500");
  write_file(longer, text);
}

std::vector<std::string> compile_command(const std::string& scenario, const std::string& out) {
  const std::string nome(kBuiltinNome), treno(kBuiltinTreno);
  return {"./scenarioc",
          "compile",
          scenario + "/" + line_source_name(nome),
          scenario + "/" + train_source_name(nome, treno),
          "-o",
          out};
}

}  // namespace scenario::testing
