// `scenarioc watch`: compiles a scenario, then again each time one of its two
// sources changes, and keeps its report page up to date.
#pragma once

#include <istream>
#include <ostream>

#include "scenarioc/command_line.h"

namespace scenario {

// Runs until Ctrl-C or SIGTERM and returns 0 then; throws UsageFailure, or
// RunTimeFailure for a folder that cannot be watched.
int run_watch(const CommandLine& line, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace scenario
