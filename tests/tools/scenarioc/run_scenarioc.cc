#include "tools/scenarioc/run_scenarioc.h"

#include <sys/wait.h>

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

bool has_line(const std::string& text, const std::string& line) {
  std::istringstream lines(text);
  for (std::string l; std::getline(lines, l);) {
    if (l == line) return true;
  }
  return false;
}

void copy_fixture(const std::string& name, const std::filesystem::path& folder) {
  for (const auto& entry : std::filesystem::directory_iterator(fixture_path(name))) {
    std::filesystem::copy_file(entry.path(), folder / entry.path().filename());
  }
}

}  // namespace scenario::testing
