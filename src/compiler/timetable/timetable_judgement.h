// Whether a section of a timetable can be kept, and whether it leaves the
// recovery margin recommended for passenger trains.
#pragma once

#include "compiler/timetable/timetable_sections.h"

namespace scenario::timetable {

enum class Verdict {
  kept,                      // the margin reaches the recommended recovery margin
  short_of_recovery_margin,  // keepable, with less margin than recommended
  cannot_be_kept,            // scheduled in less time than the fastest run needs
};

bool cannot_be_kept(const Section& section);

// The recovery margin recommended for a locomotive-hauled passenger train over
// the section: a share of its running time by the highest speed allowed in it,
// plus a time per 100 km. docs/timetable.md gives the figures and their source.
double recommended_recovery_margin_s(const Section& section);
// The share alone, in percent, for a highest speed in km/h.
double recovery_margin_percent(double highest_limit_kmh);

Verdict judge(const Section& section);

// "kept", "short of recovery margin", "cannot be kept".
const char* verdict_name(Verdict verdict);

}  // namespace scenario::timetable
