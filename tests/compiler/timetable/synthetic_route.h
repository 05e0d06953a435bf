// Small routes made in code for the running-time tests: level straight cells
// with one speed limit, onto which a test paints its limits, gradients and
// stations.
#pragma once

#include <cstdint>

#include "compiler/timetable/run_input.h"
#include "compiler/timetable/train_model.h"

namespace scenario::timetable::testing {

// Cells for `length_m` of route and 1000 m beyond, level, straight, dry,
// limited to `speed_kmh`; an origin at 0 and a terminus at `length_m`, both
// untimed; 14 cars braked at 130 %.
RunInput level_route(int32_t length_m, int32_t speed_kmh);

// Paints the cells that cover from_m to to_m (multiples of 50).
void set_speed(RunInput& in, int32_t from_m, int32_t to_m, int32_t speed_kmh);
void set_gradient(RunInput& in, int32_t from_m, int32_t to_m, int32_t permille);
void set_curve(RunInput& in, int32_t from_m, int32_t to_m, double radius_m);

// Inserts a station in route order.
void add_station(RunInput& in, int32_t position_m, int32_t stop_s, int32_t time_s);
// Gives the station at `position_m` a time of day.
void set_time(RunInput& in, int32_t position_m, int32_t time_s);

// A train without resistance whose tractive effort, 100 kN, stays below both
// its power and its adhesion at every speed up to 200 km/h: a constant
// acceleration.
TrainModel constant_force_train();

}  // namespace scenario::timetable::testing
