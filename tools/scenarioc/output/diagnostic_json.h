// Recorded errors, warnings and notes as JSON objects for --json: each has the
// same fields, `number`, `position`, `file`, `line`, `column`, `message`,
// `diagnostic`, `severity` and `name`; an error adds `after_stop`, an error or
// a warning its `notes`.
#pragma once

#include "compiler/diagnostics/recorded_errors.h"
#include "compiler/diagnostics/warnings.h"
#include "compiler/source_files.h"
#include "scenarioc/output/json_text.h"

namespace scenario {

Json error_json(const Recording& recording, const SourceFiles& sources);

// Under -Werror a warning's severity is "error".
Json warning_json(const Warning& warning, bool as_error, const SourceFiles& sources);

}  // namespace scenario
