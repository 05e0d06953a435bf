#include "compiler/decompile/plan_curves.h"

#include <bit>
#include <cstdio>
#include <string>

#include "base/run_time_failure.h"
#include "compiler/plan/curve_classes.h"
#include "compiler/plan/track_steps.h"

namespace scenario {
namespace {

using track_steps::Point;

// The curvature of a run: 0, or class k to the right (k > 0) or to the left (k < 0).
double curvature_of(int curvature) {
  if (curvature == 0) return 0;
  const double c = kCurveClasses[(curvature > 0 ? curvature : -curvature) - 1].curvature;
  return curvature > 0 ? c : -c;
}

bool same_bits(double a, double b) {
  return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

// Whether the step of `curvature` from `older` and `newer` gives `want` bit for bit.
bool steps_to(const Point& older, const Point& newer, int curvature, const Point& want) {
  Point next = older;
  if (curvature == 0) {
    track_steps::step<false>(next, newer, 0);
  } else {
    track_steps::step<true>(next, newer, curvature_of(curvature));
  }
  return same_bits(next.x, want.x) && same_bits(next.y, want.y);
}

// The curvatures in the order they are tried where a run ends.
constexpr int kCurvatures[] = {0, 1, -1, 2, -2, 3, -3, 4, -4, 5, -5, 6, -6};

std::string point_text(const Point& p) {
  char text[80];
  std::snprintf(text, sizeof text, "(%.17g, %.17g)", p.x, p.y);
  return text;
}

// Follows the run of `curvature` from metre `m` while each metre is its step;
// returns the first metre that is not (or the one after `last`).
template <bool kCurve>
int32_t follow_run(const TrackPlanView& plan, int32_t m, int32_t last, double c, Point& older,
                   Point& newer) {
  for (; m <= last; ++m) {
    const Point want{plan.x(m), plan.y(m)};
    Point next = older;
    track_steps::step<kCurve>(next, newer, c);
    if (!same_bits(next.x, want.x) || !same_bits(next.y, want.y)) return m;
    older = newer;
    newer = want;
  }
  return m;
}

}  // namespace

std::vector<PlanRun> plan_runs(const TrackPlanView& plan) {
  std::vector<PlanRun> runs;
  Point older{0, 0};
  Point newer{0, 1};
  const int32_t last = plan.last_traced_metre();
  for (int32_t m = 2; m <= last;) {
    const Point want{plan.x(m), plan.y(m)};
    int found = 0;
    bool any = false;
    for (int candidate : kCurvatures) {
      if (steps_to(older, newer, candidate, want)) {
        found = candidate;
        any = true;
        break;
      }
    }
    if (!any) {
      throw RunTimeFailure("metre " + std::to_string(m) + ": the point " + point_text(want) +
                           " follows from metres " + std::to_string(m - 2) + " and " +
                           std::to_string(m - 1) +
                           " by no straight step and no curve step of the six classes");
    }
    const int32_t end = found == 0
                            ? follow_run<false>(plan, m, last, 0, older, newer)
                            : follow_run<true>(plan, m, last, curvature_of(found), older, newer);
    if (!runs.empty() && runs.back().curvature == found) {
      runs.back().last = end - 1;
    } else {
      runs.push_back({m, end - 1, found});
    }
    m = end;
  }
  return runs;
}

std::vector<CurveRecord> curve_records(const std::vector<PlanRun>& runs) {
  std::vector<CurveRecord> curves;
  for (const PlanRun& run : runs) {
    if (run.curvature == 0) continue;
    // The steps of a record at a run from metre a + 1 to a + b; the plan's
    // first step is metre 2, which a curve from 0 reaches.
    const int32_t start = run.first == 2 ? 0 : run.first - 1;
    curves.push_back({run.curvature < 0 ? 's' : 'd',
                      run.curvature < 0 ? -run.curvature : run.curvature, start, run.last - start});
  }
  return curves;
}

}  // namespace scenario
