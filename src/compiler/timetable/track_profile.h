// The route as one train meets it at the points of a run: the speed its head
// may have at each point (limits held until the tail has cleared them), the
// stops and their dwell, and per step the line resistance under the whole
// train and the adhesion under the locomotive.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "compiler/timetable/run_input.h"
#include "compiler/timetable/train_forces.h"

namespace scenario::timetable {

// Points from the origin to the terminus, `step_m` apart; `steps` steps.
struct RunGrid {
  double origin_m = 0;
  double step_m = 0;
  int64_t steps = 0;
  double at(int64_t i) const { return origin_m + static_cast<double>(i) * step_m; }
  int64_t index_of(double position_m) const {
    return std::llround((position_m - origin_m) / step_m);
  }
};

class TrackProfile {
 public:
  RunGrid grid;
  // Per point.
  std::vector<double> limit_ms;
  std::vector<uint8_t> stop;  // 1 where the train stands: origin, stops, terminus
  // The dwell of each stop, by point, in route order.
  std::vector<std::pair<int64_t, double>> dwells;

  // Per step, between point j and j + 1, worked out when asked: a run of the
  // longest route has a million steps, and memory it need not hold is faster.
  // The gradient and curves averaged over the train, N/kN.
  double line_permille(int64_t j) const {
    const double s = mid(j);
    return (line_to(s) - line_to(s - length_m_)) / length_m_;
  }
  // The factor on dry-rail adhesion under the locomotive.
  double adhesion(int64_t j) const { return cell_adhesion_[cell_of(mid(j))]; }

  // Per cell of the route; set by track_profile.
  void set_cells(std::vector<double> line_permille, std::vector<double> adhesion, double length_m);

 private:
  double mid(int64_t j) const { return grid.at(j) + grid.step_m / 2; }
  int64_t cell_of(double x) const {
    return std::clamp<int64_t>(cell_holding(x), 0, static_cast<int64_t>(cell_line_.size()) - 1);
  }
  // The line resistance integrated from the start of cell 0 to route metre x.
  double line_to(double x) const {
    const int64_t c = cell_of(x);
    return line_sums_[c] + cell_line_[c] * (x - static_cast<double>(cell_start(c)));
  }

  double length_m_ = 1;
  std::vector<double> cell_line_;
  std::vector<double> line_sums_;  // the integral up to the start of each cell
  std::vector<double> cell_adhesion_;
};

// Throws RunTimeFailure when the stations are fewer than two or out of order,
// the step does not divide 50 m, or a speed limit on the way is 0.
TrackProfile track_profile(const RunInput& input, const TrainDynamics& train, double step_m);

}  // namespace scenario::timetable
