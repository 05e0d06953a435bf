#include "compiler/compile.h"

#include "base/run_time_failure.h"
#include "compiler/diagnostics/cross_file_checks.h"
#include "compiler/timetable/timetable_warnings.h"

namespace scenario {

void compile(Compilation& compilation, SourceFiles& sources, CompiledFileSink& sink) {
  compilation.result = {};
  try {
    compilation.result = memorizza_percorso(compilation, compilation.options, sources, sink);
    check_across_files(compilation, compilation.options.read_past_errors);
    if (compilation.options.timetable) {
      timetable::add_timetable_warnings(compilation, *compilation.options.timetable);
    }
  } catch (const RunTimeFailure&) {
    compilation.result.cell_row_missing = !compilation.has_cell_row();
    throw;
  }
}

}  // namespace scenario
