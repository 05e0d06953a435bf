// `scenarioc compile`: compiles an author's line and train files with the
// build's own compile step, into a folder of the author's choice.
#pragma once

#include <istream>
#include <ostream>

#include "scenarioc/command_line.h"

namespace scenario {

// Returns the exit status; throws UsageFailure or RunTimeFailure.
int run_compile(const CommandLine& line, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace scenario
