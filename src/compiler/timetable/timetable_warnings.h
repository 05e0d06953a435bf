// The timetable's warnings: each section set beside the fastest run of the
// train, after a compile that recorded no error. A section scheduled in less
// time than the train needs (running-time), and a section or the whole run
// that leaves less recovery margin than recommended (recovery-margin), each at
// the line of the station whose time is too early; the whole run only when
// every section is kept.
#pragma once

#include "compiler/scenario_records.h"
#include "compiler/timetable/train_model.h"

namespace scenario::timetable {

// Appends the warnings to `ctx.trail.warnings`; gives none when the compile
// recorded an error or the run cannot be made (the timetable command tells why).
void add_timetable_warnings(BuildContext& ctx, const TrainModel& model);

}  // namespace scenario::timetable
