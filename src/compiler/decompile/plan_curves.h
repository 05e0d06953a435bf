// The curve records of a compiled track plan. Every traced metre follows from
// the two before it by a straight step or by a curve step of one of the
// twelve curvatures; the decompiler finds that step, bit for bit, metre by
// metre, and writes each run of curve steps as one curve record.
#pragma once

#include <cstdint>
#include <vector>

#include "compiler/decompile/recovered_scenario.h"
#include "compiler/format/track_plan_view.h"

namespace scenario {

// A run of steps of one curvature over metres `first` to `last`.
struct PlanRun {
  int32_t first = 0;
  int32_t last = 0;
  int curvature = 0;  // 0: straight; k > 0: class k to the right; −k: to the left
};

// The runs of the traced metres, 2 to the plan's last traced metre, in order.
// Throws RunTimeFailure "metre M: ..." for a metre that no step gives.
std::vector<PlanRun> plan_runs(const TrackPlanView& plan);

// One record for every run of curve steps, started where its run starts (a
// run from metre 2 at 0) and as long as its run; none for the straights,
// which the records in between and the end of the line file trace.
std::vector<CurveRecord> curve_records(const std::vector<PlanRun>& runs);

}  // namespace scenario
