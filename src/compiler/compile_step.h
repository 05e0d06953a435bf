// `memorizza_percorso`, the compile step: parse both sources, post-process the
// cells, stamp the header values and competition codes, write the compiled
// track plan, station table and route cells.
#pragma once

#include <string>
#include <vector>

#include "compiler/compile_options.h"
#include "compiler/compiled_file_sink.h"
#include "compiler/scenario_records.h"
#include "compiler/source_files.h"

namespace scenario {

struct CompileResult {
  int32_t fatal_error = 0;        // 1250 or 1251: `errore` must end the build
  bool cell_row_missing = false;  // the parse stopped before the route length
  std::vector<std::string> files_written;
  bool wrote_files() const { return !files_written.empty(); }
};

// Writes the track plan only under `options.track_plan`, and no file at all
// after a fatal error or when the parse left no cell row.
CompileResult memorizza_percorso(BuildContext& ctx, const CompileOptions& options,
                                 SourceFiles& sources, CompiledFileSink& sink);

}  // namespace scenario
