// The built-in scenario compiled in memory, read back as a run's input, run
// and set beside its timetable.
#include <gtest/gtest.h>

#include <cstdio>

#include "compiler/compile.h"
#include "compiler/compiled_file_sink.h"
#include "compiler/scenario_records.h"
#include "compiler/timetable/run_input_from_build.h"
#include "compiler/timetable/timetable_judgement.h"
#include "compiler/timetable/timetable_sections.h"
#include "source/builtin_line.h"
#include "source/builtin_train.h"
#include "source/text_writer.h"

namespace scenario::timetable {
namespace {

class TimetableBuiltin : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Compilation ctx(BuildIdentity{"Velmora_Dorsel", "904", {}});
    MemorySources sources(text_file_bytes(builtin_line_source()),
                          text_file_bytes(builtin_train_source()));
    MemorySink sink;
    compile(ctx, sources, sink);
    input_ = new RunInput(run_input_from(ctx));
  }
  static void TearDownTestSuite() {
    delete input_;
    input_ = nullptr;
  }
  static const RunInput& input() { return *input_; }

 private:
  static RunInput* input_;
};

RunInput* TimetableBuiltin::input_ = nullptr;

TEST_F(TimetableBuiltin, ReadsWhatTheRecordsHold) {
  const RunInput& in = input();
  EXPECT_TRUE(in.notes.empty());
  EXPECT_EQ(in.cars, 14);
  EXPECT_EQ(in.braked_weight_percent, 130);
  ASSERT_EQ(in.stations.size(), 35u);
  EXPECT_EQ(in.stations.front().name, "VELMORA CENTRALE");
  EXPECT_EQ(in.stations.front().time_s, 10 * 3600 + 33 * 60);
  EXPECT_EQ(in.stations.back().position_m, 238450);
  int timed = 0;
  for (const TimetableStation& s : in.stations) timed += s.timed;
  EXPECT_EQ(timed, 9);
  // The speed limits and gradients as written: 115 km/h from 0, 160 from
  // 1950 (its cell starts at 1900); -8 per mille from 5000.
  EXPECT_EQ(in.cells[1].speed_kmh, 115);
  EXPECT_EQ(in.cells[39].speed_kmh, 160);
  EXPECT_EQ(in.cells[101].gradient_permille, -8);
  ASSERT_EQ(in.slowdowns.size(), 3u);
  EXPECT_EQ(in.slowdowns[0].start_m, 24950);
  EXPECT_EQ(in.slowdowns[0].end_m, 25150);
  EXPECT_EQ(in.slowdowns[1].end_m, 141400 + 1650);
  EXPECT_EQ(in.slowdowns[2].speed_kmh, 40);
  for (const Slowdown& w : in.slowdowns) EXPECT_FALSE(w.whole_train);
}

// The first curve is left, class 3 (radius 2500 m), from 1750 for 600 m; the
// class-6 curve at 35150 turns 0.003 rad a metre.
TEST_F(TimetableBuiltin, CurvesComeFromTheTracedPlan) {
  const RunInput& in = input();
  EXPECT_EQ(in.cells[35].curve_radius_m, 0);
  EXPECT_NEAR(in.cells[36].curve_radius_m, 2500, 1e-3);
  EXPECT_EQ(in.cells[36].curved_m, 50);
  EXPECT_EQ(in.cells[47].curved_m, 50);
  EXPECT_EQ(in.cells[48].curved_m, 0);
  EXPECT_NEAR(in.cells[35150 / 50 + 1].curve_radius_m, 1 / 0.003, 1e-3);
}

// Halving the step moves no section by more than half a second.
TEST_F(TimetableBuiltin, RunConvergesWithTheStep) {
  RunOptions coarse, fine;
  coarse.step_m = 5;
  fine.step_m = 2.5;
  const std::vector<Section> a = check_timetable(input(), TrainModel{}, coarse).sections;
  const std::vector<Section> b = check_timetable(input(), TrainModel{}, fine).sections;
  ASSERT_EQ(a.size(), b.size());
  for (size_t k = 0; k < a.size(); ++k) EXPECT_NEAR(a[k].minimum_s, b[k].minimum_s, 0.5) << k;
}

// Every section keeps its share of recovery margin, and the whole run its
// time per distance besides: the built-in scenario draws no warning.
TEST_F(TimetableBuiltin, TimetableIsKeptWithItsRecoveryMargins) {
  const TimetableCheck check = check_timetable(input(), TrainModel{});
  ASSERT_EQ(check.sections.size(), 8u);
  EXPECT_NEAR(check.top_speed_kmh, 175, 1e-9);
  for (const Section& s : check.sections) {
    char line[240];
    std::snprintf(line, sizeof line,
                  "%s to %s: %.0f m, scheduled %d s, minimum %.1f s (running %.1f + dwell %.0f), "
                  "margin %.1f s (%.1f %%), recommended %.1f s, %s",
                  s.from_name.c_str(), s.to_name.c_str(), s.distance_m, s.scheduled_s, s.minimum_s,
                  s.running_s, s.dwell_s, s.margin_s, s.margin_percent,
                  recommended_section_margin_s(s, check.top_speed_kmh),
                  verdict_name(judge(s, check.top_speed_kmh)));
    EXPECT_EQ(judge(s, check.top_speed_kmh), Verdict::kept) << line;
  }
  EXPECT_EQ(judge_run(check.whole, check.top_speed_kmh), Verdict::kept)
      << check.whole.margin_s << " s against "
      << recommended_run_margin_s(check.whole, check.top_speed_kmh);
}

}  // namespace
}  // namespace scenario::timetable
