#include "scenarioc/lsp/lsp_command.h"

#include "scenarioc/lsp/server.h"
#include "scenarioc/output/terminal.h"

namespace scenario {

int run_lsp(const CommandLine&, std::istream& in, std::ostream& out, std::ostream&) {
  // Content-Length counts bytes: no line end may be translated on the way.
  use_binary_standard_streams();
  lsp::Server server(in, out);
  return server.run();
}

}  // namespace scenario
