// The fastest run of the train over the compiled route, as the report shows
// it: the speed and time at every cell, the timetable's sections beside it,
// and the curves the run met. A run that cannot be made leaves its reason.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/compile.h"
#include "compiler/timetable/running_time.h"
#include "compiler/timetable/timetable_judgement.h"

namespace scenario {

// A section between two consecutive timed stations, indices into the
// report's stations.
struct ReportSection {
  int32_t from = 0;
  int32_t to = 0;
  double distance_m = 0;
  int32_t scheduled_s = 0;
  double minimum_s = 0;
  double margin_s = 0;
  double margin_percent = 0;
  timetable::Verdict verdict = timetable::Verdict::kept;
};

// A stretch of track in one curve, [from, to) in route metres.
struct ReportCurve {
  int32_t from = 0;
  int32_t to = 0;
  int32_t radius_m = 0;  // the sharpest radius in it, to the metre
};

// A point of a line along the route: route metres and a value.
struct LinePoint {
  double metres = 0;
  double value = 0;
};

// The fewest points of `line` (metres ascending) through which a polyline
// passes within `tolerance` of every point of it, the first and last kept.
std::vector<LinePoint> thin_line(const std::vector<LinePoint>& line, double tolerance);

struct ReportRun {
  std::string missing;  // why there is no run; empty when there is one
  std::vector<std::string> notes;
  std::vector<timetable::RunSample> samples;  // at every 50 m the run passes
  // The speed (km/h) and the time from the start (s) along the run, thinned
  // to what the page draws: within kSpeedTolerance and kTimeTolerance.
  std::vector<LinePoint> speed;
  std::vector<LinePoint> time;
  std::vector<ReportSection> sections;
  // For each station, the run's departure (its arrival at the terminus), in
  // seconds from the departure at the origin; empty without a run.
  std::vector<double> station_s;
  std::vector<ReportCurve> curves;
  bool made() const { return missing.empty(); }
};

// "4 min 12 s", "45 s", "1 h 2 min 5 s": a duration to the second.
std::string duration_text(double seconds);
// "+1 min 5 s", "−12 s": a section's margin, signed.
std::string margin_text(const ReportSection& section);
// "+8.3 %", "−33.4 %": the margin as a share of the minimum time.
std::string margin_percent_text(const ReportSection& section);

constexpr double kSpeedTolerance = 0.25;  // km/h
constexpr double kTimeTolerance = 0.25;   // s

// The page's class of a section judged so: "late", "tight", or none for a
// section that keeps its recovery margin.
std::string_view verdict_class(timetable::Verdict verdict);

// The run of the default train model. Never throws for a scenario the run
// cannot take: `missing` then says why.
ReportRun report_run(const Compilation& compiled);

}  // namespace scenario
