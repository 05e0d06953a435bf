// One scenario of `scenarioc check`: compiled in memory, with the parse
// reading on past an error that ends a compile, and told as text or as one
// line of JSON. Nothing is written.
#pragma once

#include <string>

#include "scenarioc/check/scenario_finder.h"
#include "scenarioc/output/compile_report.h"

namespace scenario {

enum class CheckVerdict { ok, warnings, errors, failure };

struct ScenarioReport {
  std::string text;  // the diagnostics and the summary line, or one JSON line
  CheckVerdict verdict = CheckVerdict::ok;
  int status = 0;  // 0 ok or warnings only, 1 errors (or warnings under -Werror), 2 unreadable
};

// Never throws: a file that cannot be read becomes a failure in the report.
ScenarioReport check_scenario(const ScenarioFiles& scenario, const Presentation& presentation,
                              bool json);

}  // namespace scenario
