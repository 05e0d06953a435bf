// The compiler's diagnostics of a scenario as the protocol publishes them:
// errors and warnings with the command line's messages, each at its field;
// code, the error's number or the warning's name; notes with a place as
// related information, the others at the end of the message.
#pragma once

#include <vector>

#include "scenarioc/lsp/editor_text.h"
#include "scenarioc/lsp/scenario_analysis.h"
#include "scenarioc/lsp/workspace.h"

namespace scenario::lsp {

// One list for each of the scenario's two sources.
std::vector<Publication> diagnostics_of(const ScenarioAnalysis& analysis);

// go-to-definition: the places the notes name of the diagnostics that stand
// on line `line` (from 0) of source `which`; an empty array when none do.
Json note_locations(const ScenarioAnalysis& analysis, SourceFile which, int64_t line);

}  // namespace scenario::lsp
