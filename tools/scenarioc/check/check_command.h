// `scenarioc check`: checks one scenario, or every scenario under folders,
// several at once, and tells every error and warning without writing anything.
#pragma once

#include <istream>
#include <ostream>

#include "scenarioc/command_line.h"

namespace scenario {

// Returns the exit status: 0 nothing wrong, 1 a scenario has an error (or a
// warning under -Werror), 2 a usage error or a file that cannot be read.
int run_check(const CommandLine& line, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace scenario
