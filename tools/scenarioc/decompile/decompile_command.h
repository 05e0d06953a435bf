// `scenarioc decompile`: turns a compiled set (track plan, station table,
// route cells) back into the line and train sources that compile to it.
#pragma once

#include <istream>
#include <ostream>

#include "scenarioc/command_line.h"

namespace scenario {

// Returns the exit status; throws UsageFailure or RunTimeFailure.
int run_decompile(const CommandLine& line, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace scenario
