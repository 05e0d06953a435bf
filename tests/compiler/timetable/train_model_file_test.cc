// The train-model file: values over the defaults, and every fault named with
// its file and line.
#include "compiler/timetable/train_model_file.h"

#include <gtest/gtest.h>

#include "base/run_time_failure.h"
#include "compiler/timetable/duration_text.h"

namespace scenario::timetable {
namespace {

TEST(TimetableTrainModelFile, ValuesReplaceTheDefaults) {
  const TrainModel m = read_train_model(
      "# a heavier train\npower_kw = 6400\n\n  car_mass_t=50.5  # coaches\r\n"
      "braked_weight_percent_if_none = 120",
      "m.txt");
  EXPECT_EQ(m.power_kw, 6400);
  EXPECT_EQ(m.car_mass_t, 50.5);
  EXPECT_EQ(m.braked_weight_percent_if_none, 120);
  EXPECT_EQ(m.locomotive_mass_t, TrainModel{}.locomotive_mass_t);
  EXPECT_EQ(read_train_model("", "empty.txt").power_kw, TrainModel{}.power_kw);
}

TEST(TimetableTrainModelFile, EachFaultIsNamedAtItsLine) {
  const struct {
    const char* text;
    const char* message;  // the start of the failure's text
  } cases[] = {
      {"power_kw 6400", "m.txt:1: expected NAME = VALUE, not 'power_kw 6400'"},
      {"\npower = 1", "m.txt:2: unknown value 'power'; the values are locomotive_mass_t, "},
      {"power_kw = 1\npower_kw = 2", "m.txt:2: power_kw is already set on line 1"},
      {"power_kw = fast", "m.txt:1: power_kw takes a number, not 'fast'"},
      {"power_kw = 6400 kW", "m.txt:1: power_kw takes a number, not '6400 kW'"},
      {"power_kw =", "m.txt:1: power_kw takes a number, not ''"},
      {"power_kw = nan", "m.txt:1: power_kw takes a number, not 'nan'"},
      {"power_kw = 1e999", "m.txt:1: power_kw takes a number, not '1e999'"},
      {"braked_weight_percent_if_none = 99.5",
       "m.txt:1: braked_weight_percent_if_none takes a whole number, not '99.5'"},
      {"# cars\n\ncar_mass_t = 0", "m.txt:3: car_mass_t is 0; it must lie above 0 to 500"},
      {"braked_weight_percent_if_none = 20\n",
       "m.txt:1: braked_weight_percent_if_none is 20; the brake model takes 30 to 250"},
  };
  for (const auto& c : cases) {
    try {
      read_train_model(c.text, "m.txt");
      ADD_FAILURE() << "no failure for: " << c.text;
    } catch (const RunTimeFailure& failure) {
      EXPECT_EQ(std::string(failure.what()).rfind(c.message, 0), 0u) << failure.what();
    }
  }
}

TEST(TimetableDurationText, ReadsAsATimetableWritesIt) {
  const struct {
    int64_t seconds;
    const char* text;
  } cases[] = {{0, "0 s"},
               {45, "45 s"},
               {180, "3 min"},
               {252, "4 min 12 s"},
               {3600, "1 h"},
               {3603, "1 h 0 min 3 s"},
               {3903, "1 h 5 min 3 s"},
               {-61, "-1 min 1 s"}};
  for (const auto& c : cases) EXPECT_EQ(duration_text(c.seconds), c.text) << c.seconds;
}

}  // namespace
}  // namespace scenario::timetable
