// How a command of scenarioc ends: the exit statuses every command shares, the
// usage failure a command throws, and the one place where a failure that ends
// a command is reported.
#pragma once

#include <functional>
#include <istream>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace scenario {

struct CommandLine;
struct CommandSpec;

enum ExitStatus : int {
  kExitOk = 0,        // nothing to report (warnings aside)
  kExitRecorded = 1,  // errors recorded, or warnings shown under -Werror
  kExitFailure = 2,   // a usage error, a fatal error, or a file that cannot be read or written
};

// A command line that only the command can see is wrong (a name that cannot
// be told, an output that would replace a source); reported with the command's
// usage.
class UsageFailure : public std::runtime_error {
 public:
  explicit UsageFailure(const std::string& what) : std::runtime_error(what) {}
};

// Writes "WHO: ERROR" and the usage of `command` (the tool's when null) to
// `err`; returns kExitFailure.
int usage_failure(std::ostream& err, std::string_view who, std::string_view error,
                  const CommandSpec* command);

// Runs the command of `line` and returns its exit status. A UsageFailure is
// reported as "scenarioc COMMAND: ..." with the command's usage, a
// RunTimeFailure as "scenarioc: ..."; both end it with kExitFailure.
int run_command(const CommandLine& line, std::istream& in, std::ostream& out, std::ostream& err);

// Runs `work`, the work of `command`, and reports a failure that ends it as
// run_command does; returns the work's exit status or kExitFailure.
int run_reporting_failure(const CommandSpec& command, std::ostream& err,
                          const std::function<int()>& work);

}  // namespace scenario
