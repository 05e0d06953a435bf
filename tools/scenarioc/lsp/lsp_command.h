// `scenarioc lsp`: the language server on the tool's standard input and output.
#pragma once

#include <istream>
#include <ostream>

namespace scenario {

// Serves until the editor's exit; 0 after shutdown, 1 otherwise.
int run_lsp(std::istream& in, std::ostream& out);

}  // namespace scenario
