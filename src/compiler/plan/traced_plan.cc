#include "compiler/plan/traced_plan.h"

#include <cassert>
#include <cstddef>

namespace scenario {

void TracedPlan::create(int32_t metri_totali) {
  exists_ = true;
  last_metre_ = metri_totali;
  next_metre_ = 2;
  start_ = {};
  runs_.clear();
  curvatures_.clear();
}

void TracedPlan::destroy() { *this = TracedPlan(); }

void TracedPlan::set_int16(int32_t metre, int axis, int16_t value) {
  assert(metre >= 0 && metre < 2 && metre <= last_metre_);
  start_[metre][axis] = {TrackTag::int16, static_cast<double>(value)};
}

void TracedPlan::trace(int32_t first, int32_t last, double c) {
  if (first > last) return;
  assert(first == next_metre_ && last <= last_metre_);
  next_metre_ = last + 1;
  // A run that goes on with the curvature of the one before lengthens it.
  if (!runs_.empty() && curvatures_[runs_.back().curvature] == c) {
    runs_.back().last = last;
    return;
  }
  const auto known = std::find(curvatures_.begin(), curvatures_.end(), c);
  const auto index = static_cast<uint32_t>(known - curvatures_.begin());
  if (known == curvatures_.end()) curvatures_.push_back(c);
  runs_.push_back({last, index});
}

std::vector<TracedPlan::CurveRun> TracedPlan::curve_runs() const {
  std::vector<CurveRun> runs;
  runs.reserve(runs_.size());
  int32_t first = 2;
  for (const Run& run : runs_) {
    runs.push_back({first, run.last, curvatures_[run.curvature]});
    first = run.last + 1;
  }
  return runs;
}

Tracciato TracedPlan::entries() const {
  Tracciato table;
  if (!exists_) return table;
  table.create(last_metre_);
  for (int32_t metre = 0; metre < 2; ++metre) {
    for (int axis = 0; axis < 2; ++axis) {
      const TrackEntry& e = start_[metre][axis];
      if (e.tag == TrackTag::int16) table.set_int16(metre, axis, static_cast<int16_t>(e.value));
    }
  }
  int32_t first = 2;
  for (const Run& run : runs_) {
    table.trace(first, run.last, curvatures_[run.curvature]);
    first = run.last + 1;
  }
  return table;
}

}  // namespace scenario
