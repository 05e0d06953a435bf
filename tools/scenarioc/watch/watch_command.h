// `scenarioc watch`: compiles a scenario, then again each time one of its two
// sources changes, and keeps its report page up to date.
#pragma once

#include <ostream>

#include "scenarioc/command_line.h"

namespace scenario {

// Runs until Ctrl-C or SIGTERM; 0 then, 2 for a usage error or a folder that
// cannot be watched.
int run_watch(const CommandLine& line, std::ostream& out, std::ostream& err);

}  // namespace scenario
