#include "compiler/timetable/timetable_sections.h"

#include <algorithm>

namespace scenario::timetable {
namespace {

constexpr double kKmhPerMs = 3.6;

// The time of the section's end: the train leaves a stop after its dwell.
double event_s(const StationPass& pass) { return pass.departure_s; }

double highest_limit_kmh(const RunResult& run, double from_m, double to_m) {
  double highest = 0;
  for (size_t i = run.point_at(from_m); i <= run.point_at(to_m); ++i) {
    highest = std::max(highest, run.limit_ms[i]);
  }
  return highest * kKmhPerMs;
}

double dwell_between(const RunResult& run, size_t from, size_t to) {
  double dwell = 0;
  for (size_t k = from + 1; k <= to; ++k) {
    dwell += run.stations[k].departure_s - run.stations[k].arrival_s;
  }
  return dwell;
}

Section section_of(const RunInput& in, const RunResult& run, size_t a, size_t b) {
  const TimetableStation& from = in.stations[a];
  const TimetableStation& to = in.stations[b];
  Section s;
  s.from = static_cast<int32_t>(a);
  s.to = static_cast<int32_t>(b);
  s.from_name = from.name;
  s.to_name = to.name;
  s.distance_m = run.stations[b].position_m - run.stations[a].position_m;
  s.scheduled_s = seconds_between(from.time_s, to.time_s);
  s.minimum_s = event_s(run.stations[b]) - event_s(run.stations[a]);
  s.dwell_s = dwell_between(run, a, b);
  s.running_s = s.minimum_s - s.dwell_s;
  s.margin_s = s.scheduled_s - s.minimum_s;
  s.margin_percent = s.minimum_s > 0 ? s.margin_s / s.minimum_s * 100 : 0;
  s.highest_limit_kmh =
      highest_limit_kmh(run, run.stations[a].position_m, run.stations[b].position_m);
  return s;
}

}  // namespace

int32_t seconds_between(int32_t from_s, int32_t to_s) {
  return ((to_s - from_s) % kSecondsPerDay + kSecondsPerDay) % kSecondsPerDay;
}

std::vector<Section> timetable_sections(const RunInput& in, const RunResult& run) {
  std::vector<Section> sections;
  if (run.stations.size() != in.stations.size()) return sections;
  size_t last_timed = in.stations.size();
  for (size_t k = 0; k < in.stations.size(); ++k) {
    if (!in.stations[k].timed) continue;
    if (last_timed < in.stations.size()) sections.push_back(section_of(in, run, last_timed, k));
    last_timed = k;
  }
  return sections;
}

Section whole_run(const std::vector<Section>& sections) {
  Section whole = sections.front();
  whole.to = sections.back().to;
  whole.to_name = sections.back().to_name;
  for (size_t k = 1; k < sections.size(); ++k) {
    const Section& s = sections[k];
    whole.distance_m += s.distance_m;
    whole.scheduled_s += s.scheduled_s;
    whole.minimum_s += s.minimum_s;
    whole.dwell_s += s.dwell_s;
    whole.running_s += s.running_s;
    whole.margin_s += s.margin_s;
    whole.highest_limit_kmh = std::max(whole.highest_limit_kmh, s.highest_limit_kmh);
  }
  whole.margin_percent = whole.minimum_s > 0 ? whole.margin_s / whole.minimum_s * 100 : 0;
  return whole;
}

double top_speed_kmh(const RunResult& run) {
  double highest = 0;
  for (double v : run.limit_ms) highest = std::max(highest, v);
  return highest * kKmhPerMs;
}

TimetableCheck check_timetable(const RunInput& input, const TrainModel& model,
                               const RunOptions& options) {
  TimetableCheck check;
  check.run = run_fastest(input, model, options);
  check.sections = timetable_sections(input, check.run);
  if (!check.sections.empty()) check.whole = whole_run(check.sections);
  check.top_speed_kmh = top_speed_kmh(check.run);
  return check;
}

}  // namespace scenario::timetable
