#include "compiler/timetable/track_profile.h"

#include <algorithm>
#include <string>
#include <utility>

#include "base/run_time_failure.h"

namespace scenario::timetable {
namespace {

constexpr double kKmhPerMs = 3.6;

std::string metres(double m) { return std::to_string(std::llround(m)) + " m"; }

void check_step(double step_m) {
  const double per_cell = kCellMetres / step_m;
  if (!(step_m > 0) || step_m > kCellMetres || per_cell != std::floor(per_cell)) {
    throw RunTimeFailure("the step of the run is " + std::to_string(step_m) +
                         " m; it must divide 50 m into whole steps");
  }
}

RunGrid grid_of(const RunInput& in, double step_m) {
  check_step(step_m);
  if (in.stations.size() < 2) throw RunTimeFailure("a run needs two stations at least");
  for (size_t k = 1; k < in.stations.size(); ++k) {
    if (in.stations[k].position_m <= in.stations[k - 1].position_m) {
      throw RunTimeFailure("station " + in.stations[k].name + " at " +
                           metres(in.stations[k].position_m) +
                           " does not lie beyond the station before it");
    }
  }
  RunGrid grid{static_cast<double>(in.stations.front().position_m), step_m, 0};
  grid.steps = grid.index_of(in.stations.back().position_m);
  return grid;
}

// The cell holding route metre x; positions outside the row take its end cells.
int64_t cell_at(const RunInput& in, double x) {
  return std::clamp<int64_t>(cell_holding(x), 0, static_cast<int64_t>(in.cells.size()) - 1);
}

// The lowest cell limit over cells lo to hi; a limit of 0 stops every train.
double lowest_cell_limit_ms(const RunInput& in, int64_t lo, int64_t hi) {
  int32_t lowest = in.cells[lo].speed_kmh;
  for (int64_t c = lo; c <= hi; ++c) {
    const int32_t v = in.cells[c].speed_kmh;
    if (v <= 0) {
      throw RunTimeFailure("the speed limit from " + metres(static_cast<double>(cell_start(c))) +
                           " is " + std::to_string(v) + " km/h: no train can run there");
    }
    lowest = std::min(lowest, v);
  }
  return lowest / kKmhPerMs;
}

// The head at s has the train over (s - length, s]: it keeps the lowest limit
// of every cell there. The window moves by whole cells, so it is looked at anew
// only when it has moved.
void set_cell_limits(const RunInput& in, double length_m, double max_ms, TrackProfile& p) {
  int64_t lo = -1, hi = -1;
  double lowest = 0;
  for (int64_t i = 0; i <= p.grid.steps; ++i) {
    const double s = p.grid.at(i);
    const int64_t new_lo = cell_at(in, s - length_m), new_hi = cell_at(in, s);
    if (new_lo != lo || new_hi != hi) {
      lo = new_lo;
      hi = new_hi;
      lowest = lowest_cell_limit_ms(in, lo, hi);
    }
    p.limit_ms[i] = std::min(lowest, max_ms);
  }
}

// A slowdown binds the head from its start to its end, or, for the whole
// train, until the tail has passed its end; one of length 0 binds its point.
void apply_slowdowns(const RunInput& in, double length_m, TrackProfile& p) {
  for (const Slowdown& w : in.slowdowns) {
    const double v = w.speed_kmh / kKmhPerMs;
    if (w.speed_kmh <= 0) {
      throw RunTimeFailure("the slowdown at " + metres(w.start_m) + " has a speed of " +
                           std::to_string(w.speed_kmh) + " km/h: no train can pass it");
    }
    const double end = w.end_m + (w.whole_train ? length_m : 0);
    const int64_t first = std::max<int64_t>(
        0, static_cast<int64_t>(std::ceil((w.start_m - p.grid.origin_m) / p.grid.step_m)));
    for (int64_t i = first; i <= p.grid.steps; ++i) {
      const double s = p.grid.at(i);
      if (s >= end && !(s == w.start_m)) break;
      p.limit_ms[i] = std::min(p.limit_ms[i], v);
    }
  }
}

void set_stops(const RunInput& in, TrackProfile& p) {
  const size_t last = in.stations.size() - 1;
  for (size_t k = 0; k <= last; ++k) {
    const TimetableStation& st = in.stations[k];
    const int64_t i = p.grid.index_of(st.position_m);
    if (k == 0 || k == last || st.stop_s > 0) p.stop[i] = 1;
    // The run starts with the departure at the origin and ends with the arrival.
    if (k != 0 && k != last && st.stop_s > 0) p.dwells.emplace_back(i, st.stop_s);
  }
}

double cell_line_permille(const RouteCell& c) {
  return c.gradient_permille +
         curve_resistance_permille(c.curve_radius_m) * c.curved_m / kCellMetres;
}

void set_cell_values(const RunInput& in, double length_m, TrackProfile& p) {
  std::vector<double> line(in.cells.size()), adhesion(in.cells.size());
  for (size_t c = 0; c < in.cells.size(); ++c) {
    line[c] = cell_line_permille(in.cells[c]);
    const int32_t a = in.cells[c].adhesion;
    adhesion[c] = a == 0 ? 1.0 : a / 100.0;  // 0 is what a scenario without a value holds
  }
  p.set_cells(std::move(line), std::move(adhesion), length_m);
}

}  // namespace

void TrackProfile::set_cells(std::vector<double> line_permille, std::vector<double> adhesion,
                             double length_m) {
  cell_line_ = std::move(line_permille);
  cell_adhesion_ = std::move(adhesion);
  length_m_ = length_m;
  line_sums_.assign(cell_line_.size() + 1, 0);
  for (size_t c = 0; c < cell_line_.size(); ++c) {
    line_sums_[c + 1] = line_sums_[c] + cell_line_[c] * kCellMetres;
  }
}

TrackProfile track_profile(const RunInput& in, const TrainDynamics& train, double step_m) {
  TrackProfile p;
  p.grid = grid_of(in, step_m);
  if (in.cells.empty()) throw RunTimeFailure("the route has no cells");
  const auto points = static_cast<size_t>(p.grid.steps + 1);
  p.limit_ms.assign(points, 0);
  p.stop.assign(points, 0);
  set_cell_limits(in, train.length_m, train.max_speed_ms, p);
  apply_slowdowns(in, train.length_m, p);
  set_stops(in, p);
  set_cell_values(in, train.length_m, p);
  return p;
}

}  // namespace scenario::timetable
