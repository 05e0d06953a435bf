// The track axis as a polyline of few points, for drawing: the track plan
// holds a point for every metre, a picture needs a few thousand. The metres
// are computed as they are read, never held as a table.
#pragma once

#include <cstdint>
#include <vector>

#include "compiler/plan/traced_plan.h"

namespace scenario {

struct PlanPoint {
  int32_t metre = 0;
  double x = 0;
  double y = 0;
};

// The metres of `plan` from 0 on whose x and y both hold a value, up to the
// first that does not; -1 when metre 0 has none.
int32_t last_drawable_metre(const TracedPlan& plan);

// The plan at each of `metres`, in their order, each clamped to 0 ... last;
// one pass over the plan. Needs last >= 0.
std::vector<PlanPoint> plan_points(const TracedPlan& plan, const std::vector<int32_t>& metres,
                                   int32_t last);

// Metres 0 to `last` as a polyline: its first and last points are those
// metres, and every metre in between lies within `tolerance` metres of the
// segment between the two points around it. One pass: a segment grows while
// the direction from its start stays inside the cone of every point passed
// since (a sleeve of half-width `tolerance`). The metres are taken in chords
// as long as those between lie close to the chord: 32 m on a straight.
std::vector<PlanPoint> simplify_plan(const TracedPlan& plan, int32_t last, double tolerance);

// The point of a polyline (metres ascending) at `metre`, between the points
// around it; clamped to its ends. The polyline must not be empty.
PlanPoint point_at_metre(const std::vector<PlanPoint>& polyline, int32_t metre);

}  // namespace scenario
