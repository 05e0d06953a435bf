// The conversion model against figures worked out by hand from its published
// formulas, and the braking of a whole run against the distances they give.
#include "compiler/timetable/braking_model.h"

#include <gtest/gtest.h>

#include <cmath>

#include "compiler/timetable/running_time.h"
#include "synthetic_route.h"

namespace scenario::timetable {
namespace {

TEST(TimetableBrakingModel, ConversionModelMatchesItsFormulas) {
  // V_lim = 16.85 λ^0.428 km/h; AD_0 = 0.0075 λ + 0.076 up to V_lim; above it
  // the band polynomials a0 + a1 λ + a2 λ² + a3 λ³.
  struct Case {
    int32_t lambda;
    double v_kmh;
    double v_lim_kmh;
    double deceleration;
  } cases[] = {
      {30, 60, 72.245, 0.301},      // AD_0
      {30, 90, 72.245, 0.24579},    // AD_1, 72 to 100 km/h
      {50, 95, 89.9, 0.37605},      // AD_1
      {100, 110, 120.948, 0.826},   // still AD_0: V_lim lies above 110
      {130, 140, 135.32, 0.81155},  // AD_3, 120 to 150 km/h
      {130, 190, 135.32, 0.74885},  // AD_5, above 180 km/h
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lambda);
    EXPECT_NEAR(conversion_v_lim_kmh(c.lambda), c.v_lim_kmh, 0.01);
    EXPECT_NEAR(conversion_deceleration(c.lambda, c.v_kmh), c.deceleration, 1e-4);
  }
}

TEST(TimetableBrakingModel, BuildUpTimesOfThePassengerBrake) {
  // Emergency: 2.30 + 0.17 (L/100)², L at least 400 m; service: 3.00 + 1.50
  // (L/100) + 0.10 (L/100)²; moving, both times kto = 1.2.
  EXPECT_NEAR(emergency_build_up_s(200), 5.02, 1e-9);
  EXPECT_NEAR(emergency_build_up_s(600), 8.42, 1e-9);
  EXPECT_NEAR(service_build_up_s(400), 10.6, 1e-9);
  EXPECT_NEAR(moving_build_up_s(10.6), 12.72, 1e-9);
}

TEST(TimetableBrakingModel, ServiceBrakeTakesAtMost135Percent) {
  const BrakeCurve capped(250, 1), at_135(135, 1);
  for (double v_ms : {5.0, 30.0, 40.0, 45.0, 55.0}) EXPECT_EQ(capped.at(v_ms), at_135.at(v_ms));
  EXPECT_DOUBLE_EQ(BrakeCurve(130, 0.5).at(10), 0.5 * conversion_deceleration(130, 36));
}

// The run's last braking, from the limit to the stop at the terminus, on
// level track without resistance: the distance the model's steps give,
// Σ (v_high² − v_low²) / 2 AD, worked out by hand. Tolerance: 0.5 % and one
// step of the run (5 m), for where the braking starts between two points.
TEST(TimetableRunBraking, StoppingDistancesOfThePublishedModel) {
  struct Case {
    int32_t lambda;
    int32_t v_kmh;
    double distance_m;
  } cases[] = {{30, 160, 4012.8}, {70, 160, 1931.0}, {100, 120, 672.6}, {130, 160, 1027.3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lambda);
    RunInput in = testing::level_route(30000, c.v_kmh);
    in.braked_weight_percent = c.lambda;
    const RunResult run = run_fastest(in, testing::constant_force_train());
    size_t braking_from = run.speed_ms.size() - 1;
    while (run.speed_ms[braking_from - 1] < run.limit_ms[braking_from - 1] - 1e-9) --braking_from;
    const double distance = run.position_m(run.points() - 1) - run.position_m(braking_from - 1);
    EXPECT_NEAR(distance, c.distance_m, c.distance_m * 0.005 + 5);
  }
}

}  // namespace
}  // namespace scenario::timetable
