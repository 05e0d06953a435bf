// `scenarioc compile`: compiles an author's line and train files with the
// build's own compile step, into a folder of the author's choice.
#pragma once

#include <istream>
#include <optional>
#include <ostream>

#include "scenarioc/author_compile.h"
#include "scenarioc/command_line.h"
#include "scenarioc/scenario_inputs.h"

namespace scenario {

// Returns the exit status; throws UsageFailure or RunTimeFailure.
int run_compile(const CommandLine& line, std::istream& in, std::ostream& out, std::ostream& err);

// `scenarioc compile` of `scenario` as `line` asks for it: the files into the
// output folder, what the compile found and wrote told on `out` and `err`;
// returns the exit status. `compiled` keeps the compile for the caller (watch
// draws its page from it); it stays empty, or not has_compiled(), when the
// compile never ran.
int compile_scenario(const CommandLine& line, const ScenarioFiles& scenario,
                     std::optional<AuthorCompile>& compiled, std::ostream& out, std::ostream& err);

}  // namespace scenario
