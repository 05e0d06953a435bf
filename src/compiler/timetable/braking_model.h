// The brake of a train whose braking is given as a braked-weight percentage
// (lambda): the ETCS conversion model turns it into a deceleration by speed
// band and a brake build-up time.
#pragma once

#include <array>
#include <cstdint>

namespace scenario::timetable {

constexpr int32_t kLowestBrakedWeightPercent = 30;
constexpr int32_t kHighestBrakedWeightPercent = 250;
// The service brake takes the percentage at most this high.
constexpr int32_t kServiceBrakeCeilingPercent = 135;

// Up to this speed the deceleration is the low-speed one, AD_0 (km/h).
double conversion_v_lim_kmh(int32_t lambda);

// A_brake_emergency(V) of the conversion model, m/s², for a speed in km/h.
double conversion_deceleration(int32_t lambda, double v_kmh);

// The basic build-up time of the brake of a passenger train in P, seconds, for
// a train `length_m` long: emergency and service brake.
double emergency_build_up_s(double length_m);
double service_build_up_s(double length_m);
// The build-up time counted while the train moves: the basic time times kto.
double moving_build_up_s(double basic_s);

// The service brake of one train as a step function of speed, ready to be
// looked up many times a run.
class BrakeCurve {
 public:
  // The service brake for a braked-weight percentage (capped at 135), its
  // deceleration multiplied by `share`.
  BrakeCurve(int32_t lambda, double share);
  // Deceleration at `v_ms` (m/s), m/s².
  double at(double v_ms) const {
    int i = 0;
    while (v_ms > upper_ms_[i]) ++i;  // the last step reaches to infinity
    return deceleration_[i];
  }

 private:
  static constexpr int kSteps = 6;
  std::array<double, kSteps> upper_ms_{};  // the last one is infinite
  std::array<double, kSteps> deceleration_{};
};

}  // namespace scenario::timetable
