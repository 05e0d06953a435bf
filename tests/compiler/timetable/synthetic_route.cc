#include "synthetic_route.h"

#include <algorithm>

namespace scenario::timetable::testing {
namespace {

constexpr int32_t kBeyondEnd = 1000;

// Cell c covers (c - 1) × 50 to c × 50.
template <class Paint>
void paint(RunInput& in, int32_t from_m, int32_t to_m, Paint&& paint_cell) {
  for (int32_t m = from_m; m < to_m; m += 50) paint_cell(in.cells[m / 50 + 1]);
}

}  // namespace

RunInput level_route(int32_t length_m, int32_t speed_kmh) {
  RunInput in;
  in.cells.assign((length_m + kBeyondEnd) / 50 + 1, RouteCell{speed_kmh, 0, 100, 0, 0});
  in.stations = {{"ORIGIN", 0, 0, 0, false}, {"TERMINUS", length_m, 0, 0, false}};
  in.cars = 14;
  in.braked_weight_percent = 130;
  return in;
}

void set_speed(RunInput& in, int32_t from_m, int32_t to_m, int32_t speed_kmh) {
  paint(in, from_m, to_m, [&](RouteCell& c) { c.speed_kmh = speed_kmh; });
}

void set_gradient(RunInput& in, int32_t from_m, int32_t to_m, int32_t permille) {
  paint(in, from_m, to_m, [&](RouteCell& c) { c.gradient_permille = permille; });
}

void set_curve(RunInput& in, int32_t from_m, int32_t to_m, double radius_m) {
  paint(in, from_m, to_m, [&](RouteCell& c) {
    c.curve_radius_m = radius_m;
    c.curved_m = 50;
  });
}

void add_station(RunInput& in, int32_t position_m, int32_t stop_s, int32_t time_s) {
  const TimetableStation s{"STATION " + std::to_string(position_m), position_m, stop_s, time_s,
                           time_s != 0};
  const auto at =
      std::find_if(in.stations.begin(), in.stations.end(),
                   [&](const TimetableStation& t) { return t.position_m > position_m; });
  in.stations.insert(at, s);
}

void set_time(RunInput& in, int32_t position_m, int32_t time_s) {
  for (TimetableStation& s : in.stations) {
    if (s.position_m != position_m) continue;
    s.time_s = time_s;
    s.timed = true;
  }
}

TrainModel constant_force_train() {
  TrainModel m;
  m.max_tractive_effort_kn = 100;
  m.power_kw = 50000;
  m.locomotive_resistance_a_kn = m.locomotive_resistance_b_kn_per_ms =
      m.locomotive_resistance_c_kn_per_ms2 = 0;
  m.car_resistance_a_kn = m.car_resistance_b_kn_per_ms = m.car_resistance_c_kn_per_ms2 = 0;
  return m;
}

}  // namespace scenario::timetable::testing
