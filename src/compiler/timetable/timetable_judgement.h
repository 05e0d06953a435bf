// Whether a timetable can be kept, and whether it leaves the recovery margin
// recommended for passenger trains: the share of the running time by the
// train's top speed in each section, and besides it a time per 100 km over
// the whole run (docs/timetable.md gives the figures and their source).
#pragma once

#include "compiler/timetable/timetable_sections.h"

namespace scenario::timetable {

enum class Verdict {
  kept,                      // the margin reaches the recommended recovery margin
  short_of_recovery_margin,  // keepable, with less margin than recommended
  cannot_be_kept,            // scheduled in less time than the fastest run needs
};

bool cannot_be_kept(const Section& section);

// The share of the running time kept as recovery margin, in percent, for a
// train whose highest speed is `top_speed_kmh`.
double recovery_margin_percent(double top_speed_kmh);

// The margin a section should leave: the share of its running time. It is
// spread evenly over the run, so every section owes its own.
double recommended_section_margin_s(const Section& section, double top_speed_kmh);

// The margin the whole run should leave (`whole` from the first timed station
// to the last): the share of its running time and, on a run longer than
// 30 km, 1.5 min per 100 km, which may lie anywhere along it.
double recommended_run_margin_s(const Section& whole, double top_speed_kmh);
// The time per 100 km alone, 0 on a run of 30 km or less.
double distance_margin_s(double distance_m);

Verdict judge(const Section& section, double top_speed_kmh);
// The whole run: short of its margin, or kept (a section that cannot be kept
// is told by its own verdict).
Verdict judge_run(const Section& whole, double top_speed_kmh);

// "kept", "short of recovery margin", "cannot be kept".
const char* verdict_name(Verdict verdict);

}  // namespace scenario::timetable
