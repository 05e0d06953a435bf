// The timetable set beside the fastest run: one section between each two
// consecutive timed stations, with the scheduled time, the least time the
// train needs and the margin between them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/timetable/run_input.h"
#include "compiler/timetable/running_time.h"
#include "compiler/timetable/train_model.h"

namespace scenario::timetable {

constexpr int32_t kSecondsPerDay = 86400;

// A timed station's time is its departure where the train leaves it (the
// origin, a stop, a station passed at its time) and its arrival at the terminus.
struct Section {
  int32_t from = 0;  // indices into RunInput::stations
  int32_t to = 0;
  std::string from_name;
  std::string to_name;
  double distance_m = 0;
  int32_t scheduled_s = 0;
  double minimum_s = 0;          // the fastest run between the two times, stops included
  double dwell_s = 0;            // the stops inside it, and at `to` when the train leaves it
  double running_s = 0;          // minimum_s less dwell_s
  double margin_s = 0;           // scheduled_s - minimum_s
  double margin_percent = 0;     // margin_s as a percentage of minimum_s
  double highest_limit_kmh = 0;  // the highest speed the limits allow in it
};

// Seconds from one time of day to a later one, past midnight if need be.
int32_t seconds_between(int32_t from_s, int32_t to_s);

std::vector<Section> timetable_sections(const RunInput& input, const RunResult& run);

// The sections as one, from the first's start to the last's end: the times
// and distances summed. Needs one section at least.
Section whole_run(const std::vector<Section>& sections);

// The highest speed the train reaches anywhere under its limits, km/h.
double top_speed_kmh(const RunResult& run);

struct TimetableCheck {
  RunResult run;
  std::vector<Section> sections;
  Section whole;             // whole_run of the sections; empty without one
  double top_speed_kmh = 0;  // of the run
};

// The run and its sections in one call.
TimetableCheck check_timetable(const RunInput& input, const TrainModel& model,
                               const RunOptions& options = {});

}  // namespace scenario::timetable
