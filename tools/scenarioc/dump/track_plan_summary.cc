#include "scenarioc/dump/track_plan_summary.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace scenario {
namespace {

struct Point {
  double x;
  double y;
};

std::optional<Point> point_at(const Tracciato& plan, int32_t metre) {
  const TrackEntry x = plan.entry(metre, 0);
  const TrackEntry y = plan.entry(metre, 1);
  if (x.tag == TrackTag::empty || y.tag == TrackTag::empty) return std::nullopt;
  return Point{x.value, y.value};
}

void widen_box(TrackPlanSummary& s, const Point& p) {
  if (!s.has_box) {
    s.has_box = true;
    s.x_min = s.x_max = p.x;
    s.y_min = s.y_max = p.y;
    return;
  }
  s.x_min = std::min(s.x_min, p.x);
  s.x_max = std::max(s.x_max, p.x);
  s.y_min = std::min(s.y_min, p.y);
  s.y_max = std::max(s.y_max, p.y);
}

// A change of heading folded into (-180, 180] degrees.
double heading_change(double from, double to) {
  double change = (to - from) * 180.0 / std::numbers::pi;
  while (change > 180.0) change -= 360.0;
  while (change <= -180.0) change += 360.0;
  return change;
}

}  // namespace

TrackPlanSummary summarize_track_plan(const Tracciato& plan, int32_t metri_totali) {
  TrackPlanSummary s;
  s.metri_totali = metri_totali;
  std::optional<Point> previous;
  bool has_heading = false;
  double heading = 0;  // radians, of the last step that moved
  for (int32_t m = 0; m <= metri_totali; ++m) {
    for (int axis = 0; axis < 2; ++axis) {
      if (plan.entry(m, axis).tag == TrackTag::empty) ++s.empty_entries;
    }
    const std::optional<Point> p = point_at(plan, m);
    if (!p) {
      previous.reset();
      has_heading = false;
      continue;
    }
    ++s.filled_points;
    widen_box(s, *p);
    if (previous) {
      const double dx = p->x - previous->x;
      const double dy = p->y - previous->y;
      const double step = std::hypot(dx, dy);
      s.axis_length += step;
      if (step > 0) {
        const double now = std::atan2(dy, dx);
        if (has_heading) {
          const double change = heading_change(heading, now);
          s.total_turning += std::fabs(change);
          s.net_turning += change;
        }
        heading = now;
        has_heading = true;
      }
    }
    previous = p;
  }
  return s;
}

}  // namespace scenario
