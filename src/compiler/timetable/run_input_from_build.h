// Reads what the running-time calculation needs out of a compiled scenario:
// the cells' limits and line profile, the curves of the traced plan, the
// slowdowns as their cells hold them, the stations and the consist.
#pragma once

#include "compiler/scenario_records.h"
#include "compiler/timetable/run_input.h"

namespace scenario::timetable {

// Throws RunTimeFailure when the compile left no cell row. What the records
// no longer hold (a slowdown whose start cell a station mark replaced) is
// left out and named in the notes.
RunInput run_input_from(const BuildContext& ctx);

}  // namespace scenario::timetable
