#include "compiler/timetable/braking_model.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace scenario::timetable {
namespace {

constexpr double kKmhPerMs = 3.6;

// AD_n = a0 + a1·λ + a2·λ² + a3·λ³ (m/s²) for the bands n = 1 to 5 above V_lim.
struct Polynomial {
  double a0, a1, a2, a3;
};
constexpr Polynomial kBands[5] = {
    {0.0663, 4.72e-3, 6.1e-5, -6.3e-7},   {0.13, 5.14e-3, -4.54e-6, 2.73e-7},
    {0.0479, 5.81e-3, -6.76e-6, 5.58e-8}, {0.048, 5.52e-3, -3.85e-6, 3.0e-8},
    {0.0559, 5.06e-3, 1.66e-6, 3.23e-9},
};
// The upper ends of the bands 1 to 4, km/h; band 5 has none.
constexpr double kBandUpperKmh[4] = {100, 120, 150, 180};

double band_deceleration(int band, int32_t lambda) {
  const Polynomial& p = kBands[band];
  const double l = lambda;
  return std::max(0.0, p.a0 + p.a1 * l + p.a2 * l * l + p.a3 * l * l * l);
}

// The band (0 to 4 for AD_1 to AD_5) that holds a speed above V_lim.
int band_of(double v_kmh) {
  int band = 0;
  while (band < 4 && v_kmh > kBandUpperKmh[band]) ++band;
  return band;
}

// T = a + b·(L/100) + c·(L/100)², L in metres.
double basic_time(double a, double b, double c, double length_m) {
  const double l = length_m / 100;
  return a + b * l + c * l * l;
}

}  // namespace

double conversion_v_lim_kmh(int32_t lambda) { return 16.85 * std::pow(lambda, 0.428); }

double conversion_deceleration(int32_t lambda, double v_kmh) {
  if (v_kmh <= conversion_v_lim_kmh(lambda)) return 0.0075 * lambda + 0.076;
  return band_deceleration(band_of(v_kmh), lambda);
}

double emergency_build_up_s(double length_m) {
  return basic_time(2.30, 0, 0.17, std::max(length_m, 400.0));
}

double service_build_up_s(double length_m) { return basic_time(3.00, 1.50, 0.10, length_m); }

double moving_build_up_s(double basic_s) {
  constexpr double kto = 1.20;  // 1 + Ct, Ct = 0.20 for the passenger brake position
  return basic_s * kto;
}

BrakeCurve::BrakeCurve(int32_t lambda, double share) {
  const int32_t l = std::min(lambda, kServiceBrakeCeilingPercent);
  const double v_lim = conversion_v_lim_kmh(l);
  // Step 0 is AD_0 up to V_lim; then the bands whose upper end lies above
  // V_lim. The last band has no upper end, and the steps left over repeat it.
  upper_ms_.fill(std::numeric_limits<double>::infinity());
  upper_ms_[0] = v_lim / kKmhPerMs;
  deceleration_.fill(band_deceleration(4, l) * share);
  deceleration_[0] = conversion_deceleration(l, 0) * share;
  int step = 1;
  for (int band = band_of(v_lim); band < 4; ++band, ++step) {
    upper_ms_[step] = kBandUpperKmh[band] / kKmhPerMs;
    deceleration_[step] = band_deceleration(band, l) * share;
  }
}

}  // namespace scenario::timetable
