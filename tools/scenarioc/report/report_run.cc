#include "scenarioc/report/report_run.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "compiler/cells.h"
#include "compiler/timetable/run_input_from_build.h"
#include "compiler/timetable/timetable_sections.h"
#include "scenarioc/output/html_text.h"
#include "scenarioc/report/report_names.h"

namespace scenario {
namespace {

// Radii this close are one curve: the traced plan's steps round them a little.
constexpr double kSameCurveShare = 0.02;

bool same_curve(double radius, const ReportCurve& curve) {
  return std::fabs(radius - curve.radius_m) <= kSameCurveShare * curve.radius_m;
}

std::vector<ReportCurve> curves_of(const timetable::RunInput& input) {
  std::vector<ReportCurve> curves;
  bool open = false;
  for (size_t c = 1; c < input.cells.size(); ++c) {
    const double radius = input.cells[c].curve_radius_m;
    if (radius <= 0) {
      open = false;
      continue;
    }
    const auto from = static_cast<int32_t>(cell_start(static_cast<int64_t>(c)));
    if (open && same_curve(radius, curves.back())) {
      curves.back().to = from + kCellMetres;
      curves.back().radius_m =
          std::min(curves.back().radius_m, static_cast<int32_t>(std::nearbyint(radius)));
      continue;
    }
    curves.push_back({from, from + kCellMetres, static_cast<int32_t>(std::nearbyint(radius))});
    open = true;
  }
  return curves;
}

ReportSection section_of(const timetable::Section& s, double top_speed_kmh) {
  return {s.from,      s.to,       s.distance_m,     s.scheduled_s,
          s.minimum_s, s.margin_s, s.margin_percent, timetable::judge(s, top_speed_kmh)};
}

// The run of `model`: the scenario's train where the compile was given one.
void add_run(ReportRun& report, const timetable::RunInput& input,
             const timetable::TrainModel& model) {
  const timetable::TimetableCheck check = timetable::check_timetable(input, model);
  report.notes = check.run.notes;
  report.samples = timetable::samples_per_cell(check.run);
  std::vector<LinePoint> speed, time;
  for (const timetable::RunSample& sample : report.samples) {
    speed.push_back({sample.position_m, sample.speed_kmh});
    time.push_back({sample.position_m, sample.time_s});
  }
  report.speed = thin_line(speed, kSpeedTolerance);
  report.time = thin_line(time, kTimeTolerance);
  for (const timetable::StationPass& pass : check.run.stations) {
    const bool last = &pass == &check.run.stations.back();
    report.station_s.push_back(last ? pass.arrival_s : pass.departure_s);
  }
  for (const timetable::Section& s : check.sections) {
    report.sections.push_back(section_of(s, check.top_speed_kmh));
  }
}

}  // namespace

// Walks the line keeping the range of slopes from the last kept point that
// pass within the tolerance of every point since; a point whose own slope
// falls outside it ends the segment at the point before.
std::vector<LinePoint> thin_line(const std::vector<LinePoint>& line, double tolerance) {
  if (line.size() <= 2) return line;
  std::vector<LinePoint> kept = {line.front()};
  double low = -HUGE_VAL, high = HUGE_VAL;
  for (size_t i = 1; i < line.size(); ++i) {
    const LinePoint& from = kept.back();
    double run = line[i].metres - from.metres;
    double slope = (line[i].value - from.value) / run;
    if (slope < low || slope > high) {
      kept.push_back(line[i - 1]);
      run = line[i].metres - kept.back().metres;
      low = -HUGE_VAL;
      high = HUGE_VAL;
      slope = (line[i].value - kept.back().value) / run;
    }
    low = std::max(low, slope - tolerance / run);
    high = std::min(high, slope + tolerance / run);
  }
  kept.push_back(line.back());
  return kept;
}

std::string duration_text(double seconds) {
  const auto total = static_cast<int64_t>(std::nearbyint(std::fabs(seconds)));
  const int64_t h = total / 3600, min = total / 60 % 60, s = total % 60;
  std::string text;
  if (h > 0) text += std::to_string(h) + " h ";
  if (h > 0 || min > 0) text += std::to_string(min) + " min ";
  if (s > 0 || total == 0) text += std::to_string(s) + " s ";
  text.pop_back();
  return text;
}

std::string margin_text(const ReportSection& section) {
  const bool short_of_time = std::nearbyint(section.margin_s) < 0;
  return std::string(short_of_time ? "\u2212" : "+") + duration_text(section.margin_s);
}

std::string margin_percent_text(const ReportSection& section) {
  const std::string share = fixed_decimals(std::fabs(section.margin_percent), 1);
  return std::string(share == "0.0"               ? ""
                     : section.margin_percent < 0 ? "\u2212"
                                                  : "+") +
         share + " %";
}

std::string_view verdict_class(timetable::Verdict verdict) {
  switch (verdict) {
    case timetable::Verdict::cannot_be_kept:
      return page::kLate;
    case timetable::Verdict::short_of_recovery_margin:
      return page::kTight;
    case timetable::Verdict::kept:
      break;
  }
  return "";
}

ReportRun report_run(const Compilation& compiled) {
  ReportRun report;
  try {
    const timetable::RunInput input = timetable::run_input_from(compiled);
    report.curves = curves_of(input);
    if (input.stations.size() < 2) {
      report.missing = "the train source names fewer than two stations: there is no run to make";
      return report;
    }
    add_run(report, input, compiled.options.timetable.value_or(timetable::TrainModel{}));
  } catch (const std::exception& failure) {  // a RunTimeFailure, or memory running out
    std::vector<ReportCurve> curves = std::move(report.curves);
    report = ReportRun{};
    report.missing = failure.what();
    report.curves = std::move(curves);
    return report;
  }
  if (!compiled.trail.recordings.empty()) {
    report.notes.push_back("the compile recorded errors: the run is of the route as compiled");
  }
  return report;
}

}  // namespace scenario
