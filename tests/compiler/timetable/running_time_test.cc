// The fastest run against closed forms, and the rules it keeps: limits held
// until the tail clears them, whole-train slowdowns, stops and their dwell.
#include "compiler/timetable/running_time.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/run_time_failure.h"
#include "compiler/timetable/train_forces.h"
#include "synthetic_route.h"

namespace scenario::timetable {
namespace {

using testing::constant_force_train;
using testing::level_route;

// The constant acceleration and deceleration of the constant-force train.
struct Rates {
  double a;
  double b;
};

Rates rates_of(const RunInput& in, const TrainModel& m) {
  const TrainDynamics d = dynamics_of(m, in.cars, in.braked_weight_percent);
  return {m.max_tractive_effort_kn * 1000 / d.inertial_mass_kg, d.brake.at(1)};
}

// From a stop to a stop under one limit v: d / v + v / 2a + v / 2b, with
// both rates constant (v stays below V_lim of the brake).
TEST(TimetableRunClosedForm, StopToStopUnderOneLimit) {
  for (int32_t v_kmh : {60, 100, 130}) {
    for (int32_t d : {5000, 20000}) {
      SCOPED_TRACE(std::to_string(v_kmh) + " km/h over " + std::to_string(d) + " m");
      const RunInput in = level_route(d, v_kmh);
      const TrainModel m = constant_force_train();
      const Rates r = rates_of(in, m);
      const double v = v_kmh / 3.6;
      const RunResult run = run_fastest(in, m);
      EXPECT_NEAR(run.time_s.back(), d / v + v / (2 * r.a) + v / (2 * r.b), 0.5);
    }
  }
}

// Without resistance and with a constant force, v² = 2as while accelerating.
TEST(TimetableRunClosedForm, SpeedSquaredIsTwiceAccelerationTimesDistance) {
  const RunInput in = level_route(20000, 160);
  const TrainModel m = constant_force_train();
  const double a = rates_of(in, m).a;
  const RunResult run = run_fastest(in, m);
  for (size_t i = 1; i < run.points() && run.position_m(i) <= 5000; i += 50) {
    const double v = run.speed_ms[i];
    EXPECT_NEAR(v * v, 2 * a * run.position_m(i), 1e-6 * v * v) << run.position_m(i);
  }
}

// The limit rises only once the tail has left the lower one.
TEST(TimetableRunLimits, LowerLimitHeldUntilTheTailClearsIt) {
  RunInput in = level_route(20000, 160);
  testing::set_speed(in, 8000, 9000, 60);
  const TrainModel m;
  const double length = train_length_m(m, in.cars);
  const RunResult run = run_fastest(in, m);
  for (size_t i = 0; i < run.points(); ++i) {
    const double s = run.position_m(i);
    const bool under_low = s >= 8000 && s < 9000 + length;
    EXPECT_NEAR(run.limit_ms[i] * 3.6, under_low ? 60 : 160, 1e-9) << s;
    EXPECT_LE(run.speed_ms[i], run.limit_ms[i] + 1e-9) << s;
  }
}

TEST(TimetableRunLimits, WholeTrainSlowdownHoldsLongerThanHeadOnly) {
  RunInput head_only = level_route(20000, 160);
  head_only.slowdowns = {{8000, 8200, 40, false}};
  RunInput whole = head_only;
  whole.slowdowns[0].whole_train = true;
  const TrainModel m;
  const double length = train_length_m(m, whole.cars);
  const RunResult a = run_fastest(head_only, m), b = run_fastest(whole, m);
  for (size_t i = 0; i < a.points(); ++i) {
    const double s = a.position_m(i);
    if (s >= 8200 && s < 8200 + length) {
      EXPECT_GT(a.limit_ms[i], b.limit_ms[i]) << s;
    }
  }
  EXPECT_GT(b.time_s.back(), a.time_s.back() + 5);
}

TEST(TimetableRunStops, StopsForItsDwellAndStandsStill) {
  RunInput in = level_route(20000, 120);
  testing::add_station(in, 10000, 60, 0);
  const RunResult run = run_fastest(in, TrainModel{});
  ASSERT_EQ(run.stations.size(), 3u);
  const StationPass& stop = run.stations[1];
  EXPECT_TRUE(stop.stops);
  EXPECT_DOUBLE_EQ(stop.departure_s - stop.arrival_s, 60);
  EXPECT_EQ(run.speed_ms[static_cast<size_t>(10000 / run.step_m)], 0);
  // A station without a stop time is passed at speed.
  RunInput passing = level_route(20000, 120);
  testing::add_station(passing, 10000, 0, 0);
  const RunResult through = run_fastest(passing, TrainModel{});
  EXPECT_FALSE(through.stations[1].stops);
  EXPECT_NEAR(through.speed_ms[static_cast<size_t>(10000 / through.step_m)] * 3.6, 120, 1e-6);
  EXPECT_LT(through.time_s.back() + 60, run.time_s.back());
}

TEST(TimetableRunFailures, NamesWhatCannotBeRun) {
  struct Case {
    const char* what;
    void (*change)(RunInput&);
    const char* message;
  } cases[] = {
      {"limit 0", [](RunInput& in) { testing::set_speed(in, 3000, 3050, 0); },
       "the speed limit from 3000 m is 0 km/h"},
      {"lambda", [](RunInput& in) { in.braked_weight_percent = 20; },
       "the braked-weight percentage is 20"},
      {"order", [](RunInput& in) { in.stations[1].position_m = 0; }, "does not lie beyond"},
      {"climb", [](RunInput& in) { testing::set_gradient(in, 2000, 6000, 60); },
       "the train cannot move on"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RunInput in = level_route(10000, 100);
    c.change(in);
    try {
      run_fastest(in, TrainModel{});
      ADD_FAILURE() << "no failure";
    } catch (const RunTimeFailure& f) {
      EXPECT_NE(std::string(f.what()).find(c.message), std::string::npos) << f.what();
    }
  }
  RunOptions odd;
  odd.step_m = 7;
  EXPECT_THROW(run_fastest(level_route(10000, 100), TrainModel{}, odd), RunTimeFailure);
}

TEST(TimetableRunSamples, OneSampleEveryFiftyMetres) {
  const RunResult run = run_fastest(level_route(2000, 80), TrainModel{});
  const std::vector<RunSample> samples = samples_per_cell(run);
  ASSERT_EQ(samples.size(), 41u);
  EXPECT_EQ(samples[1].position_m, 50);
  EXPECT_EQ(samples.front().speed_kmh, 0);
  EXPECT_EQ(samples.back().time_s, run.time_s.back());
}

}  // namespace
}  // namespace scenario::timetable
