// `scenarioc dump`: decodes a compiled file (track plan, station table or
// route cells) and shows it.
#pragma once

#include <istream>
#include <ostream>

#include "scenarioc/command_line.h"

namespace scenario {

// Returns the exit status; throws UsageFailure or RunTimeFailure.
int run_dump(const CommandLine& line, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace scenario
