// What the running-time calculation needs of a scenario, as plain values: the
// route cells with their limits and line profile, the slowdowns, the stations
// with their timetable, and the consist. Filled from a compile
// (run_input_from_build.h) or from any other reader of a scenario.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/cells.h"

namespace scenario::timetable {

// One 50-metre cell. Cells are numbered as the compiled route cells
// (compiler/cells.h): cell c covers route metres (c - 1) × 50 to c × 50, so
// cell 0 lies before the start.
struct RouteCell {
  int32_t speed_kmh = 0;          // the train's speed limit
  int32_t gradient_permille = 0;  // uphill positive
  int32_t adhesion = 100;         // percent of dry-rail adhesion; 0: not given
  double curve_radius_m = 0;      // 0: straight
  double curved_m = 0;            // how much of the cell lies in a curve, 0 to 50
};

struct Slowdown {
  int32_t start_m = 0;
  int32_t end_m = 0;
  int32_t speed_kmh = 0;
  bool whole_train = false;  // held until the train's tail has left it
};

struct TimetableStation {
  std::string name;
  int32_t position_m = 0;
  int32_t stop_s = 0;  // 0: the train passes
  int32_t time_s = 0;  // time of day in seconds; 0 with `timed` false: no time
  bool timed = false;
  int32_t entry = 0;  // its entry of the station table; 0 when not read from one
};

struct RunInput {
  std::vector<RouteCell> cells;
  std::vector<Slowdown> slowdowns;
  std::vector<TimetableStation> stations;  // in route order: origin first, terminus last
  int32_t cars = 0;
  int32_t braked_weight_percent = 0;  // 0: not given
  std::vector<std::string> notes;     // what the reader could not take as it was
};

}  // namespace scenario::timetable
