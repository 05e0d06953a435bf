// The track plan `tracciato` of a compile, kept as the parser traces it: the
// entries of metres 0 and 1 as set, then runs of steps, each with its
// curvature. The doubles of the traced metres are computed when the plan is
// written (encode_track_plan) or read (entries), so a compile never holds the
// whole plan: a run costs a few bytes whatever its length.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "compiler/plan/track_plan.h"
#include "compiler/plan/track_steps.h"

namespace scenario {

class TracedPlan {
 public:
  // Creates the plan anew with metres 0 to `metri_totali`, every entry empty.
  void create(int32_t metri_totali);
  void destroy();
  bool exists() const { return exists_; }
  int32_t last_metre() const { return last_metre_; }
  bool has_metre(int64_t m) const { return exists_ && m >= 0 && m <= last_metre_; }

  // An entry of metre 0 or 1, the two the steps start from.
  void set_int16(int32_t metre, int axis, int16_t value);
  TrackEntry start_entry(int32_t metre, int axis) const { return start_[metre][axis]; }

  // Metres 2 to last_traced_metre() are traced, every later one is empty.
  int32_t last_traced_metre() const { return next_metre_ - 1; }

  // Traces metres `first` to `last` in turn with curvature `c` (0 for a
  // straight), each from the two before it (track_steps.h). Needs `first`
  // to be the metre after the last traced one and last <= last_metre().
  void trace(int32_t first, int32_t last, double c);

  // Every entry, computed into a table.
  Tracciato entries() const;

  // A stretch of traced metres turned with one curvature (0: straight):
  // metres `first` to `last`, each the step from the metre before it.
  struct CurveRun {
    int32_t first;
    int32_t last;
    double curvature;
  };
  // The traced metres as stretches, in order; what the plan's geometry means
  // to a reader of the route, without computing a metre.
  std::vector<CurveRun> curve_runs() const;

  class Walker;

 private:
  struct Run {
    int32_t last;        // the run's last metre; it starts after the run before
    uint32_t curvature;  // index into curvatures_
  };

  bool exists_ = false;
  int32_t last_metre_ = -1;
  int32_t next_metre_ = 2;
  std::array<std::array<TrackEntry, 2>, 2> start_{};
  std::vector<Run> runs_;
  std::vector<double> curvatures_;  // each curvature the runs use, once
};

// Computes the traced metres of a plan in order, a few at a time.
class TracedPlan::Walker {
 public:
  explicit Walker(const TracedPlan& plan)
      : plan_(plan),
        older_{plan.start_[0][0].value, plan.start_[0][1].value},
        newer_{plan.start_[1][0].value, plan.start_[1][1].value} {}

  // The metres still to compute.
  int32_t left() const { return plan_.last_traced_metre() - metre_ + 1; }

  // Computes the next `count` metres (at most left()), handing each point to `take`.
  template <class Take>
  void next(int32_t count, Take&& take) {
    while (count > 0) {
      const Run& run = plan_.runs_[run_];
      const int32_t n = std::min(count, run.last - metre_ + 1);
      track_steps::steps(n, plan_.curvatures_[run.curvature], older_, newer_, take);
      metre_ += n;
      count -= n;
      if (metre_ > run.last) ++run_;
    }
  }

 private:
  const TracedPlan& plan_;
  track_steps::Point older_;
  track_steps::Point newer_;
  int32_t metre_ = 2;  // the next metre to compute
  std::size_t run_ = 0;
};

}  // namespace scenario
