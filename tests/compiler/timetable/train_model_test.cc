// The checks of a train model: each bad value gets a message naming it.
#include "compiler/timetable/train_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "base/run_time_failure.h"

namespace scenario::timetable {
namespace {

TEST(TimetableTrainModel, DefaultsAreValid) {
  EXPECT_TRUE(check_train_model(TrainModel{}).empty());
  EXPECT_NEAR(train_length_m(TrainModel{}, 14), 19.6 + 14 * 26.4, 1e-9);
}

TEST(TimetableTrainModel, EachBadValueIsNamed) {
  struct Case {
    std::function<void(TrainModel&)> spoil;
    const char* message;
  } cases[] = {
      {[](TrainModel& m) { m.locomotive_mass_t = 0; },
       "locomotive_mass_t is 0; it must lie above 0 to 1000"},
      {[](TrainModel& m) { m.power_kw = -5; }, "power_kw is -5"},
      {[](TrainModel& m) { m.max_speed_kmh = NAN; }, "max_speed_kmh is nan"},
      {[](TrainModel& m) { m.car_rotating_share = 1.5; },
       "car_rotating_share is 1.5; it must lie from 0 to 1"},
      {[](TrainModel& m) { m.car_resistance_c_kn_per_ms2 = -0.001; },
       "car_resistance_c_kn_per_ms2 is -0.001"},
      {[](TrainModel& m) { m.braking_share = 0; }, "braking_share is 0"},
      {[](TrainModel& m) { m.braked_weight_percent_if_none = 300; },
       "braked_weight_percent_if_none is 300; the brake model takes 30 to 250"},
  };
  for (const Case& c : cases) {
    TrainModel m;
    c.spoil(m);
    const std::vector<std::string> faults = check_train_model(m);
    ASSERT_EQ(faults.size(), 1u) << c.message;
    EXPECT_EQ(faults[0].rfind(c.message, 0), 0u) << faults[0];
  }
  TrainModel two;
  two.car_mass_t = 0;
  two.car_length_m = 0;
  EXPECT_EQ(check_train_model(two).size(), 2u);
  EXPECT_THROW(require_valid_train_model(two), RunTimeFailure);
}

}  // namespace
}  // namespace scenario::timetable
