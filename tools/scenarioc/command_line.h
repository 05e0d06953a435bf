// The command line of scenarioc read against the table of commands: which
// command to run with which options, or help, the version or a usage error.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "scenarioc/output/colour.h"
#include "scenarioc/output/warning_settings.h"

namespace scenario {

struct CommandSpec;

struct CommandLine {
  enum class Action { run, help, version, usage_error };
  Action action = Action::usage_error;
  const CommandSpec* command = nullptr;  // for help: the command asked about, if any
  std::string error;                     // for a usage error: what is wrong

  std::vector<std::string> files;  // the positional arguments
  std::optional<std::string> out_dir;
  std::optional<std::string> out_file;
  std::optional<std::string> report_file;   // watch: the report page to keep up to date
  std::optional<std::string> details_file;  // the crew documents' details (--details)
  std::optional<std::string> name;
  std::optional<std::string> train;
  std::optional<std::string> kind;
  std::optional<std::string> model;  // timetable: the train-model file
  bool json = false;
  bool csv = false;
  bool all = false;
  bool points = false;
  bool force = false;
  bool documents = false;  // compile, watch: the crew documents too
  ColourMode colour = ColourMode::automatic;
  std::optional<unsigned> jobs;  // how many scenarios check at once
  WarningSettings warnings;
};

CommandLine parse_command_line(const std::vector<std::string>& args);

}  // namespace scenario
