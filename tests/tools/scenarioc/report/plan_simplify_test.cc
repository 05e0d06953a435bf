// The track axis simplified for drawing: few points, none of the plan's
// metres farther from the polyline than the tolerance.
#include "scenarioc/report/plan_simplify.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "compiler/compile_harness.h"
#include "source/builtin_line.h"
#include "source/builtin_train.h"
#include "source/text_writer.h"

namespace scenario::testing {
namespace {

double distance_to_segment(double px, double py, const PlanPoint& a, const PlanPoint& b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((px - a.x) * dx + (py - a.y) * dy) / len2 : 0;
  t = std::fmax(0, std::fmin(1, t));
  return std::hypot(a.x + dx * t - px, a.y + dy * t - py);
}

// The largest distance from a metre of the plan to the segment drawn for it.
double worst_distance(const TracedPlan& traced, const std::vector<PlanPoint>& polyline) {
  const Tracciato plan = traced.entries();
  double worst = 0;
  for (size_t i = 0; i + 1 < polyline.size(); ++i) {
    for (int32_t m = polyline[i].metre; m <= polyline[i + 1].metre; ++m) {
      worst = std::fmax(worst, distance_to_segment(plan.value(m, 0), plan.value(m, 1), polyline[i],
                                                   polyline[i + 1]));
    }
  }
  return worst;
}

TEST(PlanSimplifyTest, TheBuiltInLineKeepsEveryMetreWithinATenthOfAMetre) {
  auto compiled =
      compile_text(text_file_bytes(builtin_line_source()), text_file_bytes(builtin_train_source()));
  const TracedPlan& plan = compiled->ctx.tracciato;
  const int32_t last = last_drawable_metre(plan);
  ASSERT_EQ(last, 250000 - 2);  // the last two metres of the plan stay empty
  const std::vector<PlanPoint> polyline = simplify_plan(plan, last, 0.1);
  EXPECT_EQ(polyline.front().metre, 0);
  EXPECT_EQ(polyline.back().metre, last);
  for (size_t i = 0; i + 1 < polyline.size(); ++i) {
    ASSERT_LT(polyline[i].metre, polyline[i + 1].metre) << "point " << i;
  }
  EXPECT_LE(worst_distance(plan, polyline), 0.1);
  // A few thousand points instead of 250000.
  EXPECT_GT(polyline.size(), 500u);
  EXPECT_LT(polyline.size(), 6000u);
  // A coarser tolerance, fewer points, and still within it.
  const std::vector<PlanPoint> coarse = simplify_plan(plan, last, 5);
  EXPECT_LT(coarse.size(), polyline.size() / 4);
  EXPECT_LE(worst_distance(plan, coarse), 5);
}

TEST(PlanSimplifyTest, PointsAskedForInAnyOrderAreThePlansOwn) {
  auto compiled =
      compile_text(text_file_bytes(builtin_line_source()), text_file_bytes(builtin_train_source()));
  const TracedPlan& plan = compiled->ctx.tracciato;
  const Tracciato table = plan.entries();
  const int32_t last = last_drawable_metre(plan);
  // Out of order, repeated, at the two start metres, across read blocks, and beyond either end.
  const std::vector<int32_t> metres = {123457, 5, 0, 1, 2, 4097, 4096, 5, last, -7, 999999};
  const std::vector<PlanPoint> points = plan_points(plan, metres, last);
  ASSERT_EQ(points.size(), metres.size());
  for (size_t i = 0; i < metres.size(); ++i) {
    const int32_t m = std::clamp(metres[i], 0, last);
    EXPECT_EQ(points[i].metre, m);
    EXPECT_EQ(points[i].x, table.value(m, 0)) << "metre " << m;
    EXPECT_EQ(points[i].y, table.value(m, 1)) << "metre " << m;
  }
}

TEST(PlanSimplifyTest, TheDrawableMetresEndAtTheFirstEmptyEntry) {
  const struct {
    const char* name;
    int32_t metri_totali;
    bool metre_one;  // whether metre 1 holds both values
    int32_t traced_to;
    int32_t last;
  } rows[] = {
      {"traced", 100, true, 60, 60},
      {"nothing traced", 100, true, 1, 1},
      {"metre one empty", 100, false, 60, 0},
      {"one metre", 0, false, 1, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TracedPlan plan;
    plan.create(row.metri_totali);
    plan.set_int16(0, 0, 3);
    plan.set_int16(0, 1, 4);
    if (row.metre_one) {
      plan.set_int16(1, 0, 3);
      plan.set_int16(1, 1, 5);
    }
    plan.trace(2, row.traced_to, 0);
    EXPECT_EQ(last_drawable_metre(plan), row.last);
    const std::vector<PlanPoint> polyline = simplify_plan(plan, row.last, 0.1);
    EXPECT_EQ(polyline.back().metre, row.last);
    EXPECT_EQ(polyline.back().y, row.last + 4);
  }
}

TEST(PlanSimplifyTest, AStraightLineIsItsTwoEnds) {
  TracedPlan plan;
  plan.create(10000);
  plan.set_int16(0, 0, 0);
  plan.set_int16(0, 1, 0);
  plan.set_int16(1, 0, 0);
  plan.set_int16(1, 1, 1);
  plan.trace(2, 9998, 0);
  ASSERT_EQ(last_drawable_metre(plan), 9998);
  const std::vector<PlanPoint> polyline = simplify_plan(plan, 9998, 0.1);
  ASSERT_EQ(polyline.size(), 2u);
  EXPECT_DOUBLE_EQ(polyline[1].y, 9998);
  const PlanPoint middle = point_at_metre(polyline, 4999);
  EXPECT_DOUBLE_EQ(middle.y, 4999);
  EXPECT_DOUBLE_EQ(point_at_metre(polyline, -5).y, 0);  // clamped to the ends
  EXPECT_DOUBLE_EQ(point_at_metre(polyline, 20000).y, 9998);
}

TEST(PlanSimplifyTest, APlanWithoutMetreZeroDrawsNothing) {
  TracedPlan plan;
  EXPECT_EQ(last_drawable_metre(plan), -1);
  plan.create(100);
  EXPECT_EQ(last_drawable_metre(plan), -1);
  EXPECT_TRUE(simplify_plan(plan, -1, 0.1).empty());
}

}  // namespace
}  // namespace scenario::testing
