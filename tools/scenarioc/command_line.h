// The command line of scenarioc: which command to run with which options, and
// the help texts that describe them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "scenarioc/output/colour.h"
#include "scenarioc/output/warning_settings.h"

namespace scenario {

enum class Command { compile, emit, dump, report, check, watch, lsp, decompile };

struct CommandLine {
  enum class Action { run, help, version, usage_error };
  Action action = Action::usage_error;
  std::optional<Command> command;  // for help: the command asked about, if any
  std::string error;               // for a usage error: what is wrong

  std::vector<std::string> files;  // the positional arguments
  std::optional<std::string> out_dir;
  std::optional<std::string> out_file;
  std::optional<std::string> report_file;  // watch: the report page to keep up to date
  std::optional<std::string> name;
  std::optional<std::string> train;
  std::optional<std::string> kind;
  bool json = false;
  bool all = false;
  bool points = false;
  bool force = false;
  ColourMode colour = ColourMode::automatic;
  std::optional<unsigned> jobs;  // how many scenarios check at once
  WarningSettings warnings;
};

CommandLine parse_command_line(const std::vector<std::string>& args);

// The help of the tool, or of one command.
std::string help_text(std::optional<Command> command);
std::string version_text();
// Two lines for the end of a usage error: the command's usage and where help is.
std::string usage_hint(std::optional<Command> command);

}  // namespace scenario
