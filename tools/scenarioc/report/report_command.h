// `scenarioc report`: compiles an author's line and train files in memory and
// writes the scenario as one self-contained HTML page.
#pragma once

#include <istream>
#include <ostream>
#include <string>

#include "scenarioc/author_compile.h"
#include "scenarioc/command_line.h"

namespace scenario {

// Returns the exit status; throws UsageFailure or RunTimeFailure.
int run_report(const CommandLine& line, std::istream& in, std::ostream& out, std::ostream& err);

// The page of a compile of `scenario`, as `report` draws it, printing nothing.
std::string draw_report_page(const AuthorCompile& compiled, const ScenarioFiles& scenario);

}  // namespace scenario
