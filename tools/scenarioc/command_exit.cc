#include "scenarioc/command_exit.h"

#include <string>

#include "base/run_time_failure.h"
#include "base/text_encoding.h"
#include "scenarioc/command_line.h"
#include "scenarioc/commands.h"

namespace scenario {

int usage_failure(std::ostream& err, std::string_view who, std::string_view error,
                  const CommandSpec* command) {
  err << who << ": " << printable_from_native(error) << '\n' << usage_hint(command);
  return kExitFailure;
}

int run_command(const CommandLine& line, std::istream& in, std::ostream& out, std::ostream& err) {
  return run_reporting_failure(*line.command, err,
                               [&] { return line.command->run(line, in, out, err); });
}

int run_reporting_failure(const CommandSpec& command, std::ostream& err,
                          const std::function<int()>& work) {
  try {
    return work();
  } catch (const UsageFailure& failure) {
    return usage_failure(err, "scenarioc " + std::string(command.name), failure.what(), &command);
  } catch (const RunTimeFailure& failure) {
    // A failure's message may name a file, whose name may hold any byte.
    err << "scenarioc: " << printable_from_native(failure.what()) << '\n';
    return kExitFailure;
  }
}

}  // namespace scenario
