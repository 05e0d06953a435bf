// The commands of scenarioc, one row each in one table: the command's name,
// the files and options it takes, its help and the function that runs it. The
// parsing of the command line, the help, the usage errors and the dispatch all
// read the table; adding a command is adding a row (commands.cc) and writing
// the row's run function.
#pragma once

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

struct CommandLine;

// An option of a command: its names, and what it does with its value.
struct OptionSpec {
  std::string_view name;        // "--name"
  std::string_view alias;       // a one-letter form such as "-o", or empty
  std::string_view value_name;  // the value as the help calls it ("DIR"); empty: it takes none
  // Stores the value in `line`; returns what is wrong with it, empty when it was taken.
  std::string (*apply)(CommandLine& line, const std::string& value);

  bool takes_value() const { return !value_name.empty(); }
};

// Runs a command: returns its exit status (command_exit.h), or throws
// UsageFailure or RunTimeFailure for run_command to report.
using CommandRun = int (*)(const CommandLine& line, std::istream& in, std::ostream& out,
                           std::ostream& err);

constexpr size_t kAnyNumber = static_cast<size_t>(-1);

struct CommandSpec {
  std::string_view name = {};
  std::string_view operands = {};  // the file names it takes, as its usage shows them
  size_t min_operands = 0;
  size_t max_operands = 0;
  bool warning_flags = false;  // takes -Werror, -Wno-NAME and -WNAME
  std::vector<OptionSpec> options = {};
  // Its line in the tool's usage, after "scenarioc NAME"; a "\n" continues it
  // on a line of its own.
  std::string_view synopsis = {};
  // What it does, in the tool's list of commands; a "\n" as in `synopsis`.
  std::string_view summary = {};
  // Its help: `help`, then the warning options when it takes them, then `help_end`.
  std::string_view help = {};
  std::string_view help_end = {};
  CommandRun run = nullptr;
};

// Every command, in the order of the tool's help.
const std::vector<CommandSpec>& commands();

// The command called `name`; null when there is none.
const CommandSpec* find_command(std::string_view name);

// The help of one command, or of the tool when `command` is null.
std::string help_text(const CommandSpec* command);
std::string version_text();
// Two lines for the end of a usage error: the command's usage and where help is.
std::string usage_hint(const CommandSpec* command);

}  // namespace scenario
