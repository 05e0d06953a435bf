// Runs the built scenarioc binary in a folder and keeps what it printed.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace scenario::testing {

struct ToolRun {
  int status = -1;  // the exit status, or -1 when the tool did not exit normally
  std::string out;
  std::string err;
};

// Runs `scenarioc ARGS...` with `folder` as the current folder. A run that
// takes longer than `seconds` is ended, and its status is then 124.
ToolRun run_scenarioc(const std::filesystem::path& folder, const std::vector<std::string>& args,
                      int seconds = 300);

// Runs `scenarioc ARGS...` in `folder` with a terminal for its stdout and
// stderr (both arrive in `out`), and `NO_COLOR` set to `no_color` unless null.
ToolRun run_scenarioc_on_terminal(const std::filesystem::path& folder,
                                  const std::vector<std::string>& args, const char* no_color);

// Whether `text` holds `line` as one whole line.
bool has_line(const std::string& text, const std::string& line);

// Copies the source files of a fixture folder (its line and train files, not
// its golden files) into `folder`.
void copy_fixture(const std::string& name, const std::filesystem::path& folder);

}  // namespace scenario::testing
