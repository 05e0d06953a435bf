// `scenarioc dump`: decodes a compiled file (track plan, station table or
// route cells) and shows it.
#pragma once

#include <ostream>

#include "scenarioc/command_line.h"

namespace scenario {

// Returns the exit status.
int run_dump(const CommandLine& line, std::ostream& out, std::ostream& err);

}  // namespace scenario
