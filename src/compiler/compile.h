// One compile of a scenario, as every program, command, test and benchmark
// runs it: the identity, the options, the sources and the sink go in; the
// compiled records, their explanation trail and the result come out, in one
// object that the diagnostics, the report and what reads the records take.
#pragma once

#include "base/build_identity.h"
#include "compiler/compile_options.h"
#include "compiler/compile_step.h"
#include "compiler/compiled_file_sink.h"
#include "compiler/scenario_records.h"
#include "compiler/source_files.h"

namespace scenario {

// A compile of the scenario its identity names: the records (`percorso`,
// `tabella`, `tracciato`, ...), the explanation trail (`trail`), the options
// it was made with and how it ended. Made before the compile, so that what a
// compile recorded outlives a failure to write its files.
struct Compilation : BuildContext {
  explicit Compilation(const BuildIdentity& identity, CompileOptions options = {})
      : BuildContext{identity, {}, {}}, options(options) {}

  CompileOptions options;
  CompileResult result;
};

// Compiles `sources` into `compilation` by the compile step, the compiled
// files into `sink`. Throws RunTimeFailure when a file cannot be written or a
// source cannot be deleted; what was recorded until then stays in
// `compilation`, whose result then tells of no file written (and of a missing
// cell row where the parse left none).
void compile(Compilation& compilation, SourceFiles& sources, CompiledFileSink& sink);

}  // namespace scenario
