// Sections between timed stations: what is timed, the times across midnight,
// the margins, and that the section times move the right way when a limit,
// gradient, slowdown, consist or brake changes.
#include "compiler/timetable/timetable_sections.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "compiler/timetable/timetable_judgement.h"
#include "synthetic_route.h"

namespace scenario::timetable {
namespace {

using testing::add_station;
using testing::set_time;

TEST(TimetableSections, SecondsBetweenWrapPastMidnight) {
  EXPECT_EQ(seconds_between(10 * 3600, 10 * 3600 + 125), 125);
  EXPECT_EQ(seconds_between(23 * 3600 + 59 * 60, 10 * 60), 11 * 60);
  EXPECT_EQ(seconds_between(500, 500), 0);
}

// Origin 23:50 and terminus 00:20 with a stop at 00:05 in between: two
// sections, one passing midnight; a station without a time splits nothing.
RunInput night_route() {
  RunInput in = testing::level_route(40000, 140);
  set_time(in, 0, 23 * 3600 + 50 * 60);
  add_station(in, 10000, 0, 0);
  add_station(in, 20000, 60, 5 * 60);
  set_time(in, 40000, 20 * 60);
  return in;
}

TEST(TimetableSections, SectionsRunBetweenTimedStations) {
  const RunInput in = night_route();
  const TimetableCheck check = check_timetable(in, TrainModel{});
  ASSERT_EQ(check.sections.size(), 2u);
  const Section& first = check.sections[0];
  EXPECT_EQ(first.from, 0);
  EXPECT_EQ(first.to, 2);
  EXPECT_EQ(first.distance_m, 20000);
  EXPECT_EQ(first.scheduled_s, 15 * 60);
  // The section ends with the departure from the stop: its dwell counts.
  EXPECT_DOUBLE_EQ(first.dwell_s, 60);
  EXPECT_DOUBLE_EQ(first.minimum_s, check.run.stations[2].departure_s);
  EXPECT_DOUBLE_EQ(first.running_s, check.run.stations[2].arrival_s);
  EXPECT_DOUBLE_EQ(first.margin_s, first.scheduled_s - first.minimum_s);
  EXPECT_NEAR(first.margin_percent, first.margin_s / first.minimum_s * 100, 1e-9);
  const Section& second = check.sections[1];
  EXPECT_EQ(second.scheduled_s, 15 * 60);
  EXPECT_DOUBLE_EQ(second.dwell_s, 0);
  EXPECT_DOUBLE_EQ(second.minimum_s,
                   check.run.stations[3].arrival_s - check.run.stations[2].departure_s);
  EXPECT_NEAR(second.highest_limit_kmh, 140, 1e-9);
}

TEST(TimetableJudgement, KeptShortOrImpossible) {
  Section s;
  s.distance_m = 30000;
  s.running_s = 1000;
  s.minimum_s = 1000;
  // 4 % of 1000 s for a train running up to 150 km/h; a section owes no time
  // per 100 km, which the whole run keeps.
  EXPECT_DOUBLE_EQ(recommended_section_margin_s(s, 150), 40);
  for (auto [scheduled, verdict] : {std::pair{999, Verdict::cannot_be_kept},
                                    {1000, Verdict::short_of_recovery_margin},
                                    {1039, Verdict::short_of_recovery_margin},
                                    {1040, Verdict::kept}}) {
    s.scheduled_s = scheduled;
    s.margin_s = scheduled - s.minimum_s;
    EXPECT_EQ(judge(s, 150), verdict) << scheduled;
  }
  EXPECT_EQ(recovery_margin_percent(140), 3);
  EXPECT_EQ(recovery_margin_percent(141), 4);
  EXPECT_EQ(recovery_margin_percent(300), 7);
}

TEST(TimetableJudgement, WholeRunOwesTimePerDistanceBeyondThirtyKilometres) {
  EXPECT_EQ(distance_margin_s(30000), 0);
  EXPECT_DOUBLE_EQ(distance_margin_s(200000), 180);
  Section whole;
  whole.distance_m = 200000;
  whole.running_s = 6000;
  whole.minimum_s = 6200;
  // 5 % of 6000 s and 1.5 min per 100 km over 200 km.
  EXPECT_DOUBLE_EQ(recommended_run_margin_s(whole, 175), 300 + 180);
  whole.margin_s = 479;
  EXPECT_EQ(judge_run(whole, 175), Verdict::short_of_recovery_margin);
  whole.margin_s = 480;
  EXPECT_EQ(judge_run(whole, 175), Verdict::kept);
}

TEST(TimetableSections, WholeRunSumsItsSections) {
  RunInput in = testing::level_route(30000, 160);
  set_time(in, 0, 10 * 3600);
  add_station(in, 15000, 60, 10 * 3600 + 12 * 60);
  set_time(in, 30000, 10 * 3600 + 25 * 60);
  const TimetableCheck check = check_timetable(in, TrainModel{});
  ASSERT_EQ(check.sections.size(), 2u);
  EXPECT_EQ(check.whole.from_name, check.sections[0].from_name);
  EXPECT_EQ(check.whole.to_name, check.sections[1].to_name);
  EXPECT_DOUBLE_EQ(check.whole.distance_m, 30000);
  EXPECT_EQ(check.whole.scheduled_s, 25 * 60);
  EXPECT_NEAR(check.whole.minimum_s, check.run.stations.back().arrival_s, 1e-9);
  EXPECT_NEAR(check.whole.margin_s, 25 * 60 - check.whole.minimum_s, 1e-9);
  EXPECT_NEAR(check.top_speed_kmh, 160, 1e-9);
}

// A route with a bit of everything, timed at origin, one stop and terminus.
RunInput mixed_route() {
  RunInput in = testing::level_route(30000, 160);
  testing::set_speed(in, 8000, 10000, 120);
  testing::set_gradient(in, 12000, 18000, 5);
  testing::set_gradient(in, 22000, 25000, -8);
  testing::set_curve(in, 20000, 22000, 500);
  set_time(in, 0, 10 * 3600);
  add_station(in, 15000, 60, 10 * 3600 + 12 * 60);
  set_time(in, 30000, 10 * 3600 + 25 * 60);
  return in;
}

std::vector<Section> sections_of(const RunInput& in) {
  return check_timetable(in, TrainModel{}).sections;
}

TEST(TimetableSections, ChangesMoveSectionTimesTheRightWay) {
  const std::vector<Section> base = sections_of(mixed_route());
  ASSERT_EQ(base.size(), 2u);
  struct Case {
    const char* change;
    std::function<void(RunInput&)> apply;
    bool slower;  // true: never faster; false: never slower
  } cases[] = {
      {"a higher limit", [](RunInput& in) { testing::set_speed(in, 8000, 10000, 150); }, false},
      {"a higher limit everywhere",
       [](RunInput& in) {
         for (RouteCell& c : in.cells) c.speed_kmh = std::max(c.speed_kmh, 170);
       },
       false},
      {"a slowdown",
       [](RunInput& in) {
         in.slowdowns.push_back({5000, 5500, 60, false});
       },
       true},
      {"a whole-train slowdown",
       [](RunInput& in) {
         in.slowdowns.push_back({5000, 5500, 60, true});
       },
       true},
      {"a steeper upgrade", [](RunInput& in) { testing::set_gradient(in, 12000, 18000, 9); }, true},
      {"a sharper curve", [](RunInput& in) { testing::set_curve(in, 20000, 22000, 300); }, true},
      {"more cars", [](RunInput& in) { in.cars = 18; }, true},
      {"a lower braked-weight percentage", [](RunInput& in) { in.braked_weight_percent = 60; },
       true},
      {"less adhesion",
       [](RunInput& in) {
         for (RouteCell& c : in.cells) c.adhesion = 40;
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.change);
    RunInput in = mixed_route();
    c.apply(in);
    const std::vector<Section> changed = sections_of(in);
    ASSERT_EQ(changed.size(), base.size());
    double total_change = 0;
    for (size_t k = 0; k < base.size(); ++k) {
      const double delta = changed[k].minimum_s - base[k].minimum_s;
      // A section the change does not reach may move by rounding alone.
      if (c.slower) {
        EXPECT_GE(delta, -1e-9) << k;
      } else {
        EXPECT_LE(delta, 1e-9) << k;
      }
      total_change += std::fabs(delta);
    }
    EXPECT_GT(total_change, 0.1);  // the change reached the run
  }
}

TEST(TimetableSections, NeverFasterThanTheHighestLimitAllows) {
  for (const Section& s : sections_of(mixed_route())) {
    EXPECT_GT(s.running_s, s.distance_m / (s.highest_limit_kmh / 3.6));
  }
}

}  // namespace
}  // namespace scenario::timetable
