// The route as one train meets it at the points of a run: the speed its head
// may have at each point (limits held until the tail has cleared them), the
// stops and their dwell, and per step the line resistance under the whole
// train and the adhesion under the locomotive.
#pragma once

#include <cmath>
#include <cstdint>
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

struct TrackProfile {
  RunGrid grid;
  // Per point.
  std::vector<double> limit_ms;
  std::vector<uint8_t> stop;  // 1 where the train stands: origin, stops, terminus
  std::vector<double> dwell_s;
  // Per step, between point i and i + 1.
  std::vector<double> line_permille;  // gradient and curves averaged over the train
  std::vector<double> adhesion;       // the factor on dry-rail adhesion at the head
};

// Throws RunTimeFailure when the stations are fewer than two or out of order,
// the step does not divide 50 m, or a speed limit on the way is 0.
TrackProfile track_profile(const RunInput& input, const TrainDynamics& train, double step_m);

}  // namespace scenario::timetable
