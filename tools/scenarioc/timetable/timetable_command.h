// `scenarioc timetable`: compiles a scenario in memory and sets its timetable
// beside the fastest run of the train, section by section.
#pragma once

#include <istream>
#include <ostream>

#include "scenarioc/command_line.h"

namespace scenario {

// Returns the exit status (1 when a section cannot be kept); throws
// UsageFailure or RunTimeFailure.
int run_timetable(const CommandLine& line, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace scenario
