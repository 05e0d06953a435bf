// scenarioc, the authoring tool: reads its command line, runs one command and
// returns that command's exit status.
#include "scenarioc/main.h"

#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "scenarioc/command_exit.h"
#include "scenarioc/command_line.h"
#include "scenarioc/commands.h"

int scenario::scenarioc_main(const std::vector<std::string>& args) {
  const CommandLine line = parse_command_line(args);
  switch (line.action) {
    case CommandLine::Action::help:
      std::cout << help_text(line.command);
      return kExitOk;
    case CommandLine::Action::version:
      std::cout << version_text();
      return kExitOk;
    case CommandLine::Action::usage_error:
      return usage_failure(std::cerr, "scenarioc", line.error, line.command);
    case CommandLine::Action::run:
      break;
  }
  // Out of memory ends a command as a file failure does: one line, status 2,
  // and every temporary file it wrote removed on the way out.
  try {
    return run_command(line, std::cin, std::cout, std::cerr);
  } catch (const std::bad_alloc&) {
    std::cout << std::flush;
    std::cerr << "scenarioc: out of memory\n";
    return kExitFailure;
  }
}
