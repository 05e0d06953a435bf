// The run's input as a compile of the small scenario leaves it: the whole-train
// flag of a slowdown survives in its cells, a slowdown whose start cell a
// station mark took is named in the notes, the timetable and consist are read.
#include "compiler/timetable/run_input_from_build.h"

#include <gtest/gtest.h>

#include "compiler/compile_harness.h"

namespace scenario::timetable {
namespace {

using scenario::testing::compile_text;
using scenario::testing::small_line_source;
using scenario::testing::train_with;

RunInput compiled_with(const std::string& from, const std::string& to) {
  return run_input_from(compile_text(small_line_source(), train_with(from, to))->ctx);
}

TEST(TimetableInputFromBuild, SlowdownKeepsItsWholeTrainFlag) {
  for (int f_tt : {0, 1}) {
    const RunInput in = compiled_with("[rallentamenti]\r\n",
                                      "[rallentamenti]\r\nrallentamento,    4000,  60,   300,  " +
                                          std::to_string(f_tt) + ",  0,  0\r\n");
    ASSERT_EQ(in.slowdowns.size(), 1u);
    const Slowdown& w = in.slowdowns[0];
    EXPECT_EQ(w.start_m, 4000);
    EXPECT_EQ(w.end_m, 4300);
    EXPECT_EQ(w.speed_kmh, 60);
    EXPECT_EQ(w.whole_train, f_tt == 1);
    EXPECT_TRUE(in.notes.empty());
  }
}

TEST(TimetableInputFromBuild, ReadsTimetableAndConsist) {
  const RunInput in = compiled_with("[rallentamenti]\r\n", "[rallentamenti]\r\n");
  EXPECT_EQ(in.cars, 14);
  EXPECT_EQ(in.braked_weight_percent, 130);
  ASSERT_EQ(in.stations.size(), 2u);
  EXPECT_EQ(in.stations[1].name, "ALTRA-STAZIONE");
  EXPECT_EQ(in.stations[1].position_m, 6900);
  EXPECT_EQ(in.stations[1].stop_s, 45);
  EXPECT_EQ(in.stations[1].time_s, 10 * 3600 + 40 * 60);
  EXPECT_TRUE(in.stations[1].timed);
}

// The station at 6900 m, 600 m long, puts its mark into the cell of 7100 m,
// whatever that cell holds: a slowdown read before it loses its start.
TEST(TimetableInputFromBuild, SlowdownWhoseStartAStationMarkTookIsNamed) {
  const RunInput in = compiled_with(
      "[stazioni]\r\n", "rallentamento,    7100,  60,   300,  0,  0,  0\r\n[stazioni]\r\n");
  EXPECT_TRUE(in.slowdowns.empty());
  ASSERT_EQ(in.notes.size(), 1u);
  EXPECT_NE(in.notes[0].find("the slowdown at 7100 m"), std::string::npos) << in.notes[0];
}

}  // namespace
}  // namespace scenario::timetable
