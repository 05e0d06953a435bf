// `scenarioc documents`: compiles an author's line and train files in memory
// and writes the scenario's three crew documents (notes, slowdown order,
// train sheet), with what the sources do not hold taken from the details file.
#pragma once

#include <istream>
#include <ostream>

#include "scenarioc/command_line.h"

namespace scenario {

// Returns the exit status; throws UsageFailure or RunTimeFailure.
int run_documents(const CommandLine& line, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace scenario
