// The checks that need the whole scenario, made once the compile is done: the
// train file set against the line file (speed limits against the boards,
// stations against mountain stretches, slowdowns against stations and one
// another) and a file whose positions mostly lie beyond the route. Each adds a
// warning at the record concerned; none changes a compiled byte or the error state.
#pragma once

#include "compiler/diagnostics/warnings.h"
#include "compiler/scenario_records.h"

namespace scenario {

// A check (`read_past_errors`) lists the errors 15 it read past in a file
// written for another line as the one warning that says so.
void check_across_files(BuildContext& ctx, bool read_past_errors);

// Whether these checks give warnings of this kind. Such a warning is judged on
// every record read, so a check that reads past an error can find one that the
// compile, stopped at the error, did not, or miss one that it did.
bool judged_across_files(WarningClass kind);

}  // namespace scenario
