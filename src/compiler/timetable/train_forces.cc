#include "compiler/timetable/train_forces.h"

#include <algorithm>

namespace scenario::timetable {
namespace {

// Röckl's formula has two branches, meeting (roughly) at this radius.
constexpr double kRocklBranchRadius = 300;

}  // namespace

double curve_resistance_permille(double radius_m) {
  if (radius_m <= 0) return 0;
  if (radius_m >= kRocklBranchRadius) return 650 / (radius_m - 55);
  // Below 30 m the formula has no meaning; no line of a scenario curves so tightly.
  return 500 / std::max(radius_m - 30, 1.0);
}

double TrainDynamics::tractive_effort_n(double v_ms, double adhesion_factor) const {
  const double by_power = v_ms > 0 ? power_w / v_ms : max_effort_n;
  const double by_adhesion = curtius_kniffler(v_ms) * adhesion_factor * adhesion_weight_n;
  return std::min({max_effort_n, by_power, by_adhesion});
}

double TrainDynamics::brake_deceleration(double v_ms, double adhesion_factor) const {
  // Every axle of a passenger train is braked: the whole weight can hold the brake.
  const double by_adhesion = curtius_kniffler(v_ms) * adhesion_factor * kGravity;
  return std::min(brake.at(v_ms), by_adhesion);
}

TrainDynamics dynamics_of(const TrainModel& m, int32_t cars, int32_t lambda) {
  const double loco_kg = m.locomotive_mass_t * 1000;
  const double cars_kg = cars * m.car_mass_t * 1000;
  TrainDynamics d{.brake = BrakeCurve(lambda, m.braking_share)};
  d.mass_kg = loco_kg + cars_kg;
  d.inertial_mass_kg =
      loco_kg * (1 + m.locomotive_rotating_share) + cars_kg * (1 + m.car_rotating_share);
  d.length_m = train_length_m(m, cars);
  d.max_speed_ms = m.max_speed_kmh / 3.6;
  d.max_effort_n = m.max_tractive_effort_kn * 1000;
  d.power_w = m.power_kw * 1000;
  d.adhesion_weight_n = loco_kg * kGravity;
  d.resistance_a_n = (m.locomotive_resistance_a_kn + cars * m.car_resistance_a_kn) * 1000;
  d.resistance_b =
      (m.locomotive_resistance_b_kn_per_ms + cars * m.car_resistance_b_kn_per_ms) * 1000;
  d.resistance_c =
      (m.locomotive_resistance_c_kn_per_ms2 + cars * m.car_resistance_c_kn_per_ms2) * 1000;
  return d;
}

}  // namespace scenario::timetable
