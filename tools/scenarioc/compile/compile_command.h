// `scenarioc compile`: compiles an author's line and train files with the
// build's own compile step, into a folder of the author's choice.
#pragma once

#include <ostream>

#include "scenarioc/command_line.h"

namespace scenario {

// Returns the exit status.
int run_compile(const CommandLine& line, std::ostream& out, std::ostream& err);

}  // namespace scenario
