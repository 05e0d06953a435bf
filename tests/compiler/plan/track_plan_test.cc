// The track plan table: entries as created, and the tracing of straight and
// curve steps from the two metres before each one.
#include "compiler/plan/track_plan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace scenario {
namespace {

// A plan of `metri_totali` metres that starts as the parser starts it: metre 0
// at (0, 0) and metre 1 at (0, 1), a heading along +y.
Tracciato started_plan(int32_t metri_totali) {
  Tracciato plan;
  plan.create(metri_totali);
  plan.set_int16(0, 0, 0);
  plan.set_int16(0, 1, 0);
  plan.set_int16(1, 0, 0);
  plan.set_int16(1, 1, 1);
  return plan;
}

TEST(TrackPlanTableTest, CreatedAnewEveryEntryIsEmptyAndReadsZero) {
  Tracciato plan;
  plan.create(20);
  plan.set_real(5, 0, 7.5);
  plan.set_int16(6, 1, -4);
  plan.create(30);
  for (int32_t m = 0; m <= 30; ++m) {
    for (int axis = 0; axis < 2; ++axis) {
      EXPECT_EQ(plan.entry(m, axis).tag, TrackTag::empty) << m;
      EXPECT_EQ(plan.value(m, axis), 0.0) << m;
    }
  }
}

// A plan created again and again with nothing written in between, larger or
// smaller each time, is always a plan of the last size with every entry empty.
TEST(TrackPlanTableTest, CreatedAgainBeforeAnyWriteIsStillEmpty) {
  Tracciato plan;
  for (const int32_t metri_totali : {1007000, 40, 1007000, 1200}) {
    plan.create(metri_totali);
    ASSERT_EQ(plan.last_metre(), metri_totali);
    for (const int32_t m : {0, 1, metri_totali / 2, metri_totali}) {
      EXPECT_EQ(plan.entry(m, 0).tag, TrackTag::empty) << m;
      EXPECT_EQ(plan.entry(m, 1).tag, TrackTag::empty) << m;
    }
  }
  Tracciato traced = started_plan(1200);
  traced.trace(2, 1198, 0);
  EXPECT_EQ(traced.entry(1198, 1).value, 1198.0);
  EXPECT_EQ(plan.entry(1198, 1).tag, TrackTag::empty);
}

// Straight steps repeat the first step exactly; an odd and an even number of
// steps both reach the last metre asked for and no further.
TEST(TrackPlanTableTest, StraightStepsRepeatTheFirstStep) {
  for (int32_t last : {2, 3, 10, 11}) {
    Tracciato plan = started_plan(13);
    plan.trace(2, last, 0);
    for (int32_t m = 2; m <= last; ++m) {
      EXPECT_EQ(plan.entry(m, 0).tag, TrackTag::real) << last;
      EXPECT_EQ(plan.value(m, 0), 0.0) << last;
      EXPECT_EQ(plan.value(m, 1), m) << last;
    }
    EXPECT_EQ(plan.entry(last + 1, 1).tag, TrackTag::empty) << last;
  }
}

TEST(TrackPlanTableTest, NothingTracedWhenTheFirstMetreIsPastTheLast) {
  Tracciato plan = started_plan(10);
  plan.trace(5, 4, 0.001);
  EXPECT_EQ(plan.entry(4, 0).tag, TrackTag::empty);
  EXPECT_EQ(plan.entry(5, 0).tag, TrackTag::empty);
}

TEST(TrackPlanTableTest, FirstCurveStepsTurnTowardPlusXForPositiveCurvature) {
  const double c = 0.25;  // a power of two: every value below is exact
  Tracciato plan = started_plan(10);
  plan.trace(2, 3, c);
  // Metre 2: dx = 0, dy = 1, so (0 + 0.25·1, 1 + 1); metre 3: dx = 0.25, dy = 1.
  EXPECT_EQ(plan.value(2, 0), 0.25);
  EXPECT_EQ(plan.value(2, 1), 2.0);
  EXPECT_EQ(plan.value(3, 0), 0.25 + (0.25 + 0.25));
  EXPECT_EQ(plan.value(3, 1), 2.0 + (1.0 - 0.0625));
}

struct Piece {
  int32_t first;
  int32_t last;
  double c;
};

Tracciato traced(const std::vector<Piece>& pieces) {
  Tracciato plan = started_plan(pieces.back().last + 2);
  for (const Piece& piece : pieces) plan.trace(piece.first, piece.last, piece.c);
  return plan;
}

// The parser traces a record at a time; where the pieces split must not change
// a single bit of the plan.
TEST(TrackPlanTableTest, TracingInPiecesGivesTheSamePlan) {
  const Tracciato whole = traced({{2, 400, 0}, {401, 700, -0.0004}, {701, 1000, 0.003}});
  const std::vector<std::vector<Piece>> splits = {
      {{2, 2, 0},
       {3, 101, 0},
       {102, 400, 0},
       {401, 401, -0.0004},
       {402, 555, -0.0004},
       {556, 700, -0.0004},
       {701, 998, 0.003},
       {999, 1000, 0.003}},
      {{2, 399, 0}, {400, 400, 0}, {401, 700, -0.0004}, {701, 702, 0.003}, {703, 1000, 0.003}},
  };
  for (const std::vector<Piece>& split : splits) {
    const Tracciato pieces = traced(split);
    for (int32_t m = 0; m <= 1002; ++m) {
      for (int axis = 0; axis < 2; ++axis) {
        ASSERT_EQ(pieces.entry(m, axis).tag, whole.entry(m, axis).tag) << m;
        ASSERT_EQ(pieces.value(m, axis), whole.value(m, axis)) << m;
      }
    }
  }
}

}  // namespace
}  // namespace scenario
