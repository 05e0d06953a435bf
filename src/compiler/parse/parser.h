// `memorizza_dati`, the parser of the scenario source: reads the line source
// and then the train source into the build context, has the stampers place
// the objects, traces the track plan and deletes the sources it has read.
#pragma once

#include "compiler/compile_options.h"
#include "compiler/scenario_records.h"
#include "compiler/source_files.h"

namespace scenario {

// Always returns normally: every problem is recorded in the context. A
// run-time failure while parsing becomes error 25 (the failure trap).
// `options` tell whether the track plan is traced and whether this is a check.
void memorizza_dati(BuildContext& ctx, SourceFiles& sources, const CompileOptions& options);

}  // namespace scenario
