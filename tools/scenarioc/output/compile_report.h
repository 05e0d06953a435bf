// What `scenarioc compile` and `scenarioc check` tell their user of one
// compile: the diagnostics of the recorded errors, of the warnings and of a
// fatal error, as text or as JSON, and the exit status.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>

#include "compiler/compile_step.h"
#include "compiler/scenario_records.h"
#include "compiler/source_files.h"
#include "scenarioc/output/json_text.h"
#include "scenarioc/output/source_excerpt.h"
#include "scenarioc/output/warning_settings.h"

namespace scenario {

struct CompileOutcome {
  const BuildContext& ctx;
  const CompileResult& result;
  const SourceFiles& sources;
  std::filesystem::path out_dir;
};

// How a run presents its diagnostics.
struct Presentation {
  WarningSettings warnings;
  bool colour = false;
};

// 0 nothing recorded (warnings aside), 1 errors recorded (files written) or
// warnings under -Werror, 2 nothing written.
int compile_exit_status(const CompileOutcome& outcome, const WarningSettings& warnings);

// The diagnostic of fatal error 1250 or 1251: which header slot was taken and by what.
std::string fatal_diagnostic(const CompileOutcome& outcome);

// Every recorded error and shown warning in the order of the sources, each
// with its source line, caret and notes; then the fatal error, if any, with
// the line of the record that took the header cell.
std::string diagnostics_text(const CompileOutcome& outcome, SourceLines& lines,
                             const Presentation& presentation);

// "scenarioc: 2 warnings", or under -Werror how many count as errors; empty
// when the run shows none.
std::string warnings_summary(const CompileOutcome& outcome, const WarningSettings& warnings);

// Diagnostics to `err`; the files written to `out`; the counts at the end.
void report_compile_text(const CompileOutcome& outcome, SourceLines& lines,
                         const Presentation& presentation, std::ostream& out, std::ostream& err);

// The compile state and every diagnostic: `nome`, `treno`, `codice_errore`,
// `posizione_errore`, `n`, `recordings`, `warnings`, `fatal_error` and
// `cell_row_missing`, added to the object `json`.
void add_outcome_fields(Json& json, const CompileOutcome& outcome, const WarningSettings& warnings);

// The outcome as one JSON object: the fields above and `files_written`,
// without the exit status.
Json compile_json(const CompileOutcome& outcome, const WarningSettings& warnings);

// Closes a compile's JSON object: `exit_status`, then `version`, always last.
void end_compile_json(Json& json, int exit_status);

// The whole outcome as one JSON object on `out`.
void report_compile_json(const CompileOutcome& outcome, const WarningSettings& warnings,
                         std::ostream& out);

}  // namespace scenario
