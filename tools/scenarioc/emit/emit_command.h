// `scenarioc emit`: writes the built-in scenario's two source files and three
// documents, a starting point for a new scenario, without compiling them.
#pragma once

#include <istream>
#include <ostream>

#include "scenarioc/command_line.h"

namespace scenario {

// Returns the exit status; throws RunTimeFailure.
int run_emit(const CommandLine& line, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace scenario
