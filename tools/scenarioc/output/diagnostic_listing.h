// The diagnostics of one compile as the tool shows them: the recorded errors
// and the warnings the run shows, in the order of the sources, each headed by
// its FILE:LINE:COL line and followed by its source line, its caret and its
// notes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "compiler/scenario_records.h"
#include "compiler/source_files.h"
#include "scenarioc/output/colour.h"
#include "scenarioc/output/source_excerpt.h"
#include "scenarioc/output/warning_settings.h"

namespace scenario {

// One diagnostic: exactly one of the two is set.
struct ListedDiagnostic {
  const Recording* error = nullptr;
  const Warning* warning = nullptr;
};

// The recordings in the order recorded and the shown warnings in the order
// found, merged so that a warning comes before the first error that does not
// lie before it in the sources: at the same place, the warning says how the
// text was read, which is often why the error arose.
std::vector<ListedDiagnostic> diagnostics_in_order(const ExplanationTrail& trail,
                                                   const WarningSettings& settings);

// How many warnings the run shows.
size_t shown_warnings(const ExplanationTrail& trail, const WarningSettings& settings);

// The mark of an error found after the point where the compile stopped.
constexpr const char* kAfterStopMark = " (found after the point where the compile stopped)";

// The first line of a diagnostic, without colour: "FILE:LINE:COL: error N:
// ...", "FILE:LINE:COL: warning: ... [-WNAME]" (under -Werror "error: ...
// [-Werror=NAME]") or "FILE:LINE:COL: note: ...".
std::string headline(const Recording& recording, const SourceFiles& sources);
std::string headline(const Warning& warning, bool as_error, const SourceFiles& sources);
std::string headline(const Note& note, const SourceFiles& sources);

// Renders diagnostics as text, in colour or not, with the source lines that
// `lines` reads.
class DiagnosticPrinter {
 public:
  DiagnosticPrinter(const SourceFiles& sources, SourceLines& lines, bool colour,
                    bool warnings_as_errors)
      : sources_(sources), lines_(lines), painter_(colour), as_errors_(warnings_as_errors) {}

  // The headline, the source line and caret, then each note in the same form.
  std::string print(const ListedDiagnostic& diagnostic);
  // A line the compiler words as "FILE:LINE:COL: error N: ..." for `where`,
  // coloured, and the source line under it.
  std::string print_error_line(const std::string& plain, const SourceLocation& where);

 private:
  std::string print_error(const Recording& recording);
  std::string print_warning(const Warning& warning);
  std::string print_note(const Note& note);
  std::string excerpt(const SourceLocation& where);
  std::string painted_locus(const SourceLocation& where);

  const SourceFiles& sources_;
  SourceLines& lines_;
  Painter painter_;
  bool as_errors_;
};

}  // namespace scenario
