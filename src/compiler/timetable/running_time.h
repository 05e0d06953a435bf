// The fastest run of a train over a scenario's route that keeps every limit:
// the speed limits held until the tail clears them, the slowdowns, a stop of
// the timetabled length at every station with a stop time. Braking curves run
// backwards from every lower limit and stop, acceleration runs forwards, and
// the times follow from dt = ds / v.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "compiler/timetable/run_input.h"
#include "compiler/timetable/train_model.h"

namespace scenario::timetable {

struct RunOptions {
  // The distance between the points of the run, metres; 50 must be a whole
  // multiple of it, so that cells and stations fall on points.
  double step_m = 5;
};

// What the run did at one station.
struct StationPass {
  int32_t station = 0;  // index into RunInput::stations
  double position_m = 0;
  double arrival_s = 0;    // counted from the departure at the origin
  double departure_s = 0;  // the arrival plus the dwell where the train stops
  bool stops = false;
};

struct RunResult {
  double origin_m = 0;
  double step_m = 0;
  // One entry per point, the origin first and the terminus last.
  std::vector<double> speed_ms;
  std::vector<double> limit_ms;  // the highest speed the limits allow the head there
  std::vector<double> time_s;    // the arrival at the point
  std::vector<StationPass> stations;
  int32_t braked_weight_percent = 0;  // the one the run used
  std::vector<std::string> notes;     // the input's notes and the run's own

  size_t points() const { return speed_ms.size(); }
  double position_m(size_t i) const { return origin_m + static_cast<double>(i) * step_m; }
  size_t point_at(double position_m) const {
    return static_cast<size_t>(std::llround((position_m - origin_m) / step_m));
  }
};

// Runs the train of `model` over `input`. Throws RunTimeFailure, naming the
// value and the place, when the input or the model cannot be run (a speed
// limit of 0, a braked-weight percentage outside the brake model, a climb the
// train cannot make). With fewer than two stations there is nothing to run.
RunResult run_fastest(const RunInput& input, const TrainModel& model,
                      const RunOptions& options = {});

struct RunSample {
  double position_m = 0;
  double speed_kmh = 0;
  double time_s = 0;
};

// The run at every cell boundary (every 50 m) it passes.
std::vector<RunSample> samples_per_cell(const RunResult& run);

}  // namespace scenario::timetable
