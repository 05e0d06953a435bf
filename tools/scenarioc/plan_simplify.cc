#include "scenarioc/plan_simplify.h"

#include <algorithm>
#include <cmath>

namespace scenario {
namespace {

struct Vec {
  double x = 0;
  double y = 0;
};

double cross(Vec a, Vec b) { return a.x * b.y - a.y * b.x; }
double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }

// The directions from a segment's start for which the segment passes within
// the tolerance of every point seen since: between `low` (clockwise bound) and
// `high`. Before the first point farther than the tolerance it is every direction.
class Sleeve {
 public:
  explicit Sleeve(double tolerance) : tolerance_(tolerance) {}
  void reset() { open_ = true; }
  bool admits(Vec w) const {
    return open_ || (cross(low_, w) >= 0 && cross(w, high_) >= 0 && dot(low_, w) > 0);
  }
  // Narrows the cone to the directions that pass within the tolerance of `w`.
  void narrow(Vec w) {
    const double d2 = dot(w, w);
    const double t2 = tolerance_ * tolerance_;
    if (d2 <= t2) return;
    const double along = std::sqrt(d2 - t2);
    const Vec across{-w.y * tolerance_, w.x * tolerance_};
    const Vec low{w.x * along - across.x, w.y * along - across.y};
    const Vec high{w.x * along + across.x, w.y * along + across.y};
    if (open_) {
      low_ = low;
      high_ = high;
      open_ = false;
      return;
    }
    if (cross(low_, low) > 0) low_ = low;
    if (cross(high, high_) > 0) high_ = high;
  }

 private:
  double tolerance_;
  bool open_ = true;
  Vec low_, high_;
};

}  // namespace

int32_t last_drawable_metre(const Tracciato& plan) {
  if (!plan.exists()) return -1;
  const uint8_t* x_tags = plan.tag_column(0);
  const uint8_t* y_tags = plan.tag_column(1);
  int32_t m = 0;
  while (m <= plan.last_metre() && x_tags[m] != 0 && y_tags[m] != 0) ++m;
  return m - 1;
}

PlanPoint plan_point(const Tracciato& plan, int32_t metre, int32_t last) {
  const int32_t m = std::clamp(metre, 0, std::max(last, 0));
  if (last < 0) return {m, 0, 0};
  return {m, plan.value(m, 0), plan.value(m, 1)};
}

std::vector<PlanPoint> simplify_plan(const Tracciato& plan, int32_t last, double tolerance) {
  std::vector<PlanPoint> points;
  if (last < 0) return points;
  const double* xs = plan.value_column(0);
  const double* ys = plan.value_column(1);
  points.push_back({0, xs[0], ys[0]});
  Sleeve sleeve(tolerance);
  int32_t anchor = 0;
  for (int32_t m = 1; m <= last;) {
    const Vec w{xs[m] - xs[anchor], ys[m] - ys[anchor]};
    if (!sleeve.admits(w)) {
      // Metre m - 1 ends the segment, and the next one starts there.
      anchor = m - 1;
      points.push_back({anchor, xs[anchor], ys[anchor]});
      sleeve.reset();
      continue;
    }
    sleeve.narrow(w);
    ++m;
  }
  if (points.back().metre != last) points.push_back({last, xs[last], ys[last]});
  return points;
}

PlanPoint point_at_metre(const std::vector<PlanPoint>& polyline, int32_t metre) {
  const auto after = std::lower_bound(polyline.begin(), polyline.end(), metre,
                                      [](const PlanPoint& p, int32_t m) { return p.metre < m; });
  if (after == polyline.begin()) return polyline.front();
  if (after == polyline.end()) return polyline.back();
  const PlanPoint& b = *after;
  const PlanPoint& a = *(after - 1);
  const double t = static_cast<double>(metre - a.metre) / (b.metre - a.metre);
  return {metre, a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

}  // namespace scenario
