// scenarioc, the authoring tool: reads its command line, runs one command and
// returns that command's exit status.
#include "scenarioc/main.h"

#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "scenarioc/check/check_command.h"
#include "scenarioc/command_line.h"
#include "scenarioc/compile/compile_command.h"
#include "scenarioc/decompile/decompile_command.h"
#include "scenarioc/dump/dump_command.h"
#include "scenarioc/emit/emit_command.h"
#include "scenarioc/lsp/lsp_command.h"
#include "scenarioc/report/report_command.h"
#include "scenarioc/watch/watch_command.h"

namespace {

constexpr int kUsageError = 2;
constexpr int kFailure = 2;

// Out of memory ends a command as a file failure does: one line, status 2,
// and every temporary file it wrote removed on the way out.
int run(const scenario::CommandLine& line) {
  using scenario::Command;
  try {
    switch (*line.command) {
      case Command::compile:
        return scenario::run_compile(line, std::cout, std::cerr);
      case Command::emit:
        return scenario::run_emit(line, std::cout, std::cerr);
      case Command::dump:
        return scenario::run_dump(line, std::cout, std::cerr);
      case Command::report:
        return scenario::run_report(line, std::cout, std::cerr);
      case Command::check:
        return scenario::run_check(line, std::cout, std::cerr);
      case Command::watch:
        return scenario::run_watch(line, std::cout, std::cerr);
      case Command::lsp:
        return scenario::run_lsp(std::cin, std::cout);
      case Command::decompile:
        return scenario::run_decompile(line, std::cout, std::cerr);
    }
  } catch (const std::bad_alloc&) {
    std::cout << std::flush;
    std::cerr << "scenarioc: out of memory\n";
    return kFailure;
  }
  return kUsageError;
}

}  // namespace

int scenario::scenarioc_main(const std::vector<std::string>& args) {
  const scenario::CommandLine line = scenario::parse_command_line(args);
  switch (line.action) {
    case scenario::CommandLine::Action::help:
      std::cout << scenario::help_text(line.command);
      return 0;
    case scenario::CommandLine::Action::version:
      std::cout << scenario::version_text();
      return 0;
    case scenario::CommandLine::Action::usage_error:
      std::cerr << "scenarioc: " << line.error << '\n' << scenario::usage_hint(line.command);
      return kUsageError;
    case scenario::CommandLine::Action::run:
      break;
  }
  return run(line);
}
