#include "scenarioc/lsp/lsp_command.h"

#include <iostream>

#include "scenarioc/lsp/server.h"
#include "scenarioc/lsp/standard_input.h"
#include "scenarioc/output/terminal.h"

namespace scenario {

int run_lsp(const CommandLine&, std::istream& in, std::ostream& out, std::ostream&) {
  // Content-Length counts bytes: no line end may be translated on the way.
  use_binary_standard_streams();
  if (in.rdbuf() != std::cin.rdbuf()) return lsp::Server(in, out).run();
  // The standard input read directly, so that the server can tell whether
  // more messages wait in it.
  lsp::StandardInput buffer;
  std::istream standard(&buffer);
  return lsp::Server(standard, out).run();
}

}  // namespace scenario
