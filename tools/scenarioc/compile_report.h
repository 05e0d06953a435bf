// What `scenarioc compile` tells its user: the diagnostics of the recorded
// errors and of a fatal error, as text or as one JSON object, and the exit status.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>

#include "compiler/compile_step.h"
#include "compiler/scenario_records.h"
#include "compiler/source_files.h"

namespace scenario {

struct CompileOutcome {
  const BuildContext& ctx;
  const CompileResult& result;
  const SourceFiles& sources;
  std::filesystem::path out_dir;
};

// 0 nothing recorded, 1 errors recorded (files written), 2 nothing written.
int compile_exit_status(const CompileOutcome& outcome);

// The diagnostic of fatal error 1250 or 1251: which header slot was taken and by what.
std::string fatal_diagnostic(const CompileOutcome& outcome);

// Diagnostics to `err` in the order recorded; the files written to `out`.
void report_compile_text(const CompileOutcome& outcome, std::ostream& out, std::ostream& err);

// The whole outcome as one JSON object on `out`.
void report_compile_json(const CompileOutcome& outcome, std::ostream& out);

}  // namespace scenario
