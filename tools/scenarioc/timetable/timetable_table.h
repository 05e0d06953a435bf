// The timetable beside the fastest run, as `scenarioc timetable` shows it: a
// table of the sections with their totals, the same rows as CSV, or one JSON
// object with the sections and the run's speed at every 50 m.
#pragma once

#include <string>

#include "compiler/timetable/timetable_sections.h"

namespace scenario {

// One row per section (from, to, distance, scheduled, minimum, margin in
// seconds and in percent of the minimum, verdict), then the totals.
std::string timetable_text(const timetable::TimetableCheck& check);

// The sections' rows with a header line; no totals.
std::string timetable_csv(const timetable::TimetableCheck& check);

// {"sections": [...], "run": [...], "version": ...} on one line.
std::string timetable_json(const timetable::TimetableCheck& check);

// Whether a section of `check` cannot be kept.
bool any_section_cannot_be_kept(const timetable::TimetableCheck& check);

}  // namespace scenario
