// Plain-English diagnostics for recorded errors, in the form compilers use:
// FILE:LINE:COL: error N: message.
#pragma once

#include <cstdint>
#include <string>

#include "compiler/recorded_errors.h"
#include "compiler/scenario_records.h"
#include "compiler/source_files.h"

namespace scenario {

// An object kind in the words an author uses: "speed-indicator board" for kind 6.
std::string occupant_name(uint8_t oggetto);

// What went wrong, with the position in metres where there is one.
std::string describe(const Recording& recording);

// One line: the source location where known, the number and `describe`.
std::string format_diagnostic(const Recording& recording, const SourceFiles& sources);

// Why a compile left no cell row (no route-length record was read).
std::string cell_row_missing_reason(const BuildContext& ctx);

}  // namespace scenario
