// `scenarioc lsp`: the language server on the tool's standard input and output.
#pragma once

#include <istream>
#include <ostream>

#include "scenarioc/command_line.h"

namespace scenario {

// Serves until the editor's exit; 0 after shutdown, 1 otherwise.
int run_lsp(const CommandLine& line, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace scenario
