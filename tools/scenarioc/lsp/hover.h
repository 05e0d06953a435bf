// Hover on a record: what the compiler made of it. Its position, cell and
// chainage, what the cell holds and the speed limit, gradient and adhesion in
// force there; for a signal its approach marks, for a station its marks.
// Scenario text (names, board texts) is escaped, so that the editor shows it
// as it is and never as a link, an image or HTML.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "scenarioc/lsp/scenario_analysis.h"

namespace scenario::lsp {

// Markdown for the record on line `line` (from 0) of source `which`; empty
// when that line holds no record the compiler read.
std::string hover_text(ScenarioAnalysis& analysis, SourceFile which, int64_t line);

// `text` as Markdown that shows it as it is: every ASCII punctuation character
// escaped with a backslash, which also breaks up any bare web address.
std::string markdown_text(std::string_view text);

}  // namespace scenario::lsp
