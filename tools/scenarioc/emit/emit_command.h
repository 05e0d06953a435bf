// `scenarioc emit`: writes the built-in scenario's two source files and three
// documents, a starting point for a new scenario, without compiling them.
#pragma once

#include <ostream>

#include "scenarioc/command_line.h"

namespace scenario {

// Returns the exit status.
int run_emit(const CommandLine& line, std::ostream& out, std::ostream& err);

}  // namespace scenario
