// The forces on a train of one model and consist: tractive effort limited by
// power and adhesion, running resistance, curve resistance, and the brake.
#pragma once

#include <cstdint>

#include "compiler/timetable/braking_model.h"
#include "compiler/timetable/train_model.h"

namespace scenario::timetable {

constexpr double kGravity = 9.81;  // m/s²

// Wheel-rail adhesion on dry rail at `v_ms` after Curtius and Kniffler.
inline double curtius_kniffler(double v_ms) { return 0.161 + 7.5 / (v_ms * 3.6 + 44.0); }

// Röckl's curve resistance, N/kN (per mille of the weight), for a radius in
// metres; 0 for straight track (radius 0).
double curve_resistance_permille(double radius_m);

// The constants of one train for a run, in SI units.
struct TrainDynamics {
  double mass_kg = 0;           // static mass: weight, gradient and curves act on it
  double inertial_mass_kg = 0;  // with the rotating masses: what accelerates
  double length_m = 0;
  double max_speed_ms = 0;
  double max_effort_n = 0;
  double power_w = 0;
  double adhesion_weight_n = 0;  // weight on the driven wheels
  double resistance_a_n = 0, resistance_b = 0, resistance_c = 0;
  BrakeCurve brake;

  // Tractive effort at `v_ms` with the rail's adhesion scaled by `adhesion_factor`.
  double tractive_effort_n(double v_ms, double adhesion_factor) const;
  double running_resistance_n(double v_ms) const {
    return resistance_a_n + (resistance_b + resistance_c * v_ms) * v_ms;
  }
  // Acceleration from the line's resistance, m/s², for a line resistance in N/kN
  // (gradient plus curves, uphill positive).
  double line_deceleration(double permille) const {
    return kGravity * permille / 1000 * mass_kg / inertial_mass_kg;
  }
  // The brake's deceleration at `v_ms`, no more than adhesion allows.
  double brake_deceleration(double v_ms, double adhesion_factor) const;
};

// The train of `model` with `cars` cars and a braked-weight percentage of `lambda`.
TrainDynamics dynamics_of(const TrainModel& model, int32_t cars, int32_t lambda);

}  // namespace scenario::timetable
