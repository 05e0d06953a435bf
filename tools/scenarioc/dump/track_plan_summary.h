// A summary of a decoded track plan: its extent, bounding box, length along
// the axis and how much the track turns.
#pragma once

#include <cstdint>

#include "compiler/plan/track_plan.h"

namespace scenario {

struct TrackPlanSummary {
  int32_t metri_totali = -1;
  int64_t filled_points = 0;  // metres whose x and y both hold a value
  int64_t empty_entries = 0;
  bool has_box = false;
  double x_min = 0, x_max = 0, y_min = 0, y_max = 0;
  double axis_length = 0;    // metres along the polyline of the filled points
  double total_turning = 0;  // degrees, every change of heading counted as positive
  double net_turning = 0;    // degrees, left turns positive
};

TrackPlanSummary summarize_track_plan(const Tracciato& plan, int32_t metri_totali);

}  // namespace scenario
