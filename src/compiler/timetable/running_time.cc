#include "compiler/timetable/running_time.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/run_time_failure.h"
#include "compiler/timetable/track_profile.h"
#include "compiler/timetable/train_forces.h"

namespace scenario::timetable {
namespace {

// Below this the brake can no longer hold the train on a downgrade; the run
// then lets it brake this little rather than never reach the target.
constexpr double kLeastDeceleration = 0.01;

int32_t braked_weight_of(const RunInput& in, const TrainModel& model,
                         std::vector<std::string>& notes) {
  if (in.braked_weight_percent == 0) {
    notes.push_back("the scenario gives no braked-weight percentage; the run takes " +
                    std::to_string(model.braked_weight_percent_if_none));
    return model.braked_weight_percent_if_none;
  }
  if (in.braked_weight_percent < kLowestBrakedWeightPercent ||
      in.braked_weight_percent > kHighestBrakedWeightPercent) {
    throw RunTimeFailure("the braked-weight percentage is " +
                         std::to_string(in.braked_weight_percent) +
                         "; the brake model takes 30 to 250");
  }
  return in.braked_weight_percent;
}

// Speeds are integrated as e = v²/2 over distance, de/ds = a, by the midpoint
// rule: exact for a constant acceleration.
template <class Acceleration>
double integrate(double v, double ds, const Acceleration& a) {
  const double e = v * v / 2;
  const double mid = e + a(v) * ds / 2;
  if (mid <= 0) return 0;
  const double e_next = e + a(std::sqrt(2 * mid)) * ds;
  return e_next > 0 ? std::sqrt(2 * e_next) : 0;
}

// The highest speed at each point from which the train can still brake for
// every lower limit and stop ahead.
std::vector<double> braking_envelope(const TrainDynamics& d, const TrackProfile& p) {
  const int64_t n = p.grid.steps;
  std::vector<double> b(static_cast<size_t>(n + 1));
  b[n] = 0;
  for (int64_t i = n - 1; i >= 0; --i) {
    if (p.stop[i]) {
      b[i] = 0;
      continue;
    }
    // Braking only ever raises the speed going backwards: a limit no higher
    // than the next point's speed is the answer, with no need to brake.
    if (p.limit_ms[i] <= b[i + 1]) {
      b[i] = p.limit_ms[i];
      continue;
    }
    const double line = d.line_deceleration(p.line_permille(i));
    const double adhesion = p.adhesion(i);
    const double before = integrate(b[i + 1], p.grid.step_m, [&](double v) {
      return std::max(d.brake_deceleration(v, adhesion) + line, kLeastDeceleration);
    });
    b[i] = std::min(p.limit_ms[i], before);
  }
  return b;
}

[[noreturn]] void stuck_at(double position_m) {
  throw RunTimeFailure("at " + std::to_string(std::llround(position_m)) +
                       " m the train cannot move on: its tractive effort does not overcome the "
                       "gradient and resistance there");
}

// Full traction from every stop, held under the braking envelope, which the
// speeds replace point by point.
void hold_under_envelope(const TrainDynamics& d, const TrackProfile& p, std::vector<double>& v) {
  const int64_t n = p.grid.steps;
  v[0] = 0;
  for (int64_t i = 0; i < n; ++i) {
    const double line = d.line_deceleration(p.line_permille(i));
    const double adhesion = p.adhesion(i);
    const double after = integrate(v[i], p.grid.step_m, [&](double u) {
      return (d.tractive_effort_n(u, adhesion) - d.running_resistance_n(u)) / d.inertial_mass_kg -
             line;
    });
    v[i + 1] = std::min(v[i + 1], after);
    if (v[i + 1] <= 0 && !p.stop[i + 1]) stuck_at(p.grid.at(i));
  }
}

// dt = 2 ds / (v0 + v1) over each step, exact for a constant acceleration and
// finite into and out of a stop; a dwell is spent at its point.
std::vector<double> arrival_times(const TrackProfile& p, const std::vector<double>& v) {
  std::vector<double> t(v.size());
  t[0] = 0;
  auto dwell = p.dwells.begin();
  for (size_t i = 0; i + 1 < v.size(); ++i) {
    const double sum = v[i] + v[i + 1];
    if (sum <= 0) stuck_at(p.grid.at(static_cast<int64_t>(i)));
    t[i + 1] = t[i] + 2 * p.grid.step_m / sum;
    if (dwell != p.dwells.end() && dwell->first == static_cast<int64_t>(i)) {
      t[i + 1] += dwell++->second;
    }
  }
  return t;
}

double dwell_at(const TrackProfile& p, int64_t i) {
  for (const auto& [point, seconds] : p.dwells) {
    if (point == i) return seconds;
  }
  return 0;
}

std::vector<StationPass> station_passes(const RunInput& in, const TrackProfile& p,
                                        const std::vector<double>& t) {
  std::vector<StationPass> passes;
  for (size_t k = 0; k < in.stations.size(); ++k) {
    const int64_t i = p.grid.index_of(in.stations[k].position_m);
    StationPass s;
    s.station = static_cast<int32_t>(k);
    s.position_m = p.grid.at(i);
    s.arrival_s = t[i];
    s.departure_s = t[i] + dwell_at(p, i);
    s.stops = p.stop[i] != 0;
    passes.push_back(s);
  }
  return passes;
}

}  // namespace

RunResult run_fastest(const RunInput& in, const TrainModel& model, const RunOptions& options) {
  require_valid_train_model(model);
  RunResult r;
  r.notes = in.notes;
  r.step_m = options.step_m;
  if (in.stations.size() < 2) return r;
  if (in.cars < 0) throw RunTimeFailure("the number of cars is " + std::to_string(in.cars));
  r.braked_weight_percent = braked_weight_of(in, model, r.notes);
  const TrainDynamics d = dynamics_of(model, in.cars, r.braked_weight_percent);
  TrackProfile p = track_profile(in, d, options.step_m);
  r.origin_m = p.grid.origin_m;
  r.speed_ms = braking_envelope(d, p);
  hold_under_envelope(d, p, r.speed_ms);
  r.time_s = arrival_times(p, r.speed_ms);
  r.stations = station_passes(in, p, r.time_s);
  r.limit_ms = std::move(p.limit_ms);
  return r;
}

std::vector<RunSample> samples_per_cell(const RunResult& run) {
  std::vector<RunSample> samples;
  for (size_t i = 0; i < run.points(); ++i) {
    const double at = run.position_m(i);
    if (std::fmod(at, kCellMetres) != 0) continue;
    samples.push_back({at, run.speed_ms[i] * 3.6, run.time_s[i]});
  }
  return samples;
}

}  // namespace scenario::timetable
