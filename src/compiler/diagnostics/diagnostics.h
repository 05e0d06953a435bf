// Plain-English diagnostics, in the form compilers use: FILE:LINE:COL: error
// N: message. The one place that explains every error number, recorded or
// fatal, and every reason a recording gives.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "compiler/diagnostics/recorded_errors.h"
#include "compiler/scenario_records.h"
#include "compiler/source_files.h"

namespace scenario {

// An object kind in the words an author uses, its noun in object_kinds.h:
// "speed-indicator board" for kind 6; "kind N" for a code no rule produces.
std::string occupant_name(uint8_t oggetto);

// "a signal", "an indication board".
std::string with_article(const std::string& noun);

// A placed object as its record put it: "the speed-indicator board at 700 m",
// "the stop mark of the station at 6900 m".
std::string placed_object(const BuildContext& ctx, const Placement& placement);
// The note that points at the record: "the speed-indicator board at 700 m placed here".
std::string placed_here(const BuildContext& ctx, const Placement& placement);

// What went wrong, with the position in metres where there is one.
std::string describe(const Recording& recording);

// One line: the source location where known, the number and `describe`.
std::string format_diagnostic(const Recording& recording, const SourceFiles& sources);

// Fatal error 1250 or 1251: which header slot was taken and by what. `file` is
// the source whose object took it; none when the station table's entry did.
// `where` is the record that placed that object, where it is known.
struct FatalExplanation {
  SourceFile file = SourceFile::none;
  std::string text;
  SourceLocation where;
};
FatalExplanation explain_fatal(const BuildContext& ctx, int32_t numero);

// "FILE: error N: what was taken; no compiled file was written", `program`
// standing in for the file when no source is to blame.
std::string format_fatal_diagnostic(const BuildContext& ctx, int32_t numero,
                                    const SourceFiles& sources, std::string_view program);

// Why a compile left no cell row (no route-length record was read).
std::string cell_row_missing_reason(const BuildContext& ctx);

}  // namespace scenario
