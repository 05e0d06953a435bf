// Hover on a record: what the compiler made of it. Its position, cell and
// chainage, what the cell holds and the speed limit, gradient and adhesion in
// force there; for a signal its approach marks, for a station its marks.
#pragma once

#include <cstdint>
#include <string>

#include "scenarioc/lsp/scenario_analysis.h"

namespace scenario::lsp {

// Markdown for the record on line `line` (from 0) of source `which`; empty
// when that line holds no record the compiler read.
std::string hover_text(ScenarioAnalysis& analysis, SourceFile which, int64_t line);

}  // namespace scenario::lsp
