#include "tools/scenarioc/run_scenarioc.h"

#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "test_support.h"

namespace scenario::testing {
namespace {

std::string shell_quoted(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

}  // namespace

ToolRun run_scenarioc(const std::filesystem::path& folder, const std::vector<std::string>& args,
                      int seconds) {
  TempDir capture;
  std::string command = "cd " + shell_quoted(folder.string()) + " && timeout -k 5 " +
                        std::to_string(seconds) + " " + shell_quoted(SCENARIO_SCENARIOC);
  for (const std::string& arg : args) command += " " + shell_quoted(arg);
  command += " >" + shell_quoted((capture / "out").string()) + " 2>" +
             shell_quoted((capture / "err").string()) + " </dev/null";
  const int status = std::system(command.c_str());
  ToolRun run;
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = read_file(capture / "out");
  run.err = read_file(capture / "err");
  return run;
}

ToolRun run_scenarioc_on_terminal(const std::filesystem::path& folder,
                                  const std::vector<std::string>& args, const char* no_color) {
  std::vector<std::string> argv_text = {SCENARIO_SCENARIOC};
  argv_text.insert(argv_text.end(), args.begin(), args.end());
  std::vector<std::string> env_text = {"TERM=xterm"};
  if (no_color) env_text.push_back(std::string("NO_COLOR=") + no_color);
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    if (entry.rfind("TERM=", 0) != 0 && entry.rfind("NO_COLOR=", 0) != 0) env_text.push_back(entry);
  }
  // Everything the child needs is made before the fork: it only changes folder and execs.
  auto pointers = [](std::vector<std::string>& texts) {
    std::vector<char*> p;
    for (std::string& t : texts) p.push_back(t.data());
    p.push_back(nullptr);
    return p;
  };
  std::vector<char*> argv = pointers(argv_text);
  std::vector<char*> envp = pointers(env_text);
  const std::string where = folder.string();
  int terminal = -1;
  const pid_t pid = forkpty(&terminal, nullptr, nullptr, nullptr);
  ToolRun run;
  if (pid < 0) return run;
  if (pid == 0) {
    if (chdir(where.c_str()) == 0) execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  char buffer[4096];
  // Reading ends with EIO once the tool has exited and closed the terminal.
  for (ssize_t n; (n = read(terminal, buffer, sizeof buffer)) > 0;) run.out.append(buffer, n);
  close(terminal);
  int status = 0;
  waitpid(pid, &status, 0);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

bool has_line(const std::string& text, const std::string& line) {
  std::istringstream lines(text);
  for (std::string l; std::getline(lines, l);) {
    if (l == line) return true;
  }
  return false;
}

void copy_fixture(const std::string& name, const std::filesystem::path& folder) {
  for (const auto& entry : std::filesystem::directory_iterator(fixture_path(name))) {
    const std::string file = entry.path().filename().string();
    if (file.ends_with("_linea.txt") || file.ends_with("-.txt")) {
      std::filesystem::copy_file(entry.path(), folder / file);
    }
  }
}

}  // namespace scenario::testing
